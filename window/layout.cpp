#include "layout.h"

#include "scaling.h"

ProgressLayout ComputeProgressLayout(const RECT& client, int marginX, int marginTop, int barHeight,
                                     float measuredLineHeight)
{
    ProgressLayout layout{};
    const int width = client.right - client.left;

    layout.text.left = marginX;
    layout.text.top = marginTop;
    layout.text.right = client.right - marginX - client.left;
    layout.text.bottom = layout.text.top + TruncateToInt(measuredLineHeight);

    const int barWidth = client.right - 2 * marginX - client.left;
    layout.bar.left = (width - barWidth) / 2;
    layout.bar.right = layout.bar.left + barWidth;
    layout.bar.top = layout.text.bottom + marginTop;
    layout.bar.bottom = layout.bar.top + barHeight;
    return layout;
}
