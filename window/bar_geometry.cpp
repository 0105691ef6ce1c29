#include "bar_geometry.h"

namespace {
constexpr int kFillCapPercent = 95;
constexpr float kPercent = 100.0f;
constexpr float kHalf = 0.5f;
constexpr float kQuarterTurn = 90.0f;
}  // namespace

float FillWidth(int progress, int barWidth)
{
    if (barWidth <= 0)
        return 0.0f;
    const int shown = progress < kFillCapPercent ? progress : kFillCapPercent;
    const float product = static_cast<float>(shown) * static_cast<float>(barWidth);
    const float width = product / kPercent;
    return width;
}

float FillRadius(int barRadius, float fillWidth)
{
    const float radius = static_cast<float>(barRadius);
    if (static_cast<float>(2 * barRadius) > fillWidth) {
        const float halved = fillWidth * kHalf;
        return halved;
    }
    return radius;
}

void RoundRectArcs(const BarRect& rect, float radius, PathArc (&arcs)[4])
{
    const float d = radius + radius;
    const float rightEdge = rect.x + rect.width;
    const float bottomEdge = rect.y + rect.height;
    const float right = rightEdge - d;
    const float bottom = bottomEdge - d;
    arcs[0] = PathArc{rect.x, rect.y, d, d, 180.0f, kQuarterTurn};
    arcs[1] = PathArc{right, rect.y, d, d, 270.0f, kQuarterTurn};
    arcs[2] = PathArc{right, bottom, d, d, 0.0f, kQuarterTurn};
    arcs[3] = PathArc{rect.x, bottom, d, d, 90.0f, kQuarterTurn};
}
