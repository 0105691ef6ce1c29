#pragma once
#include <string>

// Executable names are compared the way the C locale folds case: only the
// ASCII letters A-Z become a-z; every other code unit must be equal, so "É"
// and "é" are different names.
std::wstring AsciiLowerCase(const wchar_t* text);

// loweredName must already be folded with AsciiLowerCase; exeFile is the
// name as the process list gives it (file name and extension, no folder).
bool ExeNameMatches(const std::wstring& loweredName, const wchar_t* exeFile);
