#include "gdiplus_api.h"

#include "system_library.h"

namespace {

// GDI+ statuses are an enum whose zero is Ok; a failing stand-in must report
// failure, so statuses get their own stand-in.
template <class Fn>
struct FailingGdip;
template <class... A>
struct FailingGdip<Gdiplus::GpStatus(WINGDIPAPI*)(A...)> {
    static Gdiplus::GpStatus WINGDIPAPI Call(A...) { return Gdiplus::GdiplusNotInitialized; }
};

template <class Fn>
void Resolve(HMODULE module, const char* name, Fn& slot)
{
    FARPROC proc = module ? ::GetProcAddress(module, name) : nullptr;
    slot = proc ? reinterpret_cast<Fn>(reinterpret_cast<void*>(proc)) : &FailingGdip<Fn>::Call;
}

void WINGDIPAPI NoShutdown(ULONG_PTR) {}

GdiplusApi LoadGdiplus()
{
    GdiplusApi api{};
    // Kept loaded for the life of the process: GDI+ may still be running at
    // exit, and unloading it under its own threads is not safe.
    HMODULE module = LoadSystemLibrary(L"gdiplus.dll");
#define CS_RESOLVE(name) Resolve(module, #name, api.name);
    CS_GDIPLUS_FUNCTIONS(CS_RESOLVE)
#undef CS_RESOLVE
    Resolve(module, "GdiplusStartup", api.GdiplusStartup);
    FARPROC shutdown = module ? ::GetProcAddress(module, "GdiplusShutdown") : nullptr;
    api.GdiplusShutdown =
        shutdown ? reinterpret_cast<decltype(api.GdiplusShutdown)>(reinterpret_cast<void*>(shutdown)) : &NoShutdown;
    api.loaded = module != nullptr;
    return api;
}

}  // namespace

const GdiplusApi& Gdip()
{
    static const GdiplusApi api = LoadGdiplus();
    return api;
}

namespace gdip {

Graphics CreateGraphics(HDC hdc)
{
    Gdiplus::GpGraphics* graphics = nullptr;
    Gdip().GdipCreateFromHDC(hdc, &graphics);
    return Graphics(graphics);
}

Brush CreateSolidBrush(Gdiplus::ARGB color)
{
    Gdiplus::GpSolidFill* brush = nullptr;
    Gdip().GdipCreateSolidFill(color, &brush);
    return Brush(brush);
}

Path CreatePath(Gdiplus::FillMode fillMode)
{
    Gdiplus::GpPath* path = nullptr;
    Gdip().GdipCreatePath(fillMode, &path);
    return Path(path);
}

}  // namespace gdip
