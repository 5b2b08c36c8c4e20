#pragma once
// CMainLayout: where the main window's controls are and how its right-hand
// column of collapsible sections moves. CTevlanDlg owns one and calls it from
// its CreateControls, DrawBackground, header click handlers, mouse-move
// handler and minimised painting; the layout itself keeps no settings, only
// which sections are open (the headers' checked flags), where the movable
// sections sit after the last paint, the mouse picture's highlight and the
// slider-dragged flag.
//
// Everything is in base units of the 1127 x 740 canvas and converted with
// ScaleUnits/ScaleRect per coordinate when a control is placed.
//
// Owner: the window thread, like the dialog it lays out.
#include <array>
#include <memory>
#include <vector>

#include "platform/draw/canvas.h"
#include "platform/window/geometry.h"
#include "platform/window/messages.h"

class CDlgBase;
class CControlBase;
class CCheckButton;
class CSkinImage;
class CSliderControl;

// The right-hand column, top to bottom.
enum class MainSection { Dpi = 0, Lighting, Polling, LiftOff, Debounce, Windows };
constexpr int kMainSectionCount = 6;

struct MainSectionInfo {
    UINT headerId;
    int captionText;  // language text of the header
    int group;        // control group of the section's panel
    int baseTop;      // header top while every section above is closed
    int panelHeight;  // frame height of the open panel
    bool openAtStart;
};

const MainSectionInfo& SectionInfo(MainSection s);
// The section whose header has this id; false for any other id.
bool SectionFromHeader(UINT id, MainSection* out);

// Which sections the rule closes when `opened` has just been opened, given
// which sections are open now (indexed by MainSection). The first section of
// the opened one's list that is open decides; sections the list does not
// look at never cause closing.
std::array<bool, kMainSectionCount> SectionsToClose(MainSection opened,
                                                    const std::array<bool, kMainSectionCount>& open);

// Header top of a section for the given open sections; the lift-off section
// counts only while present (its absence also lifts the two below by 30).
int SectionHeaderTop(MainSection s, const std::array<bool, kMainSectionCount>& open, bool liftOffPresent);

// Step 2 of the background: the tab of the k-th shown profile and the add
// button below n shown profiles (never higher than below three).
Rect ProfileTabPlace(int k);
Rect AddProfileButtonPlace(int shownCount);
// The current profile's import, export and rename buttons (i = 0, 1, 2 from
// the left), in a row under the add button that moves with it.
Rect ProfileActionButtonPlace(int shownCount, int i);

// Where the highlight of mouse-picture button h (1..8) is drawn; false for
// any other number.
bool MouseHighlightOrigin(int h, Point* out);

class CMainLayout {
public:
    explicit CMainLayout(CDlgBase& dlg);
    ~CMainLayout();
    CMainLayout(const CMainLayout&) = delete;
    CMainLayout& operator=(const CMainLayout&) = delete;

    // Creates every control of the main window once; a second call does
    // nothing. DPI and lighting start open, the other sections closed.
    void CreateControls(const Rect& client);
    bool ControlsCreated() const { return created_; }

    // Background, frames, the moving sections, the controls and the mouse
    // picture's highlight, in that order. Movable controls get their
    // rectangles here (PlaceMovableControls) before they are drawn.
    void DrawBackground(platform::ICanvas& dc, const Rect& client);
    // Steps 2 and 5 of the background without drawing: profile tabs, the
    // add button, headers and section controls. DrawBackground calls it;
    // tests and the dialog may call it to place controls before a paint.
    // True when any of those controls got another place.
    bool PlaceMovableControls();

    // The CE_CLICK of a section header (the check button has already
    // toggled). Applies the closing rule and the groups' visible flags; the
    // caller then refreshes the window from the profile. False when the id
    // is not a section header.
    bool OnHeaderClicked(UINT id);
    bool IsSectionOpen(MainSection s) const;
    // Opens or closes a section without the closing rule (start-up, tests).
    void SetSectionOpen(MainSection s, bool open);
    // Sets every group's visible flags from its header.
    void ApplySectionVisibility();
    // The lift-off section exists only for sensors with the lift-off choice.
    bool LiftOffPresent() const;
    int HeaderTop(MainSection s) const;
    // Panel top (header top + 25) as placed by the last PlaceMovableControls.
    int PanelTop(MainSection s) const { return panelTop_[static_cast<int>(s)]; }

    // Main-window WM_MOUSEMOVE after the dialog base's handling: routes a
    // drag with the left button to the sliders of the open sections and
    // keeps their value captions live. Returns true when the caller should
    // start the deferred apply (timer 30, 20 ms): the drag has ended and a
    // DPI-and-more or Windows change is pending.
    bool OnMouseMove(WPARAM flags, int x, bool pendingDpiOrWindows);
    bool SliderDragged() const { return sliderDragged_; }

    // The mouse picture's highlighted button: 0 none, 1..14 (only 1..8
    // draw anything). Setting it repaints the picture when it changes.
    void SetHighlightedButton(int h);
    int HighlightedButton() const { return highlight_; }
    Rect MousePictureRect() const;

    // Painting while minimised: the application icon centred in the client
    // area, over the window's background colour.
    void PaintMinimised(platform::ICanvas& dc, const Rect& client);
    // The application icon (resource 128), for the drag icon and the tray.
    const CSkinImage* ApplicationIcon();

private:
    struct Movable {
        CControlBase* control;
        MainSection section;
        Rect place;  // relative to (846, P)
    };
    template <class T>
    T* Add(int group, std::unique_ptr<T> c);
    void AddMovable(CControlBase* c, MainSection s, int l, int t, int r, int b);
    void CreateFixedControls();
    void CreateSectionHeaders();
    void CreateDpiSection();
    void CreateLightingSection(int p);
    void CreatePollingSection(int p);
    void CreateLiftOffSection(int p);
    void CreateDebounceSection(int p);
    void CreateWindowsSection(int p);
    CCheckButton* Header(MainSection s) const;
    std::array<bool, kMainSectionCount> OpenSections() const;
    void DrawFrame(platform::ICanvas& dc, int x, int y, int w, int h);
    void DrawStaticBackground(platform::ICanvas& dc, const Rect& client, const std::array<bool, kMainSectionCount>& open);
    void DrawHighlight(platform::ICanvas& dc);
    void UpdateSliderCaption(UINT sliderId, int position);

    CDlgBase& dlg_;
    bool created_ = false;
    std::array<CCheckButton*, kMainSectionCount> headers_{};
    std::array<int, kMainSectionCount> panelTop_{};
    std::vector<Movable> movable_;
    std::unique_ptr<CSkinImage> background_;
    std::unique_ptr<CSkinImage> frame_;
    std::unique_ptr<CSkinImage> icon_;
    std::array<std::unique_ptr<CSkinImage>, 9> highlightImages_{};  // by button number 1..8
    int highlight_ = 0;
    bool sliderDragged_ = false;
    int shownCount_ = 0;
    std::array<int, 5> shownList_{};
};
