// Which keys of HKEY_LOCAL_MACHINE a journal may name: what setup journals is a device key
// below Enum\ (SubKey1) and a mouse driver class key (SubKey2). A journal is a profile
// section anybody can write, and one may even come inside a package: the uninstaller
// touches no other key it names. No Windows calls.
#pragma once

// 1 for "Enum\" followed by a key (letter case aside); 0 for anything else.
int TrustedDeviceKey(const char* path);

// 1 for "System\CurrentControlSet\Services\Class\Mouse\" followed by digits alone (letter
// case aside); 0 for anything else.
int TrustedClassKey(const char* path);
