#include "window/scaling.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

struct MetricCase {
    double scale;
    int marginX, marginTop, barHeight, fontHeight;
    RECT rect;
};

// Every product truncates toward zero; 1.15 shows it: 400 x 1.15 lands just
// below 460 in double precision.
TEST(Scaling, MetricsFontHeightAndCreationRectangle)
{
    const MetricCase cases[] = {
        {1.0, 30, 24, 6, -20, {0, 0, 400, 200}},  {1.1, 33, 26, 6, -22, {0, 0, 440, 220}},
        {1.15, 34, 27, 6, -23, {0, 0, 459, 229}}, {1.25, 37, 30, 7, -25, {0, 0, 500, 250}},
        {1.5, 45, 36, 9, -30, {0, 0, 600, 300}},  {1.75, 52, 42, 10, -35, {0, 0, 700, 350}},
        {2.0, 60, 48, 12, -40, {0, 0, 800, 400}}, {0.0, 0, 0, 0, 0, {0, 0, 0, 0}},
    };
    for (const MetricCase& c : cases) {
        SCOPED_TRACE(c.scale);
        EXPECT_EQ(ScaleMetric(30, c.scale), c.marginX);
        EXPECT_EQ(ScaleMetric(24, c.scale), c.marginTop);
        EXPECT_EQ(ScaleMetric(6, c.scale), c.barHeight);
        EXPECT_EQ(ScaledFontHeight(c.scale), c.fontHeight);
        const RECT r = ScaleRect(RECT{0, 0, 400, 200}, c.scale);
        EXPECT_EQ(r.left, c.rect.left);
        EXPECT_EQ(r.top, c.rect.top);
        EXPECT_EQ(r.right, c.rect.right);
        EXPECT_EQ(r.bottom, c.rect.bottom);
    }
}

TEST(Scaling, FontSizeFollowsTheScaleWithoutTruncation)
{
    EXPECT_FLOAT_EQ(ScaledFontSize(1.0), 20.0f);
    EXPECT_FLOAT_EQ(ScaledFontSize(1.25), 25.0f);
    EXPECT_FLOAT_EQ(ScaledFontSize(1.5), 30.0f);
    EXPECT_FLOAT_EQ(ScaledFontSize(1.15), 23.0f);
}

struct PlacementCase {
    double scale;
    int screenWidth, screenHeight;
    WindowPlacement expected;
};

TEST(Scaling, WindowSizeAndCentring)
{
    const PlacementCase cases[] = {
        {1.0, 1920, 1080, {750, 483, 420, 114}},
        {1.5, 1920, 1080, {645, 454, 630, 171}},   // 909 / 2 truncated
        {1.25, 1920, 1080, {697, 469, 525, 142}},  // 142.5 truncated
        {0.0, 1920, 1080, {960, 540, 0, 0}},
        {1.0, 399, 100, {-10, -7, 420, 114}},  // -21 / 2 is -10, -14 / 2 is -7
        {1.0, 401, 101, {-9, -6, 420, 114}},   // -19 / 2 is -9, not -10
        {-1.0, 1920, 1080, {1170, 597, -420, -114}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " on " << c.screenWidth << "x" << c.screenHeight);
        const WindowPlacement p = CenteredWindowPlacement(c.scale, c.screenWidth, c.screenHeight);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
    }
}

TEST(Scaling, ConversionsNeverLeaveTheIntegerRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(TruncateToInt(nan), 0);
    EXPECT_EQ(TruncateToInt(inf), INT_MAX);
    EXPECT_EQ(TruncateToInt(-inf), INT_MIN);
    EXPECT_EQ(TruncateToInt(1e300), INT_MAX);
    EXPECT_EQ(TruncateToInt(-2.9), -2);
    const WindowPlacement huge = CenteredWindowPlacement(inf, 1920, 1080);
    EXPECT_EQ(huge.width, INT_MAX);
    EXPECT_EQ(huge.x, (1920LL - INT_MAX) / 2);
    const WindowPlacement negativeHuge = CenteredWindowPlacement(-inf, 1920, 1080);
    EXPECT_EQ(negativeHuge.width, INT_MIN);
    EXPECT_EQ(negativeHuge.x, INT_MAX / 2 + 961);  // (1920 - INT_MIN) / 2, computed without overflow
}

TEST(Scaling, ScalesOutsideAnyDisplayAreClamped)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ClampScale(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(ClampScale(inf), kMaxScale);
    EXPECT_EQ(ClampScale(-inf), -kMaxScale);
    EXPECT_EQ(ClampScale(1e300), kMaxScale);
    EXPECT_EQ(ClampScale(1.5), 1.5);
    EXPECT_EQ(ClampScale(-3.0), -3.0);
    EXPECT_EQ(ClampScale(0.0), 0.0);
    const WindowPlacement p = CenteredWindowPlacement(ClampScale(inf), 1920, 1080);
    EXPECT_EQ(p.width, 42000);
    EXPECT_EQ(p.height, 11400);
}

}  // namespace
