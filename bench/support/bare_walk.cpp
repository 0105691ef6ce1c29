#include "bare_walk.h"

#include "framework/win32_base.h"
#include "workflow/exe_name_match.h"
#include "workflow/scoped_handle.h"

#include <tlhelp32.h>

bool BareWalkFinds(const wchar_t* exeName)
{
    ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid())
        return false;
    const std::wstring lowered = AsciiLowerCase(exeName);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (ExeNameMatches(lowered, entry.szExeFile))
            return true;
    }
    return false;
}
