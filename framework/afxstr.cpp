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

CString DecimalString(unsigned long long value)
{
    wchar_t digits[24];
    int start = 23;
    digits[start] = L'\0';
    do {
        digits[--start] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    return CString(digits + start);
}
