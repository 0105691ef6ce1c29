#include "run_log_file.h"

#include "../framework/system_error_text.h"
#include "run_log_text.h"
#include "scoped_handle.h"

namespace {

constexpr wchar_t kFolderName[] = L"ClassicSwitch";

// The open log file. Each line is handed to the system at once (WriteFile,
// no buffer of the program's own), so a run ended from outside leaves every
// line written up to then. Others may read it meanwhile, but not write to it
// or delete it: another run's clean-up cannot take a log that is being
// written. Its handle makes it non-copyable.
class RunLogFile : public RunLogSink {
public:
    explicit RunLogFile(HANDLE handle) : m_handle(handle) {}

    // A line is far below the 4 GB that one write can take.
    DWORD Append(const char* bytes, size_t count) override
    {
        DWORD written = 0;
        if (!::WriteFile(m_handle.Get(), bytes, static_cast<DWORD>(count), &written, nullptr))
            return ::GetLastError();
        return written == count ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
    }

private:
    ScopedHandle m_handle;
};

// Closes a folder listing on every path.
class FindHandle : private CNoCopy {
public:
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    ~FindHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::FindClose(m_handle);
    }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// Stands for a log folder that is a link or junction; no system code says so.
constexpr DWORD kFolderIsALink = 0xFFFFFFFF;

CString Problem(const CString& path, DWORD error)
{
    if (error != kFolderIsALink)
        return RunLogProblem(path, error, SystemErrorText(error));
    CString problem(L"\"");
    problem += path;
    problem += L"\" is a link or junction to elsewhere";
    return problem;
}

// "<temporary folder>\ClassicSwitch", made if missing; ERROR_SUCCESS, or why
// it cannot be used.
DWORD MakeLogFolder(CString& folder)
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        folder = L"%TEMP%";
        return length == 0 ? ::GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    }
    folder = CString(temp, static_cast<int>(length));  // it ends with a backslash
    folder += kFolderName;
    if (!::CreateDirectoryW(folder, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_ALREADY_EXISTS;  // a file holds the name
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? kFolderIsALink : ERROR_SUCCESS;
}

ULONGLONG FileTimeValue(const FILETIME& time)
{
    return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

}  // namespace

CString OpenRunLog(RunLog& log, const SYSTEMTIME& localTime, DWORD processId)
{
    CString path;
    DWORD error = MakeLogFolder(path);
    if (error == ERROR_SUCCESS) {
        path += L'\\';
        path += RunLogFileName(localTime, processId);
        HANDLE handle =
            ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            error = ::GetLastError();
        else if (!log.Open(std::unique_ptr<RunLogSink>(new RunLogFile(handle)), path))
            error = log.Error();
    }
    return error == ERROR_SUCCESS ? CString() : Problem(path, error);
}

void RemoveOldRunLogs(const RunLog& log)
{
    const std::wstring& path = log.Path().Str();
    const size_t slash = path.find_last_of(L'\\');
    if (!log.IsOpen() || slash == std::wstring::npos)
        return;
    const CString folder(path.c_str(), static_cast<int>(slash + 1));
    WIN32_FIND_DATAW found;
    FindHandle listing(::FindFirstFileExW(folder + L"*", FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!listing.Valid())
        return;
    RunLogRetention retention(path.c_str() + slash + 1);
    CString doomed;
    do {
        if (retention.Consider(found.cFileName, found.dwFileAttributes, FileTimeValue(found.ftLastWriteTime), doomed))
            ::DeleteFileW(folder + doomed);
    } while (::FindNextFileW(listing.Get(), &found));
}

CString RunLogNotWrittenLine(const CString& problem)
{
    CString line(L"log not written: ");
    line += problem;
    return line;
}

CString WriteRunLogLine(RunLog& log, const ULONGLONG* msSinceCreation, const CString& text)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    if (log.Write(now, msSinceCreation, text) != RunLogOutcome::Failed)
        return CString();
    return Problem(log.Path(), log.Error());
}
