// The macro manager's recording and its keys: while it records, every key
// belongs to the recording (and none operates the window) except Escape,
// which ends it.
#include "macros/ui/macro_manager_dlg.h"

#include "macros/macro_edit_values.h"
#include "macros/macro_texts.h"
#include "macros/ui/macro_manager_ids.h"
#include "ui/check_button.h"
#include "ui/combo_button.h"
#include "ui/key_capture_box.h"
#include "ui/show_lists.h"
#include "ui/vscroll_bar.h"

namespace ids = macro_ids;

bool CMacroManagerDlg::PreTranslateMessage(HWND self, const platform::Msg& msg)
{
    const bool keyMessage = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
    if (keyMessage && msg.wParam == VK_ESCAPE && msg.message != WM_CHAR && escapeEndedRecording_) {
        // The window's half of the Escape that ended the recording.
        if (msg.message == WM_KEYUP) escapeEndedRecording_ = false;
        return true;
    }
    if (keyMessage && recorder_.Recording()) {
        // The keys are being recorded: none of them operates the window,
        // but Escape ends the recording.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            escapeEndedRecording_ = true;
            StopRecording(false);
        }
        // The window still keeps track of Shift, Ctrl and Alt.
        if (msg.message != WM_CHAR && IsModifierVk(UINT(msg.wParam))) CFramedDlg::PreTranslateMessage(self, msg);
        return true;
    }
    const MacroKey* m = state_.CurrentMacro();
    // Tab, Enter and the other control characters move on or answer; only
    // a printable character that is not a digit is a typing mistake.
    if (msg.message == WM_CHAR && msg.hwnd == loopEdit_ && m && m->loopType == 2 && msg.wParam >= 0x20 &&
        !IsMacroNumberChar(char16_t(msg.wParam)))
        Host().PostMessage(hwnd_, ids::kWarnDigitsOnly, 0, 0);
    return CFramedDlg::PreTranslateMessage(self, msg);
}

void CMacroManagerDlg::OnKeyEvent(WPARAM wParam, LPARAM lParam)
{
    if (!recorder_.Recording()) return;
    // Escape ends the recording and is never recorded: a keyboard alone can
    // stop it without leaving a key behind.
    const uint8_t key = uint8_t(wParam & 0xFF);
    const bool release = (uint32_t(uint64_t(lParam)) & platform::kKeyHookRelease) != 0;
    if (key == VK_ESCAPE) {
        if (!release) {
            escapeEndedRecording_ = true;
            StopRecording(false);
        }
        return;
    }
    if (release && !pressedWhileRecording_.test(key)) return;
    if (!release) pressedWhileRecording_.set(key);
    MacroRecorder::Result r = recorder_.Feed(uint32_t(wParam), uint32_t(uint64_t(lParam)), recordPauses_->IsChecked());
    if (r.appended) ScrollTo(actionList_, actionScroll_, actionList_->ItemCount() - actionList_->visibleRows);
    if (r.stop.Refused()) StopRecording(true);
    Repaint();
}

void CMacroManagerDlg::OnRecordClick()
{
    if (!record_->IsChecked()) {
        if (recorder_.Recording()) StopRecording(false);
        return;
    }
    MacroRefusal r = recorder_.Start(state_.CurrentMacro());
    if (r.Refused()) {
        record_->SetChecked(false);
        InvalidateControl(record_);
        return ShowText(r.text);
    }
    pressedWhileRecording_.reset();
    hook_.StartHook(hwnd_);
    actionList_->selection = -1;
    ScrollTo(actionList_, actionScroll_, 0);
    EnableForRecording(true);
    Repaint();
}

void CMacroManagerDlg::StopRecording(bool atLimit)
{
    hook_.StopHook();
    recorder_.Stop();
    EnableForRecording(false);
    record_->SetChecked(false);
    InvalidateControl(record_);
    WriteLibrary();
    if (atLimit) ShowText(macro_text::kRecordingFull);
}

void CMacroManagerDlg::EnableForRecording(bool recording)
{
    if (recording) {
        disabledForRecording_.clear();
        for (int g = 0; g < kGroupCount; ++g) {
            for (const auto& c : Group(g)) {
                if (!c || c.get() == record_ || c.get() == insertCombo_ || c->IsDisabled()) continue;
                c->SetDisabled(true);
                disabledForRecording_.push_back(c.get());
            }
        }
        // Typing is what is being recorded: it must not land in the box.
        if (loopEdit_) {
            Host().SetFocus(hwnd_);
            Host().EnableWindow(loopEdit_, false);
        }
    } else {
        for (CControlBase* c : disabledForRecording_) c->SetDisabled(false);
        disabledForRecording_.clear();
        if (loopEdit_) {
            Host().EnableWindow(loopEdit_, true);
            if (loopEditShown_) Host().SetFocus(loopEdit_);
        }
    }
    Repaint();
}
