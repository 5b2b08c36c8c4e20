// Profile management as the user reaches it in the main window: the tabs,
// the profile list, the slot menu, the current profile's buttons, the file
// dialogs and the messages, with the simulated mouse behind.
#include "app_test_support.h"

#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "persist/ui/combo_profile_popup.h"
#include "persist/ui/profile_ids.h"
#include "persist/ui/profile_popup_places.h"
#include "persist/ui/profile_rkey_popup.h"
#include "platform/fs/file_system.h"
#include "ui/tab_control.h"

namespace {

using namespace profile_ids;

class ProfileManagement : public MainWindowTest {
protected:
    Point Centre(const Rect& r) const { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    Rect ControlRect(UINT id) const
    {
        CControlBase* c = dlg->FindControl(id);
        EXPECT_NE(c, nullptr) << id;
        return c ? c->GetRect() : Rect{};
    }
    void ClickControl(UINT id, platform::MouseButton b = platform::MouseButton::Left)
    {
        host.Click(Main(), Centre(ControlRect(id)), b);
        Settle();
    }
    CComboProfilePopup* List() const { return dynamic_cast<CComboProfilePopup*>(dlg->Popup(kListSlot)); }
    CProfileRKeyPopup* SlotMenu() const { return dynamic_cast<CProfileRKeyPopup*>(dlg->Popup(kSlotMenuSlot)); }
    // Clicks the popup's item with this value, then lets the action timer run.
    template <class Popup>
    void Choose(Popup* popup, int value, platform::MouseButton b = platform::MouseButton::Left)
    {
        ASSERT_NE(popup, nullptr);
        for (const PopupItem& item : popup->Items())
            if (item.value == value) {
                host.MoveMouseTo(popup->GetSafeHwnd(), Centre(item.rect));
                host.Click(popup->GetSafeHwnd(), Centre(item.rect), b);
                Settle(kActionDelayMs + 10);
                return;
            }
        ADD_FAILURE() << "no item " << value;
    }
    // A tab's slot menu, then one of its actions.
    void SlotAction(int profile, CProfileRKeyPopup::Action action)
    {
        ClickControl(kFirstTab + UINT(profile), platform::MouseButton::Right);
        Choose(SlotMenu(), int(action) + 1);
    }
    std::string SavedProfile(int polling, const std::u16string& name)
    {
        ProfileRecord r;
        ResetProfileToDefaults(r, 0);
        r.settings[kSetProfileName].value = name;
        r.PollingRateValue = {uint8_t(polling), 0, 0};
        const std::string path = dataDir + "in-" + std::to_string(++files_) + ".psf";
        EXPECT_TRUE(WriteProfileRecord(r, path));
        return path;
    }
    std::vector<std::u16string> Messages() const
    {
        std::vector<std::u16string> out;
        for (const auto& r : host.ModalLog())
            if (r.kind == u"attention") out.push_back(r.text);
        return out;
    }
    int files_ = 0;
};

TEST_F(ProfileManagement, ListSelectsTheProfileOfItsRowAfterADeletionReordersIt)
{
    Start();
    SlotAction(1, CProfileRKeyPopup::kDelete);
    EXPECT_EQ(GetProfileShowCount(), 2);
    EXPECT_FALSE(dlg->Find<CTabControl>(kFirstTab + 1)->IsVisible());

    ClickControl(kListButton);
    ASSERT_NE(List(), nullptr);
    // Rows: header, profile 0, profile 2, three empty rows, add.
    EXPECT_FALSE(List()->IsSelectable(CComboProfilePopup::kFirstProfileRow + 2));
    Choose(List(), CComboProfilePopup::kFirstProfileRow + 1);
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(GetCurrentProfile(), 2);
    EXPECT_EQ(g_workingProfile, 2);
}

TEST_F(ProfileManagement, ListButtonClosesItsListOnTheSecondClick)
{
    Start();
    ClickControl(kListButton);
    ASSERT_NE(List(), nullptr);
    ClickControl(kListButton);
    EXPECT_EQ(List(), nullptr);
    ClickControl(kListButton);
    EXPECT_NE(List(), nullptr);
}

TEST_F(ProfileManagement, SlotMenuImportTargetsItsProfileAndTheButtonTheCurrentOne)
{
    Start();
    Settle(10000);
    sim->ClearTrace();

    // Profile 2 is not current: it changes, its slot file with it, and the
    // mouse is sent nothing.
    shell.openAnswers.push_back(SavedProfile(2, u"From file"));
    SlotAction(2, CProfileRKeyPopup::kImport);
    ASSERT_EQ(shell.openDialogs.size(), 1u);
    EXPECT_EQ(shell.openDialogs[0].title, u"Import profile");
    EXPECT_EQ(shell.openDialogs[0].filter, u"psf file(*.psf)|*.psf||");
    EXPECT_EQ(GetProfileName(g_profiles[2]), u"From file");
    EXPECT_NE(GetProfileName(g_profiles[0]), u"From file");
    EXPECT_NE(ReadFile("config/default2.psf").find(Utf16("From file")), std::string::npos);
    Settle(100);
    EXPECT_TRUE(sim->AcceptedWrites().empty());

    // The import button reads into the current profile, which then reaches
    // the mouse: 500 Hz polls every 2 ms.
    shell.openAnswers.push_back(SavedProfile(2, u"Current from file"));
    ClickControl(kImport);
    EXPECT_EQ(GetProfileName(g_profiles[0]), u"Current from file");
    EXPECT_EQ(GetProfileName(g_profiles[2]), u"From file");
    Settle(30);
    ASSERT_TRUE(sim->State().pollingIntervalMs.has_value());
    EXPECT_EQ(*sim->State().pollingIntervalMs, 2);
}

TEST_F(ProfileManagement, SlotMenuOpensTheGamesOfItsProfile)
{
    Start();
    host.ClearModalLog();
    SlotAction(2, CProfileRKeyPopup::kGames);
    EXPECT_EQ(ModalRuns(u"games"), 1);
}

TEST_F(ProfileManagement, FailedImportAndExportSayWhyAndChangeNothing)
{
    Start();
    const std::string notAProfile = dataDir + "notes.psf";
    ASSERT_TRUE(platform::WriteFileAtomic(notAProfile, "\xFF\xFE[\0S\0"));
    const std::string blocker = dataDir + "plain-file";
    ASSERT_TRUE(platform::WriteFileAtomic(blocker, "x"));
    const std::string unwritable = blocker + "/out.psf";  // a folder that is a file: no one can write there

    const std::string slotBefore = ReadFile("config/default0.psf");
    const ProfileRecord before = g_profiles[0];

    shell.openAnswers.push_back(notAProfile);
    ClickControl(kImport);
    shell.saveAnswers.push_back(unwritable);
    ClickControl(kExport);

    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"“" + Utf8ToU16(notAProfile) + u"” is not a valid profile file. The profile was not changed.");
    EXPECT_EQ(messages[1], u"The profile could not be written to “" + Utf8ToU16(unwritable) + u"”.");
    EXPECT_EQ(g_profiles[0], before);
    EXPECT_EQ(ReadFile("config/default0.psf"), slotBefore);
    EXPECT_EQ(shell.saveDialogs.at(0).title, u"Export profile");
}

TEST_F(ProfileManagement, AddDialogKeepsAskingForAName)
{
    Start();
    host.ScriptModal(u"profile name", [](platform::HeadlessModal& m) {
        m.TypeInto(2017, u"");
        m.Send(2010, 0, CE_CLICK);  // refused: the message box, and the dialog stays
        EXPECT_FALSE(m.Ended());
        m.TypeInto(2017, u"Fifth = last");
        m.Key(VK_RETURN);
    });
    ClickControl(kAdd);
    EXPECT_EQ(Messages(), std::vector<std::u16string>{u"Please enter a name."});
    EXPECT_EQ(GetProfileShowCount(), 4);
    EXPECT_EQ(GetProfileName(g_profiles[3]), u"Fifth = last");
    EXPECT_TRUE(dlg->Find<CTabControl>(kFirstTab + 3)->IsVisible());
}

TEST(SlotMenuPlace, StaysInsideTheWorkArea)
{
    const struct {
        Rect anchor;
        bool fromList;
        float s;
        int workBottom;
        Point expected;
    } cases[] = {
        {{300, 430, 462, 451}, false, 1.0f, 1040, {100 + 461, 50 + 431}},  // beside the tab, like a sub-menu
        {{36, 544, 266, 564}, true, 1.0f, 1040, {100 + 261, 50 + 544}},    // beside a list row
        // Near the bottom: lifted so that all 90 pixels of it stay inside.
        {{300, 680, 462, 701}, false, 1.0f, 760, {100 + 461, 760 - 90}},
        {{600, 1360, 924, 1402}, false, 2.0f, 1500, {100 + 922, 1500 - 180}},
    };
    for (const auto& c : cases) {
        SlotMenuPlaceInput in;
        in.anchor = c.anchor;
        in.fromList = c.fromList;
        in.clientOrigin = {100, 50};
        in.workBottom = c.workBottom;
        in.menuHeight = int(90 * c.s);
        EXPECT_EQ(SlotMenuPlace(in, c.s), c.expected) << c.anchor.top << " at " << c.s;
    }
}

}  // namespace
