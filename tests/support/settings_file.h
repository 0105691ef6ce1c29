#pragma once
#include <string>

// The product's settings file, which the switch removes before each end of
// the mini edition: Ovrillo\TempFile_S.ini in the user's documents folder.
// Empty when the documents folder cannot be found.
std::wstring SettingsFilePath();
// Creates it (and its folder) with a little content; true when it exists.
bool CreateSettingsFile();
