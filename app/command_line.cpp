#include "command_line.h"

#include "../framework/win32_base.h"
#include "../window/custom_window.h"
#include "../window/scaling.h"

#include <shellapi.h>
#include <cstdlib>

namespace {

// Option names match without regard to the case of A-Z alone, as the C
// locale folds; other characters must be equal.
bool AsciiCaseInsensitiveEqual(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z')
            x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z')
            y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == L'\0';
}

bool IsOptionName(const std::wstring& argument)
{
    return argument.size() >= 2 && argument[0] == L'-' && argument[1] == L'-';
}

void StoreOption(const std::wstring& name, std::wstring value, CommandLineOptions& options)
{
    if (AsciiCaseInsensitiveEqual(name, L"TempDir")) {
        options.tempDir = std::move(value);
    } else if (AsciiCaseInsensitiveEqual(name, L"AppName")) {
        options.appName = std::move(value);
    } else if (AsciiCaseInsensitiveEqual(name, L"MiniName")) {
        options.miniName = std::move(value);
    } else if (AsciiCaseInsensitiveEqual(name, L"GalleryName")) {
        options.galleryName = std::move(value);
    } else if (AsciiCaseInsensitiveEqual(name, L"LocalPath")) {
        for (wchar_t& ch : value) {
            if (ch == L'/')
                ch = L'\\';
        }
        options.localPath = std::move(value);
    } else if (AsciiCaseInsensitiveEqual(name, L"Scale")) {
        options.scale = ClampScale(::_wtof(value.c_str()));
    }
}

}  // namespace

void ApplyArguments(const std::vector<std::wstring>& arguments, CommandLineOptions& options)
{
    size_t i = 1;
    while (i < arguments.size()) {
        if (!IsOptionName(arguments[i])) {
            ++i;
            continue;
        }
        const std::wstring name = arguments[i].substr(2);
        std::wstring joined;
        size_t j = i + 1;
        // An empty argument is a value: its first character is the terminator.
        for (; j < arguments.size() && (arguments[j].empty() || arguments[j][0] != L'-'); ++j) {
            if (!joined.empty())
                joined += L' ';
            joined += arguments[j];
        }
        StoreOption(name, std::move(joined), options);
        i = j;
    }
}

bool SplitCommandLine(const wchar_t* commandLine, std::vector<std::wstring>& arguments)
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine, &count);
    if (!argv)
        return false;
    arguments.assign(argv, argv + (count > 0 ? count : 0));
    ::LocalFree(argv);
    return true;
}

void CCustomWindow::ParseCommandLine(const wchar_t* commandLine)
{
    std::vector<std::wstring> arguments;
    if (!SplitCommandLine(commandLine, arguments))
        return;
    CommandLineOptions options{m_strTempDir.Str(),     m_strAppName.Str(),   m_strMiniName.Str(),
                               m_strGalleryName.Str(), m_strLocalPath.Str(), m_dScale};
    ApplyArguments(arguments, options);
    m_strTempDir = CString(std::move(options.tempDir));
    m_strAppName = CString(std::move(options.appName));
    m_strMiniName = CString(std::move(options.miniName));
    m_strGalleryName = CString(std::move(options.galleryName));
    m_strLocalPath = CString(std::move(options.localPath));
    m_dScale = options.scale;
}
