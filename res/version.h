#pragma once
// The program's version: the version resource shows it, the run's log names it.
#define CS_VERSION_NUMBERS 1, 0, 0, 0
#define CS_VERSION_TEXT    "1.0.0.0"
