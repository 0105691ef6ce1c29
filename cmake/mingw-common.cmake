# Shared part of both MinGW-w64 toolchains. MINGW_THREADS picks the
# compiler variant: -posix has std::thread, which GoogleTest needs; -win32
# links no threading library at all.
if(NOT MINGW_THREADS)
  set(MINGW_THREADS posix)
endif()
set(CMAKE_C_COMPILER   ${MINGW_TRIPLE}-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs of the 64-bit build run under Wine; the 32-bit build has no
# runner here (this kernel cannot start 32-bit Linux programs, so no wine32).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  find_program(WINE64_LOADER NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  if(NOT WINE64_LOADER)
    find_program(WINE64_LOADER NAMES wine64)
  endif()
  if(WINE64_LOADER)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE64_LOADER})
  endif()
endif()
