#pragma once
#include "../framework/afxstr.h"
#include "run_log.h"

// The run's log on disk, in the folder ClassicSwitch of the user's temporary
// folder. Every call is a thin platform operation; what to write and what to
// delete is decided in run_log_text and run_log.

// Makes the log folder if needed and starts the log in a new file named for
// this run. Only a new file is ever created: an existing one of that name is
// left alone. A log folder that is a link or junction is not used: it would
// lead elsewhere. On failure the log stays closed and the text says why,
// for the trace ("<path>" error <n>: <text>); else it is empty.
CString OpenRunLog(RunLog& log, const SYSTEMTIME& localTime, DWORD processId);

// Deletes the older logs of the program in the folder of the run's own log,
// as RunLogsToDelete chooses. The folder is listed, never descended into, so
// that no link or junction in it leads anywhere.
void RemoveOldRunLogs(const RunLog& log);

// Writes one line stamped with the local time now. The first time the log
// cannot take a line it is closed, and the text says why ("<path>" error
// <n>: <text>); else it is empty.
CString WriteRunLogLine(RunLog& log, const ULONGLONG* msSinceCreation, const CString& text);

// The trace's line for a log that cannot be written: "log not written: <why>".
CString RunLogNotWrittenLine(const CString& problem);
