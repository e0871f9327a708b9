# Cross-compile the product for 64-bit Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZEM_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model gives std::mutex (GoogleTest needs it); -static links winpthread in,
# so the .exe still needs no DLL beyond the system's.
find_program(CMAKE_C_COMPILER NAMES ${ZEM_MINGW_PREFIX}-gcc-posix ${ZEM_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZEM_MINGW_PREFIX}-g++-posix ${ZEM_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZEM_MINGW_PREFIX}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${ZEM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
