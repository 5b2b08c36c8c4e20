#include "app/games_dlg.h"

#include <algorithm>

#include "app/games_running_popup.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
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
    look.title = 390;
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
constexpr int kRowHeight = 24;
constexpr int kEditLeft = 100;
constexpr int kRunningRight = 430;

}  // namespace

CGamesDlg::CGamesDlg(int profile, HWND parent, NameSource runningNames)
    : CFramedDlg(GamesLook(), parent), profile_(profile), runningNames_(std::move(runningNames))
{
    if (!runningNames_) runningNames_ = [] { return RunningProgramNames(platform::ListOwnProcesses()); };
    for (int i = 0; i < kGameSlotCount; ++i) {
        MapClick(kFirstRunning + UINT(i), [this, i] { OpenRunning(i); });
        MapClick(kFirstClear + UINT(i), [this, i] { Clear(i); });
    }
    MapMessage(kRunningDismissed, [this](WPARAM, LPARAM) -> LRESULT {
        ClosePopup(kRunningSlot);
        return 0;
    });
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
        p.accessibleName = label->LabelText();
        AddControl(0, std::move(label));
        edits_[size_t(i)] =
            CreateEditBox(int(kFirstEdit + UINT(i)), ScaleRect(kEditLeft, top, 330, top + kRowHeight), p);
        if (edits_[size_t(i)]) Host().SetWindowText(edits_[size_t(i)], GetGameFile(g_profiles[size_t(profile_)], i));
        AddPushButton(kFirstRunning + UINT(i), 340, top, kRunningRight, top + kRowHeight, UiText(kTextGameRunning));
        AddPushButton(kFirstClear + UINT(i), 438, top, 509, top + kRowHeight, UiText(kTextGameClear));
        // Each row's buttons say which game they are for.
        for (UINT id : {kFirstRunning + UINT(i), kFirstClear + UINT(i)})
            if (CControlBase* b = FindControl(id)) b->SetAccessibleName(p.accessibleName + u": " + b->GetText());
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

void CGamesDlg::OpenRunning(int entry)
{
    ClosePopup(kRunningSlot);
    const HWND edit = edits_[size_t(entry)];
    if (!edit) return;
    // Read at each opening: the game may have started since the last one.
    const std::vector<std::u16string> names = runningNames_();
    if (names.empty()) return;
    // Under the entry, as wide as the entry and its "Running" button; above
    // it when the screen ends below.
    const int top = kRowTop + entry * kRowStep;
    const Rect under = ScaleRect(kEditLeft, top, kRunningRight, top + kRowHeight);
    auto* popup = new CGamesRunningPopup(names, kRunningRight - kEditLeft, Host().GetWindowText(edit));
    const Size size = popup->LayoutSize();
    Point at = Host().ClientToScreen(hwnd_, {under.left, under.bottom});
    if (at.y + size.cy > Host().GetWorkArea().bottom)
        at.y = Host().ClientToScreen(hwnd_, {under.left, under.top}).y - size.cy;
    popup->OnChoice([this, entry](const PopupResult& chosen) { OnRunningChosen(entry, chosen.caption); });
    if (!popup->Create(hwnd_, Rect::FromSize(at.x, at.y, size.cx, size.cy), 0, entry, kRunningDismissed)) {
        delete popup;
        return;
    }
    SetPopup(kRunningSlot, popup);
}

void CGamesDlg::OnRunningChosen(int entry, const std::u16string& name)
{
    ClosePopup(kRunningSlot);
    if (entry < 0 || entry >= kGameSlotCount || !edits_[size_t(entry)] || name.empty()) return;
    Host().SetWindowText(edits_[size_t(entry)], name);
    Host().SetFocus(edits_[size_t(entry)]);
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
