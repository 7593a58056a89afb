// vmhelper: seeds and reads the registry of a virtual Windows 98 machine from inside it.
//
// The `reg` tool of Wine does not reach HKEY_DYN_DATA, whose keys are volatile and live only
// while the machine's wineserver runs; scripts and tests seed such keys with this program.
//
//   vmhelper setsz    ROOT KEY NAME TEXT
//   vmhelper setdw    ROOT KEY NAME NUMBER       (decimal or 0x... hexadecimal)
//   vmhelper setbin   ROOT KEY NAME HEX          ("01 02 ff", "01,02,ff" or "0102ff")
//   vmhelper mkkey    ROOT KEY
//   vmhelper deltree  ROOT KEY
//   vmhelper delval   ROOT KEY NAME
//   vmhelper get      ROOT KEY NAME               prints the value (text, number or hex bytes)
//   vmhelper list     ROOT KEY                    prints the subkey names, one per line
//   vmhelper values   ROOT KEY                    prints the values, .reg style
//   vmhelper dump     ROOT KEY                    prints the whole tree, .reg style
//   vmhelper exists   ROOT KEY [NAME]             exit code 0 if present, 1 if not
//
// ROOT: HKLM, HKCR, HKCU, HKU, HKCC, HKDD (or the long HKEY_... names). An empty NAME ("")
// is the key's default value. Several commands can be given at once, separated by an
// argument ";" (one process start instead of many). Exit code: 0 done, 1 a command failed
// (the rest are not run), 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct RootName {
    const char* shortName;
    const char* longName;
    HKEY key;
};

const RootName kRoots[] = {
    {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKU", "HKEY_USERS", HKEY_USERS},
    {"HKCC", "HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKDD", "HKEY_DYN_DATA", HKEY_DYN_DATA},
};

bool ParseRoot(const std::string& text, HKEY* root) {
    for (const RootName& r : kRoots) {
        if (lstrcmpiA(text.c_str(), r.shortName) == 0 || lstrcmpiA(text.c_str(), r.longName) == 0) {
            *root = r.key;
            return true;
        }
    }
    return false;
}

void Fail(const std::string& what, LONG status) {
    std::fprintf(stderr, "vmhelper: %s: error %ld\n", what.c_str(), status);
}

// Keys below HKEY_DYN_DATA are volatile, as on Windows 98.
DWORD CreateOptions(HKEY root) {
    return root == HKEY_DYN_DATA ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE;
}

LONG CreateKey(HKEY root, const std::string& path, HKEY* key) {
    DWORD disposition = 0;
    return RegCreateKeyExA(root, path.c_str(), 0, nullptr, CreateOptions(root), KEY_ALL_ACCESS,
                           nullptr, key, &disposition);
}

bool ParseNumber(const std::string& text, DWORD* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (*end != '\0' || v > 0xFFFFFFFFull) return false;
    *value = static_cast<DWORD>(v);
    return true;
}

bool ParseHex(const std::string& text, std::vector<BYTE>* bytes) {
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == ',' || c == ':') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        digits += c;
    }
    if (digits.size() % 2 != 0) return false;
    for (size_t i = 0; i < digits.size(); i += 2) {
        bytes->push_back(static_cast<BYTE>(std::strtoul(digits.substr(i, 2).c_str(), nullptr, 16)));
    }
    return true;
}

std::string HexBytes(const BYTE* data, DWORD size, const char* separator) {
    std::string out;
    char buf[4];
    for (DWORD i = 0; i < size; ++i) {
        if (i) out += separator;
        std::snprintf(buf, sizeof buf, "%02x", data[i]);
        out += buf;
    }
    return out;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// One value as a .reg style line: "name"="text", "name"=dword:0000000a, "name"=hex:01,02.
std::string RegLine(const std::string& name, DWORD type, const std::vector<BYTE>& data) {
    std::string line = name.empty() ? "@" : Quoted(name);
    line += "=";
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::string text(data.begin(), data.end());
        while (!text.empty() && text.back() == '\0') text.pop_back();
        if (type == REG_EXPAND_SZ) line += "str(2):";
        line += Quoted(text);
    } else if (type == REG_DWORD && data.size() == 4) {
        char buf[16];
        DWORD v;
        std::memcpy(&v, data.data(), 4);
        std::snprintf(buf, sizeof buf, "dword:%08lx", static_cast<unsigned long>(v));
        line += buf;
    } else {
        line += type == REG_BINARY ? "hex:" : "hex(" + std::to_string(type) + "):";
        line += HexBytes(data.data(), static_cast<DWORD>(data.size()), ",");
    }
    return line;
}

LONG ReadValue(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data) {
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    data->assign(size, 0);
    return RegQueryValueExA(key, name.c_str(), nullptr, type, size ? data->data() : nullptr, &size);
}

LONG PrintValues(HKEY key) {
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name;
        DWORD type = 0, size = 0;
        LONG status = RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS) return status;
        std::vector<BYTE> data(size, 0);
        nameSize = sizeof name;
        status = RegEnumValueA(key, i, name, &nameSize, nullptr, &type,
                               size ? data.data() : nullptr, &size);
        if (status != ERROR_SUCCESS) return status;
        data.resize(size);
        std::printf("%s\n", RegLine(name, type, data).c_str());
    }
}

LONG SubkeyNames(HKEY key, std::vector<std::string>* names) {
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        LONG status = RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS) return status;
        names->push_back(name);
    }
}

LONG Dump(HKEY key, const std::string& path) {
    std::printf("[%s]\n", path.c_str());
    LONG status = PrintValues(key);
    if (status != ERROR_SUCCESS) return status;
    std::printf("\n");
    std::vector<std::string> names;
    status = SubkeyNames(key, &names);
    if (status != ERROR_SUCCESS) return status;
    for (const std::string& name : names) {
        HKEY sub;
        status = RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, &sub);
        if (status != ERROR_SUCCESS) return status;
        status = Dump(sub, path + "\\" + name);
        RegCloseKey(sub);
        if (status != ERROR_SUCCESS) return status;
    }
    return ERROR_SUCCESS;
}

// RegDeleteKey on Windows 9x removes a whole tree; RegDeleteKeyA elsewhere does not, so the
// subkeys go first.
LONG DeleteTree(HKEY parent, const std::string& path) {
    HKEY key;
    LONG status = RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (status != ERROR_SUCCESS) return status;
    std::vector<std::string> names;
    status = SubkeyNames(key, &names);
    for (size_t i = 0; status == ERROR_SUCCESS && i < names.size(); ++i) {
        status = DeleteTree(key, names[i]);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return status;
    return RegDeleteKeyA(parent, path.c_str());
}

int Usage() {
    std::fprintf(stderr,
                 "usage: vmhelper COMMAND ROOT KEY [NAME [VALUE]] [; COMMAND ...]\n"
                 "commands: setsz setdw setbin mkkey deltree delval get list values dump "
                 "exists\n");
    return 2;
}

// Runs one command; returns the process exit code it asks for.
int RunCommand(const std::vector<std::string>& args) {
    static const char* const kCommands[] = {"setsz",   "setdw",  "setbin", "mkkey",
                                            "deltree", "delval", "get",    "list",
                                            "values",  "dump",   "exists"};
    if (args.size() < 3) return Usage();
    const std::string& command = args[0];
    bool known = false;
    for (const char* c : kCommands) known = known || command == c;
    if (!known) return Usage();
    HKEY root;
    if (!ParseRoot(args[1], &root)) {
        std::fprintf(stderr, "vmhelper: unknown root %s\n", args[1].c_str());
        return 2;
    }
    const std::string& path = args[2];
    const std::string where = args[1] + "\\" + path;
    auto need = [&](size_t n) { return args.size() == n; };

    if (command == "setsz" || command == "setdw" || command == "setbin") {
        if (!need(5)) return Usage();
        DWORD type = REG_SZ;
        std::vector<BYTE> data;
        if (command == "setsz") {
            data.assign(args[4].begin(), args[4].end());
            data.push_back(0);
        } else if (command == "setdw") {
            DWORD v;
            if (!ParseNumber(args[4], &v)) return Usage();
            type = REG_DWORD;
            data.resize(4);
            std::memcpy(data.data(), &v, 4);
        } else {
            if (!ParseHex(args[4], &data)) return Usage();
            type = REG_BINARY;
        }
        HKEY key;
        LONG status = CreateKey(root, path, &key);
        if (status == ERROR_SUCCESS) {
            status =
                RegSetValueExA(key, args[3].c_str(), 0, type, data.empty() ? nullptr : data.data(),
                               static_cast<DWORD>(data.size()));
            RegCloseKey(key);
        }
        if (status != ERROR_SUCCESS) Fail(command + " " + where + " " + args[3], status);
        return status == ERROR_SUCCESS ? 0 : 1;
    }
    if (command == "mkkey") {
        if (!need(3)) return Usage();
        HKEY key;
        LONG status = CreateKey(root, path, &key);
        if (status != ERROR_SUCCESS) {
            Fail("mkkey " + where, status);
            return 1;
        }
        RegCloseKey(key);
        return 0;
    }
    if (command == "deltree") {
        if (!need(3)) return Usage();
        LONG status = DeleteTree(root, path);
        if (status == ERROR_FILE_NOT_FOUND) return 0;
        if (status != ERROR_SUCCESS) Fail("deltree " + where, status);
        return status == ERROR_SUCCESS ? 0 : 1;
    }

    HKEY key;
    LONG status = RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (command == "exists") {
        if (!need(3) && !need(4)) return Usage();
        if (status != ERROR_SUCCESS) return 1;
        bool found = true;
        if (need(4)) {
            found = RegQueryValueExA(key, args[3].c_str(), nullptr, nullptr, nullptr, nullptr) ==
                    ERROR_SUCCESS;
        }
        RegCloseKey(key);
        return found ? 0 : 1;
    }
    if (status != ERROR_SUCCESS) {
        Fail("open " + where, status);
        return 1;
    }
    if (command == "delval" && need(4)) {
        status = RegDeleteValueA(key, args[3].c_str());
    } else if (command == "get" && need(4)) {
        DWORD type = 0;
        std::vector<BYTE> data;
        status = ReadValue(key, args[3], &type, &data);
        if (status == ERROR_SUCCESS) {
            if (type == REG_SZ || type == REG_EXPAND_SZ) {
                std::string text(data.begin(), data.end());
                while (!text.empty() && text.back() == '\0') text.pop_back();
                std::printf("%s\n", text.c_str());
            } else if (type == REG_DWORD && data.size() == 4) {
                DWORD v;
                std::memcpy(&v, data.data(), 4);
                std::printf("%lu\n", static_cast<unsigned long>(v));
            } else {
                DWORD size = static_cast<DWORD>(data.size());
                std::printf("%s\n", HexBytes(data.data(), size, " ").c_str());
            }
        }
    } else if (command == "list" && need(3)) {
        std::vector<std::string> names;
        status = SubkeyNames(key, &names);
        for (const std::string& name : names) std::printf("%s\n", name.c_str());
    } else if (command == "values" && need(3)) {
        status = PrintValues(key);
    } else if (command == "dump" && need(3)) {
        status = Dump(key, where);
    } else {
        RegCloseKey(key);
        return Usage();
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) Fail(command + " " + where, status);
    return status == ERROR_SUCCESS ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> current;
    int result = 0;
    for (int i = 1; i <= argc; ++i) {
        if (i == argc || std::string(argv[i]) == ";") {
            if (current.empty()) continue;
            result = RunCommand(current);
            std::fflush(stdout);
            if (result != 0) return result;
            current.clear();
        } else {
            current.push_back(argv[i]);
        }
    }
    return argc < 2 ? Usage() : result;
}
