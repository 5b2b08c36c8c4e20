#include "app/main_layout.h"
#include "app/main_layout_parts.h"

#include <algorithm>
#include <string>

#include "app/main_ids.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "persist/settings_file.h"
#include "settings/dpi_step_table.h"
#include "settings/ui/dpi_section_layout.h"
#include "settings/ui/sensor_section.h"
#include "ui/check_button.h"
#include "ui/dlg_base.h"
#include "ui/skin_image.h"
#include "ui/slider_control.h"
#include "ui/ui_scale.h"

using namespace main_layout_parts;

namespace {

// The pointer preferences reach below their 110-unit panel; their frame is
// drawn down to the desktop settings button so that nothing floats outside.
constexpr int kWindowsFrameHeight = kDesktopSettingsButtonTop + 25 + 8;
constexpr int kButtonListFrameHeight = 338 - 62;  // ends 3 units above the macro manager frame

constexpr std::array<MainSectionInfo, kMainSectionCount> kSections{{
    {main_ids::kDpiHeader, 11, 1, 37, 196, true},         // DPI: never moves
    {main_ids::kLightingHeader, 12, 2, 67, 180, true},    // lighting
    {main_ids::kPollingHeader, 13, 4, 97, 180, false},    // polling rate
    {main_ids::kLiftOffHeader, 19, 5, 127, 85, false},    // lift-off distance
    {main_ids::kDebounceHeader, 272, 6, 157, 85, false},  // key debounce
    {main_ids::kWindowsHeader, 14, 3, 187, 110, false},   // Windows pointer settings
}};

// The closing rule: for the section just opened, the sections looked at in
// order, each with what its being open closes.
struct CloseCase {
    MainSection probe;
    std::vector<MainSection> close;
};
const std::vector<CloseCase>& CloseCases(MainSection opened)
{
    static const std::array<std::vector<CloseCase>, kMainSectionCount> table{{
        // DPI
        {{S::Lighting, {S::Polling, S::LiftOff, S::Debounce, S::Windows}},
         {S::Polling, {S::LiftOff, S::Debounce, S::Windows}},
         {S::LiftOff, {S::Debounce, S::Windows}}},
        // lighting
        {{S::Dpi, {S::Polling, S::LiftOff, S::Debounce, S::Windows}},
         {S::Polling, {S::LiftOff, S::Debounce, S::Windows}},
         {S::LiftOff, {S::Debounce, S::Windows}}},
        // polling rate
        {{S::Dpi, {S::Lighting, S::LiftOff, S::Debounce, S::Windows}},
         {S::Lighting, {S::LiftOff, S::Debounce, S::Windows}},
         {S::LiftOff, {S::Debounce, S::Windows}}},
        // lift-off
        {{S::Dpi, {S::Lighting, S::Polling, S::Debounce, S::Windows}},
         {S::Lighting, {S::Polling, S::Debounce, S::Windows}},
         {S::Polling, {S::Debounce, S::Windows}}},
        // key debounce
        {{S::Dpi, {S::Lighting, S::Polling, S::LiftOff, S::Windows}},
         {S::Lighting, {S::Polling, S::LiftOff, S::Windows}},
         {S::Polling, {S::LiftOff, S::Windows}}},
        // Windows
        {{S::Dpi, {S::Lighting, S::Polling, S::LiftOff, S::Debounce}},
         {S::Lighting, {S::Polling, S::LiftOff, S::Debounce}},
         {S::Polling, {S::LiftOff, S::Debounce}}},
    }};
    return table[static_cast<size_t>(opened)];
}

constexpr std::array<Point, main_ids::kButtonComboCount> kHighlightOrigins{
    {{525, 231}, {608, 231}, {570, 261}, {467, 311}, {471, 360}, {592, 316}, {553, 333}, {487, 254}}};

int SectionIndex(MainSection s) { return static_cast<int>(s); }

}  // namespace

const MainSectionInfo& SectionInfo(MainSection s) { return kSections[static_cast<size_t>(s)]; }

bool SectionFromHeader(UINT id, MainSection* out)
{
    for (int i = 0; i < kMainSectionCount; ++i)
        if (kSections[size_t(i)].headerId == id) {
            if (out) *out = static_cast<MainSection>(i);
            return true;
        }
    return false;
}

std::array<bool, kMainSectionCount> SectionsToClose(MainSection opened, const std::array<bool, kMainSectionCount>& open)
{
    std::array<bool, kMainSectionCount> close{};
    for (const CloseCase& c : CloseCases(opened)) {
        if (!open[size_t(SectionIndex(c.probe))]) continue;
        for (MainSection s : c.close) close[size_t(SectionIndex(s))] = true;
        break;
    }
    return close;
}

int SectionHeaderTop(MainSection s, const std::array<bool, kMainSectionCount>& open, bool liftOffPresent)
{
    const int index = SectionIndex(s);
    int top = kSections[size_t(index)].baseTop;
    if (!liftOffPresent && index > SectionIndex(MainSection::LiftOff)) top -= 30;
    for (int above = 0; above < index; ++above) {
        if (above == SectionIndex(MainSection::LiftOff) && !liftOffPresent) continue;
        if (open[size_t(above)]) top += kSections[size_t(above)].panelHeight;
    }
    return top;
}

bool MouseHighlightOrigin(int h, Point* out)
{
    if (h < 1 || h > int(kHighlightOrigins.size())) return false;
    if (out) *out = kHighlightOrigins[size_t(h - 1)];
    return true;
}

// ---- CMainLayout ------------------------------------------------------------------

CMainLayout::CMainLayout(CDlgBase& dlg) : dlg_(dlg) {}
CMainLayout::~CMainLayout() = default;

void CMainLayout::CreateControls(const Rect&, const std::vector<MainCreationStep>& steps)
{
    if (created_) return;
    created_ = true;
    for (const MainCreationStep& step : steps) {
        if (!step.section) {
            CreateBlock(step.block);
            continue;
        }
        BeginPart(step.panel);
        step.section->CreateControls(*this, step.part);
    }
    BeginPart(std::nullopt);
    for (int i = 0; i < kMainSectionCount; ++i)
        if (headers_[size_t(i)]) headers_[size_t(i)]->SetChecked(kSections[size_t(i)].openAtStart);
    ApplySectionVisibility();
    PlaceMovableControls();
}

void CMainLayout::BeginPart(std::optional<MainSection> panel)
{
    partGroup_ = panel ? SectionInfo(*panel).group : 0;
    partOrigin_ = {};
    movingPanel_.reset();
    // The DPI panel never moves: its places are the window's own.
    if (!panel || *panel == MainSection::Dpi) return;
    // The movable panels are made where they sit at start-up (DPI and
    // lighting open); what matters is the horizontal extent: the sliders
    // keep the position tables they compute here when the layout later
    // moves them up and down.
    std::array<bool, kMainSectionCount> open{};
    for (int i = 0; i < kMainSectionCount; ++i) open[size_t(i)] = kSections[size_t(i)].openAtStart;
    partOrigin_ = {kColumnX, SectionHeaderTop(*panel, open, LiftOffPresent()) + kHeaderHeight};
    movingPanel_ = panel;
}

HWND CMainLayout::Owner() const { return dlg_.GetSafeHwnd(); }

Rect CMainLayout::At(const Rect& p) const
{
    const int x = partOrigin_.x, y = partOrigin_.y;
    return ScaleRect(x + p.left, y + p.top, x + p.right, y + p.bottom);
}

void CMainLayout::AddControl(std::unique_ptr<CControlBase> control, const Rect& place)
{
    CControlBase* raw = dlg_.AddControl(partGroup_, std::move(control));
    if (movingPanel_) movable_.push_back({raw, *movingPanel_, place});
}

void CMainLayout::CreateSectionHeaders()
{
    // Headers go last in group 0, in the column's order; their places
    // follow the paint.
    const HWND w = dlg_.GetSafeHwnd();
    for (MainSection s : {S::Dpi, S::Lighting, S::Polling, S::LiftOff, S::Debounce, S::Windows}) {
        const MainSectionInfo& info = SectionInfo(s);
        auto h = std::make_unique<CCheckButton>(
            w, info.headerId, ScaleRect(kColumnX, info.baseTop, kColumnX + kColumnWidth, info.baseTop + kHeaderHeight),
            UiText(info.captionText));
        h->LoadImage1(Skin(u"header_nr.png"));
        h->LoadImage2(Skin(u"header_ov.png"));
        // The open look; a skin without it shows the hover picture instead.
        if (!h->LoadImage3(Skin(u"header_dn.png"))) h->LoadImage3(Skin(u"header_ov.png"));
        h->SetMargins(ScaleUnits(12), ScaleUnits(28));
        h->SetCaptionColour(2, RGB(255, 255, 255));
        headers_[size_t(SectionIndex(s))] = Add(0, std::move(h));
    }
}

// ---- sections -----------------------------------------------------------------------

CCheckButton* CMainLayout::Header(MainSection s) const { return headers_[size_t(SectionIndex(s))]; }

bool CMainLayout::LiftOffPresent() const { return LiftOffChoiceAvailable(); }

bool CMainLayout::IsSectionOpen(MainSection s) const
{
    CCheckButton* h = Header(s);
    if (!h || !h->IsChecked()) return false;
    return s != MainSection::LiftOff || LiftOffPresent();
}

std::array<bool, kMainSectionCount> CMainLayout::OpenSections() const
{
    std::array<bool, kMainSectionCount> open{};
    for (int i = 0; i < kMainSectionCount; ++i) open[size_t(i)] = IsSectionOpen(static_cast<MainSection>(i));
    return open;
}

void CMainLayout::SetSectionOpen(MainSection s, bool open)
{
    if (CCheckButton* h = Header(s)) h->SetChecked(open);
}

int CMainLayout::HeaderTop(MainSection s) const { return SectionHeaderTop(s, OpenSections(), LiftOffPresent()); }

void CMainLayout::ApplySectionVisibility()
{
    for (int i = 0; i < kMainSectionCount; ++i) {
        const MainSection s = static_cast<MainSection>(i);
        const bool open = IsSectionOpen(s);
        for (const auto& c : dlg_.Group(kSections[size_t(i)].group))
            if (c) c->SetVisible(open);
    }
}

bool CMainLayout::OnHeaderClicked(UINT id)
{
    MainSection clicked;
    if (!created_ || !SectionFromHeader(id, &clicked)) return false;
    if (IsSectionOpen(clicked)) {
        std::array<bool, kMainSectionCount> open = OpenSections();
        open[size_t(SectionIndex(clicked))] = false;
        std::array<bool, kMainSectionCount> close = SectionsToClose(clicked, open);
        for (int i = 0; i < kMainSectionCount; ++i)
            if (close[size_t(i)]) SetSectionOpen(static_cast<MainSection>(i), false);
    }
    ApplySectionVisibility();
    PlaceMovableControls();
    return true;
}

bool CMainLayout::PlaceMovableControls()
{
    if (!created_) return false;
    bool moved = false;
    auto place = [&moved](CControlBase* c, const Rect& r) {
        if (c->GetRect() != r) moved = true;
        c->SetRect(r);
    };
    // Profile tabs of the shown profiles, top to bottom, then the add button.
    shownCount_ = GetProfileShowCount();
    for (int k = 0; k < 5; ++k) shownList_[size_t(k)] = GetProfileShowList(k);
    for (int k = 0; k < shownCount_; ++k)
        if (CControlBase* tab = dlg_.FindControl(main_ids::kFirstProfileTab + UINT(shownList_[size_t(k)]))) {
            Rect r = ProfileTabPlace(k);
            place(tab, ScaleRect(r.left, r.top, r.right, r.bottom));
        }
    if (CControlBase* add = dlg_.FindControl(main_ids::kAddProfile)) {
        Rect r = AddProfileButtonPlace(shownCount_);
        place(add, ScaleRect(r.left, r.top, r.right, r.bottom));
    }
    static constexpr UINT kActions[] = {main_ids::kImportProfile, main_ids::kExportProfile, main_ids::kRenameProfile};
    for (int i = 0; i < 3; ++i)
        if (CControlBase* action = dlg_.FindControl(kActions[i])) {
            Rect r = ProfileActionButtonPlace(shownCount_, i);
            place(action, ScaleRect(r.left, r.top, r.right, r.bottom));
        }

    const bool liftOff = LiftOffPresent();
    if (CCheckButton* h = Header(MainSection::LiftOff)) {
        if (h->IsAvailable() != liftOff) moved = true;
        h->SetAvailable(liftOff);
        if (!liftOff && h->IsChecked()) {
            moved = true;
            // A sensor without the choice: the section cannot be open, so
            // its controls must not stay drawn where the next one now sits.
            h->SetChecked(false);
            for (const auto& c : dlg_.Group(SectionInfo(MainSection::LiftOff).group))
                if (c) c->SetVisible(false);
        }
    }
    const std::array<bool, kMainSectionCount> open = OpenSections();
    for (int i = 0; i < kMainSectionCount; ++i) {
        const MainSection s = static_cast<MainSection>(i);
        const int top = SectionHeaderTop(s, open, liftOff);
        panelTop_[size_t(i)] = top + kHeaderHeight;
        if (CCheckButton* h = Header(s))
            place(h, ScaleRect(kColumnX, top, kColumnX + kColumnWidth, top + kHeaderHeight));
    }
    for (const Movable& m : movable_) {
        const int p = panelTop_[size_t(SectionIndex(m.section))];
        place(m.control,
              ScaleRect(kColumnX + m.place.left, p + m.place.top, kColumnX + m.place.right, p + m.place.bottom));
        // The thumb keeps its own rectangle: put it back on the slider.
        if (auto* slider = dynamic_cast<CSliderControl*>(m.control)) slider->SetPosition(slider->Position());
    }
    return moved;
}

// ---- painting -----------------------------------------------------------------------

void CMainLayout::DrawFrame(platform::ICanvas& dc, int x, int y, int w, int h)
{
    if (frame_) frame_->Draw(dc, ScaleRect(x, y, x + w, y + h));
}

void CMainLayout::DrawBackground(platform::ICanvas& dc, const Rect& client)
{
    PlaceMovableControls();
    DrawStaticBackground(dc, client, OpenSections());
    dlg_.DrawControls(dc, client);
    DrawHighlight(dc);
}

void CMainLayout::DrawStaticBackground(platform::ICanvas& dc, const Rect& client,
                                       const std::array<bool, kMainSectionCount>& open)
{
    // The window's own copy of the background picture (resource 364, which
    // the dialog loaded at start-up) when it has one: decoding the picture a
    // second time would cost as much again, in time and memory.
    if (dlg_.HasBackgroundCache()) {
        dlg_.PaintBackgroundCache(dc, client);
    } else {
        dc.FillRect(client, dlg_.BackgroundColour());
        if (!background_) background_ = CSkinImage::FromResource(364);
        if (background_) background_->Draw(dc, ScaleRect(0, 0, 1127, 740));
    }
    if (!frame_) frame_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_Lighting_Setting.bmp"));

    // The button list's frame ends where the macro manager's begins, below
    // the eighth row.
    DrawFrame(dc, 36, 62, 230, kButtonListFrameHeight);
    DrawFrame(dc, 36, 341, 230, 43);
    DrawFrame(dc, 36, 423, 230, 82);
    DrawFrame(dc, 36, 550, 230, 146);
    if (open[size_t(SectionIndex(MainSection::Dpi))])
        DrawFrame(dc, kDpiSectionLeft, kDpiSectionTop, kDpiSectionWidth, kDpiSectionHeight);
    for (MainSection s : {S::Lighting, S::Polling, S::LiftOff, S::Debounce, S::Windows}) {
        if (!open[size_t(SectionIndex(s))]) continue;
        DrawFrame(dc, kColumnX, PanelTop(s), kColumnWidth,
                  s == MainSection::Windows ? kWindowsFrameHeight : SectionInfo(s).panelHeight);
    }
}

void CMainLayout::DrawHighlight(platform::ICanvas& dc)
{
    Point at;
    if (!MouseHighlightOrigin(highlight_, &at)) return;
    auto& img = highlightImages_[size_t(highlight_)];
    if (!img) img = CSkinImage::FromFile(Skin((u"mouse/number" + Ascii(std::to_string(highlight_)) + u".png").c_str()));
    if (!img) return;
    const int x = ScaleUnits(at.x), y = ScaleUnits(at.y);
    img->Draw(dc, Rect::FromSize(x, y, ScaleUnits(img->Width()), ScaleUnits(img->Height())));
}

Rect CMainLayout::MousePictureRect() const { return ScaleRect(457, 171, 672, 569); }

void CMainLayout::SetHighlightedButton(int h)
{
    if (h < 0 || h > 14) h = 0;
    if (h == highlight_) return;
    highlight_ = h;
    if (dlg_.GetSafeHwnd() && platform::g_windowHost)
        platform::g_windowHost->InvalidateRect(dlg_.GetSafeHwnd(), MousePictureRect());
}

const CSkinImage* CMainLayout::ApplicationIcon()
{
    if (!icon_) icon_ = CSkinImage::FromResource(128);
    return icon_.get();
}

void CMainLayout::PaintMinimised(platform::ICanvas& dc, const Rect& client)
{
    dc.FillRect(client, dlg_.BackgroundColour());
    const CSkinImage* icon = ApplicationIcon();
    if (!icon) return;
    const int size = ScaleUnits(32);
    const int x = (client.Width() - size + 1) / 2, y = (client.Height() - size + 1) / 2;
    icon->Draw(dc, Rect::FromSize(x, y, size, size));
}
