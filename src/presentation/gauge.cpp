#include <windows.h>

#include "presentation/gauge.h"

enum { kShadowGrey = 0x00808080 };

int ControlRectInParent(HWND parent, int controlId, RECT* r) {
    HWND control = GetDlgItem(parent, static_cast<WORD>(controlId));
    if (control == nullptr) {
        SetRectEmpty(r);
        return 0;
    }
    POINT parentOrigin = {0, 0};
    ClientToScreen(parent, &parentOrigin);
    GetClientRect(control, r);
    POINT controlOrigin = {0, 0};
    ClientToScreen(control, &controlOrigin);
    OffsetRect(r, controlOrigin.x - parentOrigin.x, controlOrigin.y - parentOrigin.y);
    return 1;
}

void DrawGaugeFrame(HWND parent, HDC dc, int controlId, int brushNumber) {
    RECT r;
    if (!ControlRectInParent(parent, controlId, &r)) return;

    // White outline around the interior.
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(static_cast<WORD>(brushNumber)));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);

    // Grey outline one pixel up and left of it, inside left untouched.
    OffsetRect(&r, -1, -1);
    HPEN grey = CreatePen(PS_SOLID, 1, kShadowGrey);
    SelectObject(dc, grey);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(grey);
}
