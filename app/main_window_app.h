#pragma once
#include "../framework/afxwin.h"

// The application: builds, checks, places and shows the progress window.
class MainWindow : public CWinApp {
public:
    MainWindow() : CWinApp(nullptr) {}
    ~MainWindow() override = default;

    BOOL InitInstance() override;
};
