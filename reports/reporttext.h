/* What the two reports share: building a report text line by line, and the report dialog. */
#ifndef VELMORA_REPORTTEXT_H
#define VELMORA_REPORTTEXT_H

#include "velmora.h"

/* A report text being built: lines go in whole until one does not fit, then it is full. */
typedef struct {
    WCHAR *text;
    int capacity;
    int length;
    BOOL full;
} REPORTTEXT;
/* A line of up to four numbers and the format that prints them. */
typedef struct {
    const WCHAR *format;
    int values[4];
} NUMBERLINE;
void startReportText(REPORTTEXT *report, WCHAR *text, int capacity);
void appendReportLine(REPORTTEXT *report, const WCHAR *label, const WCHAR *value, const WCHAR *end);
void appendNumberLines(REPORTTEXT *report, const NUMBERLINE *lines, int count);
INT_PTR CALLBACK reportDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
