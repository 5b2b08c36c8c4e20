#pragma once
// CMacroManagerDlg: the modal window in which the user edits the macro
// library: sets, macros, recording from the keyboard, single actions, loop
// mode, import and export. It edits the working library, read from the
// library file when it opens and written back after each saved change and
// when it closes; the main window rereads the file afterwards.
//
// The rules live in the core (macro_manager_state.h, macro_recorder.h,
// macro_action_edits.h); the handlers here read the controls, call them and
// show what they refuse.
#include <bitset>
#include <memory>
#include <string>
#include <vector>

#include "macros/macro_manager_state.h"
#include "macros/macro_recorder.h"
#include "macros/ui/macro_list_sources.h"
#include "platform/keyboard/keyboard_hook.h"
#include "ui/framed_dlg.h"

class CCheckButton;
class CComboButton;
class CEditShowList;
class CImageShowList;
class CShowListBase;
class CVScrollBar;
struct PopupResult;

// The macro selected in the macro list when the manager last closed, -1
// before the first closing. Owner: the window thread.
inline int g_lastMacroIndex = -1;

class CMacroManagerDlg : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 528;
    static constexpr int kBaseHeight = 365;

    // initialSet: 1-based set to show first (the main window passes 1).
    // The library and its file: the working library and the standard path
    // unless a test or a tool gives others.
    CMacroManagerDlg(int initialSet, HWND owner);
    CMacroManagerDlg(int initialSet, HWND owner, MacroLibrary& library, std::string libraryPath);
    ~CMacroManagerDlg() override;

    bool OnInitDialog() override;
    void OnCancel() override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;

    const MacroManagerState& State() const { return state_; }
    bool Recording() const { return recorder_.Recording(); }
    HWND LoopCountEdit() const { return loopEdit_; }
    bool LoopCountEditShown() const { return loopEditShown_; }

protected:
    void AddControls() override;
    void DrawOverFrame(platform::ICanvas& dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MapHandlers();
    void MapSetHandlers();
    void MapMacroHandlers();
    void MapActionHandlers();
    void AddListControls();
    void AddRecordingControls();
    void AddLoopControls();
    void AddButtons();
    void AddCaption(UINT id, int l, int t, int r, int b, int textNo);
    void AddFooterButton(UINT id, int l, int t, int r, int b, int textNo);
    void Synchronise();
    void SetRadiosFromMacro();
    void ShowLoopEdit(bool show, bool focus = false);
    void SetLoopEditText(const std::u16string& text);
    void WriteLibrary();
    void ShowText(int text, const std::string& path = {});
    void Repaint();

    // Scrolling: first visible row within 0 .. count - visible rows.
    void ScrollTo(CShowListBase* list, CVScrollBar* bar, int firstRow);
    void KeepActionSelectionVisible();
    void OnScrollBar(CShowListBase* list, CVScrollBar* bar, LPARAM event, WPARAM part);

    void OnSetCombo();
    void OnSetMenuChoice(int value);
    // A name typed into the add or delete dialog: true when it was taken.
    bool OnSetName(bool add, const std::u16string& name);
    void OnMacroListClick();
    void OnMacroListDoubleClick();
    void OnNewMacro();
    void OnDeleteMacro();
    void OnLoopType(uint8_t loopType);
    void OnLoopCountChanged();
    void OnRecordClick();
    void OnKeyEvent(WPARAM wParam, LPARAM lParam);
    void StopRecording(bool atLimit);
    void EnableForRecording(bool recording);
    void OnInsertCombo();
    void OnInsertChoice(const PopupResult& chosen);
    void RunPendingInsert();
    void OnModifyAction();
    void OnDeleteAction();
    void OnExport();
    void OnImport();
    void OnWheel(int delta);

    MacroLibrary& library_;
    std::string libraryPath_;
    int initialSet_;
    MacroManagerState state_;
    CMacroSetSource setSource_;
    CMacroActionRows rows_;
    MacroRecorder recorder_;
    CKeyboardHook hook_;

    CComboButton* setCombo_ = nullptr;
    CEditShowList* macroList_ = nullptr;
    CVScrollBar* macroScroll_ = nullptr;
    CImageShowList* actionList_ = nullptr;
    CVScrollBar* actionScroll_ = nullptr;
    CCheckButton* record_ = nullptr;
    CCheckButton* recordPauses_ = nullptr;
    CComboButton* insertCombo_ = nullptr;
    // The loop-count box is hidden by moving it this far right, out of the window.
    static constexpr int kHiddenEditOffset = 1000;
    HWND loopEdit_ = 0;
    Rect loopEditRect_;
    bool loopEditShown_ = false;
    bool settingEditText_ = false;
    bool pendingInsert_ = false;
    uint8_t insertChoice_ = 0;
    // Controls the recording disabled, to enable again when it stops.
    std::vector<CControlBase*> disabledForRecording_;
    // Keys pressed since the recording began: the release of a key pressed
    // before it (the Space that started it) is not part of the macro.
    std::bitset<256> pressedWhileRecording_;
    // Escape ended the recording through the hook; the window's own Escape
    // of that press must not close the window as well.
    bool escapeEndedRecording_ = false;
};
