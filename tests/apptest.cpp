/* The fixture that every test of the application starts from, and the checks that report
   through GoogleTest. */
#include "apptest.h"

void AppTest::SetUp()
{
    setPortrait();
    ASSERT_TRUE(startApp()) << "the application did not start";
}

void AppTest::TearDown()
{
    stopApp();
    setPortrait();
}

void narrowToTenColumns(void)
{
    setClientSize(FontViewState.labelWidth + 10 * FontViewState.columnWidth);
    ASSERT_EQ(16, FontViewState.charsPerRow);
}

FieldTexts shownFieldTexts(UINT command, const std::vector<int> &ids)
{
    FieldTexts texts;
    EXPECT_TRUE(lookAtDialog(command, [&](HWND dialog) { texts = fieldTexts(dialog, ids); }));
    return texts;
}

ListTexts shownLists(UINT command, const std::vector<int> &ids)
{
    ListTexts lists;
    EXPECT_TRUE(lookAtDialog(command, [&](HWND dialog) {
        for (int id : ids)
            lists[id] = listItems(dialog, id);
    }));
    return lists;
}

::testing::AssertionResult controlsWhereTemplatePutsThem(HWND dialog, UINT templateId)
{
    std::vector<TemplateControl> controls = templateControls(templateId);
    if (controls.empty())
        return ::testing::AssertionFailure() << "template " << templateId << " has no controls";
    HWND child = GetWindow(dialog, GW_CHILD);
    for (size_t i = 0; i < controls.size(); i++, child = GetWindow(child, GW_HWNDNEXT)) {
        const TemplateControl &control = controls[i];
        if (!child)
            return ::testing::AssertionFailure() << "the dialog has only " << i << " controls";
        if ((short)GetDlgCtrlID(child) != control.id)
            return ::testing::AssertionFailure() << "control " << i << " has id " << GetDlgCtrlID(child)
                                                 << ", the template says " << control.id;
        /* The platform maps place and size each on its own, as MapDialogRect maps its four numbers. */
        RECT mapped = { control.x, control.y, control.cx, control.cy }, actual;
        MapDialogRect(dialog, &mapped);
        RECT expected = { mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom };
        GetWindowRect(child, &actual);
        MapWindowPoints(NULL, dialog, (POINT *)&actual, 2);
        WCHAR className[32] = L"";
        GetClassNameW(child, className, 32);
        bool combo = lstrcmpiW(className, L"ComboBox") == 0;
        if (actual.left != expected.left || actual.top != expected.top || actual.right != expected.right ||
            (!combo && actual.bottom != expected.bottom))
            return ::testing::AssertionFailure()
                   << "control " << i << " (id " << control.id << ") is at (" << actual.left << "," << actual.top
                   << ")-(" << actual.right << "," << actual.bottom << "), the template puts it at ("
                   << expected.left << "," << expected.top << ")-(" << expected.right << "," << expected.bottom << ")";
    }
    if (child)
        return ::testing::AssertionFailure() << "the dialog has more controls than its template";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult fillsTheScreenBetweenTheBars(HWND dialog)
{
    RECT room, window;
    if (!roomBetweenTheBars(dialog, &room))
        return ::testing::AssertionFailure() << "no navigation bar or no menu bar of the dialog";
    GetWindowRect(dialog, &window);
    if (!EqualRect(&window, &room))
        return ::testing::AssertionFailure() << "the dialog is at (" << window.left << "," << window.top << ")-("
                                             << window.right << "," << window.bottom << "); the bars end at "
                                             << room.top << " and begin at " << room.bottom;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult fullScreenFromTemplate(HWND dialog, UINT templateId, const std::wstring &caption)
{
    waitUntilReady(dialog);
    if (windowText(dialog) != caption)
        return ::testing::AssertionFailure() << "the caption is " << ::testing::PrintToString(windowText(dialog))
                                             << ", not " << ::testing::PrintToString(caption);
    ::testing::AssertionResult full = fillsTheScreenBetweenTheBars(dialog);
    return full ? controlsWhereTemplatePutsThem(dialog, templateId) : full;
}

void expectOpensFullScreenFromTemplate(UINT command, UINT templateId, const std::wstring &caption)
{
    ::testing::AssertionResult shown = ::testing::AssertionFailure();
    ASSERT_TRUE(lookAtDialog(command, [&](HWND dialog) {
        shown = fullScreenFromTemplate(dialog, templateId, caption);
    }));
    EXPECT_TRUE(shown);
}
