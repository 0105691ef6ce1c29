// Loads each DLL named on its command line with the default search order,
// as a careless program would, and keeps it loaded until exit. It shows
// that a planted probe DLL is found and reports itself.
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    int loaded = 0;
    for (int i = 1; i < argc; ++i) {
        if (::LoadLibraryW(argv[i]))
            ++loaded;
    }
    return loaded;
}
