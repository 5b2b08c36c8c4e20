// tevlanctl's requests as the main window answers them: `get` gives what the
// window holds at that moment, not what its files held at the last save.
#include "app_test_support.h"

#include "app/ctl_requests.h"
#include "app/osd_dialog.h"
#include "persist/change_request.h"
#include "command/profile_command.h"
#include "command/setting_table.h"
#include "command/settings_snapshot.h"

namespace {

class CtlRequests : public MainWindowTest {
protected:
    std::optional<SettingsSnapshot> Get()
    {
        const std::optional<ChangeReply> reply =
            DecodeChangeReply(HandleCtlRequest(dlg.get(), EncodeChangeRequest({-1, dataDir, {"get"}})));
        if (!reply || reply->status != ChangeReply::Done) return std::nullopt;
        return DecodeSettingsSnapshot(reply->message);
    }
};

TEST_F(CtlRequests, GetRightAfterTheMouseChangedTheWindowsLevelShowsTheNewLevel)
{
    Start();
    Settle(10000);  // the start-up apply and its save
    // The mouse learns its DPI levels, so that its button has levels to step through.
    Active().XYSettingValue[0] += 1;
    dlg->ScheduleApply(PendingGroup::DpiAndMore);
    Settle(30);
    const std::optional<SettingsSnapshot> before = Get();
    ASSERT_TRUE(before.has_value());

    PressDpiButton();
    ASSERT_TRUE(WaitFor([&] { return dlg->Osd() != nullptr; }));
    const std::optional<SettingsSnapshot> after = Get();
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->profile, dlg->CurrentProfileIndex());
    EXPECT_NE(after->Value("dpi-level", 0), before->Value("dpi-level", 0));
    EXPECT_EQ(after->Value("dpi-level", 0), FindSetting("dpi-level")->text(Active(), 0));
    // Every setting get knows came with it.
    for (const SettingDescriptor& s : SettingTable())
        for (int i = 0; i < std::max(s.indexCount, 1); ++i)
            EXPECT_FALSE(after->Value(s.name, i).empty()) << s.name << " " << i;
}

}  // namespace
