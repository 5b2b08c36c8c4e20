// The main window's keys: Enter and Escape, Ctrl+Q, Alt+F, the simulated
// mouse's F9 to F11 and the hidden support sequence.
#include "app/tevlan_dlg.h"

#include <string>

#include "app/main_ids.h"
#include "app/game_switcher.h"
#include "app/osd_dialog.h"
#include "app/progress_bar_dlg.h"
#include "platform/sim/sim_mouse.h"
#include "ui/attention_dlg.h"

using namespace main_ids;

// ---- keys -------------------------------------------------------------------------------

bool CTevlanDlg::PreTranslateMessage(HWND, const platform::Msg& msg)
{
    if (msg.message != WM_KEYDOWN) return false;
    return OnKeyDown(static_cast<UINT>(msg.wParam), (msg.lParam & (LPARAM(1) << 30)) != 0);
}

bool CTevlanDlg::OnKeyDown(UINT vk, bool repeat)
{
    // The main window never closes on Enter or Escape; Enter still reaches
    // the focused control (a button, a combo, a DPI bar).
    if (vk == VK_RETURN || vk == VK_ESCAPE) {
        keySequencePosition = 0;
        if (vk == VK_RETURN) OnControlKey(vk, ShiftHeld());
        return true;
    }
    // Ctrl+Q quits as the close button does. The window has no menu bar, so
    // Alt+F opens the first menu it has: button 1's function menu.
    if (vk == 'Q' && ControlHeld() && !AltHeld()) {
        keySequencePosition = 0;
        CloseProgram();
        return true;
    }
    if (vk == 'F' && AltHeld() && !ControlHeld()) {
        keySequencePosition = 0;
        OpenFirstMenu();
        return true;
    }
    // Only the bare keys: Shift+F10 is the context menu.
    if (devices_.sim && vk >= VK_F1 + 8 && vk <= VK_F1 + 10 && !ShiftHeld() && !ControlHeld() && !AltHeld()) {
        // Holding a key down must not plug and unplug the mouse in a loop.
        if (!repeat) OnSimKey(vk);
        return true;
    }
    const std::string sequence = kSupportKeySequence;
    if (vk == static_cast<unsigned char>(sequence[keySequencePosition])) {
        if (++keySequencePosition == static_cast<int>(sequence.size())) {
            keySequencePosition = 0;
            CAttentionDlg support(u"", kSupportText, hwnd_);
            support.DoModal();
        }
    } else {
        // A wrong key may itself begin the sequence again.
        keySequencePosition = vk == static_cast<unsigned char>(sequence[0]) ? 1 : 0;
    }
    return false;
}

bool CTevlanDlg::OnSimKey(UINT vk)
{
    switch (vk) {
    case VK_F1 + 8: SimPressDpiButton(); return true;    // F9
    case VK_F1 + 9: SimTogglePlug(true); return true;    // F10
    case VK_F1 + 10: SimTogglePlug(false); return true;  // F11
    default: return false;
    }
}

void CTevlanDlg::SimPressDpiButton()
{
    platform::SimMouse* sim = devices_.sim;
    if (!sim) return;
    if (sim->IsPlugged(platform::SimProduct::A))
        sim->PressDpiButton(platform::SimProduct::A);
    else if (sim->IsPlugged(platform::SimProduct::B))
        sim->PressDpiButton(platform::SimProduct::B);
}

void CTevlanDlg::SimTogglePlug(bool cable)
{
    platform::SimMouse* sim = devices_.sim;
    if (!sim) return;
    const platform::SimProduct p = cable ? platform::SimProduct::A : platform::SimProduct::B;
    if (sim->IsPlugged(p))
        sim->Unplug(p);
    else
        sim->Plug(p);
}

