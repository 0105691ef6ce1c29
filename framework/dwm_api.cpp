#include "dwm_api.h"

#include "system_library.h"

HRESULT DwmSetWindowAttributeSafe(HWND hWnd, DWORD attribute, const void* value, DWORD size)
{
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    // The pointer itself is constant; a function has no const to point to.
    static const Fn setAttribute = [] {  // NOLINT(misc-misplaced-const)
        HMODULE module = LoadSystemLibrary(L"dwmapi.dll");
        FARPROC proc = module ? ::GetProcAddress(module, "DwmSetWindowAttribute") : nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
    }();
    return setAttribute ? setAttribute(hWnd, attribute, value, size) : E_NOTIMPL;
}
