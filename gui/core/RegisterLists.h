#pragma once
// The register tabs' list views, showing the rows of the core's register tab
// model (rows from "SNES.txt", values from the machine state).

class QTableWidget;

// Reads the register description file; an unreadable file is reported.
void LoadRegisterFile();
// Builds the page's rows once, fills its values once per refresh (nothing
// changes while the option "update the lists" is off) and shows them in List.
void ShowRegisterTab(int Page, QTableWidget* List, bool Busy);
// A new machine state: every tab's values are stale.
void InvalidateRegisterTabs();
