#pragma once
#include "framework/noncopyable.h"
#include "framework/win32_base.h"

#include <cstdint>
#include <vector>

// Reads what the display shows, whichever process drew it: the only view
// that treats the progress window and the baseline window alike.
class ScreenPixels : private CNoCopy {
public:
    ScreenPixels();
    ~ScreenPixels();

    // The pixels of a screen rectangle, row by row, each as 0xRRGGBB. Empty
    // when the screen cannot be read.
    std::vector<uint32_t> Read(const RECT& area);

private:
    HDC m_screen = nullptr;
    HDC m_memory = nullptr;
};

uint32_t Rgb(COLORREF color);
