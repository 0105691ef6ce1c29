#pragma once
#include "../framework/win32_base.h"

#include <cstdint>

struct RgbColor {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;

    constexpr COLORREF ToColorRef() const
    {
        return static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8 | static_cast<COLORREF>(blue) << 16;
    }
    // Always opaque.
    constexpr std::uint32_t ToArgb() const
    {
        return 0xFF000000u | static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 |
               static_cast<std::uint32_t>(blue);
    }
};
