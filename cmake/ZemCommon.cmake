# Warnings and link options shared by every target of the tree.

set(ZEM_WARNINGS -Wall -Wextra -Wshadow)
if(ZEM_WERROR)
    list(APPEND ZEM_WARNINGS -Werror)
endif()

if(ZEM_WINDOWS)
    # Static runtime: the product needs no DLL beyond the system's own.
    set(ZEM_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
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

# Sets OUT_VAR to the fuzz targets, listed once in fuzz/targets.txt.
function(zem_fuzz_targets out_var)
    set(list_file ${PROJECT_SOURCE_DIR}/fuzz/targets.txt)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
    file(STRINGS ${list_file} targets REGEX "^[^#]")
    set(${out_var} ${targets} PARENT_SCOPE)
endfunction()
