#pragma once
#include <string>

// The name of the lock that lets one switch at a time run for an
// installation folder. Spellings of one folder that differ only in letter
// case, in "/" against "\", in repeated or trailing separators, or in a
// "\\?\" prefix give one name; different folders give different names.
// The name lives in the session's Local\ namespace, is short whatever the
// folder's length, and holds no backslash after the namespace.

// The folder as compared: case-folded, separators normalised.
std::wstring SwitchLockFolderKey(const std::wstring& installationFolder);

// "Local\ClassicSwitch-" followed by 16 hexadecimal digits of a hash of the key.
std::wstring SwitchLockName(const std::wstring& installationFolder);
