#pragma once
#include "framework/win32_base.h"

// The number of live GDI objects of this process.
DWORD GdiObjectCount();
