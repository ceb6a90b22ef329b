/* The dialogs and their fields: a dialog opened through its command and driven as a user
   drives it (texts typed or pasted, list items picked, real clicks, the done button), read
   back by its fields and lists, its template read from the resources, and the values that a
   field's text holds by the platform's C library. */
#ifndef VELMORA_HARNESS_DIALOGS_H
#define VELMORA_HARNESS_DIALOGS_H

#include "velmora.h"

#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

/* Control texts by control id. */
typedef std::map<int, std::wstring> FieldTexts;
/* Combo boxes' list items by control id. */
typedef std::map<int, std::vector<std::wstring>> ListTexts;

/* ---- a dialog through its command, from the thread that sends it ---- */

/* Opens a dialog through its command, hands it to look and cancels it. */
bool lookAtDialog(UINT command, const std::function<void(HWND dialog)> &look);
/* Opens a dialog through its command, puts each text into its field as pasting does and
   presses OK; answers false if the dialog did not open and end or a field did not hold
   its text. */
bool enterFields(UINT command, const FieldTexts &texts);

/* ---- an open dialog, from the driving thread (driveModal's; the modal loop holds the
   application's own thread) ---- */

/* Presses a dialog button as a click does. */
void clickButton(HWND dialog, int id);
/* A control's text, however long; the texts of the given controls. */
std::wstring controlText(HWND dialog, int id);
FieldTexts fieldTexts(HWND dialog, const std::vector<int> &ids);
/* Puts a text into a field as pasting does (no width limit). */
void setFieldText(HWND dialog, int id, const std::wstring &text);
/* Selects the field's text and types text over it, one WM_CHAR per character, as the
   keyboard does. */
void typeIntoField(HWND dialog, int id, const std::wstring &text);
/* The combo box's list items, in the order the list shows them. */
std::vector<std::wstring> listItems(HWND dialog, int id);
/* Those of the given combo boxes that have a list item selected. */
std::vector<int> selectedListItems(HWND dialog, const std::vector<int> &ids);
/* Picks the list item as the drop-down does (selection and the CBN_SELCHANGE notification);
   answers false if the list has no such item. */
bool pickListItem(HWND dialog, int id, const std::wstring &item);
/* Waits until the dialog is active and fills the screen between the bars, as the shell
   leaves it once it has fitted it after its initialisation: real clicks then land on its
   controls, and the done button ends it. */
bool waitUntilReady(HWND dialog);
/* A real click on the middle of a control (a button, say). */
void clickControl(HWND dialog, int id);
/* A real click on a check box once the dialog is ready; answers whether the box's state
   changed. */
bool clickCheckBox(HWND dialog, int id);
/* Opens the field's drop-down list with a real click on its arrow and clicks the item, as a
   user does; answers false if the list did not open or lacks it. */
bool clickListItem(HWND dialog, int id, const std::wstring &item);

/* ---- windows, the bars and the templates ---- */

/* A window's text, however long. */
std::wstring windowText(HWND hwnd);
/* The window that holds the mouse in the window's thread (GetCapture there), or NULL. */
HWND mouseCapture(HWND window);
/* A real click on the navigation bar's done button. */
void clickDoneButton(void);
/* The room that a full-screen dialog fills: the screen's width, from the navigation bar to
   the dialog's own menu bar; false if either bar is missing. */
bool roomBetweenTheBars(HWND dialog, RECT *room);

/* One control of a dialog template: its id, and its place and size in dialog units. */
struct TemplateControl {
    int id;
    int x, y, cx, cy;
};
std::vector<TemplateControl> templateControls(UINT templateId);

/* ---- what a user may type into a value field, and what it holds ---- */

/* Texts that a user may type into a value field: empty, very long, digits with signs and
   blanks, hexadecimal prefixes, numbers past 32 bits, non-ASCII, only "=label". */
std::wstring randomFieldText(std::mt19937 &random);
/* What the platform's C library reads from a field's text, as an oracle of the field's
   rules: wcstol for decimal (it stops at the ends of the 32-bit signed range); for hex the
   64-bit reader, its value kept up to 32 bits (a minus negating modulo 2^32) and 0xFFFFFFFF
   beyond. Only the first 259 characters count, and none from the first non-ASCII one on. */
LONG libraryDecimalValue(const std::wstring &text);
DWORD libraryHexValue(const std::wstring &text);

#endif
