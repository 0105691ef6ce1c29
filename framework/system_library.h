#pragma once
#include "win32_base.h"

// DLLs that are not KnownDLLs on every supported Windows are loaded by hand
// from the system folder only, never through the import table, so that a DLL
// of the same name planted beside the program or in the working folder is
// never picked up.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// Narrows the process's DLL search to the system folder. Must run before
// anything loads a DLL.
void RestrictDllSearchToSystemFolder();
