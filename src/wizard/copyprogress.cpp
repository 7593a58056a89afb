#include <windows.h>

#include "wizard/copyprogress.h"

#include "install/copyengine.h"
#include "install/installlog.h"
#include "install/progress.h"
#include "presentation/gauge.h"
#include "presentation/pumpwait.h"
#include "registry/product.h"
#include "resource.h"
#include "runtime/text.h"
#include "install/journalnotice.h"
#include "texts/textring.h"
#include "wizard/copyfailure.h"
#include "wizard/pages.h"

// What the copy of the page under way works with: looked up once, dropped at its end.
struct PageRun {
    HWND page;
    HDC dc;
    HWND status;
    HWND percent;
    int16_t shownPercent;   // the percentage text shown; -1 before the first entry
    int16_t filledPercent;  // the gauge fill drawn on the current disk; -1 for an empty gauge
    int gaugeCovered;       // the page was painted since: the fill must be drawn again
};

// The run under way, for the page's paint to reach; null between runs.
static PageRun* ActiveRun;

enum {
    kStatusWidth = 128,
    kGaugeBlue = 0x00FF0000,  // 0x00BBGGRR: pure blue
};

// Sets a control's text and paints it at once.
static void SetControlText(HWND control, const char* text) {
    SetWindowTextA(control, text);
    UpdateWindow(control);
}

// A new disk: the page painted, and an empty gauge frame.
static void OnDiskBegins(void* context, int) {
    PageRun* run = static_cast<PageRun*>(context);
    UpdateWindow(run->page);
    DrawGaugeFrame(run->page, run->dc, IDC_GAUGE, WHITE_BRUSH);
    run->filledPercent = -1;  // the new frame is empty
}

// "Copying " + file name, an empty line, the description.
static void OnShowEntry(void* context, const FileEntry* e) {
    PageRun* run = static_cast<PageRun*>(context);
    char text[kStatusWidth];
    TextCopy(text, kStatusWidth, LoadTextOrEmpty(IDS_COPYING));
    TextAppend(text, kStatusWidth, e->SourceFile);
    TextAppend(text, kStatusWidth, "\n\n");
    TextAppend(text, kStatusWidth, e->Description);
    SetControlText(run->status, text);
}

// Percentage text of the current disk. The control keeps its text, so an unchanged value
// is not set again: on a disk of many entries most entries leave it as it is, and setting
// and repainting a control is what costs most per entry under Wine.
static void ShowPercentage(PageRun* run, int16_t percent) {
    if (percent == run->shownPercent) return;
    run->shownPercent = percent;
    char text[16];
    wsprintfA(text, "%d%%", static_cast<int>(percent));
    SetControlText(run->percent, text);
}

// Blue fill of the gauge up to percent; each fill covers the previous one. A fill that
// would put the same blue on the same pixels is left out (under Wine every drawing costs a
// flush of the page to the X server), unless the page was painted over since.
static void FillGauge(PageRun* run, int16_t percent) {
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

static void OnShowProgress(void* context, int16_t percent) {
    PageRun* run = static_cast<PageRun*>(context);
    ShowPercentage(run, percent);
    FillGauge(run, percent);
}

// Handles at most one message of the page or its controls. The Cancel button's command is
// taken out of the queue, not dispatched, and stops the copy; so does a close or Cancel
// that the page's procedure took meanwhile (PageResult 0).
static int OnCancelAsked(void* context) {
    PageRun* run = static_cast<PageRun*>(context);
    MSG m;
    if (PeekMessageA(&m, run->page, 0, 0, PM_REMOVE)) {
        if (m.message == WM_COMMAND && m.wParam == IDC_STOP_COPYING) {
            Shared::PageResult = 0;
        } else {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    return Shared::PageResult == 0;
}

// A failed entry: Abort, Retry or Ignore. While the box is up nothing else of the page
// runs; the gauge and the percentage stay as they were.
static CopyAnswer OnEntryFailed(void* context, const CopyFailureReport* failure) {
    return AskAboutFailedEntry(static_cast<PageRun*>(context)->page, failure);
}

static void OnRegistrationBegins(void* context) {
    PageRun* run = static_cast<PageRun*>(context);
    SetControlText(run->status, LoadTextOrEmpty(IDS_UPDATING_REGISTRY));
    WaitPumping(1000);
}

void CopyFiles(HWND page) {
    PageRun run = {
        page, GetDC(page), GetDlgItem(page, IDC_STATUS), GetDlgItem(page, IDC_PERCENT), -1, -1, 0};
    CopyCaller caller = {};
    caller.Context = &run;
    caller.DiskBegins = OnDiskBegins;
    caller.ShowEntry = OnShowEntry;
    caller.ShowProgress = OnShowProgress;
    caller.CancelAsked = OnCancelAsked;
    caller.EntryFailed = OnEntryFailed;
    caller.RegistrationBegins = OnRegistrationBegins;
    ActiveRun = &run;
    // A copy that stopped was put back, and nothing was registered.
    if (!CopyAndRegister(&caller, Shared::RunLog))
        Shared::PageResult = 0;
    else if (!Shared::DriverSwitched)
        ReportJournalLost(page, Shared::InstallDir);
    ActiveRun = nullptr;
    ReleaseDC(page, run.dc);
}

void GaugeCoveredByPaint() {
    if (ActiveRun != nullptr) ActiveRun->gaugeCovered = 1;
}
