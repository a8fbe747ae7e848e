#pragma once
// The program's start and end: the model objects, the windows in their fixed
// order, the start-up sequence.

#include <QString>

class QWidget;

// The message box shown when "SNES.txt" is missing: titled as the program,
// with the single button "Abort".
void ShowMissingFileError(const QString& FileName);

// Runs the start-up sequence after the windows exist.
void Startup();

// Creates the model objects and the windows; false (after the error box) when
// the program cannot start.
bool CreateProgram();
void FreeProgram();

QWidget* MainWindow();
