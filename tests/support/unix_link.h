#pragma once
#include <string>

// Makes link a Linux symbolic link to target, through Wine's own calls: the
// platform's CreateSymbolicLinkW is a stub under Wine 8 (it answers TRUE and
// makes nothing). Wine shows a link to a folder as a folder with the
// reparse-point attribute, as Windows shows a directory link or junction.
// True when the link exists afterwards.
bool MakeUnixSymlink(const std::wstring& target, const std::wstring& link);

// Removes the link itself (never what it leads to); true when it is gone.
bool RemoveUnixSymlink(const std::wstring& link);
