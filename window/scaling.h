#pragma once
#include "../framework/win32_base.h"

// Pixel arithmetic of the display scale. Every product is formed in double
// precision and truncated toward zero, never rounded. Products that do not
// fit a 32-bit signed integer (absurd scales, infinities) saturate at its
// limits and a scale that is not a number counts as 0, so no input reaches an
// undefined conversion.
int TruncateToInt(double value);
int ScaleMetric(int value, double scale);
RECT ScaleRect(const RECT& rect, double scale);

// Height for the GDI font: a character height of 20 pixels at scale 1.
int ScaledFontHeight(double scale);
// Size in pixels for the GDI+ font, rounded to the nearest float.
float ScaledFontSize(double scale);

struct WindowPlacement {
    int x;
    int y;
    int width;
    int height;
};

// The window's final size, 420 by 114 pixels times the scale, centred on a
// screen of the given size; halves truncate toward zero.
WindowPlacement CenteredWindowPlacement(double scale, int screenWidth, int screenHeight);

// Scales beyond any real display (Windows goes up to 5.0) are clamped to
// +/-100, and a scale that is not a number counts as 0, like any text that is
// not a number. Within that range every pixel count derived from the scale
// stays far inside 32-bit integers, so no layout sum or size can overflow.
constexpr double kMaxScale = 100.0;
double ClampScale(double scale);
