#include "switch_lock_name.h"

#include "../framework/win32_base.h"

#include <climits>
#include <cstdint>

namespace {

constexpr wchar_t kSeparator = L'\\';
constexpr wchar_t kNamePrefix[] = L"Local\\ClassicSwitch-";

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

wchar_t AsciiUpper(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') ? static_cast<wchar_t>(ch - L'a' + L'A') : ch;
}

// File names compare without regard to case beyond ASCII too ("ü" and "Ü"
// name one folder), so the fold uses the system's locale-independent upper
// case. Should the system refuse the text, ASCII folding still gives every
// instance the same answer for the same text.
std::wstring FoldCase(const std::wstring& text)
{
    std::wstring folded(text);
    for (wchar_t& ch : folded)
        ch = AsciiUpper(ch);
    if (folded.empty() || folded.size() > static_cast<size_t>(INT_MAX))
        return folded;
    const int length = static_cast<int>(folded.size());
    std::wstring upper(folded.size(), L'\0');
    const int written = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, folded.c_str(), length, &upper[0],
                                        length, nullptr, nullptr, 0);
    return written == length ? upper : folded;
}

// "\\?\UNC\server\share" is "\\server\share" and "\\?\C:\x" is "C:\x".
std::wstring WithoutLongPathPrefix(const std::wstring& path)
{
    if (StartsWith(path, L"\\\\?\\UNC\\"))
        return L"\\\\" + path.substr(8);
    if (StartsWith(path, L"\\\\?\\"))
        return path.substr(4);
    return path;
}

// A leading pair of separators (a network path) is kept apart from a single
// one (the current drive's root); every other run becomes one separator.
std::wstring WithCollapsedSeparators(const std::wstring& path)
{
    std::wstring result;
    result.reserve(path.size());
    size_t i = 0;
    if (StartsWith(path, L"\\\\")) {
        result = L"\\\\";
        i = 2;
    }
    for (; i < path.size(); ++i) {
        if (path[i] == kSeparator && !result.empty() && result.back() == kSeparator)
            continue;
        result += path[i];
    }
    return result;
}

// "C:\" (the drive's root) differs from "C:" (the drive's current folder),
// and a root made of separators alone keeps them.
bool IsRoot(const std::wstring& path)
{
    if (path == L"\\" || path == L"\\\\")
        return true;
    return path.size() == 3 && path[1] == L':' && path[2] == kSeparator;
}

std::wstring WithoutTrailingSeparators(std::wstring path)
{
    while (!path.empty() && path.back() == kSeparator && !IsRoot(path))
        path.pop_back();
    return path;
}

// 64-bit FNV-1a over the UTF-16 code units, low byte first.
std::uint64_t Fnv1a64(const std::wstring& text)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (wchar_t ch : text) {
        const auto unit = static_cast<std::uint16_t>(ch);
        for (std::uint16_t byte : {static_cast<std::uint16_t>(unit & 0xFF), static_cast<std::uint16_t>(unit >> 8)}) {
            hash ^= byte;
            hash *= 1099511628211ULL;
        }
    }
    return hash;
}

}  // namespace

std::wstring SwitchLockFolderKey(const std::wstring& installationFolder)
{
    std::wstring path = FoldCase(installationFolder);
    for (wchar_t& ch : path) {
        if (ch == L'/')
            ch = kSeparator;
    }
    return WithoutTrailingSeparators(WithCollapsedSeparators(WithoutLongPathPrefix(path)));
}

std::wstring SwitchLockName(const std::wstring& installationFolder)
{
    std::uint64_t hash = Fnv1a64(SwitchLockFolderKey(installationFolder));
    std::wstring name(kNamePrefix);
    wchar_t digits[16];
    for (int i = 15; i >= 0; --i) {
        digits[i] = L"0123456789abcdef"[hash & 0xF];
        hash >>= 4;
    }
    name.append(digits, 16);
    return name;
}
