/* The menu-bar description, the resource that the device's resource compiler writes for a
   soft-key bar and its shell reads: which menu the bar opens, and the text, command and
   sub-menu of each soft key. */
#include "shell.h"

namespace {

/* A menu-bar description is 16-bit words: a head, then one record a button. */
struct MenuBarHead {
    WORD menuId;
    WORD buttonCount;
};

struct MenuBarButton {
    WORD image;
    WORD command;
    WORD state;
    WORD style;
    WORD stringId;
    WORD reserved;
    WORD subMenu;
};

static_assert(sizeof(MenuBarHead) + 2 * sizeof(MenuBarButton) == 32,
              "a description of two soft keys is 32 bytes, as the device's resource compiler writes it");

/* The description's head, when the resource holds the head and every button it counts. */
const MenuBarHead *findMenuBarDescription(HINSTANCE instance, UINT id)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), (LPCWSTR)RT_RCDATA);
    if (!found)
        return NULL;
    DWORD size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    const MenuBarHead *head = loaded ? (const MenuBarHead *)LockResource(loaded) : NULL;
    if (!head || size < sizeof(MenuBarHead))
        return NULL;
    DWORD count = head->buttonCount;
    if (count > (size - sizeof(MenuBarHead)) / sizeof(MenuBarButton))
        return NULL;
    return head;
}

} // namespace

BOOL parseMenuBarDescription(HINSTANCE instance, UINT id, MenuBar *bar)
{
    const MenuBarHead *head = findMenuBarDescription(instance, id);
    if (!head)
        return FALSE;
    DWORD count = head->buttonCount;
    const MenuBarButton *buttons = (const MenuBarButton *)(head + 1);
    bar->menuId = head->menuId;
    bar->keyCount = count < 2 ? (int)count : 2;
    for (int i = 0; i < bar->keyCount; i++) {
        SoftKey &key = bar->keys[i];
        key.command = buttons[i].command;
        key.subMenu = buttons[i].subMenu;
        if (LoadStringW(instance, buttons[i].stringId, key.text, 32) <= 0)
            key.text[0] = 0;
    }
    return TRUE;
}
