#include "unix_link.h"

#include "framework/win32_base.h"

#include <cstring>
#include <vector>

namespace {

using UnixFileNameFn = char*(CDECL*)(const wchar_t*);
using UnixSpawnFn = LONG(CDECL*)(char* const argv[], int wait);

template <class Fn>
Fn WineExport(const wchar_t* module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(module), name)));
}

// Runs a Linux command on the Linux names of the paths, and waits for it.
bool RunOnUnixNames(const char* command, const char* option, const std::vector<std::wstring>& paths)
{
    const auto unixName = WineExport<UnixFileNameFn>(L"kernel32.dll", "wine_get_unix_file_name");
    const auto spawn = WineExport<UnixSpawnFn>(L"ntdll.dll", "__wine_unix_spawnvp");
    if (!unixName || !spawn)
        return false;
    std::vector<std::vector<char>> words{std::vector<char>(command, command + std::strlen(command) + 1),
                                         std::vector<char>(option, option + std::strlen(option) + 1)};
    bool named = true;
    for (const std::wstring& path : paths) {
        char* name = unixName(path.c_str());
        named = named && name;
        if (name)
            words.emplace_back(name, name + std::strlen(name) + 1);
        ::HeapFree(::GetProcessHeap(), 0, name);
    }
    std::vector<char*> argv;
    for (std::vector<char>& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return named && spawn(argv.data(), TRUE) == 0;
}

}  // namespace

bool MakeUnixSymlink(const std::wstring& target, const std::wstring& link)
{
    return RunOnUnixNames("ln", "-s", {target, link}) && ::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemoveUnixSymlink(const std::wstring& link)
{
    return RunOnUnixNames("rm", "-f", {link}) && ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES;
}
