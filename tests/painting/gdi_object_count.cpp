#include "gdi_object_count.h"

#include <cstddef>
#include <cstdint>

namespace {

// One slot of the GDI handle table that the process environment block points
// to. Wine lays it out with 64-bit fields in 32-bit and 64-bit processes
// alike, so that both can share one table.
struct GdiHandleEntry {
    std::uint64_t object;
    ULONG owner;
    USHORT unique;
    UCHAR type;  // 0 for a free slot
    UCHAR flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24, "handle table slot layout");

constexpr std::size_t kGdiHandleSlots = 0x10000;

// The table's address. A 64-bit process finds it in its process environment
// block. A 32-bit one under WoW64 finds it in the 64-bit block, which the
// 64-bit thread block names; the 32-bit thread block keeps that thread block's
// address where GdiBatchCount would be.
#if defined(__x86_64__)
const GdiHandleEntry* HandleTable()
{
    const BYTE* peb = nullptr;
    asm("movq %%gs:0x60, %0" : "=r"(peb));
    return *reinterpret_cast<const GdiHandleEntry* const*>(peb + 0xF8);
}
#elif defined(__i386__)
const GdiHandleEntry* HandleTable()
{
    const BYTE* teb32 = nullptr;
    asm("movl %%fs:0x18, %0" : "=r"(teb32));
    const BYTE* peb32 = *reinterpret_cast<const BYTE* const*>(teb32 + 0x30);
    if (const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb32 + 0x94))
        return table;
    const auto teb64 = *reinterpret_cast<const std::uint32_t*>(teb32 + 0xF70);
    if (!teb64)
        return nullptr;
    // Both the 64-bit blocks and the table lie below 4 GB, where the 32-bit
    // code can read them.
    const auto peb64 = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(teb64) + 0x60);
    if (!peb64 || peb64 > UINT32_MAX)
        return nullptr;
    const auto table = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(peb64) + 0xF8);
    if (table > UINT32_MAX)
        return nullptr;
    return reinterpret_cast<const GdiHandleEntry*>(static_cast<std::uintptr_t>(table));
}
#else
#error "the handle table is read for x86 and x86-64 only"
#endif

DWORD CountTableEntries()
{
    const GdiHandleEntry* table = HandleTable();
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
