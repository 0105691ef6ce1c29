#pragma once

// The floor of every process query: one Toolhelp snapshot walked to its end
// or to the first entry whose executable name matches, with the same ASCII
// case folding as the program, and nothing else (no session or own-process
// checks).
bool BareWalkFinds(const wchar_t* exeName);
