#pragma once
// Names a screen reader gives the macro manager's controls that show no
// caption of their own or share one (two "Delete" buttons), in the user's
// language.
class CDlgBase;

void NameMacroManagerControls(CDlgBase& dlg);
