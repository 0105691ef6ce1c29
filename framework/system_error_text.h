#pragma once
#include "afxstr.h"

// The system's own text for an error code (FormatMessageW), on one line:
// its line breaks become spaces and its trailing white space goes. A code
// the system has no text for gives "no text for this error".
CString SystemErrorText(DWORD error);

// The text with each run of control characters (a line break, a tab...) made
// one space and the trailing spaces removed.
CString OneLineText(const wchar_t* text);
