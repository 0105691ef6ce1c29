#include "window/bar_geometry.h"

#include <gtest/gtest.h>

namespace {

struct FillCase {
    int progress;
    int barWidth;
    float expected;  // 0 means no fill
};

TEST(BarGeometry, FillWidthIsCappedAt95PercentAndNeverPositiveWithoutABar)
{
    const FillCase cases[] = {
        {60, 360, 216.0f}, {95, 360, 342.0f}, {100, 360, 342.0f}, {250, 360, 342.0f},
        {94, 360, 338.4f}, {1, 360, 3.6f},    {0, 360, 0.0f},     {-5, 360, -18.0f},
        {60, 0, 0.0f},     {60, -10, 0.0f},   {-5, -10, 0.0f},    {-60, -360, 0.0f},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "progress " << c.progress << " bar " << c.barWidth);
        const float width = FillWidth(c.progress, c.barWidth);
        if (c.expected > 0.0f)
            EXPECT_FLOAT_EQ(width, c.expected);
        else
            EXPECT_FALSE(width > 0.0f) << width;
    }
}

struct RadiusCase {
    int barRadius;
    float fillWidth;
    float expected;
};

TEST(BarGeometry, FillRadiusHalvesTheWidthOnlyWhenTwoCornersDoNotFit)
{
    const RadiusCase cases[] = {
        {3, 5.0f, 2.5f},    {3, 6.0f, 3.0f},  // exactly two radii wide keeps the radius
        {3, 5.99f, 2.995f}, {3, 216.0f, 3.0f}, {3, 0.5f, 0.25f}, {0, 5.0f, 0.0f}, {0, 0.1f, 0.0f},
    };
    for (const RadiusCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "radius " << c.barRadius << " fill " << c.fillWidth);
        EXPECT_FLOAT_EQ(FillRadius(c.barRadius, c.fillWidth), c.expected);
    }
}

TEST(BarGeometry, CornerArcsRunClockwiseFromTheTopLeft)
{
    PathArc arcs[4];
    RoundRectArcs(BarRect{30.0f, 74.0f, 360.0f, 6.0f}, 3.0f, arcs);
    const PathArc expected[4] = {
        {30.0f, 74.0f, 6.0f, 6.0f, 180.0f, 90.0f},
        {384.0f, 74.0f, 6.0f, 6.0f, 270.0f, 90.0f},
        {384.0f, 74.0f, 6.0f, 6.0f, 0.0f, 90.0f},
        {30.0f, 74.0f, 6.0f, 6.0f, 90.0f, 90.0f},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(arcs[i].x, expected[i].x);
        EXPECT_FLOAT_EQ(arcs[i].y, expected[i].y);
        EXPECT_FLOAT_EQ(arcs[i].width, expected[i].width);
        EXPECT_FLOAT_EQ(arcs[i].height, expected[i].height);
        EXPECT_FLOAT_EQ(arcs[i].startAngle, expected[i].startAngle);
        EXPECT_FLOAT_EQ(arcs[i].sweepAngle, expected[i].sweepAngle);
    }
}

TEST(BarGeometry, CornerBoxesOfATallRectangleSitInItsFourCorners)
{
    PathArc arcs[4];
    RoundRectArcs(BarRect{10.0f, 20.0f, 100.0f, 50.0f}, 2.5f, arcs);
    EXPECT_FLOAT_EQ(arcs[0].x, 10.0f);
    EXPECT_FLOAT_EQ(arcs[0].y, 20.0f);
    EXPECT_FLOAT_EQ(arcs[1].x, 105.0f);
    EXPECT_FLOAT_EQ(arcs[1].y, 20.0f);
    EXPECT_FLOAT_EQ(arcs[2].x, 105.0f);
    EXPECT_FLOAT_EQ(arcs[2].y, 65.0f);
    EXPECT_FLOAT_EQ(arcs[3].x, 10.0f);
    EXPECT_FLOAT_EQ(arcs[3].y, 65.0f);
    for (const PathArc& arc : arcs) {
        EXPECT_FLOAT_EQ(arc.width, 5.0f);
        EXPECT_FLOAT_EQ(arc.height, 5.0f);
    }
}

}  // namespace
