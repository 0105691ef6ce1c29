#include "framework/system_error_text.h"

#include <gtest/gtest.h>

TEST(OneLineText, MakesEachRunOfControlsOneSpaceAndTrimsTheEnd)
{
    const struct {
        const wchar_t* text;
        const wchar_t* line;
    } cases[] = {
        {L"Access denied.\r\n", L"Access denied."},
        {L"First line.\r\nSecond line.\r\n", L"First line. Second line."},
        {L"a\tb\n\nc", L"a b c"},
        {L"trailing   ", L"trailing"},
        {L"", L""},
        {nullptr, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OneLineText(c.text), c.line);
}

TEST(SystemErrorText, IsTheSystemsOwnTextOnOneLine)
{
    for (DWORD error : {2u, 5u, 32u, 112u, 193u}) {
        const CString text = SystemErrorText(error);
        EXPECT_FALSE(text.IsEmpty()) << error;
        EXPECT_EQ(text, OneLineText(text)) << error;
    }
    EXPECT_EQ(SystemErrorText(0x2345678), L"no text for this error");
}
