#pragma once
#include "win32_base.h"

#include <string>

// UTF-16 string of the framework. Lengths and positions count UTF-16 code
// units, as the Win32 wide-character calls do.
class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_text(text, static_cast<size_t>(length)) {}
    explicit CString(std::wstring text) : m_text(std::move(text)) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    wchar_t GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }

    operator const wchar_t*() const { return m_text.c_str(); }
    const wchar_t* GetString() const { return m_text.c_str(); }
    const std::wstring& Str() const { return m_text; }

    CString& operator+=(const CString& other)
    {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(const wchar_t* text)
    {
        if (text)
            m_text += text;
        return *this;
    }
    CString& operator+=(wchar_t ch)
    {
        m_text += ch;
        return *this;
    }

    // Replaces every occurrence of one code unit; returns how many changed.
    int Replace(wchar_t oldChar, wchar_t newChar);

    friend CString operator+(CString left, const CString& right)
    {
        left += right;
        return left;
    }
    friend CString operator+(CString left, const wchar_t* right)
    {
        left += right;
        return left;
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_text != b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_text == (b ? b : L""); }

private:
    std::wstring m_text;
};

// The decimal digits of a number, without the C library's formatting engine.
CString DecimalString(unsigned long long value);
