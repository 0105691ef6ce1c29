#include "scaling.h"

#include <climits>
#include <cmath>

namespace {
constexpr double kBaseWidth = 420.0;
constexpr double kBaseHeight = 114.0;
constexpr double kFontPixels = 20.0;

int SaturateToInt(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}
}  // namespace

int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);  // truncates toward zero
}

int ScaleMetric(int value, double scale)
{
    return TruncateToInt(static_cast<double>(value) * scale);
}

RECT ScaleRect(const RECT& rect, double scale)
{
    return RECT{ScaleMetric(rect.left, scale), ScaleMetric(rect.top, scale), ScaleMetric(rect.right, scale),
                ScaleMetric(rect.bottom, scale)};
}

int ScaledFontHeight(double scale)
{
    return TruncateToInt(-(scale * kFontPixels));
}

float ScaledFontSize(double scale)
{
    return static_cast<float>(scale * kFontPixels);
}

WindowPlacement CenteredWindowPlacement(double scale, int screenWidth, int screenHeight)
{
    WindowPlacement placement{};
    placement.width = TruncateToInt(scale * kBaseWidth);
    placement.height = TruncateToInt(scale * kBaseHeight);
    // Differences in 64 bits so that saturated sizes cannot overflow; C++
    // division truncates toward zero, so -21 halves to -10.
    placement.x = SaturateToInt((static_cast<long long>(screenWidth) - placement.width) / 2);
    placement.y = SaturateToInt((static_cast<long long>(screenHeight) - placement.height) / 2);
    return placement;
}

double ClampScale(double scale)
{
    if (std::isnan(scale))
        return 0.0;
    if (scale > kMaxScale)
        return kMaxScale;
    if (scale < -kMaxScale)
        return -kMaxScale;
    return scale;
}
