#include "app/command_line.h"
#include "window/custom_window.h"
#include "window/scaling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct GrammarCase {
    const char* what;
    std::vector<std::wstring> arguments;  // after the program path
    CommandLineOptions expected;
};

CommandLineOptions Parse(const std::vector<std::wstring>& arguments)
{
    std::vector<std::wstring> all{L"C:\\ClassicSwitch.exe"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    CommandLineOptions options;
    ApplyArguments(all, options);
    return options;
}

CommandLineOptions Options(std::wstring tempDir, std::wstring appName, std::wstring miniName, std::wstring galleryName,
                           std::wstring localPath, double scale = 1.0)
{
    return CommandLineOptions{tempDir, appName, miniName, galleryName, localPath, scale};
}

TEST(CommandLineGrammar, ArgumentVectors)
{
    const GrammarCase cases[] = {
        {"all six options",
         {L"--TempDir", L"C:\\Temp\\Up", L"--AppName", L"Setup.exe", L"--MiniName", L"Mini.exe", L"--GalleryName",
          L"Gallery.exe", L"--LocalPath", L"D:/Apps/Classic", L"--Scale", L"1.5"},
         Options(L"C:\\Temp\\Up", L"Setup.exe", L"Mini.exe", L"Gallery.exe", L"D:\\Apps\\Classic", 1.5)},
        {"unquoted path with a space is joined with one space",
         {L"--LocalPath", L"C:/Program", L"Files/App"},
         Options(L"", L"", L"", L"", L"C:\\Program Files\\App")},
        {"only LocalPath has its slashes turned",
         {L"--TempDir", L"C:/Temp/Up", L"--AppName", L"sub/Setup.exe"},
         Options(L"C:/Temp/Up", L"sub/Setup.exe", L"", L"", L"")},
        {"option names ignore the case of ASCII letters",
         {L"--tempdir", L"a", L"--APPNAME", L"b", L"--mInInAmE", L"c", L"--GALLERYname", L"d", L"--localpath", L"e",
          L"--SCALE", L"2"},
         Options(L"a", L"b", L"c", L"d", L"e", 2.0)},
        {"an option directly followed by another takes the empty value",
         {L"--AppName", L"--TempDir", L"X"},
         Options(L"X", L"", L"", L"", L"")},
        {"the last occurrence wins", {L"--TempDir", L"A", L"--TempDir", L"B"}, Options(L"B", L"", L"", L"", L"")},
        {"the last occurrence wins also when empty",
         {L"--TempDir", L"A", L"--TempDir"},
         Options(L"", L"", L"", L"", L"")},
        {"a negative number ends the values and is passed over",
         {L"--Scale", L"-1", L"--AppName", L"S"},
         Options(L"", L"S", L"", L"", L"", 0.0)},
        {"a lone dash ends the values", {L"--AppName", L"a", L"-", L"b"}, Options(L"", L"a", L"", L"", L"")},
        {"an equals-sign form names no option",
         {L"--TempDir=C:\\x", L"--AppName", L"S"},
         Options(L"", L"S", L"", L"", L"")},
        {"single-dash names are passed over with their words",
         {L"-TempDir", L"C:\\x"},
         Options(L"", L"", L"", L"", L"")},
        {"three dashes name an option with a leading dash", {L"---TempDir", L"X"}, Options(L"", L"", L"", L"", L"")},
        {"a lone double dash swallows its values",
         {L"--", L"a", L"b", L"--AppName", L"Setup.exe"},
         Options(L"", L"Setup.exe", L"", L"", L"")},
        {"words before the first option are passed over",
         {L"stray", L"words", L"--MiniName", L"m.exe"},
         Options(L"", L"", L"m.exe", L"", L"")},
        {"an empty argument is a value that adds nothing before the first word",
         {L"--AppName", L"", L"Setup.exe"},
         Options(L"", L"Setup.exe", L"", L"", L"")},
        {"an empty argument after a word adds one space",
         {L"--AppName", L"Setup.exe", L""},
         Options(L"", L"Setup.exe ", L"", L"", L"")},
        {"names match only ASCII letters without case: a dotless i differs",
         {L"--TempD\u0131r", L"X"},
         Options(L"", L"", L"", L"", L"")},
        {"unknown options discard their values",
         {L"--Other", L"v", L"--GalleryName", L"g.exe"},
         Options(L"", L"", L"", L"g.exe", L"")},
    };
    for (const GrammarCase& c : cases) {
        SCOPED_TRACE(c.what);
        const CommandLineOptions got = Parse(c.arguments);
        EXPECT_EQ(got.tempDir, c.expected.tempDir);
        EXPECT_EQ(got.appName, c.expected.appName);
        EXPECT_EQ(got.miniName, c.expected.miniName);
        EXPECT_EQ(got.galleryName, c.expected.galleryName);
        EXPECT_EQ(got.localPath, c.expected.localPath);
        EXPECT_DOUBLE_EQ(got.scale, c.expected.scale);
    }
}

TEST(CommandLineGrammar, ScaleTexts)
{
    const struct {
        std::vector<std::wstring> values;
        double expected;
    } cases[] = {
        {{L"1.5", L"2"}, 1.5},  // the joined "1.5 2" converts up to the space
        {{L"1,5"}, 1.0},        // a comma is no decimal point
        {{L"abc"}, 0.0},       {{}, 0.0},
        {{L"1.25"}, 1.25},     {{L" 2"}, 2.0},           // leading white space is skipped
        {{L"1e1"}, 10.0},      {{L"1e309"}, kMaxScale},  // out of every display's range: clamped
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> arguments{L"--Scale"};
        arguments.insert(arguments.end(), c.values.begin(), c.values.end());
        EXPECT_DOUBLE_EQ(Parse(arguments).scale, c.expected) << (c.values.empty() ? L"" : c.values[0]).size();
    }
}

TEST(CommandLineGrammar, OptionsNotGivenKeepTheirValues)
{
    CommandLineOptions options = Options(L"t", L"a", L"m", L"g", L"l", 2.0);
    ApplyArguments({L"prog.exe", L"--AppName", L"new"}, options);
    EXPECT_EQ(options.tempDir, L"t");
    EXPECT_EQ(options.appName, L"new");
    EXPECT_EQ(options.localPath, L"l");
    EXPECT_DOUBLE_EQ(options.scale, 2.0);

    ApplyArguments({L"--AppName", L"ignored"}, options);  // element 0 is the program path, never read
    EXPECT_EQ(options.appName, L"new");
}

TEST(CommandLineText, QuotesAndBackslashesFollowTheSystemSplitting)
{
    CCustomWindow* window = new CCustomWindow();
    window->ParseCommandLine(
        L"\"C:\\Program Files\\ClassicSwitch.exe\" --TempDir \"C:\\Temp Dir\\\\\" --AppName Setup.exe "
        L"--LocalPath \"D:/My Apps/Classic\" extra --MiniName a b  c --GalleryName \"\" --Scale 1.25");
    EXPECT_EQ(window->m_strTempDir, L"C:\\Temp Dir\\");
    EXPECT_EQ(window->m_strAppName, L"Setup.exe");
    EXPECT_EQ(window->m_strLocalPath, L"D:\\My Apps\\Classic extra");
    EXPECT_EQ(window->m_strMiniName, L"a b c");
    EXPECT_EQ(window->m_strGalleryName, L"");
    EXPECT_DOUBLE_EQ(window->m_dScale, 1.25);
    delete window;
}

TEST(CommandLineText, OnlyTheProgramPathLeavesTheDefaults)
{
    CCustomWindow* window = new CCustomWindow();
    window->ParseCommandLine(L"ClassicSwitch.exe");
    EXPECT_TRUE(window->m_strTempDir.IsEmpty());
    EXPECT_TRUE(window->m_strLocalPath.IsEmpty());
    EXPECT_DOUBLE_EQ(window->m_dScale, 1.0);
    delete window;
}

}  // namespace
