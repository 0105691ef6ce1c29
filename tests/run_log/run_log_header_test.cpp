// The log's opening lines, from the facts that start-up reads.
#include "app/run_log_header.h"
#include "window/custom_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Header(const RunFacts& facts)
{
    std::vector<std::wstring> lines;
    for (int i = 0; i < kRunLogHeaderLines; ++i)
        lines.push_back(RunLogHeaderLine(facts, i).Str());
    return lines;
}

TEST(RunLogHeader, TellsTheProgramTheSystemTheCommandLineTheValuesAndTheScreen)
{
    // Never created: only its option values are read.
    const auto window = std::make_unique<CCustomWindow>();
    window->m_strTempDir = L"C:\\Users\\me\\Downloads";
    window->m_strAppName = L"Korvane Setup.exe";
    window->m_strMiniName = L"KorvaneMini.exe";
    window->m_strGalleryName = L"";
    window->m_strLocalPath = L"C:\\Program Files\\\u7248";
    window->m_dScale = 1.5;
    const wchar_t* commandLine = L"\"C:\\cs.exe\" --TempDir C:\\Users\\me\\Downloads --Scale 1.5";
    RunFacts facts{L"1.0.0.0", 32, 4242, 10, 0, 19045, true, commandLine, window.get(), 1920, 1080, 144};
    const std::vector<std::wstring> expected{
        L"ClassicSwitch 1.0.0.0, 32-bit, process 4242",
        L"Windows 10.0.19045, 64-bit",
        L"command line: \"C:\\cs.exe\" --TempDir C:\\Users\\me\\Downloads --Scale 1.5",
        L"--TempDir: \"C:\\Users\\me\\Downloads\"",
        L"--AppName: \"Korvane Setup.exe\"",
        L"--MiniName: \"KorvaneMini.exe\"",
        L"--GalleryName: \"\"",
        L"--LocalPath: \"C:\\Program Files\\\u7248\"",
        L"--Scale: 1.5",
        L"screen: 1920 x 1080 pixels, 144 dpi (150%)",
    };
    EXPECT_EQ(Header(facts), expected);

    // After a failed creation the window is gone: the command line tells.
    facts.window = nullptr;
    facts.windows64 = false;
    const std::vector<std::wstring> lines = Header(facts);
    EXPECT_EQ(lines[1], L"Windows 10.0.19045, 32-bit");
    for (int i = 3; i <= 7; ++i)
        EXPECT_EQ(lines[static_cast<size_t>(i)].substr(lines[static_cast<size_t>(i)].find(L':')), L": unknown");
    EXPECT_EQ(lines[8], L"--Scale: unknown");
}

TEST(RunLogHeader, WritesScalesWithUpToSixDecimalsAndNoTrailingZeros)
{
    const struct {
        double scale;
        const wchar_t* text;
    } cases[] = {
        {1.0, L"1"},
        {1.5, L"1.5"},
        {1.25, L"1.25"},
        {1.1, L"1.1"},
        {0.0, L"0"},
        {-0.0, L"0"},
        {-0.5, L"-0.5"},
        {100.0, L"100"},
        {-100.0, L"-100"},
        {0.000001, L"0.000001"},
        {0.0000004, L"0"},
        {2.9999999, L"3"},
        {1.123456789, L"1.123457"},
        {1e300, L"out of range"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleText(c.scale), c.text) << c.scale;
}

TEST(RunLogHeader, GivesTheWindowsPlaceAsStartUpChoseIt)
{
    EXPECT_EQ(WindowPlacementLine(WindowPlacement{750, 483, 420, 114}), L"window: 420 x 114 at 750, 483");
    EXPECT_EQ(WindowPlacementLine(WindowPlacement{-10, -3, 1940, 1086}), L"window: 1940 x 1086 at -10, -3");
}

}  // namespace
