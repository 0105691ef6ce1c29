#include "afxstr.h"

int CString::Replace(wchar_t oldChar, wchar_t newChar)
{
    int count = 0;
    for (wchar_t& ch : m_text) {
        if (ch == oldChar) {
            ch = newChar;
            ++count;
        }
    }
    return count;
}
