// The mouse driver class key below HKLM\System\CurrentControlSet\Services\Class: choosing a
// new name, creating a class key with the package's driver settings, and updating an
// existing one with its old settings journalled first.
#pragma once

// Fills out (80 characters) with a free driver name "Mouse\nnnn": the first gap in the
// numbers of the mouse class subkeys as the registry lists them, moved past any key of
// that name that exists. Always succeeds.
void NextMouseClassKey(char* out);

// Where a registration journals the values it replaces: the journal of Dir (see
// script/journal.h), in the section of the mouse type registered, which is also the
// MouseType value of the class key.
struct DriverJournal {
    const char* Dir;
    const char* MouseType;  // JOURNAL_SECTION_PS2 or JOURNAL_SECTION_SERIAL
};

// Journals SubKey2 and the old driver settings of the class key named by driverName, then
// writes the package's settings. A class key that cannot be opened is created instead.
// What the journal could not record is left as it was (all of the key when SubKey2 could
// not be recorded, MouseType with any other): returns 0 then, 1 when all was written.
int UpdateDriverKey(const DriverJournal& journal, const char* driverName, const char* description,
                    const char* infSection);

// Creates (or opens) the class key named by driverName and writes all seven driver
// settings, MouseType set to mouseType. Nothing is journalled.
void CreateDriverKey(const char* mouseType, const char* driverName, const char* description,
                     const char* infSection);
