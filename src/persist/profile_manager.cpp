#include "persist/profile_manager.h"

#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"

namespace {

bool IsProfileIndex(int index) { return index >= 0 && index < kProfileCount; }

ProfileResult Refused(int text) { return ProfileResult{text, false, {}}; }

// The change is made in memory; it stays there for the next save if the
// files cannot be written now.
ProfileResult Committed()
{
    return CommitProfiles() ? ProfileResult{0, true, {}} : ProfileResult{kTextProfilesNotSaved, true, {}};
}

}  // namespace

std::u16string ProfileResult::Message() const
{
    std::u16string text = UiText(this->text);
    const size_t at = text.find(u"%1");
    if (at != std::u16string::npos) text.replace(at, 2, Utf8ToU16(path));
    return text;
}

bool CommitProfiles()
{
    const bool settings = SaveCurrentProfileSetting();
    const bool slots = SaveAllProfileFiles();
    return settings && slots;
}

ProfileResult SelectProfile(int index)
{
    ProfileSlots slots = ReadProfileSlots();
    if (!IsProfileIndex(index) || !slots.IsShown(index)) return Refused(kTextProfileNotListed);
    SetCurrentProfile(index);
    g_workingProfile = index;
    return {};
}

ProfileResult CanAddProfile()
{
    return ReadProfileSlots().NextHidden() < 0 ? Refused(kTextTooManyProfiles) : ProfileResult{};
}

ProfileResult CheckProfileName(const std::u16string& name)
{
    if (name.empty()) return Refused(kTextEmptyProfileName);
    if (name.find_first_of(u"\r\n") != std::u16string::npos) return Refused(kTextNameOnOneLine);
    return {};
}

ProfileResult AddProfile(const std::u16string& name, int* added)
{
    ProfileSlots slots = ReadProfileSlots();
    const int index = slots.NextHidden();
    if (index < 0) return Refused(kTextTooManyProfiles);
    if (ProfileResult check = CheckProfileName(name); !check.Done()) return check;

    ProfileRecord& record = g_profiles[size_t(index)];
    ResetProfileToDefaults(record, index);
    record.settings[kSetProfileName].value = name;
    ++slots.count;
    StoreProfileSlots(slots);
    if (added) *added = index;
    return Committed();
}

ProfileResult RenameProfile(int index, const std::u16string& name)
{
    if (!IsProfileIndex(index)) return Refused(kTextProfileNotListed);
    if (ProfileResult check = CheckProfileName(name); !check.Done()) return check;
    g_profiles[size_t(index)].settings[kSetProfileName].value = name;
    return Committed();
}

ProfileResult DeleteProfile(int index)
{
    ProfileSlots slots = ReadProfileSlots();
    if (index == g_workingProfile) return Refused(kTextCurrentProfileDelete);
    if (!IsProfileIndex(index) || !slots.IsShown(index)) return Refused(kTextProfileNotListed);
    // The last shown profile stays: the list would otherwise be empty.
    if (!HideProfile(slots, index)) return Refused(kTextCurrentProfileDelete);
    StoreProfileSlots(slots);
    return Committed();
}

ProfileResult ImportProfile(int index, const std::string& path)
{
    if (!IsProfileIndex(index)) return Refused(kTextProfileNotListed);
    // Parsed into a copy so that fields the file does not carry keep the
    // profile's own values, and a bad file changes nothing at all.
    ProfileRecord imported = g_profiles[size_t(index)];
    if (!ReadProfileRecord(imported, path)) {
        ProfileResult r = Refused(kTextNotAProfileFile);
        r.path = path;
        return r;
    }
    g_profiles[size_t(index)] = std::move(imported);
    return Committed();
}

ProfileResult ExportProfile(int index, const std::string& path)
{
    if (!IsProfileIndex(index)) return Refused(kTextProfileNotListed);
    if (WriteProfileFile(index, path)) return {};
    ProfileResult r = Refused(kTextExportFailed);
    r.path = path;
    return r;
}
