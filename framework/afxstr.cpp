#include "afxstr.h"

CString::CString(const wchar_t* text) : m_text(text ? text : L"") {}

CString& CString::operator+=(const CString& other)
{
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const wchar_t* text)
{
    if (text)
        m_text += text;
    return *this;
}

CString& CString::operator+=(wchar_t ch)
{
    m_text += ch;
    return *this;
}

CString operator+(const CString& left, const CString& right)
{
    CString sum(left);
    sum += right;
    return sum;
}

CString operator+(const CString& left, const wchar_t* right)
{
    CString sum(left);
    sum += right;
    return sum;
}

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

CString SignedDecimalString(long long value)
{
    if (value >= 0)
        return DecimalString(static_cast<unsigned long long>(value));
    // Negated in unsigned arithmetic, where the most negative value has its magnitude.
    return CString(L"-") + DecimalString(0ULL - static_cast<unsigned long long>(value));
}
