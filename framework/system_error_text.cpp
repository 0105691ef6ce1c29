#include "system_error_text.h"

#include "noncopyable.h"

namespace {
// Frees what FormatMessageW allocated, on every path.
class LocalText : private CNoCopy {
public:
    LocalText() = default;
    ~LocalText() { ::LocalFree(m_text); }
    wchar_t** Receiver() { return &m_text; }
    const wchar_t* Get() const { return m_text; }

private:
    wchar_t* m_text = nullptr;
};
}  // namespace

CString OneLineText(const wchar_t* text)
{
    std::wstring line;
    bool afterControl = false;
    for (; text && *text; ++text) {
        const bool control = *text < L' ' || *text == 0x7F;
        // A line break is two controls (CR LF) but one space.
        if (!control)
            line += *text;
        else if (!afterControl)
            line += L' ';
        afterControl = control;
    }
    while (!line.empty() && line.back() == L' ')
        line.pop_back();
    return CString(std::move(line));
}

CString SystemErrorText(DWORD error)
{
    LocalText text;
    // Inserts are left as they stand: the system's texts may name "%1".
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD length =
        ::FormatMessageW(flags, nullptr, error, 0, reinterpret_cast<wchar_t*>(text.Receiver()), 0, nullptr);
    const CString line = length ? OneLineText(text.Get()) : CString();
    return line.IsEmpty() ? CString(L"no text for this error") : line;
}
