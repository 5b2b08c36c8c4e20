#pragma once
// CMainLayout: where the main window's controls are and how its right-hand
// column of collapsible sections moves. CTevlanDlg owns one and calls it from
// its CreateControls, DrawBackground, header click handlers and minimised
// painting. The layout makes the window's own controls (the captions, the
// battery block, the mouse picture, the bottom row and the section headers);
// the sections make theirs through it (ISectionPlaces), and it moves those of
// the column's panels with their headers. It keeps no settings, only which
// sections are open (the headers' checked flags), where the movable sections
// sit after the last paint and the mouse picture's highlight.
//
// Everything is in base units of the 1127 x 740 canvas and converted with
// ScaleUnits/ScaleRect per coordinate when a control is placed.
//
// Owner: the window thread, like the dialog it lays out.
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "persist/ui/profile_tab_places.h"
#include "platform/draw/canvas.h"
#include "platform/window/geometry.h"
#include "platform/window/messages.h"
#include "ui/section_host.h"

class CDlgBase;
class CControlBase;
class CCheckButton;
class CSkinImage;

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

// Step 2 of the background places the profile tabs and the buttons under
// them (persist/ui/profile_tab_places.h).

// Where the highlight of mouse-picture button h (1..8) is drawn; false for
// any other number.
bool MouseHighlightOrigin(int h, Point* out);

// The window's own controls, in blocks between which the sections' parts go.
enum class MainBlock { ButtonListCaption, BatteryBlock, Centre, BottomRow, Headers };

// One step of making the window's controls: a block of the layout's own, or
// one part of a section and where it goes: a panel of the column, or among
// the fixed controls when there is no panel.
struct MainCreationStep {
    MainBlock block = MainBlock::ButtonListCaption;
    CWindowSection* section = nullptr;
    int part = 0;
    std::optional<MainSection> panel;
};

class CMainLayout final : public ISectionPlaces {
public:
    explicit CMainLayout(CDlgBase& dlg);
    ~CMainLayout() override;
    CMainLayout(const CMainLayout&) = delete;
    CMainLayout& operator=(const CMainLayout&) = delete;

    // Makes every control of the main window once, step by step (the order
    // is the tab order); a second call does nothing. DPI and lighting start
    // open, the other sections closed.
    void CreateControls(const Rect& client, const std::vector<MainCreationStep>& steps);
    bool ControlsCreated() const { return created_; }

    // ---- ISectionPlaces, for the part being made ----
    HWND Owner() const override;
    Rect At(const Rect& place) const override;
    void AddControl(std::unique_ptr<CControlBase> control, const Rect& place) override;

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
    void CreateBlock(MainBlock block);
    void CreateButtonListCaption();
    void CreateBatteryBlock();
    void CreateCentre();
    void CreateBottomRow();
    void CreateSectionHeaders();
    // The part a section makes next goes to this panel (none: the fixed
    // controls); a panel of the column is made where it sits at start-up.
    void BeginPart(std::optional<MainSection> panel);
    CCheckButton* Header(MainSection s) const;
    std::array<bool, kMainSectionCount> OpenSections() const;
    void DrawFrame(platform::ICanvas& dc, int x, int y, int w, int h);
    void DrawStaticBackground(platform::ICanvas& dc, const Rect& client, const std::array<bool, kMainSectionCount>& open);
    void DrawHighlight(platform::ICanvas& dc);

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
    // The part being made: its group, its origin and whether it moves.
    int partGroup_ = 0;
    Point partOrigin_{};
    std::optional<MainSection> movingPanel_;
    int shownCount_ = 0;
    std::array<int, 5> shownList_{};
};
