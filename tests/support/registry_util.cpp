#include "support/registry_util.h"

#include "script/model.h"

namespace {

typedef LONG(WINAPI* OverrideFn)(HKEY, HKEY);

OverrideFn OverrideFunction() {
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    if (advapi == nullptr) advapi = LoadLibraryA("advapi32.dll");
    return reinterpret_cast<OverrideFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "RegOverridePredefKey")));
}

const char* const kScratchRoot = "Software\\SetupTests";

struct RootName {
    HKEY root;
    const char* name;
};
const RootName kRoots[] = {
    {HKEY_LOCAL_MACHINE, "HKLM"}, {HKEY_CLASSES_ROOT, "HKCR"}, {HKEY_DYN_DATA, "HKDD"}};

}  // namespace

RegistrySandbox::RegistrySandbox(const std::string& name)
    : base_(std::string(kScratchRoot) + "\\" + name) {
    DeleteTree(HKEY_CURRENT_USER, base_);
    OverrideFn override = OverrideFunction();
    if (override == nullptr) return;
    ready_ = true;
    for (const RootName& r : kRoots) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (base_ + "\\" + r.name).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            ready_ = false;
            continue;
        }
        if (override(r.root, key) != ERROR_SUCCESS) ready_ = false;
        RegCloseKey(key);  // the override holds a handle of its own
    }
}

RegistrySandbox::~RegistrySandbox() {
    OverrideFn override = OverrideFunction();
    if (override != nullptr)
        for (const RootName& r : kRoots) override(r.root, nullptr);
    DeleteTree(HKEY_CURRENT_USER, base_);
    // Leave no empty parent behind either.
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratchRoot);
}

void RegistrySandbox::BreakRoot(HKEY root) {
    OverrideFn override = OverrideFunction();
    const std::string path = base_ + "\\broken";
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    override(root, key);
    RegCloseKey(key);
    DeleteTree(HKEY_CURRENT_USER, path);
}

void MakeKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

void SetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
            const std::string& bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type,
                   reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void SetString(HKEY root, const std::string& path, const std::string& name,
               const std::string& value) {
    SetRaw(root, path, name, REG_SZ, Sz(value));
}

RegValue ReadValue(HKEY root, const std::string& path, const std::string& name) {
    RegValue out;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
    const char* valueName = name.empty() ? nullptr : name.c_str();
    DWORD size = 0;
    DWORD type = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                             &size) == ERROR_SUCCESS) {
            data.resize(size);
            // Wine keeps strings in UTF-16 and the ANSI read adds a missing terminator, so
            // the stored length of a string value comes from the wide form.
            if (type == REG_SZ || type == REG_EXPAND_SZ) {
                std::wstring wideName(name.begin(), name.end());
                DWORD wideSize = 0;
                if (RegQueryValueExW(key, name.empty() ? nullptr : wideName.c_str(), nullptr,
                                     nullptr, nullptr, &wideSize) == ERROR_SUCCESS)
                    data.resize(wideSize / 2);
            }
            out.exists = true;
            out.type = type;
            out.data = data;
        }
    }
    RegCloseKey(key);
    return out;
}

std::string ReadText(HKEY root, const std::string& path, const std::string& name) {
    RegValue v = ReadValue(root, path, name);
    if (!v.exists) return "<absent>";
    return std::string(v.data.c_str());
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Names of the subkeys (values false) or of the values (values true) of a key.
static std::vector<std::string> Names(HKEY root, const std::string& path, bool values) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD length = sizeof(name);
        LONG rc = values ? RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)
                         : RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

std::vector<std::string> SubkeyNames(HKEY root, const std::string& path) {
    return Names(root, path, false);
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path) {
    return Names(root, path, true);
}

static void DeleteChildren(HKEY key) {
    for (;;) {
        char name[512];
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return;
        HKEY child = nullptr;
        if (RegOpenKeyExA(key, name, 0, KEY_ALL_ACCESS, &child) == ERROR_SUCCESS) {
            DeleteChildren(child);
            RegCloseKey(child);
        }
        if (RegDeleteKeyA(key, name) != ERROR_SUCCESS) return;
    }
}

void DeleteTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    DeleteChildren(key);
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

void AddDeviceNode(const std::string& node, const std::string& hardwareKey) {
    SetString(HKEY_DYN_DATA, "Config Manager\\Enum\\" + node, "HardWareKey", hardwareKey);
}

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

std::string ProfileValue(const std::string& file, const std::string& section,
                         const std::string& key) {
    char buf[512];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<absent>", buf, sizeof(buf),
                             file.c_str());
    return buf;
}

void SetSampleProfile(const std::string& tag) {
    auto put = [&](char* field, size_t width, const std::string& text) {
        std::string t = (text + " " + tag).substr(0, width - 1);
        t.copy(field, t.size());
        field[t.size()] = 0;
    };
    put(Shared::DriverProfile.Title, sizeof(Shared::DriverProfile.Title), "Qorva Mouse");
    put(Shared::DriverProfile.Mfg, sizeof(Shared::DriverProfile.Mfg), "Qorva");
    put(Shared::DriverProfile.MouseDriver, sizeof(Shared::DriverProfile.MouseDriver),
        "QXMOUSE.DRV");
    put(Shared::DriverProfile.MouseInf, sizeof(Shared::DriverProfile.MouseInf), "QXMOUSE.INF");
    put(Shared::DriverProfile.DriverDate, sizeof(Shared::DriverProfile.DriverDate), "1-15-1999");
    put(Shared::DriverProfile.PS2InfSection, sizeof(Shared::DriverProfile.PS2InfSection), "QX_PS2");
    put(Shared::DriverProfile.SerialInfSection, sizeof(Shared::DriverProfile.SerialInfSection),
        "QX_Serial");
    put(Shared::DriverProfile.PS2Name, sizeof(Shared::DriverProfile.PS2Name), "Qorva PS/2 Mouse");
    put(Shared::DriverProfile.SeialName, sizeof(Shared::DriverProfile.SeialName),
        "Qorva Serial Mouse");
}
