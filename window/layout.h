#pragma once
#include "../framework/win32_base.h"

struct ProgressLayout {
    RECT text;
    RECT bar;
};

// Places the status message and the progress bar in a client rectangle:
// a top margin, one measured line of text, a gap as large as the top margin,
// then the bar. Both span the client width less the side margins. Nothing is
// clamped: a client narrower than both margins gives widths of zero or less.
ProgressLayout ComputeProgressLayout(const RECT& client, int marginX, int marginTop, int barHeight,
                                     float measuredLineHeight);
