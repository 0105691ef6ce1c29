#include "exe_name_match.h"

namespace {
wchar_t AsciiLower(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
}
}  // namespace

std::wstring AsciiLowerCase(const wchar_t* text)
{
    std::wstring lowered(text ? text : L"");
    for (wchar_t& ch : lowered)
        ch = AsciiLower(ch);
    return lowered;
}

bool ExeNameMatches(const std::wstring& loweredName, const wchar_t* exeFile)
{
    size_t i = 0;
    for (; i < loweredName.size(); ++i) {
        if (exeFile[i] == L'\0' || AsciiLower(exeFile[i]) != loweredName[i])
            return false;
    }
    return exeFile[i] == L'\0';
}
