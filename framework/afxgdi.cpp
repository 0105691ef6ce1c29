#include "afxgdi.h"

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont)
{
    return Attach(::CreateFontIndirectW(lpLogFont));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

CDC::~CDC()
{
    DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    m_bCreated = m_hDC != nullptr;
    return m_bCreated;
}

BOOL CDC::DeleteDC()
{
    if (!m_bCreated || !m_hDC)
        return FALSE;
    BOOL deleted = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_bCreated = false;
    return deleted;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    if (!m_hDC || !hObject)
        return nullptr;
    return ::SelectObject(m_hDC, hObject);
}

void CDC::FillSolidRect(const RECT& rect, COLORREF color)
{
    COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd)
{
    m_hDC = ::GetDC(hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd)
{
    m_hDC = ::BeginPaint(hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}
