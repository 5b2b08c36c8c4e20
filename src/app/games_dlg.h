#pragma once
// CGamesDlg: the three games bound to one profile. Each entry can be typed,
// chosen from the names of the running programs (its "Running" button opens
// a list of them under the entry), or cleared. OK stores the entries into
// the profile record; the caller saves and lets the watch follow.
//
// Window thread only.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "games/game_binding.h"
#include "ui/framed_dlg.h"

// Language texts of the dialog and of the switch.
enum GameTexts {
    kTextGameProfileOsd = 390,  // on-screen display title above the profile's name
    kTextGamesTitle = 391,      // %1 = the profile's name
    kTextGameEntry = 392,       // %1 = 1..3
    kTextGameRunning = 393,
    kTextGameClear = 394,
    kTextGamesHint = 395,
};

class CGamesDlg final : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 530;
    static constexpr int kBaseHeight = 236;
    static constexpr UINT kOk = 3301;
    static constexpr UINT kCancel = 3302;
    static constexpr UINT kTitle = 3303;
    static constexpr UINT kHint = 3304;
    static constexpr UINT kFirstLabel = 3310;          // + entry
    static constexpr UINT kFirstEdit = 3320;           // + entry
    static constexpr UINT kFirstRunning = 3330;        // + entry
    static constexpr UINT kFirstClear = 3340;          // + entry
    static constexpr UINT kRunningDismissed = 0x0471;  // the user clicked elsewhere
    static constexpr int kRunningSlot = 0;

    using NameSource = std::function<std::vector<std::u16string>()>;
    // runningNames: the running programs' names; by default the user's processes.
    CGamesDlg(int profile, HWND parent, NameSource runningNames = {});

    bool OnInitDialog() override;
    // OK and Enter store the entries into the profile record.
    void OnOK() override;
    HWND Edit(int entry) const { return edits_[size_t(entry)]; }
    // What OK stored, for the caller.
    bool Changed() const { return changed_; }

protected:
    void AddControls() override;
    std::u16string Description() const override;
    void DrawOverFrame(platform::ICanvas& dc) override;

private:
    void OpenRunning(int entry);
    void OnRunningChosen(int entry, const std::u16string& name);
    void Clear(int entry);
    void Store();

    int profile_;
    NameSource runningNames_;
    std::array<HWND, kGameSlotCount> edits_{};
    bool changed_ = false;
};
