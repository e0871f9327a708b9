# The pytest cases of tests/e2e and tests/checks as CTest cases.

# The first python3 on the path that has pytest (a version manager's python3 may come first
# without it); it also runs the Wine harness.
function(zem_python_has_pytest result candidate)
    execute_process(COMMAND ${candidate} -c "import pytest"
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT status EQUAL 0)
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()
find_program(Python3_EXECUTABLE python3 VALIDATOR zem_python_has_pytest
    DOC "Python 3 with pytest, for the pytest cases and the Wine harness")
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ZEM_PYTHON ${Python3_EXECUTABLE})
