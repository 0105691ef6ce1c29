#pragma once
#include "win32_base.h"

class CWnd;
class CDC;

// Message tables: a static array of entries per class, chained to the base
// class's table. Each entry names the message, the shape of its handler and
// the handler itself; the shape tells the dispatcher how to crack the
// message's parameters. A message that no table in the chain lists gets
// default processing.
enum class AfxSig {
    end,
    v_v,      // void ()
    b_D,      // BOOL (CDC*)
    v_u_pt,   // void (UINT, POINT)
    v_u_i_i,  // void (UINT, int, int)
    b_b,      // BOOL (BOOL)
    v_up,     // void (UINT_PTR)
};

// One handler of any of the shapes above, held as a CWnd member pointer of
// its own shape; the entry's signature says which member is active.
union AfxHandler {
    void (CWnd::*v_v)();
    BOOL (CWnd::*b_D)(CDC*);
    void (CWnd::*v_u_pt)(UINT, POINT);
    void (CWnd::*v_u_i_i)(UINT, int, int);
    BOOL (CWnd::*b_b)(BOOL);
    void (CWnd::*v_up)(UINT_PTR);

    constexpr AfxHandler() : v_v(nullptr) {}
    constexpr AfxHandler(void (CWnd::*p)()) : v_v(p) {}
    constexpr AfxHandler(BOOL (CWnd::*p)(CDC*)) : b_D(p) {}
    constexpr AfxHandler(void (CWnd::*p)(UINT, POINT)) : v_u_pt(p) {}
    constexpr AfxHandler(void (CWnd::*p)(UINT, int, int)) : v_u_i_i(p) {}
    constexpr AfxHandler(BOOL (CWnd::*p)(BOOL)) : b_b(p) {}
    constexpr AfxHandler(void (CWnd::*p)(UINT_PTR)) : v_up(p) {}
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage = 0;
    AfxSig nSig = AfxSig::end;
    AfxHandler pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Builds a table entry from a handler of a derived class: the shape is taken
// from the handler's type, and the derived-to-base conversion is checked by
// the compiler.
namespace afx_detail {
template <class T>
AFX_MSGMAP_ENTRY Entry(UINT msg, void (T::*pfn)())
{
    return {msg, AfxSig::v_v, static_cast<void (CWnd::*)()>(pfn)};
}
template <class T>
AFX_MSGMAP_ENTRY Entry(UINT msg, BOOL (T::*pfn)(CDC*))
{
    return {msg, AfxSig::b_D, static_cast<BOOL (CWnd::*)(CDC*)>(pfn)};
}
template <class T>
AFX_MSGMAP_ENTRY Entry(UINT msg, void (T::*pfn)(UINT, POINT))
{
    return {msg, AfxSig::v_u_pt, static_cast<void (CWnd::*)(UINT, POINT)>(pfn)};
}
template <class T>
AFX_MSGMAP_ENTRY Entry(UINT msg, void (T::*pfn)(UINT, int, int))
{
    return {msg, AfxSig::v_u_i_i, static_cast<void (CWnd::*)(UINT, int, int)>(pfn)};
}
template <class T>
AFX_MSGMAP_ENTRY Entry(UINT msg, BOOL (T::*pfn)(BOOL))
{
    return {msg, AfxSig::b_b, static_cast<BOOL (CWnd::*)(BOOL)>(pfn)};
}
template <class T>
AFX_MSGMAP_ENTRY Entry(UINT msg, void (T::*pfn)(UINT_PTR))
{
    return {msg, AfxSig::v_up, static_cast<void (CWnd::*)(UINT_PTR)>(pfn)};
}
}  // namespace afx_detail

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

// The table's opening and closing halves leave braces open across the two
// macros, which a formatter cannot follow; they keep their hand layout.
// clang-format off
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                             \
    {                                                                           \
        using ThisClass = theClass;                                             \
        using TheBaseClass = baseClass;                                         \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                       \
            {0, AfxSig::end, AfxHandler()}};                                         \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, &entries[0]}; \
        return &map;                                                            \
    }

// clang-format on

#define AFX_ON(msg, fn) afx_detail::Entry(msg, &ThisClass::fn),

#define ON_WM_PAINT()       AFX_ON(WM_PAINT, OnPaint)
#define ON_WM_ERASEBKGND()  AFX_ON(WM_ERASEBKGND, OnEraseBkgnd)
#define ON_WM_LBUTTONDOWN() AFX_ON(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP()   AFX_ON(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_MOUSEMOVE()   AFX_ON(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_DESTROY()     AFX_ON(WM_DESTROY, OnDestroy)
#define ON_WM_NCDESTROY()   AFX_ON(WM_NCDESTROY, OnNcDestroy)
#define ON_WM_SIZE()        AFX_ON(WM_SIZE, OnSize)
#define ON_WM_NCPAINT()     AFX_ON(WM_NCPAINT, OnNcPaint)
#define ON_WM_NCACTIVATE()  AFX_ON(WM_NCACTIVATE, OnNcActivate)
#define ON_WM_TIMER()       AFX_ON(WM_TIMER, OnTimer)
