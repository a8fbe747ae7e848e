#pragma once
// The seven register tabs' rows and values, from the register description
// file and the machine state.

class QTableWidget;

// Reads the register description file; the error box has been shown when it
// fails.
void LoadRegisterFile();
// Creates the rows of one tab.
void BuildRegisterTab(int Page, QTableWidget* List);
// Writes the current values into the rows of one tab. Busy keeps the values
// shown before (the list editor is writing one back).
void FillRegisterTab(int Page, QTableWidget* List, bool Busy);
