#include "afxwin.h"

namespace {
CWinApp* g_app = nullptr;

// Formats class names by hand: the C library's printf family would pull a
// large formatting engine into the program for this one name.
class ClassNameBuilder {
public:
    static constexpr size_t kCapacity = 96;
    explicit ClassNameBuilder(wchar_t (&buffer)[kCapacity]) : m_buffer(buffer) { m_buffer[0] = L'\0'; }

    void Append(const wchar_t* text)
    {
        for (; *text; ++text)
            Put(*text);
    }

    // ":" and the value in lower-case hexadecimal without leading zeros.
    void AppendHex(unsigned long long value)
    {
        Put(L':');
        wchar_t digits[16];
        int count = 0;
        do {
            digits[count++] = L"0123456789abcdef"[value & 0xF];
            value >>= 4;
        } while (value != 0);
        while (count > 0)
            Put(digits[--count]);
    }

private:
    void Put(wchar_t ch)
    {
        if (m_length + 1 < kCapacity) {
            m_buffer[m_length++] = ch;
            m_buffer[m_length] = L'\0';
        }
    }

    wchar_t* m_buffer;
    size_t m_length = 0;
};
}  // namespace

CWinApp::CWinApp(LPCWSTR lpszAppName) : m_pszAppName(lpszAppName)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

CWinApp* AfxGetApp()
{
    return g_app;
}

int AfxWinMain()
{
    CWinApp* app = AfxGetApp();
    if (!app || !app->InitInstance())
        return 0;
    return app->Run();
}

void AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // The name encodes every property, the brush by its colour, so that equal
    // requests meet one class. Names live as long as the process, as classes do.
    LOGBRUSH brush{};
    if (hbrBackground && ::GetObjectW(hbrBackground, sizeof(brush), &brush) != sizeof(brush))
        brush = LOGBRUSH{BS_NULL, 0, 0};
    wchar_t name[96];
    ClassNameBuilder builder(name);
    builder.Append(L"ClassicSwitch");
    builder.AppendHex(nClassStyle);
    builder.AppendHex(reinterpret_cast<UINT_PTR>(hCursor));
    builder.AppendHex(brush.lbStyle);
    builder.AppendHex(brush.lbColor);
    builder.AppendHex(reinterpret_cast<UINT_PTR>(hIcon));

    static constexpr int kMaxClasses = 8;
    static wchar_t s_names[kMaxClasses][96];
    static int s_count = 0;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (int i = 0; i < s_count; ++i) {
        if (::lstrcmpW(s_names[i], name) == 0) {
            if (hbrBackground)
                ::DeleteObject(hbrBackground);
            return s_names[i];
        }
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = nClassStyle;
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.hInstance = instance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = name;
    // The class owns the brush only once it exists; otherwise nobody would.
    if (s_count == kMaxClasses || !::RegisterClassExW(&wc)) {
        if (hbrBackground)
            ::DeleteObject(hbrBackground);
        return nullptr;
    }
    ::lstrcpynW(s_names[s_count], name, 96);
    return s_names[s_count++];
}
