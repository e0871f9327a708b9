# From the native tree: build the libFuzzer targets in their own clang configuration and register a
# short regression run of each over its seed corpus, so that one `ctest` covers them too.
include(ExternalProject)

zem_fuzz_targets(ZEM_FUZZ_TARGETS)
set(ZEM_FUZZ_SECONDS 20)

find_program(ZEM_CLANG clang)
find_program(ZEM_CLANGXX clang++)
if(NOT ZEM_CLANG OR NOT ZEM_CLANGXX)
    message(STATUS "clang not found: the fuzz regression runs are not registered")
    return()
endif()

set(ZEM_FUZZ_BINARY_DIR ${PROJECT_BINARY_DIR}/fuzz)
# Only the fuzzers are built there; under make the nested build shares the outer job slots.
if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(ZEM_FUZZ_BUILD_COMMAND $(MAKE) fuzzers)
else()
    set(ZEM_FUZZ_BUILD_COMMAND ${CMAKE_COMMAND} --build ${ZEM_FUZZ_BINARY_DIR} --target fuzzers)
endif()

ExternalProject_Add(zem_fuzzers
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${ZEM_FUZZ_BINARY_DIR}
    CMAKE_ARGS
        -DCMAKE_C_COMPILER=${ZEM_CLANG}
        -DCMAKE_CXX_COMPILER=${ZEM_CLANGXX}
        -DZEM_WITH_FUZZERS=ON
        -DZEM_WITH_WINDOWS=OFF
        -DZEM_SANITIZE=OFF
        -DZEM_WERROR=${ZEM_WERROR}
    BUILD_COMMAND ${ZEM_FUZZ_BUILD_COMMAND}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")

foreach(target IN LISTS ZEM_FUZZ_TARGETS)
    add_test(NAME fuzz.${target}
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/fuzz-regression.sh
                ${ZEM_FUZZ_BINARY_DIR}/bin/${target}
                ${PROJECT_SOURCE_DIR}/fuzz/corpus/${target}
                ${PROJECT_BINARY_DIR}/fuzz-scratch/${target}
                ${ZEM_FUZZ_SECONDS})
    # The longest cases start first, also in a fresh tree without CTest's timings.
    set_tests_properties(fuzz.${target} PROPERTIES TIMEOUT 120 COST ${ZEM_FUZZ_SECONDS})
    zem_keeps_a_core_busy(fuzz.${target})
endforeach()
