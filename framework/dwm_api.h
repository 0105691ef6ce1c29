#pragma once
#include "win32_base.h"

// DwmSetWindowAttribute from dwmapi.dll in the system folder; E_NOTIMPL when
// the library or the function is missing.
HRESULT DwmSetWindowAttributeSafe(HWND hWnd, DWORD attribute, const void* value, DWORD size);
