#include "process_filter.h"

bool ProcessCountsAsOurs(DWORD ownProcessId, SessionLookup ownSession, DWORD entryProcessId, SessionLookup entrySession)
{
    if (entryProcessId == ownProcessId)
        return false;
    return ownSession.known && entrySession.known && ownSession.sessionId == entrySession.sessionId;
}
