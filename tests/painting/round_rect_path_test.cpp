#include "framework/gdiplus_api.h"
#include "paint_surface.h"
#include "window/custom_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The figure that AddRoundRectPath leaves in a fresh path, read back.
struct PathFigure {
    std::vector<Gdiplus::PointF> points;
    std::vector<BYTE> types;
};

PathFigure AddAndReadBack(const Gdiplus::RectF& rect, float radius)
{
    gdip::Path path = gdip::CreatePath(Gdiplus::FillModeAlternate);
    CCustomWindow::AddRoundRectPath(path.get(), rect, radius);
    INT count = 0;
    Gdip().GdipGetPointCount(path.get(), &count);
    PathFigure figure;
    figure.points.resize(static_cast<size_t>(count));
    figure.types.resize(static_cast<size_t>(count));
    if (count > 0) {
        Gdip().GdipGetPathPoints(path.get(), figure.points.data(), count);
        Gdip().GdipGetPathTypes(path.get(), figure.types.data(), count);
    }
    return figure;
}

BYTE BaseType(BYTE type)
{
    return type & Gdiplus::PathPointTypePathTypeMask;
}

class RoundRectPath : public testing::Test {
    GdiplusSession m_gdiplus;
};

TEST_F(RoundRectPath, RadiusNotAboveZeroGivesAPlainRectangle)
{
    for (float radius : {0.0f, -3.0f}) {
        SCOPED_TRACE(radius);
        const PathFigure figure = AddAndReadBack(Gdiplus::RectF(30.0f, 74.0f, 360.0f, 6.0f), radius);
        ASSERT_EQ(figure.points.size(), 4u);
        const Gdiplus::PointF corners[4] = {{30.0f, 74.0f}, {390.0f, 74.0f}, {390.0f, 80.0f}, {30.0f, 80.0f}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(figure.points[i].X, corners[i].X) << i;
            EXPECT_FLOAT_EQ(figure.points[i].Y, corners[i].Y) << i;
        }
        EXPECT_EQ(figure.types[0], Gdiplus::PathPointTypeStart);
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(BaseType(figure.types[i]), Gdiplus::PathPointTypeLine) << i;
    }
}

// Each quarter arc comes back as one cubic Bezier segment. Its end points
// lie where the corner's circle meets the two edges, and its middle (t = 0.5)
// lies on that circle halfway through the sweep, which pins the arc's box,
// start angle and sweep. The corners come clockwise from the top left, the
// arcs joined by lines, and the figure ends closed.
struct ArcCase {
    Gdiplus::RectF rect;
    float radius;
};

struct Segment {
    Gdiplus::PointF p[4];
};

std::vector<Segment> BezierSegments(const PathFigure& figure)
{
    std::vector<Segment> segments;
    for (size_t i = 1; i + 2 < figure.points.size(); ++i) {
        if (BaseType(figure.types[i]) != Gdiplus::PathPointTypeBezier)
            continue;
        segments.push_back(
            Segment{{figure.points[i - 1], figure.points[i], figure.points[i + 1], figure.points[i + 2]}});
        i += 2;
    }
    return segments;
}

Gdiplus::PointF Middle(const Segment& s)
{
    return Gdiplus::PointF((s.p[0].X + 3 * s.p[1].X + 3 * s.p[2].X + s.p[3].X) / 8,
                           (s.p[0].Y + 3 * s.p[1].Y + 3 * s.p[2].Y + s.p[3].Y) / 8);
}

TEST_F(RoundRectPath, FourQuarterArcsInTheCornersThenClosed)
{
    const ArcCase cases[] = {
        {Gdiplus::RectF(30.0f, 74.0f, 360.0f, 6.0f), 3.0f},  // the track at scale 1
        {Gdiplus::RectF(30.0f, 74.0f, 5.0f, 6.0f), 2.5f},    // a 5-pixel fill, radius halved
        {Gdiplus::RectF(30.0f, 74.0f, 6.0f, 6.0f), 3.0f},    // a 6-pixel fill keeps radius 3
        {Gdiplus::RectF(10.0f, 20.0f, 100.0f, 50.0f), 8.0f},
    };
    const double kDiagonal = 0.70710678;
    for (const ArcCase& c : cases) {
        const float x = c.rect.X, y = c.rect.Y, right = c.rect.X + c.rect.Width, bottom = c.rect.Y + c.rect.Height;
        const float r = c.radius;
        SCOPED_TRACE(testing::Message() << "width " << c.rect.Width << " radius " << r);
        const PathFigure figure = AddAndReadBack(c.rect, r);
        ASSERT_FALSE(figure.types.empty());
        EXPECT_EQ(figure.types.front(), Gdiplus::PathPointTypeStart);
        EXPECT_TRUE(figure.types.back() & Gdiplus::PathPointTypeCloseSubpath);
        for (size_t i = 1; i < figure.types.size(); ++i)
            EXPECT_NE(BaseType(figure.types[i]), Gdiplus::PathPointTypeStart) << "one figure only, point " << i;

        const std::vector<Segment> arcs = BezierSegments(figure);
        ASSERT_EQ(arcs.size(), 4u);
        struct Expected {
            Gdiplus::PointF start, end;
            double centreX, centreY, dirX, dirY;  // direction of the sweep's middle from the centre
        };
        const Expected expected[4] = {
            {{x, y + r}, {x + r, y}, x + r, y + r, -kDiagonal, -kDiagonal},                           // 180 to 270
            {{right - r, y}, {right, y + r}, right - r, y + r, kDiagonal, -kDiagonal},                // 270 to 360
            {{right, bottom - r}, {right - r, bottom}, right - r, bottom - r, kDiagonal, kDiagonal},  // 0 to 90
            {{x + r, bottom}, {x, bottom - r}, x + r, bottom - r, -kDiagonal, kDiagonal},             // 90 to 180
        };
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << "arc " << i);
            EXPECT_NEAR(arcs[i].p[0].X, expected[i].start.X, 1e-4);
            EXPECT_NEAR(arcs[i].p[0].Y, expected[i].start.Y, 1e-4);
            EXPECT_NEAR(arcs[i].p[3].X, expected[i].end.X, 1e-4);
            EXPECT_NEAR(arcs[i].p[3].Y, expected[i].end.Y, 1e-4);
            const Gdiplus::PointF middle = Middle(arcs[i]);
            EXPECT_NEAR(middle.X, expected[i].centreX + r * expected[i].dirX, 0.01 * r);
            EXPECT_NEAR(middle.Y, expected[i].centreY + r * expected[i].dirY, 0.01 * r);
        }
    }
}

}  // namespace
