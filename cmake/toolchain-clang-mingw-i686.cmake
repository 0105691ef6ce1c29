# Second compiler for the shipped 32-bit program: clang, on the same MinGW-w64
# libraries as the GCC build (the variant without a threading library). A
# check of the code only: clang 14 passes an empty tag parameter of an i686
# member function differently from GCC, so its copies of libstdc++ templates
# corrupt the stack when the GCC-built library calls them (README).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw-common.cmake)
