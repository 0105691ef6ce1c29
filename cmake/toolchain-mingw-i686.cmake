# Cross build for 32-bit Windows: the program that ships.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
# The shipped program runs everything on one thread and builds no tests, so
# it takes the compiler variant without the POSIX threading library.
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
