#include "main_window_app.h"

// The one application object. Its constructor loads no DLL: the entry point
// narrows the DLL search before anything does.
MainWindow theApp;
