// A kit for a second product, end to end: the Zentrix example (demo/zentrix: no property
// page, a companion window of another title) installed and uninstalled with the programs of
// its own kit ($SETUP_KIT, built from demo/zentrix/identity.ini): its names throughout, and
// none of the sample product's on the machine at any time. Then the same product in
// German, French and Japanese ($SETUP_LANGUAGE_KITS/<language>/<arch>): its pages and boxes
// in the language, and every text of its templates within its control; the Japanese one on
// a machine with code page 932 (a test entry of its own).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "resource.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/pixels.h"
#include "support/registry_util.h"
#include "support/ui.h"
#include "support/uninstall_run.h"
#include "support/vm_host.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

const std::string kCurrent = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kRun = kCurrent + "\\Run";
const std::string kDir = "C:\\ZENTRIX";

// What the sample product's identity would leave: every key, value, window and directory
// that names it, one line each.
std::string SampleNamesOnMachine() {
    std::string found;
    if (KeyExists(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Quillotrax"))
        found += "Uninstall\\Quillotrax\n";
    if (ReadText(HKEY_LOCAL_MACHINE, kRun, "Quillotrax") != "<absent>") found += "Run Quillotrax\n";
    if (KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}"))
        found += "CLSID\n";
    if (KeyExists(HKEY_LOCAL_MACHINE, kCurrent + "\\Controls Folder\\Mouse"))
        found += "Controls Folder\\Mouse\n";
    if (KeyExists(HKEY_LOCAL_MACHINE, "Enum\\Root\\QorvaMouse"))
        found += "Enum\\Root\\QorvaMouse\n";
    if (FindTopWindow(nullptr, "Quillotrax") != nullptr) found += "window Quillotrax\n";
    if (FileExists("C:\\QORVA")) found += "C:\\QORVA\n";
    return found;
}

TEST(Kit, TheSecondProductInstallsAndUninstallsUnderItsOwnNames) {
    ResetMachine();
    SeedOtherDevices();  // no mouse node: a serial mouse gets the own serial device key
    SetString(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Mouse", "", "Mouse");
    const std::string kit = EnvText("SETUP_KIT");
    std::string command = ShellQuote(EnvText("SETUP_ROOT") + "/demo/zentrix/make-package") + " " +
                          ShellQuote(EnvText("VM_PREFIX") + "/drive_c/ZXPKG") + " " +
                          ShellQuote(kit) + " >/dev/null 2>&1";
    ASSERT_EQ(0, RunHostCommand(command, 60000)) << command;

    // The pages show the kit's own artwork, not the sample product's banners and picture.
    HMODULE kitArt = LoadLibraryExA("C:\\ZXPKG\\SETUP.EXE", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE sampleArt =
        LoadLibraryExA(SetupExeUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (int id : {IDB_BANNER_TOP, IDB_BANNER_LOW, IDB_SIDE}) {
        PixelImage kit = BitmapResourcePixels(id, kitArt),
                   sample = BitmapResourcePixels(id, sampleArt);
        EXPECT_TRUE(!kit.pixels.empty() && kit.pixels != sample.pixels) << "bitmap " << id;
    }
    FreeLibrary(kitArt);
    FreeLibrary(sampleArt);

    // An earlier companion runs from the installation directory: its window (the kit's
    // title) is asked to close, and its file replaced.
    CreateDirectoryA(kDir.c_str(), nullptr);
    const std::string companionFile = kDir + "\\ZXMAIN.EXE";
    std::string packaged = ReadFileBytes("C:\\ZXPKG\\ZXMAIN.EXE");
    ASSERT_FALSE(packaged.empty());
    WriteFileBytes(companionFile, packaged + "an older build", false);
    RunningProgram companion = StartProgram(companionFile);
    ASSERT_NE(nullptr, WaitForTopWindow(nullptr, "Zentrix Pointer", companion.id, 30000));

    ASSERT_EQ("", InstallWith("C:\\ZXPKG\\SETUP.EXE", IDC_SERIAL));
    EXPECT_EQ(0u, WaitProgramEnd(companion, 30000)) << "the companion was not asked to close";
    StopProgram(companion);
    EXPECT_TRUE(ReadFileBytes(companionFile) == packaged)
        << "the companion's file was not replaced";
    EXPECT_EQ(kDir + "\\ZXMAIN.EXE -startup", ReadText(HKEY_LOCAL_MACHINE, kRun, "ZentrixPointer"));
    EXPECT_EQ("Zentrix Mouse Driver",
              ReadText(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Zentrix", "DisplayName"));
    EXPECT_EQ(kDir + "\\UNINSTAL.EXE",
              ReadText(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Zentrix", "UninstallString"));
    EXPECT_EQ("Zentrix Serial Mouse",
              ReadText(HKEY_LOCAL_MACHINE, "Enum\\Root\\ZentrixMouse\\0000", "DeviceDesc"));
    EXPECT_EQ("", SampleNamesOnMachine());

    std::vector<std::string> texts;
    EXPECT_EQ(0u, RunUninstaller(kDir + "\\UNINSTAL.EXE", IDYES, &texts));
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(0u, texts[0].find("Zentrix Mouse Uninstall: ")) << texts[0];
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Zentrix"));
    EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, kRun, "ZentrixPointer"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Enum\\Root\\ZentrixMouse"));
    EXPECT_FALSE(FileExists(kDir + "\\README.TXT"));
    EXPECT_TRUE(FileExists(companionFile));  // it stood there before setup: it stays
    EXPECT_EQ("", SampleNamesOnMachine());
}

// ---- the kit in the user's language ----

// A text written here in UTF-8, in the ANSI code page of this process (as the programs'
// windows give their texts to it).
std::string Ansi(const char* utf8) {
    wchar_t wide[512];
    char ansi[1024];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    if (n == 0 ||
        WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), nullptr, nullptr) == 0)
        return "<not in this code page>";
    return ansi;
}

// What a user of the language sees (UTF-8): texts of each page and of two boxes.
struct LanguageCase {
    const char* name;        // as the identity's Language names it
    const char* code;        // the folder of its screenshots below docs/lang
    const char* next;        // the welcome page's Next
    const char* caption;     // a page's caption after the product name
    const char* serial;      // the mouse page's serial mouse
    const char* browse;      // the destination page's Browse
    const char* restartNow;  // the finish page's first choice
    const char* notice;      // the cancel notice after the product name
    const char* boxCaption;  // a message box's caption after the product name
    const char* ask;         // the uninstaller's question after the product name
    const char* warning;     // the caption of the box before the script is read
};

const LanguageCase kGerman = {"German",
                              "de",
                              "&Weiter >",
                              " Setup",
                              "Serielle Maus",
                              "&Suchen...",
                              "Ja, den Computer jetzt neu starten.",
                              u8" wurde nicht vollständig installiert!",
                              " Setup-Programm",
                              " wird mit allen Dateien entfernt",
                              "Warnung"};
const LanguageCase kFrench = {"French",
                              "fr",
                              "&Suivant >",
                              " Installation",
                              u8"Souris série",
                              "&Choisir...",
                              u8"Oui, redémarrer l'ordinateur maintenant.",
                              u8" : l'installation n'est pas terminée !",
                              " - Installation",
                              u8" et ses fichiers vont être supprimés",
                              "Avertissement"};
const LanguageCase kJapanese = {"Japanese",
                                "ja",
                                u8"次へ(&N) >",
                                u8" セットアップ",
                                u8"ｼﾘｱﾙ ﾏｳｽ",
                                u8"参照(&R)",
                                u8"はい、今すぐ再起動します。",
                                u8" のインストールは完了していません。",
                                u8" セットアップ",
                                u8" とそのファイルを削除し",
                                u8"警告"};

std::string LanguageKit(const LanguageCase& language) {
    std::string name = language.name;
    for (char& c : name) c = static_cast<char>(tolower(c));
    return EnvText("SETUP_LANGUAGE_KITS") + "/" + name + "/" + EnvText("VM_ARCH");
}

// Saves a screenshot as docs/lang/<code>/<name>.png when SETUP_SHOTS_DIR names the docs.
void LanguageShot(const LanguageCase& language, HWND window, const std::string& name) {
    if (EnvText("SETUP_SHOTS_DIR").empty()) return;
    std::string dir = "lang/" + std::string(language.code);
    RunHostCommand("mkdir -p " + ShellQuote(EnvText("SETUP_SHOTS_DIR") + "/" + dir));
    SaveDocumentationShot(window, dir + "/" + name);
}

// The faces of Japanese Windows, which Wine finds among Debian's IPA fonts.
void MapJapaneseFaces() {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const wchar_t* const proportional[] = {L"\xff2d\xff33 \xff30\x30b4\x30b7\x30c3\x30af",
                                           L"MS PGothic", L"MS UI Gothic"};
    for (const wchar_t* face : proportional)
        RegSetValueExW(key, face, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"IPAPGothic"),
                       sizeof(L"IPAPGothic"));
    const wchar_t* const fixed[] = {L"\xff2d\xff33 \x30b4\x30b7\x30c3\x30af", L"MS Gothic"};
    for (const wchar_t* face : fixed)
        RegSetValueExW(key, face, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"IPAGothic"),
                       sizeof(L"IPAGothic"));
    RegCloseKey(key);
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The texts of the kit's page and browser templates that do not fit their controls, one line
// each, measured in the template's own font with the product name in place of %s: a line
// of a one-line text, every line of a text that wraps, a button's caption with its margins.
std::string TextsThatDoNotFit(const std::string& setupExe, const std::string& productName) {
    HMODULE kit = LoadLibraryExA(setupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (kit == nullptr) return "cannot load " + setupExe;
    for (const char* page :
         {"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR", "SETUP_INSTALL", "SETUP_END"}) {
        WNDCLASSA wc = {};
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = DefDlgProcA;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.lpszClassName = page;
        RegisterClassA(&wc);
    }
    std::string faults;
    for (int id : {IDD_BEGIN, IDD_SELMOUSE, IDD_SELDIR, IDD_INSTALL, IDD_END, IDD_BROWSE}) {
        HRSRC found = FindResourceA(kit, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
        DWORD size = found != nullptr ? SizeofResource(kit, found) : 0;
        if (size < 16) {
            faults += "no template " + std::to_string(id) + "\n";
            continue;
        }
        std::vector<BYTE> hidden(size);
        memcpy(hidden.data(), LockResource(LoadResource(kit, found)), size);
        DWORD style;
        memcpy(&style, hidden.data() + 12, 4);  // DLGTEMPLATEEX: style after version and ids
        style &= ~WS_VISIBLE;
        memcpy(hidden.data() + 12, &style, 4);
        HWND dialog = CreateDialogIndirectParamA(
            kit, reinterpret_cast<LPCDLGTEMPLATEA>(hidden.data()), nullptr, QuietDialog, 0);
        if (dialog == nullptr) {
            faults += "template " + std::to_string(id) + " makes no window\n";
            continue;
        }
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
        RECT dialogClient;
        GetClientRect(dialog, &dialogClient);
        const LONG dialogWidth = dialogClient.right;
        for (HWND item = GetWindow(dialog, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
            LONG itemStyle = GetWindowLongA(item, GWL_STYLE);
            char raw[256], cls[32];
            GetWindowTextA(item, raw, sizeof(raw));
            GetClassNameA(item, cls, sizeof(cls));
            bool isStatic = lstrcmpiA(cls, "Static") == 0;
            RECT place;
            GetWindowRect(item, &place);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
            if (!(itemStyle & WS_VISIBLE) || raw[0] == 0 || GetDlgCtrlID(item) == IDC_DESTDIR ||
                (isStatic && (itemStyle & SS_TYPEMASK) != SS_LEFT) || place.left >= dialogWidth)
                continue;  // hidden, filled in by the page, a picture, or off the visible part
            std::string text;
            for (const char* c = raw; *c; ++c) {
                if (c[0] == '%' && c[1] == 's') {
                    text += productName;
                    ++c;
                } else if (c[0] == '&') {
                    if (c[1] == '&') text += *++c;
                } else if (IsDBCSLeadByte(static_cast<BYTE>(*c)) && c[1] != 0) {
                    text += *c++;
                    text += *c;
                } else {
                    text += *c;
                }
            }
            RECT client;
            GetClientRect(item, &client);
            HDC dc = GetDC(item);
            HGDIOBJ old = SelectObject(dc, font);
            RECT need = {0, 0, client.right, 0};
            int margin = 0;
            if (isStatic) {
                DrawTextA(dc, text.c_str(), -1, &need,
                          DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
            } else {
                SIZE extent;
                GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
                need = {0, 0, extent.cx, extent.cy};
                LONG kind = itemStyle & BS_TYPEMASK;
                margin = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON ? 4 : 18;
            }
            SelectObject(dc, old);
            ReleaseDC(item, dc);
            if (need.right + margin > client.right || need.bottom > client.bottom)
                faults += "template " + std::to_string(id) + ", control " +
                          std::to_string(GetDlgCtrlID(item)) + ": \"" + text + "\" needs " +
                          std::to_string(need.right + margin) + " x " +
                          std::to_string(need.bottom) + " pixels, it has " +
                          std::to_string(client.right) + " x " + std::to_string(client.bottom) +
                          "\n";
        }
        DestroyWindow(dialog);
    }
    FreeLibrary(kit);
    return faults;
}

// The sample product's own pages: every English text within its control.
TEST(Kit, TheSampleTextsFitTheirControls) {
    EXPECT_EQ("", TextsThatDoNotFit(SetupExeUnderTest(), "Qorva Mouse"));
}

// Waits for the box of the program, checks its caption (unless empty) and a part of its
// text, saves its picture and answers it. Returns its text.
std::string AnswerBox_(int line, const LanguageCase& language, const RunningProgram& program,
                       const std::string& caption, const std::string& textPart,
                       const std::string& shot, int answer) {
    SCOPED_TRACE(::testing::Message() << "called from line " << line << ", box " << shot);
    HWND box = WaitForMessageBox(nullptr, program.id, 20000);
    EXPECT_NE(nullptr, box);
    if (box == nullptr) return "";
    std::string text = MessageBoxText(box);
    if (!caption.empty()) EXPECT_EQ(caption, WindowText(box));
    EXPECT_NE(std::string::npos, text.find(textPart)) << text;
    LanguageShot(language, box, shot);
    ClickItem(box, GetDlgItem(box, answer) != nullptr ? answer : IDOK);
    EXPECT_TRUE(WaitWindowGone(box, 10000));
    return text;
}
#define AnswerBox(...) AnswerBox_(__LINE__, __VA_ARGS__)

// The Zentrix kit of the language: its pages, its boxes and the uninstaller's in the
// language, every template text within its control.
void CheckLanguageKit(const LanguageCase& language) {
    ResetMachine();
    const std::string product = "Zentrix Mouse";
    const std::string kit = LanguageKit(language);
    const std::string pkg = "C:\\ZXLANG";
    ASSERT_EQ(0, RunHostCommand(ShellQuote(EnvText("SETUP_ROOT") + "/demo/zentrix/make-package") +
                                    " " + ShellQuote(EnvText("VM_PREFIX") + "/drive_c/ZXLANG") +
                                    " " + ShellQuote(kit) + " >/dev/null 2>&1",
                                60000));
    const std::string exe = pkg + "\\SETUP.EXE";
    EXPECT_EQ("", TextsThatDoNotFit(exe, product));
    const std::string boxCaption = product + Ansi(language.boxCaption);

    // The switches' list, and the cancel notice of the welcome page.
    RunningProgram help = StartProgram(exe, "/?");
    AnswerBox(language, help, Ansi(language.caption + 1), "SETUP [-u]", "message-switches", IDOK);
    WaitProgramEnd(help, 20000);
    StopProgram(help);
    // A platform outside Windows 95/98, a script that cannot be read, and the uninstaller
    // where nothing was installed: each box in the language.
    // (The user's key is opened anew: the predefined handle does not reach a process that
    // the Japanese case starts again.)
    HKEY user, key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenCurrentUser(KEY_ALL_ACCESS, &user));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(user, "Software\\Wine\\AppDefaults\\SETUP.EXE", 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("winxp"), 6);
    RegCloseKey(key);
    RunningProgram refused = StartProgram(exe);
    AnswerBox(language, refused, Ansi(language.warning), "95/98", "message-wrong-platform", IDOK);
    EXPECT_EQ(0u, WaitProgramEnd(refused, 20000));
    StopProgram(refused);
    RegDeleteKeyA(user, "Software\\Wine\\AppDefaults\\SETUP.EXE");
    RegCloseKey(user);
    // A package directory so long that its SETUP.INF's path passes 79 characters.
    const std::string deep = "C:\\" + std::string(72, 'D');
    CreateDirectoryA(deep.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(exe.c_str(), (deep + "\\SETUP.EXE").c_str(), FALSE));
    RunningProgram unread = StartProgram(deep + "\\SETUP.EXE");
    AnswerBox(language, unread, "", "SETUP.INF", "message-read-error", IDOK);
    WaitProgramEnd(unread, 20000);
    StopProgram(unread);
    const std::string script = ReadFileBytes(pkg + "\\SETUP.INF");
    RunningProgram nothing = StartProgram(pkg + "\\UNINSTAL.EXE");
    AnswerBox(language, nothing, "", "", "uninstall-nothing-installed", IDOK);
    EXPECT_EQ(2u, WaitProgramEnd(nothing, 20000));
    StopProgram(nothing);

    // Too little free space for the script's MinimumSpace, then Cancel: the notice.
    std::string greedy = script;
    greedy.replace(greedy.find("MinimumSpace=2048"), 17, "MinimumSpace=2000000000");
    WriteFileBytes(pkg + "\\SETUP.INF", greedy);
    RunningProgram setup = StartProgram(exe);
    HWND page = WaitForPage("SETUP_BEGIN", 20000);
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(Ansi(language.next), ItemText(page, IDC_NEXT));
    EXPECT_EQ(product + Ansi(language.caption), WindowText(page));
    page = WalkTo("SETUP_SELDIR");
    ASSERT_NE(nullptr, page);
    ClickItem(page, IDC_NEXT);
    AnswerBox(language, setup, boxCaption, "", "message-no-space", IDOK);
    ClickItem(page, IDC_CANCEL);
    AnswerBox(language, setup, boxCaption, product + Ansi(language.notice), "message-cancel", IDOK);
    EXPECT_EQ(0u, WaitProgramEnd(setup, 20000));
    StopProgram(setup);
    WriteFileBytes(pkg + "\\SETUP.INF", script);

    // The pages, a destination refused and a file that cannot be copied (README.TXT is
    // taken out of the package): each box in the language.
    DeleteFileA((pkg + "\\README.TXT").c_str());
    setup = StartProgram(exe);
    page = WalkTo("SETUP_SELDIR", IDC_SERIAL, 20000, [&](HWND shown) {
        std::string cls = ClassOf(shown);
        if (cls == "SETUP_BEGIN") LanguageShot(language, shown, "page-welcome");
        if (cls == "SETUP_SELMOUSE") {
            EXPECT_EQ(Ansi(language.serial), ItemText(shown, IDC_SERIAL));
            LanguageShot(language, shown, "page-mouse");
        }
    });
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(Ansi(language.browse), ItemText(page, IDC_BROWSE));
    LanguageShot(language, page, "page-destination");
    ClickItem(page, IDC_BROWSE);
    HWND browser = WaitForMessageBox(page);
    ASSERT_NE(nullptr, browser);
    WaitUntil([&] { return !ItemText(browser, IDC_BROWSE_PATH).empty(); });
    LanguageShot(language, browser, "browser");
    SendMessageTimeoutA(GetDlgItem(browser, IDC_BROWSE_PATH), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(""), SMTO_ABORTIFHUNG, 2000, nullptr);
    ClickItem(browser, IDOK);
    ASSERT_TRUE(WaitWindowGone(browser));
    ClickItem(page, IDC_NEXT);
    AnswerBox(language, setup, boxCaption, "", "message-cannot-create", IDOK);
    ClickItem(page, IDC_BROWSE);
    browser = WaitForMessageBox(page);
    ASSERT_NE(nullptr, browser);
    SendMessageTimeoutA(GetDlgItem(browser, IDC_BROWSE_PATH), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>("C:\\ZENTRIX"), SMTO_ABORTIFHUNG, 2000, nullptr);
    ClickItem(browser, IDOK);
    ASSERT_TRUE(WaitWindowGone(browser));
    ASSERT_TRUE(WaitUntil([&] { return ItemText(page, IDC_DESTDIR) == "C:\\ZENTRIX"; }));
    ClickItem(page, IDC_NEXT);
    HWND copying = WaitForPage("SETUP_INSTALL", 20000);
    ASSERT_NE(nullptr, copying);
    std::string failure =
        AnswerBox(language, setup, boxCaption, "README.TXT", "message-copy-failure", IDIGNORE);
    LanguageShot(language, copying, "page-install");
    HWND finish = WaitForPage("SETUP_END", 60000);
    ASSERT_NE(nullptr, finish);
    EXPECT_EQ(Ansi(language.restartNow), ItemText(finish, IDC_RESTART_NOW));
    LanguageShot(language, finish, "page-finish");
    ChooseItem(finish, IDC_RESTART_LATER);
    ClickItem(finish, IDC_NEXT);
    EXPECT_EQ(0u, WaitProgramEnd(setup, 30000));
    StopProgram(setup);

    // The uninstaller asks in the language; its further boxes (shared files, the restart)
    // are answered No.
    RunningProgram uninstall = StartProgram("C:\\ZENTRIX\\UNINSTAL.EXE");
    AnswerBox(language, uninstall, "", product + Ansi(language.ask), "uninstall-ask", IDYES);
    for (int n = 1; n < 8; ++n) {
        HWND box = nullptr;
        WaitUntil(
            [&] {
                box = FindTopWindow("#32770", nullptr, uninstall.id);
                return box != nullptr || WaitProgramEnd(uninstall, 0) != STILL_ACTIVE;
            },
            30000);
        if (box == nullptr) break;
        LanguageShot(language, box, "uninstall-" + std::to_string(n));
        ClickItem(box, GetDlgItem(box, IDNO) != nullptr ? IDNO : IDOK);
        WaitWindowGone(box, 10000);
    }
    EXPECT_EQ(0u, WaitProgramEnd(uninstall, 30000));
    StopProgram(uninstall);
}

// Each language's case runs in a test entry of its own, on a machine of that language
// (SETUP_KIT_LANGUAGE names it): Wine's own buttons in its boxes speak it too.
bool OnMachineOf(const LanguageCase& language) {
    return EnvText("SETUP_KIT_LANGUAGE") == language.name;
}

TEST(KitLanguage, GermanPagesAndBoxes) {
    if (!OnMachineOf(kGerman)) GTEST_SKIP() << "not a German machine";
    CheckLanguageKit(kGerman);
}

TEST(KitLanguage, FrenchPagesAndBoxes) {
    if (!OnMachineOf(kFrench)) GTEST_SKIP() << "not a French machine";
    CheckLanguageKit(kFrench);
}

// On a machine whose ANSI code page is 932.
TEST(KitLanguage, JapanesePagesAndBoxes) {
    if (!OnMachineOf(kJapanese)) GTEST_SKIP() << "not a Japanese machine";
    ASSERT_EQ(932u, GetACP());
    if (EnvText("KIT_JAPANESE_FACES").empty()) {
        // Wine reads the font replacements when a process starts: map the faces, then run
        // this case again in a process that measures with them.
        ASSERT_NO_FATAL_FAILURE(MapJapaneseFaces());
        SetEnvironmentVariableA("KIT_JAPANESE_FACES", "1");
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, sizeof(self));
        RunningProgram again =
            StartProgram(self, "--gtest_filter=KitLanguage.JapanesePagesAndBoxes");
        EXPECT_EQ(0u, WaitProgramEnd(again, 300000)) << "the case failed in its own process";
        StopProgram(again);
        return;
    }
    CheckLanguageKit(kJapanese);
}

}  // namespace
