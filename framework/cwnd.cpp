#include "afxwin.h"

namespace {

// Travels through CREATESTRUCT::lpCreateParams to the WM_NCCREATE binding, and
// tells CreateEx afterwards whether the binding ever happened.
struct CreateContext {
    CWnd* window;
    bool bound;
};

CWnd* FromHandle(HWND hWnd)
{
    // The window keeps its object's address in its pointer-sized user slot.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

}  // namespace

CWnd::~CWnd()
{
    // An object deleted while its window lives must not receive its messages.
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandle(m_hWnd) == this)
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {
        {WM_NCDESTROY, AfxSig::v_v, &CWnd::OnNcDestroy},
        {0, AfxSig::end, AfxHandler()},
    };
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW&)
{
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT_PTR nID)
{
    CREATESTRUCTW cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    // CREATESTRUCT keeps the style signed; the bits, WS_POPUP's top bit among
    // them, come back unchanged when CreateWindowEx takes it as a DWORD again.
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    // A child window's identifier travels in the menu handle's place.
    cs.hMenu = reinterpret_cast<HMENU>(nID);  // NOLINT(performance-no-int-to-ptr)
    cs.hInstance = ::GetModuleHandleW(nullptr);

    CreateContext context{this, false};
    HWND hWnd = nullptr;
    if (PreCreateWindow(cs)) {
        hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, &context);
    }
    if (hWnd)
        return TRUE;
    // A window that was bound and then failed has been through WM_NCDESTROY,
    // which ran PostNcDestroy already; one that never got that far has not.
    if (!context.bound)
        PostNcDestroy();
    return FALSE;
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CWnd::Default()
{
    return ::DefWindowProcW(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

void CWnd::OnNcDestroy()
{
    Default();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        AfxPostQuitMessage(0);
        app->m_pMainWnd = nullptr;
    }
}

bool CWnd::DispatchFromTable(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig::end; ++entry) {
            if (entry->nMessage != message)
                continue;
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            switch (entry->nSig) {
            case AfxSig::v_v:
                (this->*entry->pfn.v_v)();
                result = 0;
                break;
            case AfxSig::b_D: {
                CDC dc;
                // A message about a device context (WM_ERASEBKGND) carries it in wParam.
                dc.m_hDC = reinterpret_cast<HDC>(wParam);  // NOLINT(performance-no-int-to-ptr)
                result = (this->*entry->pfn.b_D)(&dc);
                dc.m_hDC = nullptr;
                break;
            }
            case AfxSig::v_u_pt:
                (this->*entry->pfn.v_u_pt)(static_cast<UINT>(wParam), point);
                result = 0;
                break;
            case AfxSig::v_u_i_i:
                (this->*entry->pfn.v_u_i_i)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                                            static_cast<short>(HIWORD(lParam)));
                result = 0;
                break;
            case AfxSig::b_b:
                result = (this->*entry->pfn.b_b)(static_cast<BOOL>(wParam));
                break;
            case AfxSig::v_up:
                (this->*entry->pfn.v_up)(static_cast<UINT_PTR>(wParam));
                result = 0;
                break;
            case AfxSig::end:
                break;
            }
            return true;
        }
    }
    return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!DispatchFromTable(message, wParam, lParam, result))
        result = Default();
    return result;
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* window = nullptr;
    if (message == WM_NCCREATE) {
        // WM_NCCREATE carries the creation parameters' address in lParam.
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);  // NOLINT(performance-no-int-to-ptr)
        auto* context = static_cast<CreateContext*>(cs->lpCreateParams);
        if (context && context->window && !context->bound) {
            window = context->window;
            context->bound = true;
            window->m_hWnd = hWnd;
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        }
    } else {
        window = FromHandle(hWnd);
    }
    if (!window)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    // Messages nest (a handler may send another); each level restores the
    // message that Default() refers to.
    const CurrentMessage outer = window->m_current;
    window->m_current = {message, wParam, lParam};
    const LRESULT result = window->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        window->m_hWnd = nullptr;
        window->PostNcDestroy();  // may delete the object
        return result;
    }
    // A nested close may have destroyed the window and deleted the object
    // while this level ran; only a still-bound object is touched again.
    if (FromHandle(hWnd) == window)
        window->m_current = outer;
    return result;
}
