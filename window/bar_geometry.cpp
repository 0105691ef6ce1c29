#include "bar_geometry.h"

namespace {
constexpr int kFillCapPercent = 95;
constexpr float kPercent = 100.0f;
constexpr float kHalf = 0.5f;
}  // namespace

float FillWidth(int progress, int barWidth)
{
    const int shown = progress < kFillCapPercent ? progress : kFillCapPercent;
    return static_cast<float>(shown) * static_cast<float>(barWidth) / kPercent;
}

float FillRadius(int barRadius, float fillWidth)
{
    if (static_cast<float>(2 * barRadius) > fillWidth)
        return fillWidth * kHalf;
    return static_cast<float>(barRadius);
}

void RoundRectArcs(const BarRect& rect, float radius, PathArc (&arcs)[4])
{
    const float d = radius + radius;
    const float right = rect.x + rect.width - d;
    const float bottom = rect.y + rect.height - d;
    arcs[0] = PathArc{rect.x, rect.y, d, d, 180.0f, 90.0f};
    arcs[1] = PathArc{right, rect.y, d, d, 270.0f, 90.0f};
    arcs[2] = PathArc{right, bottom, d, d, 0.0f, 90.0f};
    arcs[3] = PathArc{rect.x, bottom, d, d, 90.0f, 90.0f};
}
