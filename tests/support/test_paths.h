#pragma once
#include <string>

// Paths of the programs under test. The build passes Linux paths; under Wine
// they are reached through drive Z:, which maps the Linux root.
std::wstring WindowsPathFromUnix(const char* unixPath);
std::wstring ProgramUnderTestPath();                // ClassicSwitch.exe
std::wstring TestProgramPath(const wchar_t* name);  // a helper program from tests/programs
