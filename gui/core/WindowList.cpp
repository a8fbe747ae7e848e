#include "gui/core/WindowList.h"

#include <QAbstractButton>
#include <QToolButton>
#include <QWindow>
#include <QApplication>
#include <QGuiApplication>

#include "core/Broadcast.h"
#include "gui/core/Form_Main.h"
#include "gui/core/ProgramWindows.h"
#include "core/SharedData.h"
#include "gui/core/ToolWindow.h"
#include "gui/tools/Form_Options.h"

tWindowList::tWindowList()
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow*) { ActiveWindowChanged(QApplication::activeWindow()); });
    RegisterReceiver(tBusSlot::WindowList, this);
}

tWindowList::~tWindowList()
{
    RegisterReceiver(tBusSlot::WindowList, nullptr);
}

tToolWindow* tWindowList::Current() const
{
    return List_.empty() ? nullptr : List_.front().data();
}

bool tWindowList::DropHidden()
{
    size_t Before = List_.size();
    std::erase_if(List_, [](const QPointer<tToolWindow>& W) { return !W || !W->isVisible(); });
    return List_.size() != Before;
}

void tWindowList::ActiveWindowChanged(QWidget* W)
{
    if (!StartupDone || QCoreApplication::closingDown() || !IsProgramWindow(W))
        return;
    if (DropHidden() && Current()) {
        // The window that closed handed the focus to the one used before it.
        Current()->raise();
        Current()->activateWindow();
    }
    if (auto* T = qobject_cast<tToolWindow*>(W)) {
        std::erase(List_, QPointer<tToolWindow>(T));
        List_.insert(List_.begin(), T);
    }
    UpdateButtons();
}

void tWindowList::UpdateButtons()
{
    if (Updating_)
        return;
    Updating_ = true;
    for (tToolWindow* W : ToolWindows()) {
        if (!Form_Main || W->Hint().isEmpty())
            continue;
        if (QAbstractButton* B = Form_Main->ToolButton(W->Hint()))
            B->setChecked(W->isVisible());
    }
    DropHidden();
    if (Form_Options)
        Form_Options->ShowWindowList();
    Updating_ = false;
}

void tWindowList::Toggle(QAbstractButton* Button)
{
    if (!Button)
        return;
    tToolWindow* Target = nullptr;
    for (tToolWindow* W : ToolWindows())
        if (W->Hint() == Button->objectName())
            Target = W;
    if (!Target)
        return;
    if (!Target->isVisible()) {
        Target->show();
        Target->raise();
        Target->activateWindow();
        UpdateButtons();
    } else if (Target != Current()) {
        Target->close();
        UpdateButtons();
    } else
        CloseCurrent();
}

bool tWindowList::CloseCurrent()
{
    if (!IsProgramWindow(QApplication::activeWindow()))
        return false;
    DropHidden();
    if (tToolWindow* C = Current()) {
        if (List_.size() > 1 && List_[1]) {
            List_[1]->raise();
            List_[1]->activateWindow();
        } else if (Form_Main) {
            // The last tool window hands the focus back to the main window.
            Form_Main->activateWindow();
        }
        C->close();
        UpdateButtons();
    } else if (Form_Main)
        Form_Main->close();
    return true;
}

void tWindowList::ShowCurrent()
{
    if (!IsProgramWindow(QApplication::activeWindow()))
        return;
    if (tToolWindow* C = Current()) {
        C->show();
        C->raise();
    }
}

void tWindowList::Notify(const void*, tNote Msg)
{
    if (Msg == Note::ApplActivated)
        ShowCurrent();
}
