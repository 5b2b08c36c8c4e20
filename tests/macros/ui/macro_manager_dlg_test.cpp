// The macro manager and its dialogs as a user drives them, on the headless
// host: the window's wiring around the core rules, the files it writes and
// the messages it shows.
#include "macros/ui/macro_manager_dlg.h"

#include <gtest/gtest.h>

#include "macros/macro_library_file.h"
#include "macros/ui/action_key_modify_dlg.h"
#include "macros/ui/action_time_modify_dlg.h"
#include "macros/ui/macro_delete_dlg.h"
#include "macros/ui/macro_list_sources.h"
#include "macros/ui/macro_manager_ids.h"
#include "macros/ui/macro_set_add_dlg.h"
#include "buttons/key_names.h"
#include "base/text_codec.h"
#include "platform/fs/file_system.h"
#include "profile/profile_record.h"
#include "ui/check_button.h"
#include "platform/shell/scripted_shell.h"
#include "support/temp_folder.h"
#include "ui/combo_button.h"
#include "ui/item_popup.h"
#include "ui/show_lists.h"
#include "ui/ui_test_support.h"

namespace {

namespace ids = macro_ids;

class MacroManagerTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        platform::g_shellServices = &shell;
        g_lastMacroIndex = -1;
        for (int n : {191, 192, 235, 241, 350, 356, 358}) g_uiTexts[size_t(n)] = u"text " + DecimalText(n);
        path = folder.Slash() + "MacroLibraryFile.mlf";
    }
    void TearDown() override
    {
        platform::g_shellServices = nullptr;
        UiTest::TearDown();
    }

    void Store(const MacroLibrary& lib) { ASSERT_TRUE(WriteMacroLibraryFile(lib, path)); }
    std::unique_ptr<CMacroManagerDlg> Open()
    {
        auto dlg = std::make_unique<CMacroManagerDlg>(1, 0, work, path);
        EXPECT_TRUE(dlg->Create(0));
        host.ProcessPending();
        return dlg;
    }
    LRESULT Send(CMacroManagerDlg& dlg, UINT message, WPARAM w, LPARAM l)
    {
        LRESULT r = host.SendMessage(dlg.GetSafeHwnd(), message, w, l);
        host.ProcessPending();
        return r;
    }
    void Key(CMacroManagerDlg& dlg, uint8_t vk, bool release, uint32_t ms)
    {
        host.PostMessage(dlg.GetSafeHwnd(), platform::kKeyHookMessage, vk,
                         LPARAM(uint64_t(platform::MakeKeyHookLParam(release, ms))));
        host.ProcessPending();
    }
    std::vector<std::u16string> Messages() const
    {
        std::vector<std::u16string> m;
        for (const auto& r : host.ModalLog())
            if (r.kind == u"attention") m.push_back(r.text);
        return m;
    }

    platform::ScriptedShell shell;
    TempFolder folder{"tvl-macro-ui-"};
    std::string path;
    MacroLibrary work;
};

MacroLibrary OneMacro()
{
    MacroLibrary lib;
    lib.AppendSet(u"Games");
    lib.AppendMacro(lib.sets().front(), u"Reload");
    return lib;
}

TEST_F(MacroManagerTest, AnEmptyLibraryStillOffersToAddASet)
{
    Store(MacroLibrary{});
    auto dlg = Open();
    EXPECT_EQ(dlg->Find<CComboButton>(ids::kSetCombo)->Label(), u"");
    EXPECT_EQ(dlg->Find<CImageShowList>(ids::kActionList)->shownItem, nullptr);
    Send(*dlg, ids::kSetComboMessage, ids::kSetCombo, CComboButton::kClick);
    auto* menu = dynamic_cast<CItemPopup*>(dlg->Popup(ids::kSetMenuSlot));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items().size(), 3u);
    EXPECT_TRUE(menu->Items()[0].separator);
    EXPECT_EQ(menu->Items()[1].value, 0);  // add
    EXPECT_EQ(menu->Items()[2].value, 1);  // delete

    // New macro without a set says so; a set added through the dialog shows up.
    Send(*dlg, ids::kNewMacro, 0, CE_CLICK);
    host.ScriptModal(u"macro set add", [](platform::HeadlessModal& m) {
        m.TypeInto(int(ids::kSetDlgEdit), u"Work");
        m.Send(ids::kDlgOk, 0, CE_CLICK);
    });
    Send(*dlg, ids::kSetMenuChoice, 0, 0);
    EXPECT_EQ(work.count(), 1u);
    EXPECT_EQ(Messages(), std::vector<std::u16string>{u"text 350"});
}

TEST_F(MacroManagerTest, DeletingAMacroAButtonPlaysNamesTheButtonAndCancelKeepsIt)
{
    g_uiTexts[190] = u"Macro:";
    g_uiTexts[485] = u"%1 button %2";
    for (int p = 0; p < kProfileCount; ++p) ResetProfileToDefaults(g_profiles[size_t(p)], p);
    ButtonSlot& user = g_profiles[1].buttons[2];
    user.label = u"Macro:Reload";
    user.macro.name = u"Reload";
    user.code = {0x90, 0x01, 0x01};
    Store(OneMacro());
    g_lastMacroIndex = 0;
    auto dlg = Open();

    // No script: the question is closed, as Cancel or its close button would.
    Send(*dlg, ids::kDeleteMacro, 0, CE_CLICK);
    ASSERT_FALSE(host.ModalLog().empty());
    const platform::ModalRecord asked = host.ModalLog().back();
    EXPECT_EQ(asked.kind, u"macro delete");
    EXPECT_NE(asked.text.find(GetProfileName(g_profiles[1]) + u" button 3"), std::u16string::npos)
        << std::string(asked.text.begin(), asked.text.end());
    ASSERT_EQ(work.sets().front().macroNum(), 1u) << "Cancel keeps the macro";
    EXPECT_EQ(g_profiles[1].buttons[2].label, u"Macro:Reload");

    host.ScriptModal(u"macro delete", [](platform::HeadlessModal& m) { m.Send(CMacroDeleteDlg::kOk, 0, CE_CLICK); });
    Send(*dlg, ids::kDeleteMacro, 0, CE_CLICK);
    EXPECT_EQ(work.sets().front().macroNum(), 0u);
}

TEST_F(MacroManagerTest, LoopCountBoxKeepsItsLimits)
{
    Store(OneMacro());
    auto dlg = Open();
    HWND edit = dlg->LoopCountEdit();
    ASSERT_TRUE(dlg->LoopCountEditShown());  // the default loop type repeats a count
    struct Case {
        std::u16string typed, shown;
        int loopNum;
    };
    for (const Case& c : {Case{u"300", u"255", 255}, Case{u"0", u"1", 1}, Case{u"42", u"42", 42}}) {
        host.SetFocus(edit);
        host.SetEditSelection(edit, 0, -1);
        host.TypeText(c.typed);
        host.ProcessPending();
        EXPECT_EQ(host.GetWindowText(edit), c.shown) << int(c.typed.size());
        EXPECT_EQ(work.sets().front().macros.front().loopNum, c.loopNum);
    }
    // Tab out of the box is no typing mistake: no "digits only" warning.
    const size_t runs = host.ModalLog().size();
    host.TypeText(u"\t");
    host.ProcessPending();
    EXPECT_EQ(host.ModalLog().size(), runs);
    // Another loop type hides the box.
    Send(*dlg, ids::kLoopHeld, 0, CE_CLICK);
    EXPECT_FALSE(dlg->LoopCountEditShown());
}

TEST_F(MacroManagerTest, RecordingAndInsertingThroughTheWindow)
{
    Store(OneMacro());
    auto dlg = Open();
    host.Click(dlg->GetSafeHwnd(), {60, 64});  // the first macro row
    auto* record = dlg->Find<CCheckButton>(ids::kRecord);
    record->SetChecked(true);
    Send(*dlg, ids::kRecord, 0, CE_CLICK);
    ASSERT_TRUE(dlg->Recording());
    EXPECT_TRUE(dlg->FindControl(ids::kNewMacro)->IsDisabled());
    EXPECT_FALSE(dlg->FindControl(ids::kInsertCombo)->IsDisabled());
    Key(*dlg, 'A', false, 1000);
    Key(*dlg, 'A', false, 1030);  // auto-repeat
    Key(*dlg, 'A', true, 1100);
    record->SetChecked(false);
    Send(*dlg, ids::kRecord, 0, CE_CLICK);
    EXPECT_FALSE(dlg->Recording());
    EXPECT_FALSE(dlg->FindControl(ids::kNewMacro)->IsDisabled());
    MacroLibrary saved;
    ASSERT_TRUE(ReadMacroLibraryFile(saved, path));  // stopping saved it
    EXPECT_EQ(saved.sets().front().macros.front().actionNum, 3u);

    // A left click from the insert menu goes after the selection and selects its release.
    auto* actions = dlg->Find<CImageShowList>(ids::kActionList);
    actions->selection = -1;
    Send(*dlg, ids::kInsertComboMessage, ids::kInsertCombo, CComboButton::kClick);
    auto* insertMenu = dynamic_cast<CItemPopup*>(dlg->Popup(ids::kInsertMenuSlot));
    ASSERT_NE(insertMenu, nullptr);
    ASSERT_TRUE(insertMenu->DoAccessibleAction(insertMenu->GetSafeHwnd(), 1, 0));  // its first row
    host.ProcessPending();
    const MacroKey& m = work.sets().front().macros.front();
    EXPECT_EQ(m.actionNum, 6u);
    EXPECT_EQ(m.GetAction(3), MacroAction::Key(0xE0, false));
    EXPECT_EQ(m.commandActionNum, 4);
    EXPECT_EQ(actions->selection, 5);

    // Modifying a mouse-button row opens nothing; deleting the last action selects the new last.
    const size_t runs = host.ModalLog().size();
    Send(*dlg, ids::kModifyAction, 0, CE_CLICK);
    EXPECT_EQ(host.ModalLog().size(), runs);
    Send(*dlg, ids::kDeleteAction, 0, CE_CLICK);
    EXPECT_EQ(actions->selection, 4);
    EXPECT_EQ(m.commandActionNum, 3);
}

// From the keyboard alone: the release of the key that started the
// recording and the Escape that ends it are not part of the macro, and the
// window's own Escape of that press does not close the manager.
TEST_F(MacroManagerTest, EscapeEndsARecordingAndIsNotPartOfIt)
{
    Store(OneMacro());
    auto dlg = Open();
    host.Click(dlg->GetSafeHwnd(), {60, 64});  // the first macro row
    dlg->Find<CCheckButton>(ids::kRecord)->SetChecked(true);
    Send(*dlg, ids::kRecord, 0, CE_CLICK);
    ASSERT_TRUE(dlg->Recording());
    Key(*dlg, VK_SPACE, true, 900);
    Key(*dlg, 'A', false, 1000);
    Key(*dlg, 'A', true, 1100);
    Key(*dlg, VK_ESCAPE, false, 1200);
    EXPECT_FALSE(dlg->Recording());
    host.SetForegroundWindow(dlg->GetSafeHwnd());
    host.PressKey(VK_ESCAPE);
    host.ProcessPending();
    EXPECT_TRUE(host.IsWindow(dlg->GetSafeHwnd()));
    MacroLibrary saved;
    ASSERT_TRUE(ReadMacroLibraryFile(saved, path));
    const MacroKey& m = saved.sets().front().macros.front();
    EXPECT_EQ(m.actionNum, 3u);  // A down, the pause, A up
}

TEST_F(MacroManagerTest, SetNamesThatDoNothingAreSaid)
{
    Store(OneMacro());
    auto dlg = Open();
    host.ScriptModal(u"macro set add", [this](platform::HeadlessModal& m) {
        m.TypeInto(int(ids::kSetDlgEdit), u"Games");
        m.Send(ids::kDlgOk, 0, CE_CLICK);
        EXPECT_FALSE(m.Ended());  // said why, and waits for another name
        EXPECT_EQ(work.count(), 1u);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], u"text 356");
        m.TypeInto(int(ids::kSetDlgEdit), u"Office");
        m.Send(ids::kDlgOk, 0, CE_CLICK);
        EXPECT_TRUE(m.Ended());
    });
    Send(*dlg, ids::kRunAddSet, 0, 0);
    EXPECT_EQ(work.count(), 2u);
}

TEST_F(MacroManagerTest, ClosingWritesTheFileAndAFailedImportTouchesNothing)
{
    Store(OneMacro());
    const auto before = platform::ReadWholeFile(path);
    ASSERT_TRUE(before);
    const std::string bad = folder.Slash() + "bad.mlf";
    ASSERT_TRUE(platform::WriteFileAtomic(bad, "not a library"));
    shell.openAnswers.push_back(bad);

    auto dlg = Open();
    Send(*dlg, ids::kImport, 0, CE_CLICK);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], u"text 358\n" + Utf8ToU16(bad));
    EXPECT_EQ(work, OneMacro());
    EXPECT_EQ(platform::ReadWholeFile(path), before);
    ASSERT_EQ(shell.openDialogs.size(), 1u);
    EXPECT_EQ(shell.openDialogs[0].filter, u"mlf file(*.mlf)|*.mlf||");

    // Closing writes the file even though nothing changed.
    std::filesystem::remove(path);
    host.Click(dlg->GetSafeHwnd(), {60, 64});  // the first macro row
    Send(*dlg, ids::kClose, 0, CE_CLICK);
    EXPECT_EQ(platform::ReadWholeFile(path), before);
    EXPECT_EQ(g_lastMacroIndex, 0);
}

TEST_F(MacroManagerTest, DialogsStoreTheirValuesAndScale)
{
    // The key dialog takes the last key the hook reports; a release stays one.
    MacroAction release = MacroAction::Key('A', true);
    host.ScriptModal(u"macro key", [](platform::HeadlessModal& m) {
        m.Send(platform::kKeyHookMessage, 0x74, 0);
        m.Send(ids::kDlgOk, 0, CE_CLICK);
    });
    EXPECT_EQ(CActionKeyModifyDlg(release, 0).DoModal(), IDOK);
    EXPECT_EQ(release, (MacroAction{0x74, 0x80, 0, 0}));

    // The time dialog: Enter confirms, Escape cancels and keeps the pause. A pause longer
    // than the mouse keeps is held to 4,095 ms in the box, with a word why;
    // the next Enter stores what the box now shows.
    g_uiTexts[486] = u"at most 4095";
    MacroAction pause = MacroAction::Pause(100);
    std::u16string shown;
    CActionTimeModifyDlg timeDlg(pause, 0);
    host.ScriptModal(u"macro pause", [&](platform::HeadlessModal& m) {
        m.TypeInto(int(ids::kDlgEdit), u"20000000");
        m.Key(VK_RETURN);
        EXPECT_FALSE(m.Ended());
        shown = timeDlg.EditText();
        m.Key(VK_RETURN);
    });
    EXPECT_EQ(timeDlg.DoModal(), IDOK);
    EXPECT_EQ(shown, u"4095");
    EXPECT_EQ(Messages(), std::vector<std::u16string>{u"at most 4095"});
    EXPECT_EQ(pause, (MacroAction{0x03, 0x00, 0x0F, 0xFF}));
    host.ScriptModal(u"macro pause", [](platform::HeadlessModal& m) {
        m.TypeInto(int(ids::kDlgEdit), u"7");
        m.Key(VK_ESCAPE);
    });
    EXPECT_EQ(CActionTimeModifyDlg(pause, 0).DoModal(), IDCANCEL);
    EXPECT_EQ(pause, (MacroAction{0x03, 0x00, 0x0F, 0xFF}));

    for (float scale : {1.0f, 2.0f}) {
        g_uiScale = scale;
        CMacroSetAddDlg add(0, {});
        ASSERT_TRUE(add.Create(0));
        host.ProcessPending();
        EXPECT_EQ(host.GetClientRect(add.GetSafeHwnd()), (Rect{0, 0, int(530 * scale), int(200 * scale)}));
        EXPECT_EQ(host.GetWindowRect(add.Edit()).Width(), int(398 * scale));
    }
}

TEST(MacroActionRows, TextAndIconByAction)
{
    struct Case {
        MacroAction action;
        std::u16string text;
        int icon;
    };
    const Case cases[] = {
        {{0x03, 0x00, 0x0F, 0xFF}, u"4095ms", IShowRows::kPause},
        {{0x00, 0x01, 0x00, 0x00}, u"65536ms", IShowRows::kPause},  // any code below 8 shows as a pause
        {{0xE5, 0, 0, 0x81}, u"Move Left 127", IShowRows::kPress},
        {{0xE5, 0, 0, 0x05}, u"Move Right 5", IShowRows::kPress},
        {{0xE6, 0, 0, 0xFF}, u"Move Up 1", IShowRows::kPress},
        {{0xE7, 0, 0, 0x02}, u"Wheel Down 2", IShowRows::kPress},
        {{0x41, 0x80, 0, 0}, GetKeyName(0x41), IShowRows::kRelease},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MacroActionText(c.action), c.text) << int(c.action.b0);
        EXPECT_EQ(MacroActionIcon(c.action), c.icon) << int(c.action.b0);
    }
}

}  // namespace
