#include "screen_pixels.h"

#include <cstring>

ScreenPixels::ScreenPixels()
{
    m_screen = ::GetDC(nullptr);
    m_memory = ::CreateCompatibleDC(m_screen);
}

ScreenPixels::~ScreenPixels()
{
    if (m_memory)
        ::DeleteDC(m_memory);
    if (m_screen)
        ::ReleaseDC(nullptr, m_screen);
}

std::vector<uint32_t> ScreenPixels::Read(const RECT& area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!m_screen || !m_memory || width <= 0 || height <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(m_memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return {};
    std::vector<uint32_t> pixels;
    HGDIOBJ previous = ::SelectObject(m_memory, bitmap);
    if (::BitBlt(m_memory, 0, 0, width, height, m_screen, area.left, area.top, SRCCOPY)) {
        ::GdiFlush();
        pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
        for (uint32_t& pixel : pixels)
            pixel &= 0x00FFFFFF;
    }
    ::SelectObject(m_memory, previous);
    ::DeleteObject(bitmap);
    return pixels;
}

uint32_t Rgb(COLORREF color)
{
    return (static_cast<uint32_t>(GetRValue(color)) << 16) | (static_cast<uint32_t>(GetGValue(color)) << 8) |
           GetBValue(color);
}
