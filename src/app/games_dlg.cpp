#include "app/games_dlg.h"

#include <algorithm>

#include "persist/text_codec.h"
#include "persist/ui_text.h"
#include "platform/procs/process_list.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

FramedDlgLook GamesLook()
{
    FramedDlgLook look;
    look.baseWidth = CGamesDlg::kBaseWidth;
    look.baseHeight = CGamesDlg::kBaseHeight;
    look.frame = u"";  // no picture of this size: the dark fill, with a title band drawn over it
    look.kind = u"games";
    look.okId = CGamesDlg::kOk;
    look.cancelId = CGamesDlg::kCancel;
    look.enter = DialogKey::Ok;
    look.escape = DialogKey::PassOn;
    return look;
}

std::u16string Replace1(std::u16string text, const std::u16string& value)
{
    const size_t at = text.find(u"%1");
    if (at != std::u16string::npos) text.replace(at, 2, value);
    return text;
}

constexpr int kTitleBand = 36;
constexpr int kRowTop = 76;
constexpr int kRowStep = 36;

}  // namespace

CGamesDlg::CGamesDlg(int profile, HWND parent, NameSource runningNames)
    : CFramedDlg(GamesLook(), parent), profile_(profile), runningNames_(std::move(runningNames))
{
    if (!runningNames_) runningNames_ = [] { return RunningProgramNames(platform::ListOwnProcesses()); };
    for (int i = 0; i < kGameSlotCount; ++i) {
        MapClick(kFirstRunning + UINT(i), [this, i] { StepRunning(i); });
        MapClick(kFirstClear + UINT(i), [this, i] { Clear(i); });
    }
}

void CGamesDlg::AddControls()
{
    AddCloseButton(kBaseWidth - 36);
    auto title = std::make_unique<CStaticText>(hwnd_, kTitle, ScaleRect(21, 9, 480, 29), RGB(0x52, 0x90, 0xFE),
                                               DT_LEFT | DT_SINGLELINE);
    title->SetLabelText(Description());
    AddControl(0, std::move(title));
    auto hint = std::make_unique<CStaticText>(hwnd_, kHint, ScaleRect(21, 46, 509, 64), RGB(180, 180, 180),
                                              DT_LEFT | DT_SINGLELINE);
    hint->SetLabelText(UiText(kTextGamesHint));
    AddControl(0, std::move(hint));

    platform::EditParams p;
    p.font = {u"Tahoma", ScaleUnits(14)};
    p.textColour = RGB(255, 255, 255);
    p.backColour = RGB(11, 11, 11);
    for (int i = 0; i < kGameSlotCount; ++i) {
        const int top = kRowTop + i * kRowStep;
        auto label = std::make_unique<CStaticText>(hwnd_, kFirstLabel + UINT(i), ScaleRect(21, top + 3, 96, top + 21),
                                                   RGB(180, 180, 180), DT_LEFT | DT_SINGLELINE);
        label->SetLabelText(Replace1(UiText(kTextGameEntry), std::u16string(1, char16_t(u'1' + i))));
        AddControl(0, std::move(label));
        edits_[size_t(i)] = Host().CreateEdit(hwnd_, int(kFirstEdit + UINT(i)), ScaleRect(100, top, 330, top + 24), p);
        if (edits_[size_t(i)]) Host().SetWindowText(edits_[size_t(i)], GetGameFile(g_profiles[size_t(profile_)], i));
        AddPushButton(kFirstRunning + UINT(i), 340, top, 430, top + 24, UiText(kTextGameRunning));
        AddPushButton(kFirstClear + UINT(i), 438, top, 509, top + 24, UiText(kTextGameClear));
    }
    AddPushButton(kOk, 330, kBaseHeight - 38, 414, kBaseHeight - 14, UiText(4));
    AddPushButton(kCancel, 424, kBaseHeight - 38, 509, kBaseHeight - 14, UiText(5));
}

void CGamesDlg::DrawOverFrame(platform::ICanvas& dc)
{
    const int band = ScaleUnits(kTitleBand);
    dc.FillRect(Rect{0, 0, ScaleUnits(kBaseWidth), band}, RGB(0x2B, 0x2B, 0x2B));
    dc.DrawLine({0, band}, {ScaleUnits(kBaseWidth), band}, RGB(0x2E, 0x9C, 0xD8), std::max(1, ScaleUnits(1)));
}

bool CGamesDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    if (edits_[0]) Host().SetFocus(edits_[0]);
    return true;
}

std::u16string CGamesDlg::Description() const
{
    return Replace1(UiText(kTextGamesTitle), GetProfileName(g_profiles[size_t(profile_)]));
}

void CGamesDlg::StepRunning(int entry)
{
    const HWND edit = edits_[size_t(entry)];
    if (!edit) return;
    if (!namesRead_) {
        names_ = runningNames_();
        namesRead_ = true;
    }
    if (names_.empty()) return;
    const std::u16string now = Host().GetWindowText(edit);
    // A typed beginning that is not itself a running name narrows the steps
    // to the names that start with it; otherwise step to the next name.
    const bool typedPrefix = !now.empty() && !std::binary_search(names_.begin(), names_.end(), now);
    std::u16string next;
    if (typedPrefix) {
        auto it = std::find_if(names_.begin(), names_.end(), [&](const std::u16string& n) { return n.starts_with(now); });
        if (it != names_.end()) next = *it;
    }
    if (next.empty()) {
        auto it = std::upper_bound(names_.begin(), names_.end(), now);
        next = it == names_.end() ? names_.front() : *it;
    }
    Host().SetWindowText(edit, next);
    Host().SetFocus(edit);
}

void CGamesDlg::Clear(int entry)
{
    if (const HWND edit = edits_[size_t(entry)]) {
        Host().SetWindowText(edit, u"");
        Host().SetFocus(edit);
    }
}

void CGamesDlg::OnOK()
{
    Store();
    CFramedDlg::OnOK();
}

void CGamesDlg::Store()
{
    ProfileRecord& record = g_profiles[size_t(profile_)];
    for (int i = 0; i < kGameSlotCount; ++i) {
        if (!edits_[size_t(i)]) continue;
        const std::u16string name = GameNameFromInput(Host().GetWindowText(edits_[size_t(i)]));
        if (name != GetGameFile(record, i)) changed_ = true;
        SetGameFile(record, i, name);
    }
}
