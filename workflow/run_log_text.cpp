#include "run_log_text.h"

namespace {

constexpr wchar_t kNamePrefix[] = L"ClassicSwitch-";
constexpr wchar_t kNameSuffix[] = L".log";
constexpr wchar_t kReplacement = 0xFFFD;

// The value as exactly that many decimal digits (zero-padded).
void AppendDigits(CString& text, unsigned value, int digits)
{
    wchar_t buffer[10];
    for (int i = digits - 1; i >= 0; --i) {
        buffer[i] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    }
    text += CString(buffer, digits);
}

// One field of a time stamp: which part of the time, how many digits, and
// the character before it (none for 0).
struct StampField {
    WORD SYSTEMTIME::*part;
    int digits;
    wchar_t before;
};

// yyyyMMdd-HHmmss, as the log's file name carries it.
constexpr StampField kNameStamp[] = {{&SYSTEMTIME::wYear, 4, 0},   {&SYSTEMTIME::wMonth, 2, 0},
                                     {&SYSTEMTIME::wDay, 2, 0},    {&SYSTEMTIME::wHour, 2, L'-'},
                                     {&SYSTEMTIME::wMinute, 2, 0}, {&SYSTEMTIME::wSecond, 2, 0}};
// yyyy-MM-dd HH:mm:ss.fff, as each line starts.
constexpr StampField kLineStamp[] = {{&SYSTEMTIME::wYear, 4, 0},           {&SYSTEMTIME::wMonth, 2, L'-'},
                                     {&SYSTEMTIME::wDay, 2, L'-'},         {&SYSTEMTIME::wHour, 2, L' '},
                                     {&SYSTEMTIME::wMinute, 2, L':'},      {&SYSTEMTIME::wSecond, 2, L':'},
                                     {&SYSTEMTIME::wMilliseconds, 3, L'.'}};

template <size_t N>
void AppendStamp(CString& text, const SYSTEMTIME& time, const StampField (&fields)[N])
{
    for (const StampField& field : fields) {
        if (field.before)
            text += field.before;
        AppendDigits(text, time.*field.part, field.digits);
    }
}

// Advances past count digits; false when there are fewer.
bool SkipDigits(const wchar_t*& at, int count)
{
    for (int i = 0; i < count; ++i, ++at) {
        if (*at < L'0' || *at > L'9')
            return false;
    }
    return true;
}

bool SkipText(const wchar_t*& at, const wchar_t* text)
{
    for (; *text; ++text, ++at) {
        if (*at != *text)
            return false;
    }
    return true;
}

bool IsHighSurrogate(wchar_t ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t ch)
{
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// The code point that starts at text[i], and how many code units it takes.
unsigned CodePointAt(const std::wstring& text, size_t i, size_t& units)
{
    const wchar_t ch = text[i];
    units = 1;
    if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((static_cast<unsigned>(ch) - 0xD800) << 10) + (static_cast<unsigned>(text[i + 1]) - 0xDC00);
    }
    if (IsHighSurrogate(ch) || IsLowSurrogate(ch))
        return kReplacement;
    return ch;
}

size_t Utf8Bytes(unsigned codePoint)
{
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

}  // namespace

CString RunLogFileName(const SYSTEMTIME& localTime, DWORD processId)
{
    CString name(kNamePrefix);
    AppendStamp(name, localTime, kNameStamp);
    name += L'-';
    name += DecimalString(processId);
    name += kNameSuffix;
    return name;
}

bool IsRunLogFileName(const wchar_t* name)
{
    const wchar_t* at = name;
    if (!SkipText(at, kNamePrefix) || !SkipDigits(at, 8) || !SkipText(at, L"-") || !SkipDigits(at, 6) ||
        !SkipText(at, L"-"))
        return false;
    const wchar_t* digits = at;
    while (*at >= L'0' && *at <= L'9')
        ++at;
    const ptrdiff_t count = at - digits;
    return count >= 1 && count <= 10 && SkipText(at, kNameSuffix) && *at == L'\0';
}

CString RunLogLine(const SYSTEMTIME& localTime, const ULONGLONG* msSinceCreation, const CString& text)
{
    CString line;
    AppendStamp(line, localTime, kLineStamp);
    line += L' ';
    if (msSinceCreation) {
        line += L'+';
        line += DecimalString(*msSinceCreation);
        line += L" ms: ";
    }
    for (const wchar_t ch : text.Str())
        line += ch < L' ' || ch == 0x7F ? L' ' : ch;
    line += L"\r\n";
    return line;
}

size_t Utf8Length(const CString& text)
{
    const std::wstring& units = text.Str();
    size_t length = 0;
    for (size_t i = 0, step = 0; i < units.size(); i += step)
        length += Utf8Bytes(CodePointAt(units, i, step));
    return length;
}

void EncodeUtf8(const CString& text, char* out)
{
    const std::wstring& units = text.Str();
    for (size_t i = 0, step = 0; i < units.size(); i += step) {
        const unsigned cp = CodePointAt(units, i, step);
        const size_t bytes = Utf8Bytes(cp);
        if (bytes == 1) {
            *out++ = static_cast<char>(cp);
            continue;
        }
        // The lead byte carries as many high bits as there are bytes.
        static const unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        *out++ = static_cast<char>(kLead[bytes] | (cp >> (6 * (bytes - 1))));
        for (size_t k = bytes - 1; k > 0; --k)
            *out++ = static_cast<char>(0x80 | ((cp >> (6 * (k - 1))) & 0x3F));
    }
}

bool RunLogRetention::Newer(const Kept& a, const Kept& b)
{
    return a.lastWrite != b.lastWrite ? a.lastWrite > b.lastWrite : a.name.Str() > b.name.Str();
}

bool RunLogRetention::Consider(const wchar_t* name, DWORD attributes, ULONGLONG lastWrite, CString& doomed)
{
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) || !IsRunLogFileName(name) ||
        m_ownName == name)
        return false;
    Kept entry{name, lastWrite};
    // The kept ones stay ordered newest first; an entry older than all of
    // them when they are complete goes at once.
    size_t at = m_count;
    while (at > 0 && Newer(entry, m_kept[at - 1]))
        --at;
    if (at >= kKeptOthers) {
        doomed = entry.name;
        return true;
    }
    const bool evicts = m_count == kKeptOthers;
    if (evicts)
        doomed = m_kept[m_count - 1].name;
    else
        ++m_count;
    for (size_t i = m_count - 1; i > at; --i)
        m_kept[i] = m_kept[i - 1];
    m_kept[at] = entry;
    return evicts;
}

CString RunLogProblem(const CString& path, DWORD error, const CString& errorText)
{
    CString problem(L"\"");
    problem += path;
    problem += L"\" error ";
    problem += DecimalString(error);
    problem += L": ";
    problem += errorText;
    return problem;
}
