#pragma once
#include <string>

// Where the benchmark programs find each other; the program under test and
// the test stand-ins come from tests/support/test_paths.h.
std::wstring BenchProgramPath(const wchar_t* name);
// A fresh, empty folder under the temporary folder, for one benchmark's files.
std::wstring FreshWorkFolder(const wchar_t* name);
