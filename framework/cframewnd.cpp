#include "afxwin.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

void CFrameWnd::OnSize(UINT, int, int)
{
    Default();
}

void CFrameWnd::OnDestroy()
{
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}
