// Registry helpers for the Windows-side tests: a sandbox that maps HKLM, HKCR and
// HKEY_DYN_DATA onto scratch keys of one process, and seeding and reading of keys and values.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#ifndef HKEY_DYN_DATA
#define HKEY_DYN_DATA ((HKEY)(ULONG_PTR)((LONG)0x80000006))
#endif

// While it lives, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT and HKEY_DYN_DATA of this process
// are empty scratch keys below HKCU\Software\SetupTests\<name>. The destructor restores the
// roots and deletes the scratch keys.
class RegistrySandbox {
  public:
    explicit RegistrySandbox(const std::string& name);
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // 1 when every root was mapped.
    bool Ready() const { return ready_; }

    // Maps root onto a key that has been deleted: nothing can be created or opened below it.
    void BreakRoot(HKEY root);

  private:
    std::string base_;
    bool ready_ = false;
};

struct RegValue {
    bool exists = false;
    DWORD type = 0;
    std::string data;  // the bytes as stored; a string's terminator only when it was stored
};

// Creates the key path below root (and the keys above it).
void MakeKey(HKEY root, const std::string& path);

// Writes a value; a string is stored with its terminating zero unless raw bytes are given.
// name "" writes the unnamed value.
void SetString(HKEY root, const std::string& path, const std::string& name,
               const std::string& value);
void SetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
            const std::string& bytes);

// Reads a value whole, with its type and size. name "" reads the unnamed value.
RegValue ReadValue(HKEY root, const std::string& path, const std::string& name);

// The value's text up to its first zero byte; "<absent>" when the value does not exist.
std::string ReadText(HKEY root, const std::string& path, const std::string& name);

bool KeyExists(HKEY root, const std::string& path);

// Names of the subkeys of path, in the registry's enumeration order.
std::vector<std::string> SubkeyNames(HKEY root, const std::string& path);

// Names of the values of path.
std::vector<std::string> ValueNames(HKEY root, const std::string& path);

// Deletes path and everything below it.
void DeleteTree(HKEY root, const std::string& path);

// A device node of the running configuration: HKEY_DYN_DATA\Config Manager\Enum\<node>
// with the string value HardWareKey.
void AddDeviceNode(const std::string& node, const std::string& hardwareKey);

// A REG_SZ value as the program writes it: the text and its terminating zero.
std::string Sz(const std::string& text);

// Fills the DriverProfile texts with samples that carry tag, e.g. "PS2Name" becomes
// "Qorva PS/2 Mouse <tag>", so that two registrations can be told apart.
void SetSampleProfile(const std::string& tag);

// The value of key in section of a profile file, or "<absent>".
std::string ProfileValue(const std::string& file, const std::string& section,
                         const std::string& key);
