#pragma once
#include "../framework/afxstr.h"

class CCustomWindow;
class RunLog;

// Opens the run's log and writes the opening lines, read from the system and
// from the window's option values (window is null when its creation failed),
// and the window's own line ("window: ..."). From then on the window's trace
// writes to the log; the older logs are deleted. When the log cannot be
// written, the trace says why (when there is a window to trace with) and
// the run goes on exactly as without a log.
void StartRunLog(RunLog& log, const wchar_t* commandLine, CCustomWindow* window, const wchar_t* windowLine);

// The closing line, with the exit code.
void EndRunLog(RunLog& log, int exitCode);
