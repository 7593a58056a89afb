#include <windows.h>

#include "install/copyengine.h"

#include "install/entrypaths.h"
#include "install/keepjournal.h"
#include "install/progress.h"
#include "install/samefile.h"
#include "install/wholecopy.h"
#include "presentation/gauge.h"
#include "presentation/pumpwait.h"
#include "registry/product.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/identity.h"
#include "script/model.h"
#include "texts/journalnotice.h"
#include "texts/textring.h"
#include "wizard/pages.h"

// What the copy of the page under way works with: looked up once, dropped at its end.
struct CopyRun {
    HWND page;
    HDC dc;
    HWND status;
    HWND percent;
    INT source;             // LZ handle of the source being copied; -1 when none is open
    int16_t shownPercent;   // the percentage text shown; -1 before the first entry
    int16_t filledPercent;  // the gauge fill drawn on the current disk; -1 for an empty gauge
    int gaugeCovered;       // the page was painted since: the fill must be drawn again
    OwnFileGuard ownFiles;  // which pairs of directories are one
};

// The run under way, for the page's paint to reach; null between runs.
static CopyRun* ActiveRun;


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
static void FillGauge(CopyRun* run, int16_t percent) {
    if (percent == run->filledPercent && !run->gaugeCovered) return;
    run->filledPercent = percent;
    run->gaugeCovered = 0;
    RECT r;
    if (!ControlRectInParent(run->page, IDC_GAUGE, &r)) return;
    GaugeBox control = {r.left, r.top, r.right, r.bottom};
    GaugeBox fill = GaugeFillBox(control, percent);
    RECT f = {fill.left, fill.top, fill.right, fill.bottom};
    HBRUSH blue = CreateSolidBrush(kGaugeBlue);
    FillRect(run->dc, &f, blue);
    DeleteObject(blue);
}

// What PumpOnce reports.
enum PumpReport {
    PumpTookCancel = 0,  // it took the Cancel button's command out of the queue
    PumpGoOn = 1,        // it handled a message of the page, or found none
};

// Handles at most one message of the page or its controls; the Cancel button's command
// is taken out of the queue, not dispatched.
static PumpReport PumpOnce(HWND page) {
    MSG m;
    if (!PeekMessageA(&m, page, 0, 0, PM_REMOVE)) return PumpGoOn;
    if (m.message == WM_COMMAND && m.wParam == IDC_STOP_COPYING) return PumpTookCancel;
    TranslateMessage(&m);
    DispatchMessageA(&m);
    return PumpGoOn;
}

// Opens the source (an empty path fails as if the platform had refused it), then PumpOnce.
static PumpReport OpenSource(CopyRun* run, const char* path) {
    OFSTRUCT scratch;
    run->source = path[0] != 0 ? LZOpenFileA(const_cast<LPSTR>(path), &scratch, OF_READ) : -1;
    return PumpOnce(run->page);
}

// With an open source: copies it whole to the destination or not at all, and closes it.
// Without one nothing is created or emptied. Then PumpOnce.
static PumpReport CopyToDest(CopyRun* run, const char* path) {
    if (run->source >= 0) {
        CopyWhole(run->source, path);
        LZClose(run->source);
        run->source = -1;
    }
    return PumpOnce(run->page);
}

// One entry: status, open, progress, copy. A cancel met on the way lets the entry finish.
static void CopyEntry(CopyRun* run, int disk, int index) {
    const FileEntry& e = Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + index];
    ShowEntryStatus(run->status, e);

    char source[kDirWidth];
    MakeSourcePath(source, disk, index);
    int goOn = OpenSource(run, source) == PumpGoOn;

    int16_t percent = DiskPercentage(index, Shared::DiskSet.Disk[disk].FileCount);
    ShowPercentage(run->percent, percent, &run->shownPercent);
    FillGauge(run, percent);

    char path[kDirWidth];
    MakeDestPath(path, disk, index);
    // Installed into the package's own directory, a file can be its own destination:
    // creating the destination would empty the source. The file is in place already. The
    // directory may be named otherwise than the package's ("..", an 8.3 alias): the file
    // system decides.
    if (run->source >= 0 && path[0] != 0 && IsOwnDestination(&run->ownFiles, source, path)) {
        LZClose(run->source);
        run->source = -1;
    }
    char* journal = SaveJournal(e, path);  // a script copied over the journal keeps it
    if (CopyToDest(run, path) == PumpTookCancel) goOn = 0;
    RestoreJournal(journal);
    if (!goOn) Shared::PageResult = 0;
}

void CopyFiles(HWND page) {
    static CopyRun run;  // a few kilobytes: kept off the stack
    ZeroBytes(&run, sizeof(run));
    run.page = page;
    run.dc = GetDC(page);
    run.status = GetDlgItem(page, IDC_STATUS);
    run.percent = GetDlgItem(page, IDC_PERCENT);
    run.source = -1;
    run.shownPercent = -1;
    run.filledPercent = -1;
    ActiveRun = &run;
    for (int d = 0; d < Shared::DiskSet.DiskCount && d < kMaxDisks && Shared::PageResult != 0; ++d) {
        UpdateWindow(page);
        DrawGaugeFrame(page, run.dc, IDC_GAUGE, WHITE_BRUSH);
        run.filledPercent = -1;  // the new frame is empty
        for (int i = 0; i < Shared::DiskSet.Disk[d].FileCount && Shared::PageResult != 0; ++i)
            CopyEntry(&run, d, i);
    }
    SetControlText(run.status, UPDATING_REGISTRY_TEXT);
    WaitPumping(1000);
    if (!RegisterProduct(1)) ShowJournalLost(page);
    ActiveRun = nullptr;
    ReleaseDC(page, run.dc);
}

void GaugeCoveredByPaint() {
    if (ActiveRun != nullptr) ActiveRun->gaugeCovered = 1;
}
