#include <cstdlib>

// The C++ runtime's default reaction to an uncaught exception prints the
// exception's demangled type to the standard error stream, which a windowed
// program does not have, and then aborts. Its demangler and the formatting it
// needs are a third of the program's size; this replaces it with the abort
// alone. The program catches nothing it could report anyway.
// These take the place of the library's own functions, so they carry its
// reserved names.
// NOLINTBEGIN(bugprone-reserved-identifier)
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

// The library's string and container code reports misuse and exhaustion by
// throwing standard exceptions, whose classes carry narrow strings and with
// them two more copies of the string code. Nothing in the program catches
// them, so the outcome is the same abort: these take the throws' place in the
// program (not in the tests, which link without this file).
namespace std {
[[noreturn]] void __throw_length_error(const char*)
{
    std::abort();
}
[[noreturn]] void __throw_logic_error(const char*)
{
    std::abort();
}
[[noreturn]] void __throw_out_of_range(const char*)
{
    std::abort();
}
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}
[[noreturn]] void __throw_invalid_argument(const char*)
{
    std::abort();
}
[[noreturn]] void __throw_bad_alloc()
{
    std::abort();
}
[[noreturn]] void __throw_bad_array_new_length()
{
    std::abort();
}
}  // namespace std
// NOLINTEND(bugprone-reserved-identifier)
