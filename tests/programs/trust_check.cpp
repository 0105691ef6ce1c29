// Asks Windows' own Authenticode check (WinVerifyTrust) about signed files:
//   trust_check.exe <root certificate, DER> <file>...
// The root is added to the current user's trusted roots for the check and
// removed again. Prints one line per file, "0x<result in hex> <file>"; the
// exit code is 0 when every file was checked.
#include <windows.h>

#include <cstdio>
#include <softpub.h>
#include <vector>
#include <wincrypt.h>
#include <wintrust.h>

namespace {

bool ReadWholeFile(const wchar_t* path, std::vector<BYTE>& bytes)
{
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 20);
    DWORD read = 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        ok = ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
    }
    ::CloseHandle(file);
    return ok;
}

// The root stays trusted while the object lives.
class TrustedRoot {
public:
    explicit TrustedRoot(const std::vector<BYTE>& der)
    {
        m_store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
        if (m_store)
            ::CertAddEncodedCertificateToStore(m_store, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                               CERT_STORE_ADD_REPLACE_EXISTING, &m_cert);
    }
    ~TrustedRoot()
    {
        if (m_cert)
            ::CertDeleteCertificateFromStore(m_cert);  // frees the context too
        if (m_store)
            ::CertCloseStore(m_store, 0);
    }
    TrustedRoot(const TrustedRoot&) = delete;
    TrustedRoot& operator=(const TrustedRoot&) = delete;
    bool IsTrusted() const { return m_cert != nullptr; }

private:
    HCERTSTORE m_store = nullptr;
    PCCERT_CONTEXT m_cert = nullptr;
};

LONG VerifyFile(const wchar_t* path)
{
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path;
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: trust_check <root.der> <file>...\n");
        return 2;
    }
    std::vector<BYTE> root;
    if (!ReadWholeFile(argv[1], root)) {
        std::fprintf(stderr, "cannot read the root certificate\n");
        return 3;
    }
    TrustedRoot trusted(root);
    if (!trusted.IsTrusted()) {
        std::fprintf(stderr, "cannot add the root certificate: error %lu\n", ::GetLastError());
        return 4;
    }
    for (int i = 2; i < argc; ++i)
        std::printf("0x%08lX %ls\n", static_cast<unsigned long>(VerifyFile(argv[i])), argv[i]);
    return 0;
}
