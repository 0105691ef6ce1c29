#include "run_log_reader.h"

#include "text_files.h"

#include <cwctype>

namespace {

std::string ReadBytes(const std::wstring& path, bool& read)
{
    std::string content;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    read = file != INVALID_HANDLE_VALUE;
    if (!read)
        return content;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        content.append(buffer, got);
    ::CloseHandle(file);
    return content;
}

bool IsValidUtf8(const std::string& bytes)
{
    return bytes.empty() || ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                  static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

// "yyyy-MM-dd HH:mm:ss.fff": digits and separators where they belong.
bool IsTimeStamp(const std::wstring& text)
{
    const std::wstring shape = L"dddd-dd-dd dd:dd:dd.ddd";
    if (text.size() != shape.size())
        return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == L'd' ? !std::iswdigit(text[i]) : text[i] != shape[i])
            return false;
    }
    return true;
}

bool ParseEntry(const std::wstring& line, RunLogEntry& entry)
{
    if (line.size() < 24 || line[23] != L' ' || !IsTimeStamp(line.substr(0, 23)))
        return false;
    entry.time = line.substr(0, 23);
    entry.ms = -1;
    entry.text = line.substr(24);
    if (entry.text.empty() || entry.text[0] != L'+')
        return true;
    const size_t unit = entry.text.find(L" ms: ");
    if (unit == std::wstring::npos || unit < 2)
        return false;
    for (size_t i = 1; i < unit; ++i) {
        if (!std::iswdigit(entry.text[i]))
            return false;
    }
    entry.ms = std::stoll(entry.text.substr(1, unit - 1));
    entry.text = entry.text.substr(unit + 5);
    return true;
}

}  // namespace

std::wstring TemporaryFolder()
{
    wchar_t temp[MAX_PATH + 1];
    std::wstring folder(temp, ::GetTempPathW(MAX_PATH + 1, temp));
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

std::wstring RunLogFolder(const std::wstring& temporaryFolder)
{
    return temporaryFolder + L"\\ClassicSwitch";
}

std::wstring RunLogOf(const std::wstring& temporaryFolder, DWORD processId)
{
    const std::wstring folder = RunLogFolder(temporaryFolder);
    const std::wstring ending = L"-" + std::to_wstring(processId) + L".log";
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\ClassicSwitch-*.log").c_str(), &found);
    std::wstring path;
    if (search == INVALID_HANDLE_VALUE)
        return path;
    do {
        const std::wstring name = found.cFileName;
        if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            path = folder + L"\\" + name;
    } while (path.empty() && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return path;
}

RunLogContent ReadRunLog(const std::wstring& path)
{
    RunLogContent log;
    std::string bytes = ReadBytes(path, log.read);
    log.bytes = bytes.size();
    log.byteOrderMark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (log.byteOrderMark)
        bytes.erase(0, 3);
    log.validUtf8 = IsValidUtf8(bytes);
    log.everyLineEndsCrLf = !bytes.empty() && bytes.back() == '\n';
    log.wellFormed = true;
    const std::wstring text = WideFromUtf8(bytes);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (line.empty() || line.back() != L'\r')
            log.everyLineEndsCrLf = false;
        else
            line.pop_back();
        RunLogEntry entry;
        if (ParseEntry(line, entry))
            log.entries.push_back(entry);
        else
            log.wellFormed = false;
        start = end + 1;
    }
    return log;
}

std::vector<RunLogEntry> RunLogTraceEntries(const RunLogContent& log)
{
    std::vector<RunLogEntry> trace;
    for (const RunLogEntry& entry : log.entries) {
        if (entry.ms >= 0)
            trace.push_back(entry);
    }
    return trace;
}

std::string RunLogListing(const RunLogContent& log)
{
    std::string listing;
    for (const RunLogEntry& entry : log.entries) {
        listing += AnsiFromWide(entry.time) + " ";
        if (entry.ms >= 0)
            listing += "+" + std::to_string(entry.ms) + " ms: ";
        listing += AnsiFromWide(entry.text.size() > 300 ? entry.text.substr(0, 300) + L"..." : entry.text) + "\n";
    }
    return listing;
}
