#pragma once
#include "afxgdi.h"
#include "afxmsgmap.h"
#include "afxstr.h"
#include "noncopyable.h"
#include "win32_base.h"

class CWinApp;

// A C++ object bound to one native window. The binding is made by the one
// static window procedure when the window's first message, WM_NCCREATE,
// arrives, and undone after its last, WM_NCDESTROY.
class CWnd : private CNoCopy {
public:
    CWnd() = default;
    virtual ~CWnd();

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creates the native window with this object as its handler. On failure
    // the object has been handed to PostNcDestroy, which for a frame window
    // deletes it: the caller must not touch it after a FALSE return.
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT_PTR nID);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);

    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL ShowWindow(int nCmdShow);
    BOOL DestroyWindow();

    // Runtime-dispatched message handling; the static window procedure calls
    // this for every message of a bound window.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Default processing of the message that is being handled now.
    LRESULT Default();

    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Called after the window's last message; the object may delete itself.
    virtual void PostNcDestroy() {}

    void OnNcDestroy();

private:
    bool DispatchFromTable(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{0, 0, 0};
};

// The frame window: adds a client edge to every window it creates, posts the
// quit message when the application's main window goes, and deletes its own
// object after the window's last message.
class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;
    ~CFrameWnd() override = default;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()
};

// The application object: one per program, constructed statically. The entry
// point calls InitInstance once and runs the message loop when it succeeds.
class CWinApp : private CNoCopy {
public:
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    // Runs the message loop; returns the quit message's exit code.
    virtual int Run();

    CWnd* m_pMainWnd = nullptr;
    LPCWSTR m_pszAppName = nullptr;
};

CWinApp* AfxGetApp();

// Entry sequence shared by wWinMain and tests: InitInstance, then the loop.
// The exit code is the value carried by the last message retrieved, which is
// 0 when InitInstance fails before any message was retrieved.
int AfxWinMain();

void AfxPostQuitMessage(int nExitCode);

// Returns the name of a window class with these properties, registering it on
// first use. The class owns the background brush from then on: when a class
// with the same properties exists already, the brush passed is redundant and
// is deleted, so that repeated registration leaks nothing.
LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
