#!/usr/bin/env python3
"""Start-up, cold: the first start of a program in a Wine prefix whose server
is not running, as when the mini edition starts ClassicSwitch once on a
machine that runs no other Windows program, paired with the bare popup
started the same way; the order alternates from pair to pair.

    cold_start.py PAIRS LOADER SERVER PROGRAM POPUP

LOADER is the Wine loader that starts both (the 32-bit one for the shipped
program), SERVER the wineserver binary, PROGRAM the ClassicSwitch.exe and
POPUP the bare popup, as Linux paths; WINEPREFIX and DISPLAY come from the
environment. Before every start the prefix's server and every process of
the prefix are ended and waited for.

The time runs from the start of the loader until the display shows a colour
that only the complete first picture has, in one pixel column across the
centred window (the bar's fill for the program, which draws its whole
picture off screen and copies it at once; the one colour of the popup). No
Windows program can watch a prefix that is not running, so the display is
read from here, through Xlib. Sample lines (see bench_table.py) go to the
standard output, one line per pair to the standard error.
"""

import ctypes
import os
import subprocess
import sys
import time

WINDOW_WIDTH = 420
WINDOW_HEIGHT = 114
COLUMN_X = 100  # inside the bar's fill at progress 60, and inside the popup
BAR_FILL = 0x2180FD
POPUP_COLOR = 0x2F374A
GIVE_UP_SECONDS = 30.0
Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF


class Display:
    """One column of the X display's pixels, read with Xlib through ctypes."""

    def __init__(self):
        xlib = ctypes.CDLL("libX11.so.6")
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        xlib.XDefaultScreen.argtypes = [ctypes.c_void_p]
        xlib.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
        xlib.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        xlib.XDefaultRootWindow.restype = ctypes.c_ulong
        xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        xlib.XGetImage.restype = ctypes.c_void_p
        xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                   ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        xlib.XGetPixel.restype = ctypes.c_ulong
        xlib.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        xlib.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.xlib = xlib
        self.display = xlib.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the display %s" % os.environ.get("DISPLAY", "(DISPLAY not set)"))
        screen = xlib.XDefaultScreen(self.display)
        width = xlib.XDisplayWidth(self.display, screen)
        height = xlib.XDisplayHeight(self.display, screen)
        self.root = xlib.XDefaultRootWindow(self.display)
        # Both windows are centred on the screen, as the program centres its
        # own; a few rows more on each side allow for rounding.
        self.x = (width - WINDOW_WIDTH) // 2 + COLUMN_X
        self.top = max(0, (height - WINDOW_HEIGHT) // 2 - 8)
        self.rows = min(WINDOW_HEIGHT + 16, height - self.top)

    def column_shows(self, color):
        image = self.xlib.XGetImage(self.display, self.root, self.x, self.top, 1, self.rows, ALL_PLANES, Z_PIXMAP)
        if not image:
            return False
        try:
            return any(self.xlib.XGetPixel(image, 0, y) & 0xFFFFFF == color for y in range(self.rows))
        finally:
            self.xlib.XDestroyImage(image)


def end_prefix(server):
    """Ends the prefix's server and all its processes, and waits for them."""
    subprocess.run([server, "-k"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run([server, "-w"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def measure(display, server, command, color):
    """Milliseconds from a cold start to the complete picture, or None."""
    end_prefix(server)
    if display.column_shows(color):
        raise RuntimeError("the colour %06X shows before the start: another window covers the centre" % color)
    start = time.perf_counter()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    seen = None
    while time.perf_counter() - start < GIVE_UP_SECONDS:
        if display.column_shows(color):
            seen = (time.perf_counter() - start) * 1000.0
            break
        time.sleep(0.001)
    end_prefix(server)
    process.wait()
    return seen


def main(argv):
    if len(argv) != 6:
        sys.stderr.write(__doc__)
        return 2
    pairs, loader, server, program, popup = int(argv[1]), argv[2], argv[3], argv[4], argv[5]
    display = Display()
    # No installer in the folder: the program would end 600 ms after its
    # window appeared, long after its first paint, and does nothing else.
    folder = "C:\\cs-bench-cold"
    program_command = [loader, program, "--TempDir", folder, "--AppName", "cs-bench-setup.exe", "--MiniName",
                       "cs-bench-mini.exe", "--GalleryName", "cs-bench-gallery.exe", "--LocalPath",
                       folder + "\\install"]
    popup_command = [loader, popup]
    print("row\tstartup.cold\tStart-up to first complete paint, cold: no wineserver running (ms)"
          "\tratio\t1.1\tms\t0\t-", flush=True)
    for pair in range(-1, pairs):  # pair -1 warms the disk cache for both
        if pair % 2 == 0:
            p = measure(display, server, program_command, BAR_FILL)
            b = measure(display, server, popup_command, POPUP_COLOR)
        else:
            b = measure(display, server, popup_command, POPUP_COLOR)
            p = measure(display, server, program_command, BAR_FILL)
        sys.stderr.write("cold start pair %d: program %s ms, popup %s ms\n" % (pair, p, b))
        if p is None or b is None:
            sys.stderr.write("cold start pair %d: no complete picture seen\n" % pair)
            continue
        if pair >= 0:
            print("sample\tstartup.cold\t%.3f\t%.3f" % (p, b), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
