#include <windows.h>

#include "install/copyengine.h"

#include "install/entrypaths.h"
#include "install/keepjournal.h"
#include "install/progress.h"
#include "install/samefile.h"
#include "presentation/gauge.h"
#include "registry/product.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/identity.h"
#include "script/model.h"
#include "script/textring.h"
#include "wizard/pages.h"

INT SourceHandle = -1;
int GaugePainted;

enum {
    kStatusWidth = 128,
    kGaugeBlue = 0x00FF0000,  // 0x00BBGGRR: pure blue
};

void MakeSubDirectories() {
    char path[kDirWidth];
    for (int key = DirKeySub1; key <= DirKeySub6; ++key)
        if (MakeSubDirPath(path, key)) CreateDirectoryA(path, nullptr);
}

// Sets a control's text and paints it at once.
static void SetControlText(HWND control, const char* text) {
    SetWindowTextA(control, text);
    UpdateWindow(control);
}

// The page's status and percentage texts, looked up once per copy run.
struct ProgressControls {
    HWND status;
    HWND percent;
    int16_t shownPercent;   // the percentage text shown; -1 before the first entry
    int16_t filledPercent;  // the gauge fill drawn on the current disk; -1 for an empty gauge
};

// "Copying " + file name, an empty line, the description.
static void ShowEntryStatus(HWND status, const FileEntry& e) {
    char text[kStatusWidth];
    const char* copying = LoadText(IDS_COPYING);
    TextCopy(text, kStatusWidth, copying != nullptr ? copying : "");
    TextAppend(text, kStatusWidth, e.SourceFile);
    TextAppend(text, kStatusWidth, "\n\n");
    TextAppend(text, kStatusWidth, e.Description);
    SetControlText(status, text);
}

// Percentage text of the current disk. The control keeps its text, so an unchanged value
// is not set again: on a disk of many entries most entries leave it as it is, and setting
// and repainting a control is what costs most per entry under Wine.
static void ShowPercentage(HWND control, int16_t percent, int16_t* shown) {
    if (percent == *shown) return;
    *shown = percent;
    char text[16];
    wsprintfA(text, "%d%%", static_cast<int>(percent));
    SetControlText(control, text);
}

// Blue fill of the gauge up to percent; each fill covers the previous one. A fill that
// would put the same blue on the same pixels is left out (under Wine every drawing costs a
// flush of the page to the X server), unless the page was painted over since.
static void FillGauge(HWND page, HDC dc, int16_t percent, int16_t* filled) {
    if (percent == *filled && !GaugePainted) return;
    *filled = percent;
    GaugePainted = 0;
    RECT r;
    if (!ControlRectInParent(page, IDC_GAUGE, &r)) return;
    GaugeBox control = {r.left, r.top, r.right, r.bottom};
    GaugeBox fill = GaugeFillBox(control, percent);
    RECT f = {fill.left, fill.top, fill.right, fill.bottom};
    HBRUSH blue = CreateSolidBrush(kGaugeBlue);
    FillRect(dc, &f, blue);
    DeleteObject(blue);
}

// One entry: status, open, progress, copy. A cancel met on the way lets the entry finish.
static void CopyEntry(HWND page, HDC dc, ProgressControls* c, int disk, int index) {
    const FileEntry& e = FileTable[DiskSet.Disk[disk].FirstEntry + index];
    ShowEntryStatus(c->status, e);

    char source[kDirWidth];
    MakeSourcePath(source, disk, index);
    int goOn = OpenSource(page, source);

    int16_t percent = DiskPercentage(index, DiskSet.Disk[disk].FileCount);
    ShowPercentage(c->percent, percent, &c->shownPercent);
    FillGauge(page, dc, percent, &c->filledPercent);

    char path[kDirWidth];
    MakeDestPath(path, disk, index);
    // Installed into the package's own directory, a file can be its own destination:
    // creating the destination would empty the source. The file is in place already. The
    // directory may be named otherwise than the package's ("..", an 8.3 alias): the file
    // system decides.
    if (SourceHandle >= 0 && path[0] != 0 && SameExistingFile(source, path)) {
        LZClose(SourceHandle);
        SourceHandle = -1;
    }
    char* journal = SaveJournal(e, path);  // a script copied over the journal keeps it
    if (!CopyToDest(page, path)) goOn = 0;
    RestoreJournal(journal);
    if (!goOn) PageResult = 0;
}

void CopyFiles(HWND page) {
    HDC dc = GetDC(page);
    ProgressControls c = {GetDlgItem(page, IDC_STATUS), GetDlgItem(page, IDC_PERCENT), -1, -1};
    for (int d = 0; d < DiskSet.DiskCount && d < kMaxDisks && PageResult != 0; ++d) {
        UpdateWindow(page);
        DrawGaugeFrame(page, dc, IDC_GAUGE, WHITE_BRUSH);
        c.filledPercent = -1;  // the new frame is empty
        for (int i = 0; i < DiskSet.Disk[d].FileCount && PageResult != 0; ++i)
            CopyEntry(page, dc, &c, d, i);
    }
    SetControlText(c.status, UPDATING_REGISTRY_TEXT);
    WaitPumping(1000);
    RegisterProduct(1);
    ReleaseDC(page, dc);
}

int OpenSource(HWND page, const char* path) {
    OFSTRUCT scratch;
    SourceHandle = path[0] != 0 ? LZOpenFileA(const_cast<LPSTR>(path), &scratch, OF_READ) : -1;
    return PumpOnce(page);
}

int CopyToDest(HWND page, const char* path) {
    if (SourceHandle >= 0) {
        OFSTRUCT scratch;
        INT dest = path[0] != 0 ? LZOpenFileA(const_cast<LPSTR>(path), &scratch, OF_CREATE) : -1;
        if (dest >= 0) LZCopy(SourceHandle, dest);
        LZClose(SourceHandle);
        if (dest >= 0) LZClose(dest);
        SourceHandle = -1;
    }
    return PumpOnce(page);
}

int PumpOnce(HWND page) {
    MSG m;
    if (!PeekMessageA(&m, page, 0, 0, PM_REMOVE)) return 1;
    if (m.message == WM_COMMAND && m.wParam == IDC_NEXT) return 0;
    TranslateMessage(&m);
    DispatchMessageA(&m);
    return 1;
}
