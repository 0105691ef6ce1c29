// Where a full paint's time goes: each step of the paint timed on its own,
// on a real progress window, medians in microseconds, written to the error
// output for the benchmark's log. The steps that the program does not take
// itself (a bare display-depth query, other ways to make a bitmap) show
// which part of a step is the platform's.
//   paint_profile.exe [runs]
#include "../support/bench_args.h"
#include "../support/bench_clock.h"
#include "../support/bench_paths.h"
#include "../support/bench_window.h"
#include "../support/stats.h"
#include "window/message_font.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {
void Report(const char* step, int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = -10; run < runs; ++run) {
        const double us = TimeUs(work);
        if (run >= 0)
            times.push_back(us);
    }
    std::fprintf(stderr, "paint step %-44s %8.1f us\n", step, Median(times));
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = RunsArgument(argc, argv, 201);
    const std::wstring folder = FreshWorkFolder(L"cs-bench-paint-profile");
    CCustomWindow* window = CreateBenchWindow(folder, 1.0, POINT{40, 40});
    if (!window)
        return 1;
    const HWND hWnd = window->m_hWnd;
    RECT client;
    ::GetClientRect(hWnd, &client);
    CClientDC screen(hWnd);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap surface;
    surface.CreateCompatibleBitmap(&screen, client.right + 2, client.bottom + 2);
    const HGDIOBJ previous = memory.SelectObject(&surface);

    Report("whole paint (invalidate + update)", runs, [&] {
        ::InvalidateRect(hWnd, nullptr, FALSE);
        ::UpdateWindow(hWnd);
    });
    Report("BeginPaint + EndPaint alone", runs, [&] {
        ::InvalidateRect(hWnd, nullptr, FALSE);
        PAINTSTRUCT paint;
        ::BeginPaint(hWnd, &paint);
        ::EndPaint(hWnd, &paint);
    });
    Report("memory DC + compatible bitmap, made and deleted", runs, [&] {
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, client.right + 2, client.bottom + 2);
        const HGDIOBJ old = dc.SelectObject(&bitmap);
        dc.SelectObject(old);
    });
    Report("memory DC alone, made and deleted", runs, [&] {
        HDC dc = ::CreateCompatibleDC(screen.m_hDC);
        ::DeleteDC(dc);
    });
    Report("compatible bitmap alone, made and deleted", runs, [&] {
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen.m_hDC, client.right + 2, client.bottom + 2);
        ::DeleteObject(bitmap);
    });
    Report("compatible 1x1 bitmap, made and deleted", runs, [&] {
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen.m_hDC, 1, 1);
        ::DeleteObject(bitmap);
    });
    Report("compatible bitmap of the desktop DC", runs, [&] {
        HDC desktop = ::GetDC(nullptr);
        HBITMAP bitmap = ::CreateCompatibleBitmap(desktop, client.right + 2, client.bottom + 2);
        ::DeleteObject(bitmap);
        ::ReleaseDC(nullptr, desktop);
    });
    Report("GetDC + ReleaseDC of the window", runs, [&] {
        HDC dc = ::GetDC(hWnd);
        ::ReleaseDC(hWnd, dc);
    });
    Report("GetDeviceCaps(BITSPIXEL) of the window DC", runs, [&] { ::GetDeviceCaps(screen.m_hDC, BITSPIXEL); });
    Report("CreateBitmap 32 bpp, same size", runs, [&] {
        HBITMAP bitmap = ::CreateBitmap(client.right + 2, client.bottom + 2, 1, 32, nullptr);
        ::DeleteObject(bitmap);
    });
    Report("CreateDIBSection 32 bpp, same size", runs, [&] {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = client.right + 2;
        info.bmiHeader.biHeight = client.bottom + 2;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(screen.m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ::DeleteObject(bitmap);
    });
    Report("heap block of the surface's size", runs, [&] {
        void* block = ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, (client.right + 2) * (client.bottom + 2) * 4);
        ::HeapFree(::GetProcessHeap(), 0, block);
    });
    Report("DrawContent into the memory DC", runs, [&] { window->DrawContent(&memory); });
    Report("FillSolidRect", runs, [&] { memory.FillSolidRect(client, RGB(47, 55, 74)); });
    Report("DrawMessage", runs, [&] { window->DrawMessage(&memory); });
    Report("DrawProgressBar", runs, [&] { window->DrawProgressBar(&memory); });
    Report("GdipCreateFromHDC + delete", runs, [&] { gdip::CreateGraphics(memory.m_hDC); });
    Report("font family by name + delete", runs, [&] { CreateMessageFontFamily(); });
    Report("family, font and format + delete", runs, [&] {
        gdip::FontFamily family = CreateMessageFontFamily();
        gdip::Font font = CreateMessageFont(family.get(), 1.0);
        gdip::StringFormat format = CreateMessageFormat(0);
    });
    Report("BitBlt memory to window", runs,
           [&] { ::BitBlt(screen.m_hDC, -1, -1, client.right + 2, client.bottom + 2, memory.m_hDC, -1, -1, SRCCOPY); });
    memory.SelectObject(previous);
    ::DestroyWindow(hWnd);
    return 0;
}
