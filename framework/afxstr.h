#pragma once
#include "win32_base.h"

#include <string>

// UTF-16 string of the framework. Lengths and positions count UTF-16 code
// units, as the Win32 wide-character calls do.
class CString {
public:
    CString() = default;
    CString(const wchar_t* text);
    CString(const wchar_t* text, int length) : m_text(text, static_cast<size_t>(length)) {}
    explicit CString(std::wstring text) : m_text(std::move(text)) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    wchar_t GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }

    operator const wchar_t*() const { return m_text.c_str(); }
    const wchar_t* GetString() const { return m_text.c_str(); }
    const std::wstring& Str() const { return m_text; }

    // Out of line, as are the concatenations below: a program that writes
    // many texts would otherwise carry a copy of the string code at each.
    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);

    // Replaces every occurrence of one code unit; returns how many changed.
    int Replace(wchar_t oldChar, wchar_t newChar);

    friend CString operator+(const CString& left, const CString& right);
    friend CString operator+(const CString& left, const wchar_t* right);
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_text != b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_text == (b ? b : L""); }

private:
    std::wstring m_text;
};

// The decimal digits of a number, without the C library's formatting engine.
CString DecimalString(unsigned long long value);
// The same with a leading "-" for a negative number.
CString SignedDecimalString(long long value);
