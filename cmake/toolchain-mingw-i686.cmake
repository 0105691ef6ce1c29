# Cross build for 32-bit Windows: the program that ships.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
# The shipped program runs everything on one thread, so it takes the compiler
# variant without the POSIX threading library. The 32-bit test build chooses
# -posix (GoogleTest needs it) through the cache.
if(NOT MINGW_THREADS)
  set(MINGW_THREADS win32)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
