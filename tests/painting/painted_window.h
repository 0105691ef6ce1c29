#pragma once
#include "paint_surface.h"
#include "window/custom_window.h"

#include <gtest/gtest.h>

// The window's colours as the user sees them.
inline constexpr RgbColor kBack{47, 55, 74};
inline constexpr RgbColor kText{235, 235, 237};
inline constexpr RgbColor kTrack{65, 77, 102};
inline constexpr RgbColor kFill{33, 128, 253};

// A real progress window on the test display, its timers stopped so that
// nothing but the test changes its state, with a client area of a chosen
// size. The frame deletes the window object when the window is destroyed.
class PaintedWindow : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void CreateWindowWithClient(int clientWidth, int clientHeight, double scale = 1.0);
    RECT Client() const;
    // The picture that DrawContent makes, in a surface of the client's size.
    void DrawContentInto(PaintSurface& surface) { m_window->DrawContent(surface.DC()); }
    // The same picture drawn into a bitmap compatible with the window, as
    // OnPaint draws it (text may render differently on a DIB surface).
    void DrawContentLikeOnPaint(PaintSurface& surface);
    // What the window shows on screen in its client area.
    void ReadScreen(PaintSurface& surface) const;
    // Paints the window now, as the system would for the invalidated area.
    void PaintNow(const RECT* area) const;

    CCustomWindow* m_window = nullptr;
    HWND m_hWnd = nullptr;
};
