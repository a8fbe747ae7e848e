#pragma once
// The open tool windows, most recently used first. The main window is never
// in the list; the list does not own its windows. The main window's toolbar
// buttons show which windows are open.

#include <QObject>
#include <QPointer>
#include <vector>

#include "core/Receiver.h"

class QAbstractButton;
class QWidget;
class tToolWindow;

class tWindowList : public QObject, public tReceiver
{
    Q_OBJECT
  public:
    tWindowList();
    ~tWindowList() override;

    tToolWindow* Current() const;
    const std::vector<QPointer<tToolWindow>>& Windows() const { return List_; }

    // A toolbar button: shows its window, or closes it when it is open.
    void Toggle(QAbstractButton* Button);
    // Esc: closes the window used last and focuses the one before it; with
    // none open, closes the main window. False when the active window is not
    // one of the program's (a dialog or a box), which is then left alone.
    bool CloseCurrent();
    // Brings the current window to the front when the program is active.
    void ShowCurrent();
    // Presses exactly the buttons whose windows are visible, drops hidden
    // windows from the list and refreshes the options window's list.
    void UpdateButtons();
    // The screen's active window changed to W.
    void ActiveWindowChanged(QWidget* W);

    void Notify(const void* Sender, tNote Msg) override;

  private:
    bool DropHidden();
    std::vector<QPointer<tToolWindow>> List_;
    bool Updating_ = false;
};
