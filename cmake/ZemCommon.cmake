# Warnings and link options shared by every target of the tree.

set(ZEM_WARNINGS -Wall -Wextra -Wshadow)
if(ZEM_WERROR)
    list(APPEND ZEM_WARNINGS -Werror)
endif()

if(ZEM_WINDOWS)
    # Static runtime: the product needs no DLL beyond the system's own.
    set(ZEM_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    # Hardening, stated rather than left to the toolchain's defaults (scripts/check-pe.py reads
    # the result). The stack protector and the fortified string functions are served by the
    # static libssp (no DLL); the PE flags are ASLR with a 64-bit address space, DEP and
    # terminal-server awareness. Control Flow Guard is out of reach: see docs/release.md.
    add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-fstack-protector-strong>)
    add_compile_definitions(_FORTIFY_SOURCE=2)
    list(APPEND ZEM_LINK_OPTIONS -fstack-protector-strong
         -Wl,--dynamicbase,--high-entropy-va,--nxcompat,--tsaware)
    # Reproducible output: no build path in the objects, and the PE timestamp is the last commit's
    # time (SOURCE_DATE_EPOCH, which GNU ld honours; the caller's own wins), not the link's.
    add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>
                        $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>)
    if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
        set(ZEM_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
    else()
        execute_process(COMMAND git log -1 --format=%ct
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE ZEM_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
            RESULT_VARIABLE git_status ERROR_QUIET)
        if(NOT git_status EQUAL 0 OR NOT ZEM_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
            # Outside git (an unpacked source archive): the top file's time, which archives keep.
            file(TIMESTAMP ${PROJECT_SOURCE_DIR}/CMakeLists.txt ZEM_SOURCE_DATE_EPOCH "%s" UTC)
        endif()
    endif()
    set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${ZEM_SOURCE_DATE_EPOCH})
    set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_C_LINKER_LAUNCHER})
else()
    set(ZEM_LINK_OPTIONS)
endif()

if(ZEM_SANITIZE AND NOT ZEM_WINDOWS)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# Collects the sources below DIR that belong to this configuration: files ending in _win.cpp (or
# _win_test.cpp) are Windows-only, files ending in _native.cpp (or _native_test.cpp) are native-only,
# all others are portable.
function(zem_collect_sources out_var dir)
    file(GLOB_RECURSE all CONFIGURE_DEPENDS "${dir}/*.cpp")
    set(result)
    foreach(file IN LISTS all)
        if(file MATCHES "_win(_test)?\\.cpp$")
            if(ZEM_WINDOWS)
                list(APPEND result ${file})
            endif()
        elseif(file MATCHES "_native(_test)?\\.cpp$")
            if(NOT ZEM_WINDOWS)
                list(APPEND result ${file})
            endif()
        else()
            list(APPEND result ${file})
        endif()
    endforeach()
    set(${out_var} ${result} PARENT_SCOPE)
endfunction()

# Most end-to-end cases wait (the product's 2 s linger, countdowns) rather than compute, so
# scripts/test.sh runs more cases at once than there are cores. A case that keeps a core busy (a
# fuzzing run, the unit tests under Wine) is given one of the machine's cores as a lock, in turn,
# so that no more of them run at once than there are cores.
function(zem_keeps_a_core_busy test)
    cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
    get_property(taken GLOBAL PROPERTY ZEM_BUSY_CORE_CASES)
    if(NOT taken)
        set(taken 0)
    endif()
    math(EXPR core "${taken} % ${cores}")
    math(EXPR taken "${taken} + 1")
    set_property(GLOBAL PROPERTY ZEM_BUSY_CORE_CASES ${taken})
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK core${core})
endfunction()

# Sets OUT_VAR to the fuzz targets, listed once in fuzz/targets.txt.
function(zem_fuzz_targets out_var)
    set(list_file ${PROJECT_SOURCE_DIR}/fuzz/targets.txt)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
    file(STRINGS ${list_file} targets REGEX "^[^#]")
    set(${out_var} ${targets} PARENT_SCOPE)
endfunction()
