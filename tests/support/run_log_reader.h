#pragma once
#include "framework/win32_base.h"

#include <string>
#include <vector>

// A run's log as the program leaves it, in <temporary folder>\ClassicSwitch:
//     <yyyy-MM-dd HH:mm:ss.fff> <text>
//     <yyyy-MM-dd HH:mm:ss.fff> +<ms> ms: <text>      (trace lines)
struct RunLogEntry {
    std::wstring time;  // "2026-12-11 18:02:48.123"
    long long ms;       // from the window's creation; -1 for other lines
    std::wstring text;
};

struct RunLogContent {
    bool read = false;
    size_t bytes = 0;
    bool byteOrderMark = false;  // starts with the UTF-8 byte order mark
    bool validUtf8 = false;      // every byte after it is well-formed UTF-8
    bool everyLineEndsCrLf = false;
    bool wellFormed = false;  // every line has the time stamp and, if any, a "+<ms> ms: " part
    std::vector<RunLogEntry> entries;
};

// The temporary folder of this process, without its trailing backslash.
std::wstring TemporaryFolder();
// The log folder for a temporary folder.
std::wstring RunLogFolder(const std::wstring& temporaryFolder);
// The log that the process with that id wrote in the log folder; empty when
// there is none.
std::wstring RunLogOf(const std::wstring& temporaryFolder, DWORD processId);
RunLogContent ReadRunLog(const std::wstring& path);

// The trace lines of the log (those with a time from the window's creation).
std::vector<RunLogEntry> RunLogTraceEntries(const RunLogContent& log);
// "<time> [+<ms> ms: ]<text>" per line, for failure messages.
std::string RunLogListing(const RunLogContent& log);
