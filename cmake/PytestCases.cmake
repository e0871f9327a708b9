# The pytest cases of tests/e2e and tests/checks as CTest cases, registered from pytest's own
# collection: the markers in the test files (tests/pytest.ini) decide how each case runs.

# The first python3 on the path that has pytest, and pefile for the Windows build (a version
# manager's python3 may come first without them; Debian's python3-pytest and python3-pefile serve
# /usr/bin/python3); it also runs the Wine harness and the PE check. Without Windows it is
# optional: the checks are then left out.
set(ZEM_PYTHON_MODULES pytest)
if(ZEM_WITH_WINDOWS)
    list(APPEND ZEM_PYTHON_MODULES pefile)
endif()
function(zem_python_has_test_modules result candidate)
    string(REPLACE ";" ", " modules "${ZEM_PYTHON_MODULES}")
    execute_process(COMMAND ${candidate} -c "import ${modules}"
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT status EQUAL 0)
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()
find_program(Python3_EXECUTABLE python3 VALIDATOR zem_python_has_test_modules
    DOC "Python 3 with pytest (and pefile), for the pytest cases, the Wine harness and the PE check")
if(NOT Python3_EXECUTABLE AND NOT ZEM_WITH_WINDOWS)
    message(STATUS "No python3 with pytest: the checks of the repository are not registered")
    set(ZEM_PYTHON "")
    return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ZEM_PYTHON ${Python3_EXECUTABLE})

# Sets OUT_VAR to the test functions of DIR/test_*.py, one entry
# "<file>::<function> <own|shared> <dpi>" each (see tests/collect_cases.py).
function(zem_collect_pytest_cases dir out_var)
    file(GLOB test_files CONFIGURE_DEPENDS ${dir}/test_*.py)
    # A test function or marker added to an existing file must register too.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${test_files}
        ${PROJECT_SOURCE_DIR}/tests/collect_cases.py ${PROJECT_SOURCE_DIR}/tests/pytest.ini)
    execute_process(
        COMMAND ${ZEM_PYTHON} ${PROJECT_SOURCE_DIR}/tests/collect_cases.py ${dir}
        OUTPUT_VARIABLE cases ERROR_VARIABLE errors RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "Collecting the pytest cases of ${dir} failed:\n${errors}")
    endif()
    string(STRIP "${cases}" cases)
    string(REPLACE "\n" ";" cases "${cases}")
    set(${out_var} ${cases} PARENT_SCOPE)
endfunction()

# Registers CASE, an entry of zem_collect_pytest_cases, as the CTest case
# PREFIX.<module without test_>.<function>, which runs all of that function's parametrized cases.
# Sets NAME_VAR to that name, DPI_VAR to the DPI its module asks for (0: none) and OWN_VAR to
# whether it needs a Wine session of its own (marker own_session).
function(zem_add_pytest_case prefix dir case name_var dpi_var own_var)
    string(REPLACE " " ";" fields "${case}")
    list(GET fields 0 node)
    list(GET fields 1 mode)
    list(GET fields 2 dpi)
    string(REGEX REPLACE "^test_(.+)\\.py::(.+)$" "${prefix}.\\1.\\2" name "${node}")
    add_test(NAME ${name}
        COMMAND ${ZEM_PYTHON} -m pytest -q -p no:cacheprovider "${dir}/${node}"
        WORKING_DIRECTORY ${dir})
    if(mode STREQUAL "own")
        set(${own_var} ON PARENT_SCOPE)
    else()
        set(${own_var} OFF PARENT_SCOPE)
    endif()
    set(${name_var} ${name} PARENT_SCOPE)
    set(${dpi_var} ${dpi} PARENT_SCOPE)
endfunction()
