#include "message_font.h"

#include "scaling.h"

const wchar_t kMessageFontFace[] = L"Microsoft YaHei";

namespace {
// Families that carry simplified Chinese on Windows installations and on the
// common Linux font packages that stand in for them under Wine.
constexpr const wchar_t* kChineseFallbacks[] = {
    L"Microsoft YaHei UI", L"DengXian",           L"SimHei", L"SimSun", L"NSimSun", L"WenQuanYi Micro Hei",
    L"Noto Sans CJK SC",   L"Source Han Sans SC",
};

gdip::FontFamily FamilyByName(const wchar_t* name)
{
    Gdiplus::GpFontFamily* family = nullptr;
    Gdip().GdipCreateFontFamilyFromName(name, nullptr, &family);
    return gdip::FontFamily(family);
}
}  // namespace

gdip::FontFamily CreateMessageFontFamily(const wchar_t* preferredFace)
{
    if (auto family = FamilyByName(preferredFace))
        return family;
    for (const wchar_t* name : kChineseFallbacks) {
        if (auto family = FamilyByName(name))
            return family;
    }
    Gdiplus::GpFontFamily* generic = nullptr;
    Gdip().GdipGetGenericFontFamilySansSerif(&generic);
    return gdip::FontFamily(generic);
}

gdip::Font CreateMessageFont(Gdiplus::GpFontFamily* family, double scale)
{
    Gdiplus::GpFont* font = nullptr;
    Gdip().GdipCreateFont(family, ScaledFontSize(scale), Gdiplus::FontStyleRegular, Gdiplus::UnitPixel, &font);
    return gdip::Font(font);
}

gdip::StringFormat CreateMessageFormat(int flags)
{
    Gdiplus::GpStringFormat* format = nullptr;
    Gdip().GdipCreateStringFormat(0, LANG_NEUTRAL, &format);
    Gdip().GdipSetStringFormatAlign(format, Gdiplus::StringAlignmentNear);
    Gdip().GdipSetStringFormatLineAlign(format, Gdiplus::StringAlignmentCenter);
    if (flags)
        Gdip().GdipSetStringFormatFlags(format, flags);
    return gdip::StringFormat(format);
}
