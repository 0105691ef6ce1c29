#include "gdi_object_count.h"

#include <cstddef>
#include <cstdint>

namespace {

// One slot of the GDI handle table that the process environment block points
// to; the layout is the same on Windows and Wine in 64-bit processes.
struct GdiHandleEntry {
    std::uint64_t object;
    ULONG owner;
    USHORT unique;
    UCHAR type;  // 0 for a free slot
    UCHAR flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24, "64-bit handle table layout");

constexpr std::size_t kGdiSharedHandleTableOffset = 0xF8;  // in the 64-bit PEB
constexpr std::size_t kGdiHandleSlots = 0x10000;

// The process environment block of a 64-bit process, from its thread block.
const BYTE* ProcessEnvironmentBlock()
{
    const BYTE* peb = nullptr;
    asm("movq %%gs:0x60, %0" : "=r"(peb));
    return peb;
}

DWORD CountTableEntries()
{
    const BYTE* peb = ProcessEnvironmentBlock();
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + kGdiSharedHandleTableOffset);
    if (!table)
        return 0;
    DWORD live = 0;
    for (std::size_t i = 0; i < kGdiHandleSlots; ++i)
        live += table[i].type != 0;
    return live;
}

}  // namespace

// Windows counts the objects itself; Wine's GetGuiResources reports 0, so
// there the process's own handle table is counted instead.
DWORD GdiObjectCount()
{
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    return counted ? counted : CountTableEntries();
}
