#pragma once
#include "../framework/win32_base.h"

// The Windows session a process runs in, when it could be found out.
struct SessionLookup {
    bool known;
    DWORD sessionId;
};

// Which process-list entries the program may ask about or end. Other users'
// sessions on the same machine are none of its business, and it must never
// end itself (the mini edition's name may be given as this program's own).
// An entry whose session cannot be told is left alone, and so is everything
// when the program's own session is unknown: ending a stranger's process is
// worse than missing one.
bool ProcessCountsAsOurs(DWORD ownProcessId, SessionLookup ownSession, DWORD entryProcessId,
                         SessionLookup entrySession);
