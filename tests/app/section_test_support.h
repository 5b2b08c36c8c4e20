#pragma once
// A plain dialog laid out by CMainLayout with the main window's sections,
// made as the window makes them, and a fake host that records what the
// sections ask of the window. The layout and the sections are tested on it
// without a mouse.
#include <memory>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "app/main_sections.h"
#include "profile/profile_record.h"
#include "ui/dlg_base.h"
#include "ui/section_host.h"
#include "ui/ui_scale.h"

class FakeSectionHost : public ISectionHost {
public:
    explicit FakeSectionHost(CDlgBase& dlg) : dlg_(dlg) {}
    CDlgBase& Dialog() override { return dlg_; }
    ProfileRecord* WorkingProfile() override { return &g_profiles[0]; }
    void ScheduleApply(PendingGroup group) override { scheduled.push_back(group); }
    void MarkPending(PendingGroup group) override { marked.push_back(group); }
    void StoreToProfile() override { ++stores; }
    void RepaintControl(const CControlBase*) override { ++repaints; }
    void RepaintWindow() override { ++repaints; }
    void OpenPopup(int, CWndPopup*) override {}
    void ClosePopup(int) override {}
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    LRESULT RunModal(CDlgBase&) override { return IDCANCEL; }
    LRESULT MessageBox(const std::u16string&) override { return IDOK; }

    std::vector<PendingGroup> scheduled, marked;
    int stores = 0;
    int repaints = 0;

private:
    CDlgBase& dlg_;
};

class SectionsDlg : public CDlgBase {
public:
    // lightingOpen: whether the lighting section shows its mode's controls;
    // by default as its header says.
    explicit SectionsDlg(int* dpiOrdinal = nullptr, std::function<bool()> lightingOpen = {}) : CDlgBase(false)
    {
        windowWidth = ScaleUnits(1127);
        windowHeight = ScaleUnits(740);
        MainSectionsSetup setup;
        setup.selection = &g_workingProfile;
        setup.dpiOrdinal = dpiOrdinal;
        setup.lightingOpen = lightingOpen ? std::move(lightingOpen)
                                          : std::function<bool()>([this] { return layout.IsSectionOpen(MainSection::Lighting); });
        MainSections m = MakeMainSections(fake, std::move(setup));
        sections = std::move(m.all);
        steps_ = std::move(m.steps);
        for (auto& s : sections) s->MapMessages(*this);
    }
    void CreateControls(Rect client) override { layout.CreateControls(client, steps_); }
    void DrawBackground(platform::ICanvas& dc, const Rect& client) override { layout.DrawBackground(dc, client); }

    CMainLayout layout{*this};
    FakeSectionHost fake{*this};
    std::vector<std::unique_ptr<CWindowSection>> sections;

private:
    std::vector<MainCreationStep> steps_;
};
