# From the native tree: cross-build the Windows configuration and register its tests, so that one
# `ctest` runs the native unit tests, the same unit tests under Wine and the end-to-end cases.
include(ExternalProject)

set(ZEM_WIN_BINARY_DIR ${PROJECT_BINARY_DIR}/win)
set(ZEM_WIN_BIN ${ZEM_WIN_BINARY_DIR}/bin)
set(ZEM_HARNESS ${PROJECT_SOURCE_DIR}/scripts/wine_harness.py)
set(ZEM_WINE_STATE ${PROJECT_BINARY_DIR}/wine)

ExternalProject_Add(zem_windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${ZEM_WIN_BINARY_DIR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
        -DCMAKE_BUILD_TYPE=Release
        -DZEM_WERROR=${ZEM_WERROR}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)

# The shipped exes' hardening (PE flags, imports, the stack protector, a signature that comes off
# cleanly): no Wine needed.
set(ZEM_SHIPPED_EXES ${ZEM_WIN_BIN}/ZemClientUI.exe ${ZEM_WIN_BIN}/zemuictl.exe)
add_test(NAME pe.hardening
    COMMAND ${ZEM_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/check-pe.py ${ZEM_SHIPPED_EXES})
# Both signed with a throw-away certificate, verified, and unsigned again to the same bytes.
add_test(NAME release.signing
    COMMAND ${PROJECT_SOURCE_DIR}/tests/release/signing.sh ${ZEM_SHIPPED_EXES})


# The Wine session (prefix, Xvfb when there is no display, a persistent wineserver) is a fixture:
# prepared once before the first Windows test and taken down after the last.
add_test(NAME wine.session.start
    COMMAND ${ZEM_PYTHON} ${ZEM_HARNESS} --state ${ZEM_WINE_STATE} start)
set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine_session)
add_test(NAME wine.session.stop
    COMMAND ${ZEM_PYTHON} ${ZEM_HARNESS} --state ${ZEM_WINE_STATE} stop)
set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine_session)

add_test(NAME wine.unit_tests
    COMMAND ${ZEM_PYTHON} ${ZEM_HARNESS} --state ${ZEM_WINE_STATE} exec
            ${ZEM_WIN_BIN}/zem_unit_tests.exe --gtest_brief=1)
set_tests_properties(wine.unit_tests PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT 600
    COST 20)
zem_keeps_a_core_busy(wine.unit_tests)

# A test module marked wine_dpi(N) runs in a session of its own whose screen is set to N DPI (the
# logical DPI is per Wine prefix).
function(zem_dpi_session dpi out_fixture out_state)
    set(fixture wine_session_dpi${dpi})
    set(state ${PROJECT_BINARY_DIR}/wine-dpi${dpi})
    if(NOT TEST wine.session.dpi${dpi}.start)
        add_test(NAME wine.session.dpi${dpi}.start
            COMMAND ${ZEM_PYTHON} ${ZEM_HARNESS} --state ${state} start --dpi ${dpi})
        set_tests_properties(wine.session.dpi${dpi}.start PROPERTIES FIXTURES_SETUP ${fixture})
        add_test(NAME wine.session.dpi${dpi}.stop
            COMMAND ${ZEM_PYTHON} ${ZEM_HARNESS} --state ${state} stop)
        set_tests_properties(wine.session.dpi${dpi}.stop PROPERTIES FIXTURES_CLEANUP ${fixture})
    endif()
    set(${out_fixture} ${fixture} PARENT_SCOPE)
    set(${out_state} ${state} PARENT_SCOPE)
endfunction()

# A case marked own_session signals the stop event. Named objects belong to one wineserver, so
# in a session of its own (a copy of the prefix in STATE, whose display it shares) the signal
# reaches no other case's dialog and the case runs beside the others.
function(zem_own_session name fixture state out_fixture out_state)
    set(own_fixture wine_session_own_${name})
    set(own_state ${PROJECT_BINARY_DIR}/wine-own/${name})
    add_test(NAME wine.session.own.${name}.start
        COMMAND ${ZEM_PYTHON} ${ZEM_HARNESS} --state ${own_state} start --like ${state})
    add_test(NAME wine.session.own.${name}.stop
        COMMAND ${ZEM_PYTHON} ${ZEM_HARNESS} --state ${own_state} stop)
    set_tests_properties(wine.session.own.${name}.start PROPERTIES
        FIXTURES_SETUP ${own_fixture} FIXTURES_REQUIRED ${fixture})
    set_tests_properties(wine.session.own.${name}.stop PROPERTIES
        FIXTURES_CLEANUP ${own_fixture} FIXTURES_REQUIRED ${fixture})
    set(${out_fixture} "${fixture};${own_fixture}" PARENT_SCOPE)
    set(${out_state} ${own_state} PARENT_SCOPE)
endfunction()

# One CTest case per end-to-end test function, as pytest collects them.
zem_collect_pytest_cases(${PROJECT_SOURCE_DIR}/tests/e2e e2e_cases)
foreach(e2e_case IN LISTS e2e_cases)
    zem_add_pytest_case(e2e ${PROJECT_SOURCE_DIR}/tests/e2e "${e2e_case}" e2e_name e2e_dpi e2e_own)
    set(e2e_fixture wine_session)
    set(e2e_state ${ZEM_WINE_STATE})
    if(NOT e2e_dpi EQUAL 0)
        zem_dpi_session(${e2e_dpi} e2e_fixture e2e_state)
        # Its cases count pixels on the screen; without a display of the caller's, the session
        # has one of its own, which they then take in turn.
        set_tests_properties(${e2e_name} PROPERTIES RESOURCE_LOCK screen_dpi${e2e_dpi})
    endif()
    if(e2e_own)
        zem_own_session(${e2e_name} ${e2e_fixture} ${e2e_state} e2e_fixture e2e_state)
    endif()
    set_tests_properties(${e2e_name} PROPERTIES
        FIXTURES_REQUIRED "${e2e_fixture}"
        TIMEOUT 120
        ENVIRONMENT "ZEM_WINE_STATE=${e2e_state};ZEM_WIN_BIN=${ZEM_WIN_BIN}")
endforeach()
