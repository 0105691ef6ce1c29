#include "app/command_line.h"
#include "window/custom_window.h"
#include "window/scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kCommandLineLimit = 32767;  // code units, the terminator included
const std::wstring kProgramPath = L"C:\\Program Files\\ClassicSwitch\\ClassicSwitch.exe";

// ---------------------------------------------------------------------------
// The reference model: the grammar as its rules read, written apart from the
// program's code.

struct ModelOptions {
    std::wstring tempDir, appName, miniName, galleryName, localPath;
    double scale = 1.0;
};

// Scale values come from this table only, so that the model knows what the
// C library's conversion gives for each without converting anything itself.
// Each is what the conversion yields for the text standing alone or followed
// by a space.
struct ScaleText {
    std::wstring text;
    double value;
};

std::vector<ScaleText> ScaleTexts()
{
    const double inf = std::numeric_limits<double>::infinity();
    return {
        {L"1.5", 1.5},
        {L"2", 2.0},
        {L"0.75", 0.75},
        {L"1,5", 1.0},
        {L"abc", 0.0},
        {L"nan", 0.0},
        {L"inf", 0.0},
        {L"INF", 0.0},
        {L"infinity", 0.0},
        {L"0x10", 0.0},
        {L"1e309", inf},
        {L"1e-320", 1e-320},
        {L"+.5", 0.5},
        {L"1.5e", 1.5},
        {L"12abc", 12.0},
        {L"1e2", 100.0},
        {L"100.0000001", 100.0000001},
        {L" 1.25", 1.25},
        {L" -2", -2.0},
        {L" -1e309", -inf},
        {L" -0", -0.0},
        {L"\u0661", 0.0},
        {L"", 0.0},
        {L"  ", 0.0},
        {L"1" + std::wstring(400, L'0'), inf},
        {L"0." + std::wstring(500, L'0') + L"1", 0.0},
        {std::wstring(5000, L'9'), inf},
        {L"\U0001F600", 0.0},
    };
}

bool IsBlank(const std::wstring& text)
{
    return text.find_first_not_of(L" \t") == std::wstring::npos;
}

double ModelClamp(double value)
{
    if (value != value)
        return 0.0;
    return value > 100.0 ? 100.0 : (value < -100.0 ? -100.0 : value);
}

std::wstring AsciiLower(std::wstring text)
{
    for (wchar_t& ch : text) {
        if (ch >= L'A' && ch <= L'Z')
            ch = static_cast<wchar_t>(ch + (L'a' - L'A'));
    }
    return text;
}

class Model {
public:
    explicit Model(std::vector<ScaleText> scaleTexts) : m_scaleTexts(std::move(scaleTexts)) {}

    void Apply(const std::vector<std::wstring>& argv, ModelOptions& options) const
    {
        size_t i = 1;
        while (i < argv.size()) {
            const std::wstring& argument = argv[i];
            if (argument.size() < 2 || argument[0] != L'-' || argument[1] != L'-') {
                ++i;
                continue;
            }
            std::vector<std::wstring> values;
            size_t j = i + 1;
            while (j < argv.size() && (argv[j].empty() || argv[j][0] != L'-'))
                values.push_back(argv[j++]);
            Store(AsciiLower(argument.substr(2)), values, options);
            i = j;
        }
    }

private:
    static std::wstring Join(const std::vector<std::wstring>& values)
    {
        std::wstring joined;
        for (const std::wstring& value : values) {
            if (!joined.empty())
                joined += L' ';
            joined += value;
        }
        return joined;
    }

    // The number ends at the first space, and leading blanks are skipped, so
    // the first value that is not blank decides.
    double ScaleOf(const std::vector<std::wstring>& values) const
    {
        for (const std::wstring& value : values) {
            if (IsBlank(value))
                continue;
            for (const ScaleText& known : m_scaleTexts) {
                if (known.text == value)
                    return ModelClamp(known.value);
            }
            ADD_FAILURE() << "scale value outside the model's table: " << testing::PrintToString(value);
            return 0.0;
        }
        return 0.0;
    }

    void Store(const std::wstring& name, const std::vector<std::wstring>& values, ModelOptions& options) const
    {
        if (name == L"tempdir") {
            options.tempDir = Join(values);
        } else if (name == L"appname") {
            options.appName = Join(values);
        } else if (name == L"mininame") {
            options.miniName = Join(values);
        } else if (name == L"galleryname") {
            options.galleryName = Join(values);
        } else if (name == L"localpath") {
            options.localPath = Join(values);
            for (wchar_t& ch : options.localPath)
                ch = ch == L'/' ? L'\\' : ch;
        } else if (name == L"scale") {
            options.scale = ScaleOf(values);
        }
    }

    std::vector<ScaleText> m_scaleTexts;
};

// ---------------------------------------------------------------------------
// The generator of hostile argument vectors.

class ArgumentGenerator {
public:
    explicit ArgumentGenerator(unsigned seed, const std::vector<ScaleText>& scaleTexts)
        : m_random(seed), m_scaleTexts(scaleTexts)
    {}

    std::vector<std::wstring> Next()
    {
        std::vector<std::wstring> argv{kProgramPath};
        const int count = Pick(14);
        bool afterScale = false;
        for (int k = 0; k < count; ++k) {
            std::wstring argument;
            // A scale's values come from the table; anything else there ends them.
            if (afterScale)
                argument = Pick(4) != 0 ? m_scaleTexts[Pick(static_cast<int>(m_scaleTexts.size()))].text
                                        : (Pick(2) == 0 ? Option() : std::wstring(L"-"));
            else
                argument = Pick(3) == 0 ? Option() : (Pick(5) == 0 ? DashWord() : Value());
            afterScale = IsScaleOption(argument) || (afterScale && !StartsWithDash(argument));
            argv.push_back(argument);
        }
        // Now and then one value long enough to reach the command line's limit.
        if (Pick(40) == 0) {
            std::wstring owner = Option();
            if (IsScaleOption(owner))
                owner = L"-1";
            argv.push_back(owner);
            argv.push_back(LongValue(argv));
        }
        return argv;
    }

    int Pick(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

private:
    static bool StartsWithDash(const std::wstring& text) { return !text.empty() && text[0] == L'-'; }
    static bool IsScaleOption(const std::wstring& text) { return AsciiLower(text) == L"--scale"; }

    std::wstring Option()
    {
        static const wchar_t* const names[] = {L"TempDir",     L"AppName",   L"MiniName",
                                               L"GalleryName", L"LocalPath", L"Scale"};
        std::wstring name = names[Pick(6)];
        for (wchar_t& ch : name) {
            if (Pick(2) == 0)
                ch = ch >= L'a' ? static_cast<wchar_t>(ch - 32) : static_cast<wchar_t>(ch + 32);
        }
        switch (Pick(12)) {
        case 0:
            return L"--";  // the empty name
        case 1:
            return L"---" + name;  // one dash too many
        case 2:
            return L"--" + name + L"=x";  // no joined form
        case 3:
            return L"--" + name + L" ";  // a trailing space is part of the name
        case 4: {                        // look-alike letters outside ASCII
            for (wchar_t& ch : name) {
                if (ch == L'i')
                    ch = L'\u0131';  // dotless i
                else if (ch == L'S' || ch == L's')
                    ch = L'\u017F';  // long s
                else if (ch == L'a')
                    ch = L'\uFF41';  // full-width a
            }
            return L"--" + name;
        }
        default:
            return L"--" + name;
        }
    }

    std::wstring DashWord()
    {
        static const wchar_t* const words[] = {L"-",   L"-1",     L"-TempDir",          L"-0",           L"-\"",
                                               L"-\\", L"--\\\"", L"\u2212\u2212Scale", L"\u2014TempDir"};
        return words[Pick(9)];
    }

    wchar_t Unit()
    {
        static const wchar_t alphabet[] = L"aZ09 \t\"\\\\\\//.:-_=\u00FC\u7248\n\u3000";
        switch (Pick(20)) {
        case 0:
            return static_cast<wchar_t>(0xD800 + Pick(0x400));  // a lone high surrogate
        case 1:
            return static_cast<wchar_t>(0xDC00 + Pick(0x400));  // a lone low surrogate
        default:
            return alphabet[Pick(static_cast<int>(sizeof(alphabet) / sizeof(wchar_t) - 1))];
        }
    }

    std::wstring Value()
    {
        if (Pick(8) == 0)
            return L"";
        std::wstring value;
        const int length = 1 + Pick(12);
        for (int k = 0; k < length; ++k) {
            if (Pick(10) == 0)
                value += L"\U0001F600";  // a surrogate pair
            else
                value += Unit();
        }
        if (value[0] == L'-')
            value[0] = L'+';  // a dash would make it the next option: covered by DashWord
        return value;
    }

    // Plain characters, so that quoting adds only the two quotes: the whole
    // command line then ends just within its limit.
    std::wstring LongValue(const std::vector<std::wstring>& argv)
    {
        size_t used = 0;
        for (const std::wstring& argument : argv)
            used += 3 + 2 * argument.size();  // worst case: quotes, a space, every unit escaped
        if (used + 8 >= kCommandLineLimit)
            return L"x";
        const size_t room = kCommandLineLimit - 1 - used - 3;
        const size_t length = room / 2 + static_cast<size_t>(Pick(static_cast<int>(room / 2) + 1));
        std::wstring value(length, L'p');
        for (size_t k = 0; k < length; k += 1 + static_cast<size_t>(Pick(200)))
            value[k] = Pick(2) ? L' ' : L'\\';
        value[0] = L'C';
        return value;
    }

    std::mt19937 m_random;
    const std::vector<ScaleText>& m_scaleTexts;
};

// The system's quoting rules, as a launcher applies them: backslashes are
// literal except before a quote, where they and the quote are escaped.
std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t ch : argument) {
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(ch == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += ch;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

std::wstring CommandLineOf(const std::vector<std::wstring>& argv)
{
    std::wstring commandLine = L"\"" + argv[0] + L"\"";
    for (size_t i = 1; i < argv.size(); ++i)
        commandLine += L" " + QuoteArgument(argv[i]);
    return commandLine;
}

void ExpectSameOptions(const ModelOptions& expected, const CommandLineOptions& actual)
{
    EXPECT_EQ(actual.tempDir, expected.tempDir);
    EXPECT_EQ(actual.appName, expected.appName);
    EXPECT_EQ(actual.miniName, expected.miniName);
    EXPECT_EQ(actual.galleryName, expected.galleryName);
    EXPECT_EQ(actual.localPath, expected.localPath);
    // Equal as values and in sign, so that -0 stays -0.
    EXPECT_EQ(actual.scale, expected.scale);
    EXPECT_EQ(std::signbit(actual.scale), std::signbit(expected.scale));
}

CommandLineOptions OptionsOf(const CCustomWindow& window)
{
    return CommandLineOptions{window.m_strTempDir.Str(),     window.m_strAppName.Str(),   window.m_strMiniName.Str(),
                              window.m_strGalleryName.Str(), window.m_strLocalPath.Str(), window.m_dScale};
}

// Thousands of seeded argument vectors go through a real command line and the
// system's splitter, then through the grammar; the result must equal the
// model's, both from scratch and on top of everything parsed before (the
// window object keeps its values, as it does across options).
TEST(CommandLineFuzz, GrammarMatchesTheModelOnHostileArguments)
{
    const std::vector<ScaleText> scaleTexts = ScaleTexts();
    const Model model(scaleTexts);
    ArgumentGenerator generator(20240611u, scaleTexts);
    auto window = std::make_unique<CCustomWindow>();
    ModelOptions windowModel;
    size_t longest = 0;

    constexpr int kRuns = 5000;
    for (int run = 0; run < kRuns; ++run) {
        const std::vector<std::wstring> argv = generator.Next();
        const std::wstring commandLine = CommandLineOf(argv);
        SCOPED_TRACE(testing::Message() << "run " << run << ", " << argv.size() << " arguments, " << commandLine.size()
                                        << " units");
        ASSERT_LT(commandLine.size(), kCommandLineLimit);
        longest = std::max(longest, commandLine.size());

        std::vector<std::wstring> split;
        ASSERT_TRUE(SplitCommandLine(commandLine.c_str(), split));
        ASSERT_EQ(split, argv) << "the quoting does not round-trip";

        ModelOptions expected;
        model.Apply(argv, expected);
        CommandLineOptions fresh;
        ApplyArguments(split, fresh);
        ExpectSameOptions(expected, fresh);

        model.Apply(argv, windowModel);
        window->ParseCommandLine(commandLine.c_str());
        ExpectSameOptions(windowModel, OptionsOf(*window));
        if (HasFailure())
            break;
    }
    // The generator must have reached the limit's neighbourhood.
    EXPECT_GT(longest, kCommandLineLimit / 2);
}

// ---------------------------------------------------------------------------
// Hostile scale texts end in defined sizes and positions.

struct ScaleCase {
    std::vector<std::wstring> arguments;  // after the program path
    double scale;
    WindowPlacement placement;  // on a 1920 by 1080 screen
};

TEST(CommandLineScale, HostileScaleTextsGiveDefinedPlacements)
{
    const std::vector<ScaleCase> cases = {
        {{L"--Scale", L"nan"}, 0.0, {960, 540, 0, 0}},
        {{L"--Scale", L"inf"}, 0.0, {960, 540, 0, 0}},
        {{L"--Scale", L"1e309"}, 100.0, {-20040, -5160, 42000, 11400}},
        {{L"--Scale", L" -1e309"}, -100.0, {21960, 6240, -42000, -11400}},
        {{L"--Scale", L"-0"}, 0.0, {960, 540, 0, 0}},  // no values: "-0" is passed over
        {{L"--Scale", L" -0"}, -0.0, {960, 540, 0, 0}},
        {{L"--Scale", L"1e-320"}, 1e-320, {960, 540, 0, 0}},
        {{L"--Scale", L"1" + std::wstring(400, L'0')}, 100.0, {-20040, -5160, 42000, 11400}},
        {{L"--Scale", std::wstring(32000, L'7')}, 100.0, {-20040, -5160, 42000, 11400}},
        {{L"--Scale", L"0." + std::wstring(30000, L'0') + L"1"}, 0.0, {960, 540, 0, 0}},
        {{L"--Scale", L"99.99"}, 99.99, {-20037, -5159, 41995, 11398}},  // -40075 / 2 toward zero
        {{L"--Scale", L"1.5", L"2"}, 1.5, {645, 454, 630, 171}},
    };
    for (const ScaleCase& c : cases) {
        std::vector<std::wstring> argv{kProgramPath};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(testing::Message() << "scale text of " << argv.back().size() << " units");
        CCustomWindow window;
        window.ParseCommandLine(CommandLineOf(argv).c_str());
        EXPECT_EQ(window.m_dScale, c.scale);
        EXPECT_EQ(std::signbit(window.m_dScale), std::signbit(c.scale));
        const WindowPlacement p = CenteredWindowPlacement(window.m_dScale, 1920, 1080);
        EXPECT_EQ(p.x, c.placement.x);
        EXPECT_EQ(p.y, c.placement.y);
        EXPECT_EQ(p.width, c.placement.width);
        EXPECT_EQ(p.height, c.placement.height);
    }
}

}  // namespace
