#include "ui/tab_control.h"

void CTabControl::BindSelection(int* selection, int index)
{
    selection_ = selection ? selection : &ownSelection_;
    index_ = index;
}

CTabControl::CTabControl(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align, bool visible,
                         bool available, bool disabled)
    : CSkinButton(owner, id, rect, caption, visible, available, disabled, true), label(std::move(caption))
{
    align_ = align;
}

int CTabControl::LookIndex() const
{
    if (Index() == *selection_) return state_ == kStateHover ? 3 : 2;
    return state_;
}

void CTabControl::Draw(platform::ICanvas& dc, const Rect&)
{
    int look = LookIndex();
    drawnLook_ = look;
    if (strip_)
        strip_->DrawFrame(dc, rect_, look, stripFrames_);
    else if (tabImages_[look])
        tabImages_[look]->Draw(dc, rect_);
    DrawCaption(dc, label, rect_, align_, kCaptionNormal, leftMargin_, rightMargin_);
}

void CTabControl::OnClick() { *selection_ = Index(); }

int CTabControl::OnRButtonUp(WPARAM, int x, int y)
{
    if (!disabled_ && Contains(x, y)) Notify(CE_RCLICK, id_);
    return 0;
}

void CTabControl::ReleaseImages()
{
    CSkinButton::ReleaseImages();
    for (auto& i : tabImages_) i.reset();
}

bool CTabControl::LoadTabImages(const std::u16string& normal, const std::u16string& hover,
                                const std::u16string& selected, const std::u16string& selectedHover)
{
    tabImages_[0] = CSkinImage::FromFile(normal);
    tabImages_[1] = CSkinImage::FromFile(hover);
    tabImages_[2] = CSkinImage::FromFile(selected);
    tabImages_[3] = CSkinImage::FromFile(selectedHover);
    return tabImages_[0] && tabImages_[1] && tabImages_[2] && tabImages_[3];
}

void CTabControl::Describe(platform::AccessibleNode& node) const
{
    if (node.name.empty() && accessibleName_.empty()) node.name = label.empty() ? caption_ : label;
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::Tab;
    // A right click opens the tab's own menu; a reader offers it too.
    node.actions.push_back(u"menu");
    if (selection_ && *selection_ == index_) node.states |= platform::accessible_state::kSelected;
}
