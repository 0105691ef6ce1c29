#include "process_utils.h"

#include "exe_name_match.h"
#include "process_filter.h"
#include "scoped_handle.h"

#include <tlhelp32.h>

#include <string>

namespace {

// The longest path the platform can give, in UTF-16 code units, with its end.
constexpr size_t kLongestPath = 32768;

SessionLookup SessionOf(DWORD processId)
{
    DWORD session = 0;
    if (!::ProcessIdToSessionId(processId, &session))
        return SessionLookup{false, 0};
    return SessionLookup{true, session};
}

// The program's own session does not change while it runs; asked once it is
// known, not on every walk of every tick.
SessionLookup OwnSession()
{
    static SessionLookup own{false, 0};
    if (!own.known)
        own = SessionOf(::GetCurrentProcessId());
    return own;
}

// Walks a fresh snapshot and calls visit(entry) for each entry that has the
// name and belongs to this session, until visit returns false. The session
// is looked up only for entries whose name matches: the lookup is slow in
// some environments and the list can be long. Returns false when no
// snapshot could be taken.
template <typename Visit>
bool ForEachOwnMatch(const wchar_t* name, Visit visit)
{
    ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid())
        return false;
    const std::wstring lowered = AsciiLowerCase(name);
    const DWORD ownId = ::GetCurrentProcessId();
    const SessionLookup ownSession = OwnSession();

    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(PROCESSENTRY32W);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (!ExeNameMatches(lowered, entry.szExeFile))
            continue;
        if (!ProcessCountsAsOurs(ownId, ownSession, entry.th32ProcessID, SessionOf(entry.th32ProcessID)))
            continue;
        if (!visit(entry))
            break;
    }
    return true;
}

TerminationRequest RequestEnd(DWORD processId)
{
    ScopedHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process.Valid())
        return TerminationRequest{processId, false, false};
    const bool ended = ::TerminateProcess(process.Get(), 0) != FALSE;
    return TerminationRequest{processId, true, ended};
}

// Limited query access is enough and is granted for more processes than full
// query access (elevated ones included).
bool ReadImagePath(DWORD processId, std::wstring& path)
{
    ScopedHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.Valid())
        return false;
    std::vector<wchar_t> buffer(kLongestPath);
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!::QueryFullProcessImageNameW(process.Get(), 0, buffer.data(), &length) || length == 0)
        return false;
    path.assign(buffer.data(), length);
    return true;
}

}  // namespace

BOOL IsProcessRunning(const wchar_t* name)
{
    if (!name)
        return FALSE;
    bool found = false;
    ForEachOwnMatch(name, [&found](const PROCESSENTRY32W&) {
        found = true;
        return false;
    });
    return found ? TRUE : FALSE;
}

BOOL KillProcessByName(const wchar_t* name, std::vector<TerminationRequest>* requests)
{
    if (!name)
        return FALSE;
    BOOL anyEnded = FALSE;
    ForEachOwnMatch(name, [&](const PROCESSENTRY32W& entry) {
        const TerminationRequest request = RequestEnd(entry.th32ProcessID);
        if (request.ended)
            anyEnded = TRUE;
        if (requests)
            requests->push_back(request);
        return true;
    });
    return anyEnded;
}

BOOL GetProcessImagePath(const wchar_t* name, std::wstring& path)
{
    if (!name)
        return FALSE;
    bool found = false;
    ForEachOwnMatch(name, [&](const PROCESSENTRY32W& entry) {
        found = ReadImagePath(entry.th32ProcessID, path);
        return !found;
    });
    return found ? TRUE : FALSE;
}
