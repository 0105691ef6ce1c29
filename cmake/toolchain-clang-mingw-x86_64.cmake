# Second compiler for the 64-bit program: clang, on the same MinGW-w64
# libraries as the GCC build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw-common.cmake)
