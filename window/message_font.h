#pragma once
#include "../framework/gdiplus_api.h"

// The face the window's text is designed for. Only declared here; its
// definition is a constant, initialised before any code runs.
extern const wchar_t kMessageFontFace[];  // NOLINT(bugprone-dynamic-static-initializers)

// The family for the window's text: the preferred face when it is installed,
// otherwise the first installed family that has the message's Chinese glyphs,
// and last the system's generic sans-serif family. Measuring and drawing both
// take it from here, so the layout always fits the drawn text.
gdip::FontFamily CreateMessageFontFamily(const wchar_t* preferredFace = kMessageFontFace);

// A regular font of the family, sized in pixels (the scale times 20).
gdip::Font CreateMessageFont(Gdiplus::GpFontFamily* family, double scale);

// A string format with near horizontal alignment and centred lines.
gdip::StringFormat CreateMessageFormat(int flags);
