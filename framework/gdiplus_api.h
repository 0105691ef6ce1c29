#pragma once
#include "win32_base.h"

// GDI+ headers expect the COM declarations that lean Windows headers leave out.
#include <objidl.h>
#include <propidl.h>
#include <gdiplus.h>

#include <memory>

// The GDI+ flat interface, loaded from the system folder on first use.
#define CS_GDIPLUS_FUNCTIONS(X)          \
    X(GdipCreateFromHDC)                 \
    X(GdipDeleteGraphics)                \
    X(GdipSetSmoothingMode)              \
    X(GdipCreateFontFamilyFromName)      \
    X(GdipGetGenericFontFamilySansSerif) \
    X(GdipDeleteFontFamily)              \
    X(GdipGetFamilyName)                 \
    X(GdipCreateFont)                    \
    X(GdipDeleteFont)                    \
    X(GdipCreateStringFormat)            \
    X(GdipDeleteStringFormat)            \
    X(GdipSetStringFormatAlign)          \
    X(GdipSetStringFormatLineAlign)      \
    X(GdipSetStringFormatFlags)          \
    X(GdipMeasureString)                 \
    X(GdipDrawString)                    \
    X(GdipCreateSolidFill)               \
    X(GdipDeleteBrush)                   \
    X(GdipCreatePath)                    \
    X(GdipDeletePath)                    \
    X(GdipAddPathRectangle)              \
    X(GdipAddPathArc)                    \
    X(GdipClosePathFigure)               \
    X(GdipFillPath)                      \
    X(GdipGetPointCount)                 \
    X(GdipGetPathPoints)                 \
    X(GdipGetPathTypes)

struct GdiplusApi {
// The argument is a name, part of a qualified name and a member's name: it
// cannot be parenthesised.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define CS_DECLARE_MEMBER(name) decltype(&Gdiplus::DllExports::name) name;
    CS_GDIPLUS_FUNCTIONS(CS_DECLARE_MEMBER)
#undef CS_DECLARE_MEMBER
    decltype(&Gdiplus::GdiplusStartup) GdiplusStartup;
    decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown;
    bool loaded;
};

// The table; every entry is callable. When gdiplus.dll cannot be loaded each
// call fails with a non-Ok status and creates nothing.
const GdiplusApi& Gdip();

// Owners of GDI+ flat objects: each deletes its object when it goes out of
// scope, so declaring them in creation order deletes them in reverse order.
namespace gdip {
struct GraphicsDeleter {
    void operator()(Gdiplus::GpGraphics* p) const { Gdip().GdipDeleteGraphics(p); }
};
struct FontFamilyDeleter {
    void operator()(Gdiplus::GpFontFamily* p) const { Gdip().GdipDeleteFontFamily(p); }
};
struct FontDeleter {
    void operator()(Gdiplus::GpFont* p) const { Gdip().GdipDeleteFont(p); }
};
struct StringFormatDeleter {
    void operator()(Gdiplus::GpStringFormat* p) const { Gdip().GdipDeleteStringFormat(p); }
};
struct BrushDeleter {
    void operator()(Gdiplus::GpBrush* p) const { Gdip().GdipDeleteBrush(p); }
};
struct PathDeleter {
    void operator()(Gdiplus::GpPath* p) const { Gdip().GdipDeletePath(p); }
};

using Graphics = std::unique_ptr<Gdiplus::GpGraphics, GraphicsDeleter>;
using FontFamily = std::unique_ptr<Gdiplus::GpFontFamily, FontFamilyDeleter>;
using Font = std::unique_ptr<Gdiplus::GpFont, FontDeleter>;
using StringFormat = std::unique_ptr<Gdiplus::GpStringFormat, StringFormatDeleter>;
using Brush = std::unique_ptr<Gdiplus::GpBrush, BrushDeleter>;
using Path = std::unique_ptr<Gdiplus::GpPath, PathDeleter>;

Graphics CreateGraphics(HDC hdc);
Brush CreateSolidBrush(Gdiplus::ARGB color);
Path CreatePath(Gdiplus::FillMode fillMode);
}  // namespace gdip
