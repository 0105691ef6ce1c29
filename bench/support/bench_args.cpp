#include "bench_args.h"

#include <algorithm>
#include <cwchar>

int RunsArgument(int argc, wchar_t** argv, int fallback)
{
    const long runs = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : fallback;
    return static_cast<int>(std::max(1L, runs));
}
