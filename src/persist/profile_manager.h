#pragma once
// Profile management without a window: select, add, rename, delete, import
// and export a profile. The main window's handlers and tevlanctl both call
// these; they show nothing. Each says how it ended in a ProfileResult: done,
// or refused with the number of the language text that tells the user why.
//
// Every operation that changes names, the shown list or a profile's contents
// writes the settings file and all five slot files at once (CommitProfiles).
// Selecting writes nothing: the deferred save of the window stores it.
//
// Window thread only (g_profiles, g_settings, g_workingProfile).
#include <string>

#include "persist/profile_slots.h"

// Language texts of the refusals and failures.
enum ProfileText {
    kTextTooManyProfiles = 145,   // all five are shown already
    kTextEmptyProfileName = 147,
    kTextCurrentProfileDelete = 152,
    kTextNotAProfileFile = 340,   // %1 = the file chosen for an import
    kTextExportFailed = 341,      // %1 = the file chosen for an export
    kTextNameOnOneLine = 343,
    kTextProfileNotListed = 344,  // not one of the shown profiles
    kTextProfilesNotSaved = 345,  // changed, but the data folder could not be written
};

struct ProfileResult {
    int text = 0;          // 0 when done and saved; else the text to show
    bool changed = false;  // the profiles or the list changed (also with kTextProfilesNotSaved)
    std::string path;      // the file a text about a file names

    bool Done() const { return text == 0; }
    // The text to show, with "%1" replaced by the file's name.
    std::u16string Message() const;
};

// The settings file (with CurrentProfile = g_workingProfile) and the five
// slot files; true when all of them were written.
bool CommitProfiles();

// Makes a shown profile current, in the table and g_workingProfile only.
// The caller refreshes the window and schedules the apply.
ProfileResult SelectProfile(int index);

// Whether a profile can be added (145 when five are shown), before asking
// for its name.
ProfileResult CanAddProfile();
// 147 for an empty name, 343 for one with a line break (it would split the
// profile file's name line and make the whole file unreadable).
ProfileResult CheckProfileName(const std::u16string& name);

// Shows the first hidden profile, reset to its defaults, with this name.
// *added (when given) receives its index.
ProfileResult AddProfile(const std::u16string& name, int* added = nullptr);
ProfileResult RenameProfile(int index, const std::u16string& name);
// Hides a shown profile other than the current one (152 for the current).
ProfileResult DeleteProfile(int index);

// Reads a profile file into profile index, strictly: a file that cannot be
// read or is not a profile file leaves the profile and its slot file exactly
// as they were (340). The caller applies it when it is the current profile.
ProfileResult ImportProfile(int index, const std::string& path);
// Writes profile index to a file in the profile file format, replacing an
// existing file atomically; 341 when it cannot be written (an existing
// file then keeps its bytes).
ProfileResult ExportProfile(int index, const std::string& path);
