/* The report dialog, the text building both reports share, and the physical-font report. */
#include "reporttext.h"

#include <string.h>

/* wsprintfW writes at most 1024 characters. A formatted line holds at most four numbers,
   far below that; texts of any length (the names) are copied, never formatted. */
enum { LINE_CAPACITY = 1024 };

void startReportText(REPORTTEXT *report, WCHAR *text, int capacity)
{
    report->text = text;
    report->capacity = capacity;
    report->length = 0;
    report->full = capacity < 1;
    if (capacity > 0)
        text[0] = 0;
}

/* A line goes in whole or not at all. The first one that would not fit before the
   terminating NUL ends the text: it and every later line are left out. */
void appendReportLine(REPORTTEXT *report, const WCHAR *label, const WCHAR *value, const WCHAR *end)
{
    const WCHAR *pieces[3];
    size_t lengths[3], total = 0;
    int i;
    pieces[0] = label;
    pieces[1] = value;
    pieces[2] = end;
    for (i = 0; i < 3; i++)
        total += lengths[i] = wcslen(pieces[i]);
    if (report->full || total >= (size_t)(report->capacity - report->length)) {
        report->full = TRUE;
        return;
    }
    for (i = 0; i < 3; i++) {
        memcpy(report->text + report->length, pieces[i], lengths[i] * sizeof(WCHAR));
        report->length += (int)lengths[i];
    }
    report->text[report->length] = 0;
}

/* Each format takes as many of the four values as it names; the others are ignored. */
void appendNumberLines(REPORTTEXT *report, const NUMBERLINE *lines, int count)
{
    WCHAR line[LINE_CAPACITY];
    int i;
    for (i = 0; i < count; i++) {
        const int *v = lines[i].values;
        wsprintfW(line, lines[i].format, v[0], v[1], v[2], v[3]);
        appendReportLine(report, line, L"", L"");
    }
}

/* Fields narrower than 32 bits widen without sign; the text ends with the face, no line end. */
void buildPhysicalFontReport(const TEXTMETRICW *metrics, const WCHAR *face, WCHAR *text, int capacity)
{
    const NUMBERLINE lines[] = {
        { L"Height\t\t= %d\r\n",           { metrics->tmHeight } },
        { L"Ascent\t\t= %d\r\n",           { metrics->tmAscent } },
        { L"Descent\t\t= %d\r\n",          { metrics->tmDescent } },
        { L"InternalLeading\t= %d\r\n",    { metrics->tmInternalLeading } },
        { L"ExternalLeading\t= %d\r\n",    { metrics->tmExternalLeading } },
        { L"AveCharWidth\t= %d\r\n",       { metrics->tmAveCharWidth } },
        { L"MaxCharWidth\t= %d\r\n",       { metrics->tmMaxCharWidth } },
        { L"Weight\t\t= %d\r\n",           { metrics->tmWeight } },
        { L"Overhang\t\t= %d\r\n",         { metrics->tmOverhang } },
        { L"DigitizedAspectX\t= %d\r\n",   { metrics->tmDigitizedAspectX } },
        { L"DigitizedAspectY\t= %d\r\n",   { metrics->tmDigitizedAspectY } },
        { L"FirstChar\t\t= %d\r\n",        { metrics->tmFirstChar } },
        { L"LastChar\t\t= %d\r\n",         { metrics->tmLastChar } },
        { L"DefaultChar\t= %d\r\n",        { metrics->tmDefaultChar } },
        { L"BreakChar\t= %d\r\n",          { metrics->tmBreakChar } },
        { L"Italic\t\t= %d\r\n",           { metrics->tmItalic } },
        { L"Underlined\t= %d\r\n",         { metrics->tmUnderlined } },
        { L"StruckOut\t\t= %d\r\n",        { metrics->tmStruckOut } },
        { L"Pitch\t\t= %d\r\n",            { metrics->tmPitchAndFamily & 3 } },
        { L"Family\t\t= %d\r\n",           { metrics->tmPitchAndFamily & 0xF0 } },
        { L"CharSet\t\t= %d\r\n",          { metrics->tmCharSet } }
    };
    REPORTTEXT report;
    startReportText(&report, text, capacity);
    appendNumberLines(&report, lines, sizeof lines / sizeof lines[0]);
    appendReportLine(&report, L"FaceName\t= ", face, L"");
}

/* ---- The report dialog: one read-only edit box filling the client area ---- */

static INT_PTR initReportDialog(HWND dialog, LPARAM text)
{
    initDialogFullScreen(dialog);
    SetDlgItemTextW(dialog, IDC_REPORTTEXT, (const WCHAR *)text);
    FontViewState.reportJustOpened = 1;
    return TRUE;
}

/* Only the first resize after opening drops the selection that focusing the box made;
   later ones keep what the user has selected. */
static INT_PTR sizeReportDialog(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IDC_REPORTTEXT), client.left, client.top, client.right - client.left,
               client.bottom - client.top, TRUE);
    if (FontViewState.reportJustOpened) {
        SendDlgItemMessageW(dialog, IDC_REPORTTEXT, EM_SETSEL, (WPARAM)-1, 0);
        FontViewState.reportJustOpened = 0;
    }
    return FALSE;
}

static INT_PTR reportCommand(HWND dialog, WPARAM wParam)
{
    WORD id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL)
        return FALSE;
    EndDialog(dialog, id);
    return TRUE;
}

INT_PTR CALLBACK reportDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return initReportDialog(dialog, lParam);
    case WM_SIZE:       return sizeReportDialog(dialog);
    case WM_COMMAND:    return reportCommand(dialog, wParam);
    }
    return FALSE;
}

void showPhysicalFontReport(void)
{
    WCHAR text[PHYSICAL_REPORT_CAPACITY];
    buildPhysicalFontReport(&FontViewState.textMetrics, FontViewState.textFace, text, PHYSICAL_REPORT_CAPACITY);
    runDialog(IDD_REPORT, reportDialogProc, (LPARAM)text);
}
