#include "framework/gdiplus_api.h"
#include "paint_surface.h"
#include "window/message_font.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kStatusMessage[] = L"\u6B63\u5728\u9000\u56DE\u8001\u7248\u672C\uFF0C\u8BF7\u7A0D\u540E\u2026";
constexpr wchar_t kMeasuringText[] =
    L"\u6B63\u5728\u5207\u6362\u4E3A\u7ECF\u5178\u7248\u672C\uFF0C\u8BF7\u7A0D\u540E\u2026";
constexpr wchar_t kMissingFace[] = L"ClassicSwitch No Such Face";

std::wstring FamilyName(Gdiplus::GpFontFamily* family)
{
    wchar_t name[LF_FACESIZE] = {};
    Gdip().GdipGetFamilyName(family, name, LANG_NEUTRAL);
    return name;
}

// Whether GDI, asked for the face by name, gets that very face and finds a
// glyph for every character of the text.
bool FaceHasGlyphsFor(const std::wstring& face, const wchar_t* text)
{
    LOGFONTW logFont{};
    logFont.lfHeight = -20;
    logFont.lfCharSet = DEFAULT_CHARSET;
    face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    CFont font;
    font.CreateFontIndirect(&logFont);
    PaintSurface surface(4, 4);
    const HGDIOBJ previous = surface.DC()->SelectObject(&font);
    wchar_t selected[LF_FACESIZE] = {};
    ::GetTextFaceW(surface.DC()->m_hDC, LF_FACESIZE, selected);
    WORD glyphs[32] = {};
    const int length = lstrlenW(text);
    const DWORD mapped = ::GetGlyphIndicesW(surface.DC()->m_hDC, text, length, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    surface.DC()->SelectObject(previous);
    if (face != selected)
        return false;  // GDI mapped the name to some other face
    if (mapped != static_cast<DWORD>(length))
        return false;
    for (int i = 0; i < length; ++i) {
        if (glyphs[i] == 0xFFFF)
            return false;
    }
    return true;
}

float MeasuredHeight(Gdiplus::GpFontFamily* family, const wchar_t* text, int length)
{
    return MeasureOneLine(family, text, length).Height;
}

int LightPixels(Gdiplus::GpFontFamily* family)
{
    const RgbColor back{47, 55, 74};
    PaintSurface surface(300, 40);
    surface.Fill(back);
    {
        gdip::Graphics graphics = gdip::CreateGraphics(surface.DC()->m_hDC);
        gdip::Brush brush = gdip::CreateSolidBrush(RgbColor{235, 235, 237}.ToArgb());
        gdip::Font font = CreateMessageFont(family, 1.0);
        gdip::StringFormat format = CreateMessageFormat(0);
        const Gdiplus::RectF layout(0.0f, 0.0f, 300.0f, 40.0f);
        Gdip().GdipDrawString(graphics.get(), kStatusMessage, 12, font.get(), &layout, format.get(), brush.get());
    }
    int light = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const RgbColor p = surface.At(x, y);
            light += p.red > 200 && p.green > 200 && p.blue > 200;
        }
    }
    return light;
}

class MessageFont : public testing::Test {
    GdiplusSession m_gdiplus;
};

// The platform names the family after the font file that it found for the
// preferred face (here the stand-in of the test prefix).
TEST_F(MessageFont, ThePreferredFaceIsUsedWhenInstalled)
{
    Gdiplus::GpFontFamily* preferred = nullptr;
    ASSERT_EQ(Gdip().GdipCreateFontFamilyFromName(kMessageFontFace, nullptr, &preferred), Gdiplus::Ok);
    const gdip::FontFamily owned(preferred);
    const gdip::FontFamily family = CreateMessageFontFamily();
    ASSERT_TRUE(family);
    EXPECT_EQ(FamilyName(family.get()), FamilyName(preferred));
}

// Both when the preferred face exists (the test prefix maps it to a Chinese
// font) and when it does not, the family measures a line of text and draws
// the Chinese message: the window never shows an empty face.
TEST_F(MessageFont, TheFamilyAlwaysMeasuresAndDrawsTheChineseMessage)
{
    for (const wchar_t* face : {kMessageFontFace, kMissingFace}) {
        SCOPED_TRACE(testing::Message() << "asked for " << std::string(face, face + lstrlenW(face)));
        const gdip::FontFamily family = CreateMessageFontFamily(face);
        ASSERT_TRUE(family);
        const std::wstring name = FamilyName(family.get());
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(FaceHasGlyphsFor(name, kStatusMessage));
        EXPECT_TRUE(FaceHasGlyphsFor(name, kMeasuringText));
        const float height = MeasuredHeight(family.get(), kMeasuringText, 14);
        EXPECT_GE(height, 20.0f);
        EXPECT_LE(height, 40.0f);
        EXPECT_GT(LightPixels(family.get()), 100);
    }
}

TEST_F(MessageFont, AMissingFaceIsNotFoundByItsOwnName)
{
    // The premise of the fallback case above: the platform has no such face.
    Gdiplus::GpFontFamily* family = nullptr;
    EXPECT_NE(Gdip().GdipCreateFontFamilyFromName(kMissingFace, nullptr, &family), Gdiplus::Ok);
    gdip::FontFamily owned(family);
    EXPECT_FALSE(owned);
    EXPECT_FALSE(FaceHasGlyphsFor(kMissingFace, kStatusMessage));
}

}  // namespace
