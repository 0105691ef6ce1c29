#pragma once
#include <string>
#include <vector>

// Small file and text helpers for tests that check what programs left behind.

std::wstring WideFromUtf8(const std::string& text);
// In the system's ANSI code page, as the debugger output carries text;
// characters it cannot hold become "?".
std::string AnsiFromWide(const std::wstring& text);

// The lines of a text file, UTF-16 when it starts with a little-endian byte
// order mark, else UTF-8; line ends (LF or CRLF) removed. No file, no lines.
std::vector<std::wstring> ReadTextLines(const std::wstring& path);
// Writes text as UTF-8, replacing the file.
bool WriteTextFile(const std::wstring& path, const std::string& text);

bool PathExists(const std::wstring& path);
bool CreateFolders(const std::wstring& folder);
// Removes a folder with everything in it; files in use may stay behind. A
// link or junction in it is removed, if it can be, but never followed.
void DeleteTree(const std::wstring& folder);
