#pragma once
#include "../framework/afxstr.h"

// The texts of the run's log, and the choice of which old logs go. Each run
// writes one UTF-8 file, %TEMP%\ClassicSwitch\ClassicSwitch-<yyyyMMdd-HHmmss>-
// <process id>.log (local time), one line per entry:
//     <yyyy-MM-dd HH:mm:ss.fff> <text>                 opening and closing lines
//     <yyyy-MM-dd HH:mm:ss.fff> +<ms> ms: <text>       trace lines, <ms> from the
//                                                      window's creation

// "ClassicSwitch-20261211-180248-1234.log" for that local time and process.
CString RunLogFileName(const SYSTEMTIME& localTime, DWORD processId);

// True only for names that RunLogFileName makes: "ClassicSwitch-", eight
// digits, "-", six digits, "-", one to ten digits, ".log", letter case and
// all. Nothing else in the folder is the program's.
bool IsRunLogFileName(const wchar_t* name);

// One line of the log with its line end (CR LF). msSinceCreation is null for
// the lines that are not trace lines. Control characters in the text become
// spaces, so that an entry is always exactly one line.
CString RunLogLine(const SYSTEMTIME& localTime, const ULONGLONG* msSinceCreation, const CString& text);

// The number of bytes of the text in UTF-8, and the encoding itself into a
// buffer of at least that many bytes; a surrogate without its partner is
// written as U+FFFD, so that the file is always valid UTF-8.
size_t Utf8Length(const CString& text);
void EncodeUtf8(const CString& text, char* out);

// How many logs the folder keeps, the run's own among them.
constexpr size_t kRunLogsKept = 10;

// Chooses, entry by entry of a folder listing, the logs to delete so that
// the folder keeps the newest ones. Only files named exactly as
// RunLogFileName names them count, never a folder or a link, and never the
// run's own log, which counts as the newest. The newest are those written
// last; names order logs written at the same time.
class RunLogRetention {
public:
    explicit RunLogRetention(const CString& ownName) : m_ownName(ownName) {}

    // True when, with this entry seen, one log goes: doomed names it (the
    // entry itself, or an older one kept until now).
    bool Consider(const wchar_t* name, DWORD attributes, ULONGLONG lastWrite, CString& doomed);

private:
    struct Kept {
        CString name;
        ULONGLONG lastWrite = 0;
    };
    static bool Newer(const Kept& a, const Kept& b);

    // The others kept: one fewer than the folder keeps, newest first.
    static constexpr size_t kKeptOthers = kRunLogsKept - 1;

    CString m_ownName;
    size_t m_count = 0;
    Kept m_kept[kKeptOthers];
};

// Why the log could not be written, for the trace: "<path>" error <n>: <text>.
CString RunLogProblem(const CString& path, DWORD error, const CString& errorText);
