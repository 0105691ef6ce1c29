#include "run_log_header.h"

#include "../window/custom_window.h"

#include <cmath>

namespace {

CString OptionLine(const wchar_t* option, const CString* value)
{
    CString line(option);
    if (!value) {
        line += L": unknown";
        return line;
    }
    line += L": \"";
    line += *value;
    line += L'"';
    return line;
}

CString SystemLine(const RunFacts& facts)
{
    CString line(L"Windows ");
    line += DecimalString(facts.windowsMajor);
    line += L'.';
    line += DecimalString(facts.windowsMinor);
    line += L'.';
    line += DecimalString(facts.windowsBuild);
    line += facts.windows64 ? L", 64-bit" : L", 32-bit";
    return line;
}

CString ScreenLine(const RunFacts& facts)
{
    CString line(L"screen: ");
    line += SignedDecimalString(facts.screenWidth);
    line += L" x ";
    line += SignedDecimalString(facts.screenHeight);
    line += L" pixels, ";
    line += SignedDecimalString(facts.screenDpi);
    line += L" dpi (";
    line += SignedDecimalString(facts.screenDpi * 100LL / 96);
    line += L"%)";
    return line;
}

}  // namespace

CString ScaleText(double scale)
{
    const bool negative = scale < 0;
    const double magnitude = negative ? -scale : scale;
    // Start-up clamps the scale to +/-100; this guards the conversion anyway.
    if (!(magnitude <= 1000.0))
        return L"out of range";
    const auto millionths = static_cast<unsigned>(std::lround(magnitude * 1e6));
    CString text(negative && millionths ? L"-" : L"");
    text += DecimalString(millionths / 1000000);
    unsigned fraction = millionths % 1000000;
    if (fraction == 0)
        return text;
    int length = 6;
    for (; fraction % 10 == 0; fraction /= 10)
        --length;
    wchar_t digits[6];
    for (int i = length - 1; i >= 0; --i, fraction /= 10)
        digits[i] = static_cast<wchar_t>(L'0' + fraction % 10);
    text += L'.';
    text += CString(digits, length);
    return text;
}

CString RunLogHeaderLine(const RunFacts& facts, int index)
{
    const CCustomWindow* window = facts.window;
    switch (index) {
    case 0: {
        CString line(L"ClassicSwitch ");
        line += facts.version;
        line += L", ";
        line += DecimalString(facts.programBits);
        line += L"-bit, process ";
        line += DecimalString(facts.processId);
        return line;
    }
    case 1:
        return SystemLine(facts);
    case 2: {
        CString line(L"command line: ");
        line += facts.commandLine;
        return line;
    }
    case 3:
        return OptionLine(L"--TempDir", window ? &window->m_strTempDir : nullptr);
    case 4:
        return OptionLine(L"--AppName", window ? &window->m_strAppName : nullptr);
    case 5:
        return OptionLine(L"--MiniName", window ? &window->m_strMiniName : nullptr);
    case 6:
        return OptionLine(L"--GalleryName", window ? &window->m_strGalleryName : nullptr);
    case 7:
        return OptionLine(L"--LocalPath", window ? &window->m_strLocalPath : nullptr);
    case 8: {
        CString line(L"--Scale: ");
        line += window ? ScaleText(window->m_dScale) : CString(L"unknown");
        return line;
    }
    default:
        return ScreenLine(facts);
    }
}

CString WindowPlacementLine(const WindowPlacement& placement)
{
    CString line(L"window: ");
    line += SignedDecimalString(placement.width);
    line += L" x ";
    line += SignedDecimalString(placement.height);
    line += L" at ";
    line += SignedDecimalString(placement.x);
    line += L", ";
    line += SignedDecimalString(placement.y);
    return line;
}
