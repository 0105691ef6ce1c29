#pragma once
#include "../framework/afxstr.h"
#include "../framework/noncopyable.h"

#include <memory>

// Where the log's bytes go: the file on disk, or a test's stand-in.
class RunLogSink {
public:
    virtual ~RunLogSink() = default;
    // Appends the bytes at the end; ERROR_SUCCESS, or the system's error code.
    virtual DWORD Append(const char* bytes, size_t count) = 0;
};

// What became of one line.
enum class RunLogOutcome {
    Written,
    Dropped,  // the log is closed, or full and its last line written
    Failed,   // this line could not be written: the log is closed from now on
};

// The run's log: every line goes out as it comes, stamped with the local
// time given; nothing is kept back in the program. The file never grows
// beyond kCapBytes: the line that would cross the cap, and every one after
// it, is dropped, and one last line says so. The first failed write closes
// the log for the rest of the run; the run itself goes on as without it.
class RunLog : private CNoCopy {
public:
    static constexpr size_t kCapBytes = 256 * 1024;
    // Room kept for the last line, which says that the log is full.
    static constexpr size_t kFullLineReserve = 96;

    RunLog() = default;

    // Starts the log in sink, a new empty file at path, with the UTF-8 byte
    // order mark that Windows' own tools read the text by. False when even
    // that cannot be written; Error() then says why.
    bool Open(std::unique_ptr<RunLogSink> sink, const CString& path);
    bool IsOpen() const { return m_sink != nullptr; }

    // One line: a trace line when msSinceCreation is given, else an opening
    // or closing line.
    RunLogOutcome Write(const SYSTEMTIME& localTime, const ULONGLONG* msSinceCreation, const CString& text);

    const CString& Path() const { return m_path; }
    // The error that closed the log; ERROR_SUCCESS while it is open or full.
    DWORD Error() const { return m_error; }

private:
    bool Append(const CString& line);

    std::unique_ptr<RunLogSink> m_sink;
    CString m_path;
    size_t m_written = 0;
    bool m_full = false;
    DWORD m_error = ERROR_SUCCESS;
};
