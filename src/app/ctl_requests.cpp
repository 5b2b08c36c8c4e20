#include "app/ctl_requests.h"

#include <filesystem>

#include "app/tevlan_dlg.h"
#include "macros/macro_library_file.h"
#include "persist/change_request.h"
#include "persist/data_folders.h"
#include "command/profile_command.h"
#include "persist/profile_manager.h"
#include "persist/settings_file.h"
#include "command/settings_snapshot.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "profile/pending_group.h"
#include "ui/control_events.h"

namespace {

std::string Reply(ChangeReply::Status status, bool changed, const std::u16string& message)
{
    return EncodeChangeReply({status, changed, U16ToUtf8(message)});
}

bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code e1, e2;
    const auto ca = std::filesystem::weakly_canonical(a, e1);
    const auto cb = std::filesystem::weakly_canonical(b, e2);
    if (e1 || e2) return false;
    return (ca / "").lexically_normal() == (cb / "").lexically_normal();
}

std::u16string ProfileLabel(int index)
{
    return u"profile " + Utf8ToU16(std::to_string(index + 1)) + u" (" + GetProfileName(g_profiles[size_t(index)]) +
           u")";
}

bool HasMouse(CTevlanDlg& window) { return window.Link() && window.Link()->anyPresent; }

// get, apply and reset: what the window holds and what its buttons do,
// rather than a change of the profiles.
bool IsWindowCommand(const ChangeRequest& r)
{
    if (r.words.size() != 1) return false;
    const std::string& w = r.words[0];
    return w == "get" || w == "apply" || w == "reset";
}

std::string RunWindowCommand(CTevlanDlg& window, const ChangeRequest& r)
{
    const std::string& verb = r.words[0];
    if (verb == "get") {
        const int profile = r.profile >= 0 ? r.profile : GetCurrentProfile();
        return EncodeChangeReply(
            {ChangeReply::Done, false, EncodeSettingsSnapshot(profile, g_profiles[size_t(profile)])});
    }
    const int active = GetCurrentProfile();
    if (verb == "apply") {
        // The Apply button's own handler: its progress, its images.
        platform::g_windowHost->SendMessage(window.GetSafeHwnd(), main_ids::kApply, main_ids::kApply, CE_CLICK);
        if (!HasMouse(window)) return Reply(ChangeReply::NoMouse, false, u"the window has no mouse connected");
        return Reply(ChangeReply::Done, false, u"The window is applying " + ProfileLabel(active) + u" to the mouse.");
    }
    if (!HasMouse(window)) return Reply(ChangeReply::NoMouse, false, u"the window has no mouse connected");
    // What the factory-reset button does once the user has confirmed it.
    window.Link()->FactoryResetConfirmed();
    return Reply(
        ChangeReply::Done, true,
        u"The window reset the mouse to its factory settings and " + ProfileLabel(active) + u" to its defaults.");
}

}  // namespace

std::string HandleCtlRequest(CTevlanDlg* window, std::string_view bytes)
{
    const std::optional<ChangeRequest> request = DecodeChangeRequest(bytes);
    if (!request) return Reply(ChangeReply::NotUnderstood, false, u"the request was not understood");
    // This window owns its own data folder only; another one is tevlanctl's to change.
    if (!window || !window->GetSafeHwnd())
        return Reply(ChangeReply::NotUnderstood, false, u"the window is still starting; try again");
    if (!SameFolder(request->dataFolder, g_userDataFolder)) return Reply(ChangeReply::OtherFolder, false, {});

    // What the controls hold is the profile as the user sees it.
    window->StoreToProfile();
    if (IsWindowCommand(*request)) return RunWindowCommand(*window, *request);
    // A request that comes before the window has read its library reads it
    // here: a command on an empty library would refuse macros that exist,
    // or write the empty library over the file.
    EnsureApplicationMacroLibrary();
    const CommandOutcome c = RunProfileCommand(request->words, request->profile, g_macroLibrary, MacroLibraryPath());
    if (c.kind == CommandOutcome::Usage) return Reply(ChangeReply::NotUnderstood, false, c.message);
    if (c.kind == CommandOutcome::Refused) return Reply(ChangeReply::Refused, false, c.message);

    window->RefreshFromProfile();
    window->RepaintWindow();
    for (size_t g = 0; g < c.send.size(); ++g)
        if (c.send[g]) window->ScheduleApply(PendingGroup(g));
    // Saved before the reply, not with the apply's save 10 s later: tevlanctl
    // says the change is done, so a `get` or a reading program right after
    // must find it in the files, and a window that dies meanwhile loses nothing.
    if (c.changed && !c.profilesSaved && !c.macrosChanged && !CommitProfiles())
        return Reply(ChangeReply::Refused, true, UiText(kTextProfilesNotSaved));
    return Reply(ChangeReply::Done, c.changed, c.message);
}
