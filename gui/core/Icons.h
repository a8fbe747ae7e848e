#pragma once
// The program's pictures, painted at run time: toolbar icons, the pictures of
// the save-format menu, the cartridge picture of the recent-cartridge menu,
// the quit window's picture and the four custom cursors.

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QString>

// The 32 x 32 icon of a toolbar button, by the button's name.
QIcon ToolbarIcon(const QString& ButtonName);
// 48 x 48, 32-bit, magenta ($FF00FF) where it is transparent; Format is one
// of FormatZST..FormatSSL or 5 for the program's own format.
QImage SaveFormatPicture(int Format);
// The thumbnail of recent cartridges.
QImage CartPicture();
QImage QuitPicture();

// The custom cursors by number: 1 "Hand", 2 "Move", 3 "Pick", 4 "Zoom".
enum : int { crHand = 1, crMove = 2, crPick = 3, crZoom = 4 };
QCursor ProgramCursor(int Number);
