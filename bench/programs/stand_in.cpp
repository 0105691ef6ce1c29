// A program that only has to exist for a while: the installer that keeps the
// progress window waiting, the classic edition that comes and goes, or the
// extra processes that lengthen the process list. It lives for the number of
// milliseconds in the environment variable CS_BENCH_LIFETIME_MS (0 when it is
// not set) and ignores its command line.
#include "framework/win32_base.h"

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t value[32] = L"";
    DWORD lifetimeMs = 0;
    if (::GetEnvironmentVariableW(L"CS_BENCH_LIFETIME_MS", value, 32) > 0)
        lifetimeMs = static_cast<DWORD>(std::wcstoul(value, nullptr, 10));
    ::Sleep(lifetimeMs);
    return 0;
}
