/* The tests' own part of the harness, the one include of a test program: the fixture that
   starts the application for each test, and the checks and helpers that report through
   GoogleTest. What does not need GoogleTest is the harness's (harness.h), which the
   benchmark and the font sweep share. */
#ifndef VELMORA_APPTEST_H
#define VELMORA_APPTEST_H

#include <gtest/gtest.h>

#include "harness.h"

#include <string>
#include <vector>

/* Fixture that runs every test against a freshly started application. */
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

/* Room for the labels and ten columns: the grid keeps sixteen and scrolls sideways. */
void narrowToTenColumns(void);

/* The texts of the given controls, or the list items of the given combo boxes, as the dialog
   shows them when its command opens it; the dialog is then cancelled. */
FieldTexts shownFieldTexts(UINT command, const std::vector<int> &ids);
ListTexts shownLists(UINT command, const std::vector<int> &ids);

/* Compares an open dialog's children, in order, with its template: ids, and where each
   sits in the dialog's client area (a combo box's height is its closed one, not checked). */
::testing::AssertionResult controlsWhereTemplatePutsThem(HWND dialog, UINT templateId);
/* Whether the dialog fills the screen between the navigation bar and its own menu bar. */
::testing::AssertionResult fillsTheScreenBetweenTheBars(HWND dialog);
/* From the driving thread: whether the dialog, once ready, has the caption, fills the screen
   between the bars and has its controls where its template puts them. */
::testing::AssertionResult fullScreenFromTemplate(HWND dialog, UINT templateId, const std::wstring &caption);
/* Opens a dialog through its menu command and checks its caption, that it fills the screen
   between the bars and that its controls stand where its template puts them; then cancels it. */
void expectOpensFullScreenFromTemplate(UINT command, UINT templateId, const std::wstring &caption);

#endif
