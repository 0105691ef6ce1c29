# Shared part of both clang toolchains: clang compiles for the MinGW-w64
# target and links with the MinGW-w64 GCC's own sysroot, binutils (ld,
# windres) and libraries (libstdc++, libgcc, the MinGW runtime), so that both
# compilers build against one C++ library. clang 14 does not find that GCC's
# folders by itself (Debian names them 12-posix and 12-win32), so they are
# asked of the GCC driver of the same variant and passed explicitly.
if(NOT MINGW_THREADS)
  set(MINGW_THREADS posix)
endif()
execute_process(COMMAND ${MINGW_TRIPLE}-g++-${MINGW_THREADS} -print-libgcc-file-name
  OUTPUT_VARIABLE MINGW_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE MINGW_GXX_RESULT)
if(NOT MINGW_GXX_RESULT EQUAL 0 OR NOT EXISTS "${MINGW_LIBGCC}")
  message(FATAL_ERROR "clang for ${MINGW_TRIPLE} needs ${MINGW_TRIPLE}-g++-${MINGW_THREADS} (tools/install-deps.sh)")
endif()
get_filename_component(MINGW_GCC_LIB_DIR "${MINGW_LIBGCC}" DIRECTORY)

set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   ${MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_TRIPLE})
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)
# System folders (-isystem), so that warnings as errors apply to our code only.
set(CMAKE_CXX_FLAGS_INIT
  "-isystem ${MINGW_GCC_LIB_DIR}/include/c++ -isystem ${MINGW_GCC_LIB_DIR}/include/c++/${MINGW_TRIPLE}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${MINGW_GCC_LIB_DIR}")
if(MINGW_THREADS STREQUAL "posix")
  # The posix variant's libstdc++ and libgcc_eh need winpthreads; GCC's driver
  # adds it by itself, clang's only when asked.
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -pthread")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
