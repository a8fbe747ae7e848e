#pragma once
// The program's start and end: the model objects, the windows in their fixed
// order, the start-up sequence.

#include <QString>

class QWidget;

// The message box shown when "SNES.txt" is missing: titled as the program,
// with the single button "Abort".
void ShowMissingFileError(const QString& FileName);

// Creates the model objects and the windows; false (after the error box) when
// the program cannot start.
bool CreateProgram();
// Runs the start-up sequence after the windows exist; its last step starts
// the main window's timer, whose tick finishes the start.
void Startup();
void FreeProgram();

QWidget* MainWindow();

// The box for an exception that reached the program: "Exception: " and the
// message in double quotes, then a full stop.
QString ExceptionText(const QString& Message);
void ShowException(const QString& Message);
