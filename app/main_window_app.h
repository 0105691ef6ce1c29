#pragma once
#include "../framework/afxwin.h"

// The application: builds, checks, places and shows the progress window,
// and keeps the run's log from start-up to the end.
class MainWindow : public CWinApp {
public:
    MainWindow() : CWinApp(nullptr) {}
    ~MainWindow() override = default;

    BOOL InitInstance() override;
    // The message loop; the run's log then gets its closing line.
    int Run() override;
};
