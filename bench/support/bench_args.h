#pragma once

// The repetition count given as a program's first argument, or the fallback
// when there is none (at least 1).
int RunsArgument(int argc, wchar_t** argv, int fallback);
