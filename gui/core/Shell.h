#pragma once
// Asking the desktop to open a file with its associated program.

#include <functional>

#include <QString>

// The desktop's result for opening File: above 32 on success, else the code
// of the reason (2 file not found, 3 path not found, 31 no program for it).
int ShellOpen(const QString& File);

// The text of a launch failure code.
QString LaunchErrorText(int Code);
// The whole message for a file that could not be launched.
QString LaunchErrorMessage(const QString& File, int Code);

// Opens File and shows the error box when that fails; true on success.
bool ShellOpenOrReport(const QString& File);

// Tests replace the desktop with a runner that returns a code.
using tShellRunner = std::function<int(const QString&)>;
void SetShellRunner(tShellRunner Runner);
