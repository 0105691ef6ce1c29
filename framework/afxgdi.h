#pragma once
#include "noncopyable.h"
#include "win32_base.h"

// Owns at most one GDI object and deletes it when destroyed.
class CGdiObject : private CNoCopy {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTW* lpLogFont);
};

class CDC;

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
};

// A device context. Created memory contexts are deleted by the destructor;
// the derived classes release the contexts they obtained from a window.
class CDC : private CNoCopy {
public:
    CDC() = default;
    ~CDC();

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    HGDIOBJ SelectObject(HGDIOBJ hObject);
    HGDIOBJ SelectObject(CGdiObject* pObject) { return SelectObject(pObject->m_hObject); }

    // Paints the rectangle opaque in one colour, leaving the DC's background
    // colour as it was.
    void FillSolidRect(const RECT& rect, COLORREF color);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);

protected:
    bool m_bCreated = false;
};

// The window's device context for drawing outside of a paint.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND hWnd);
    ~CClientDC();

private:
    HWND m_hWnd;
};

// BeginPaint / EndPaint pair for WM_PAINT.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hWnd);
    ~CPaintDC();

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};
