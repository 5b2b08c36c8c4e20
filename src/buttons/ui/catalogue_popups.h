#pragma once
// The sub-menus of the function menu: DPI steps, DPI locks, multimedia,
// office and desktop shortcuts. Each shows its catalogue rows and reports
// the chosen row's label and code.
#include "buttons/function_catalogue.h"
#include "ui/item_popup.h"

class CCataloguePopup : public CItemPopup {
public:
    CCataloguePopup(ButtonMenu menu, int kind);
    ButtonMenu Menu() const { return menu_; }

protected:
    void BuildItems() override;
    void FillResult(const PopupItem& item) override;

private:
    ButtonMenu menu_;
};

class CDPIPopup final : public CCataloguePopup {
public:
    CDPIPopup();
};
class CDPILockPopup final : public CCataloguePopup {
public:
    CDPILockPopup();
};
class CMultimediaPopup final : public CCataloguePopup {
public:
    CMultimediaPopup();
};
class COfficePopup final : public CCataloguePopup {
public:
    COfficePopup();
};
class CWindowsManagePopup final : public CCataloguePopup {
public:
    CWindowsManagePopup();
};
