#pragma once
#include "../framework/afxstr.h"
#include "../window/scaling.h"

class CCustomWindow;

// What the log's opening lines say about the run: the program, the system,
// the command line as given and as read, the screen. Nothing else about the
// user: the only local paths are those of the command line.
struct RunFacts {
    const wchar_t* version;  // the program's, "1.0.0.0"
    unsigned programBits;    // 32 or 64
    DWORD processId;
    DWORD windowsMajor;
    DWORD windowsMinor;
    DWORD windowsBuild;
    bool windows64;
    const wchar_t* commandLine;  // as the process received it
    // The values read from it, in the window; null when the window is gone
    // (its creation failed), and the raw command line has to tell.
    const CCustomWindow* window;
    int screenWidth;
    int screenHeight;
    int screenDpi;  // 96 at 100 %
};

constexpr int kRunLogHeaderLines = 10;

// Opening line number index (0 to kRunLogHeaderLines - 1):
//     ClassicSwitch <version>, <bits>-bit, process <id>
//     Windows <major>.<minor>.<build>, <bits>-bit
//     command line: <as given>
//     --TempDir: "<value>"   (and --AppName, --MiniName, --GalleryName,
//                             --LocalPath alike)
//     --Scale: <scale>
//     screen: <width> x <height> pixels, <dpi> dpi (<percent>%)
// Without the window, the lines of the values are "<option>: unknown".
CString RunLogHeaderLine(const RunFacts& facts, int index);

// "window: 420 x 114 at 750, 483", where start-up placed the window.
CString WindowPlacementLine(const WindowPlacement& placement);

// A scale as the log shows it: up to six decimals, without trailing zeros
// ("1.25", "1", "-0.5").
CString ScaleText(double scale);
