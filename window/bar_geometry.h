#pragma once

// Geometry of the progress bar's fill and of its rounded ends, in the
// single precision that GDI+ draws with. Every step is stored in a float of
// its own, so that a build whose floating-point unit keeps extra precision
// (the 32-bit x87) rounds exactly where the 64-bit build does.

struct BarRect {
    float x, y, width, height;
};

struct PathArc {
    float x, y, width, height;  // bounding box of the arc's circle
    float startAngle, sweepAngle;
};

// The fill shows at most 95 percent of the bar, so that the bar never looks
// complete before the classic edition is running. A result that is not
// greater than zero means no fill. A bar of zero or negative width has no
// fill whatever the progress: a negative progress times a negative width
// must not come out as a positive fill.
float FillWidth(int progress, int barWidth);

// The fill's corner radius: the bar's radius, halved from the fill's width
// while the fill is too narrow for two full corners.
float FillRadius(int barRadius, float fillWidth);

// The four corner arcs of a rounded rectangle, clockwise from the top-left
// corner. Only meaningful for a radius greater than zero; a radius of zero or
// less means a plain rectangle.
void RoundRectArcs(const BarRect& rect, float radius, PathArc (&arcs)[4]);
