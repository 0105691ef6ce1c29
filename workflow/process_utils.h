#pragma once
#include "../framework/win32_base.h"

#include <string>
#include <vector>

// Asking about and ending processes by executable name (file name with
// extension, no folder), folding ASCII case only. Every call walks a fresh
// process snapshot; nothing is remembered between calls. Only processes in
// this program's own session count, and this program's own process never
// does.

// TRUE when a matching process runs; FALSE for a null name or when no
// snapshot can be taken.
BOOL IsProcessRunning(const wchar_t* name);

// What happened to one matching process.
struct TerminationRequest {
    DWORD processId;
    bool opened;  // OpenProcess(PROCESS_TERMINATE) gave a handle
    bool ended;   // TerminateProcess accepted the request
};

// Asks every matching process to end with exit code 0 and does not wait for
// it. TRUE when at least one request was accepted; FALSE for a null name, no
// snapshot, no match, or only refusals. When requests is given, each
// matching process is reported there, in snapshot order.
BOOL KillProcessByName(const wchar_t* name, std::vector<TerminationRequest>* requests = nullptr);

// The full path of the executable of a matching process (the first one, in
// snapshot order, whose path can be read with limited query access). FALSE
// for a null name, no snapshot, no match, or no readable path; path is then
// left as it was.
BOOL GetProcessImagePath(const wchar_t* name, std::wstring& path);
