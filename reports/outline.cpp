/* The outline-font report: the outline metrics, the four names and the PANOSE numbers. */
#include "reporttext.h"

/* Every 32-bit field prints signed, also those the platform declares unsigned. */
static void appendOutlineFigures(REPORTTEXT *report, const OUTLINETEXTMETRICW *m)
{
    const NUMBERLINE lines[] = {
        { L"otmFiller\t\t\t= %d\r\n",               { m->otmFiller } },
        { L"otmfsSelection\t\t= %d\r\n",            { (int)m->otmfsSelection } },
        { L"otmfsType\t\t= %d\r\n",                 { (int)m->otmfsType } },
        { L"otmsCharSlopeRise\t\t= %d\r\n",         { m->otmsCharSlopeRise } },
        { L"otmsCharSlopeRun\t\t= %d\r\n",          { m->otmsCharSlopeRun } },
        { L"otmItalicAngle\t\t= %d\r\n",            { m->otmItalicAngle } },
        { L"otmEMSquare\t\t= %d\r\n",               { (int)m->otmEMSquare } },
        { L"otmAscent\t\t= %d\r\n",                 { m->otmAscent } },
        { L"otmDescent\t\t= %d\r\n",                { m->otmDescent } },
        { L"otmLineGap\t\t= %d\r\n",                { (int)m->otmLineGap } },
        { L"otmsCapEmHeight\t\t= %d\r\n",           { (int)m->otmsCapEmHeight } },
        { L"otmsXHeight\t\t= %d\r\n",               { (int)m->otmsXHeight } },
        /* In the order its label names, not the rectangle's. */
        { L"otmrcFontBox\t\t= %d,%d,%d,%d (Left,Right,Top,Bottom)\r\n",
          { m->otmrcFontBox.left, m->otmrcFontBox.right, m->otmrcFontBox.top, m->otmrcFontBox.bottom } },
        { L"otmMacAscent\t\t= %d\r\n",              { m->otmMacAscent } },
        { L"otmMacDescent\t\t= %d\r\n",             { m->otmMacDescent } },
        { L"otmMacLineGap\t\t= %d\r\n",             { (int)m->otmMacLineGap } },
        { L"otmusMinimumPPEM\t\t= %d\r\n",          { (int)m->otmusMinimumPPEM } },
        { L"otmptSubscriptSize\t\t= %d,%d (x,y)\r\n",  { m->otmptSubscriptSize.x, m->otmptSubscriptSize.y } },
        { L"otmptSubscriptOffset\t= %d,%d (x,y)\r\n",  { m->otmptSubscriptOffset.x, m->otmptSubscriptOffset.y } },
        { L"otmptSuperscriptSize\t= %d,%d (x,y)\r\n",  { m->otmptSuperscriptSize.x, m->otmptSuperscriptSize.y } },
        { L"otmptSuperscriptOffset\t= %d,%d (x,y)\r\n", { m->otmptSuperscriptOffset.x, m->otmptSuperscriptOffset.y } },
        { L"otmsStrikeoutSize\t\t= %d\r\n",         { (int)m->otmsStrikeoutSize } },
        { L"otmsStrikeoutPosition\t= %d\r\n",       { m->otmsStrikeoutPosition } },
        { L"otmsUnderscoreSize\t\t= %d\r\n",        { m->otmsUnderscoreSize } },
        { L"otmsUnderscorePosition\t= %d\r\n",      { m->otmsUnderscorePosition } }
    };
    appendNumberLines(report, lines, sizeof lines / sizeof lines[0]);
}

/* Each byte under its own name, but the letterform before stroke variation and arm style. */
static void appendPanose(REPORTTEXT *report, const PANOSE *p)
{
    const NUMBERLINE lines[] = {
        { L"otmPanoseNumber.bFamilyType\t= %d\r\n",       { p->bFamilyType } },
        { L"otmPanoseNumber.bSerifStyle\t\t= %d\r\n",     { p->bSerifStyle } },
        { L"otmPanoseNumber.bWeight\t\t= %d\r\n",         { p->bWeight } },
        { L"otmPanoseNumber.bProportion\t\t= %d\r\n",     { p->bProportion } },
        { L"otmPanoseNumber.bContrast\t\t= %d\r\n",       { p->bContrast } },
        { L"otmPanoseNumber.bLetterform\t\t= %d\r\n",     { p->bLetterform } },
        { L"otmPanoseNumber.bStrokeVariation\t= %d\r\n",  { p->bStrokeVariation } },
        { L"otmPanoseNumber.bArmStyle\t\t= %d\r\n",       { p->bArmStyle } },
        { L"otmPanoseNumber.bMidline\t\t= %d\r\n",        { p->bMidline } },
        { L"otmPanoseNumber.bXHeight\t\t= %d\r\n",        { p->bXHeight } }
    };
    appendNumberLines(report, lines, sizeof lines / sizeof lines[0]);
}

void buildOutlineFontReport(const OUTLINETEXTMETRICW *metrics, const WCHAR *familyName, const WCHAR *faceName,
                            const WCHAR *styleName, const WCHAR *fullName, WCHAR *text, int capacity)
{
    REPORTTEXT report;
    startReportText(&report, text, capacity);
    appendOutlineFigures(&report, metrics);
    appendReportLine(&report, L"otmpFamilyName\t\t= ", familyName, L"\r\n");
    appendReportLine(&report, L"otmpFaceName\t\t= ", faceName, L"\r\n");
    appendReportLine(&report, L"otmpStyleName\t\t= ", styleName, L"\r\n");
    appendReportLine(&report, L"otmpFullName\t\t= ", fullName, L"\r\n");
    appendPanose(&report, &metrics->otmPanoseNumber);
}

void showOutlineFontReport(void)
{
    WCHAR text[OUTLINE_REPORT_CAPACITY];
    buildOutlineFontReport(&FontViewState.outlineMetrics, FontViewState.familyName, FontViewState.faceName,
                           FontViewState.styleName, FontViewState.fullName, text, OUTLINE_REPORT_CAPACITY);
    runDialog(IDD_REPORT, reportDialogProc, (LPARAM)text);
}
