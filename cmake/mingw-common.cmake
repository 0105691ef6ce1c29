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

# Test programs run under Wine: 64-bit ones under the 64-bit loader, 32-bit
# ones under the 32-bit loader, both in one prefix made by wine64, as 32-bit
# programs run under WoW64 on users' 64-bit Windows.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CS_WINE_LOADER_NAME wine64)
else()
  set(CS_WINE_LOADER_NAME wine)
endif()
find_program(CS_WINE_LOADER NAMES ${CS_WINE_LOADER_NAME} PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT CS_WINE_LOADER AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  find_program(CS_WINE_LOADER NAMES wine64)
endif()
# Through a runner that keeps what a test program leaves running from
# holding ctest's output open (tools/run-test-program.sh).
if(CS_WINE_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/run-test-program.sh ${CS_WINE_LOADER})
endif()
