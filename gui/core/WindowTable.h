#pragma once
// The program's windows, one row each: everything the frame needs to know
// about a window lives here, and the window list, the toolbar, the options
// pages and the configuration sections are read from the table.
//
// Replacing a placeholder (or adding a window) takes:
// 1. the class, derived from tToolWindow, constructed from (const tWindowRow&,
//    QWidget* Parent); it overrides OnNotify for the messages it handles and
//    LoadSettings / SaveSettings for settings beyond position, size, font and
//    the options it owns (those the base class reads and writes itself);
// 2. its row in WindowTable.cpp: Hooks<tForm_X, &Form_X>() and the include.
// When other code needs the window's own type, its pointer is declared with
// that type in ProgramWindows.h and defined so in WindowTable.cpp. What its
// options page shows is the options window's business (tForm_Options::FillPage).

#include <span>

#include <QString>

#include "core/Broadcast.h"

class QWidget;
struct tWindowRow;

// Where the main window puts the button that shows a window.
enum class tButtonGroup {
    None,    // no button (the search window is opened from the hex editor)
    Files,   // the main window makes it itself, with its recent-file menu
    Editors, // left toolbar, after the file buttons
    Viewers, // left toolbar, after a separator
    Options, // right toolbar, before the help button
    Quit,    // right toolbar, last
};

// Makes a window and keeps it in the program's pointer for it (Form_Scene
// ...), finds it there, and empties the pointer when it has been freed.
struct tWindowHooks {
    QWidget* (*Create)(const tWindowRow& Row, QWidget* MainWindow);
    QWidget* (*Get)();
    void (*Forget)();
};

// The hooks of a window of class T kept in the pointer *Global.
template <class T, auto Global> constexpr tWindowHooks Hooks()
{
    return {[](const tWindowRow& Row, QWidget* MainWindow) -> QWidget* {
                auto* W = new T(Row, MainWindow);
                *Global = W;
                return W;
            },
            []() -> QWidget* { return *Global; }, [] { *Global = nullptr; }};
}

struct tWindowRow {
    const char* Name;        // component name, object name and configuration section
    const char* Caption;     // window title
    const char* Button;      // the toolbar button that shows it, "" for none
    const char* ButtonHint;  // the button's tooltip (Files buttons keep their own)
    tButtonGroup Group;      // where the button sits
    int ButtonOrder;         // left to right within the group
    int Slot;                // place among the windows in the bus's calling order
    const char* OptionsPage; // caption of its page on the options window, "" for none
    tWindowHooks Window;     // the main window is made first and gets no parent

    QString ComponentName() const { return QString::fromLatin1(Name); }
    tBusSlot BusSlot() const { return WindowSlot(Slot); }
};

// The rows in creation order, the main window first.
std::span<const tWindowRow> WindowTable();
// The row of the window named Name, nullptr for none.
const tWindowRow* FindWindowRow(QStringView Name);
