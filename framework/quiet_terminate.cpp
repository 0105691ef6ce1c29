#include <cstdlib>

// The C++ runtime's default reaction to an uncaught exception prints the
// exception's demangled type to the standard error stream, which a windowed
// program does not have, and then aborts. Its demangler and the formatting it
// needs are a third of the program's size; this replaces it with the abort
// alone. The program catches nothing it could report anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
