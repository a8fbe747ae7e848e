#include "core/ToolWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Broadcast.h"
#include "core/Config.h"
#include "core/ProgramWindows.h"
#include "core/WindowList.h"
#include "tools/OptionStore.h"

tToolWindow::tToolWindow(const QString& Name, const QString& Caption, const QString& Hint, tBusSlot Slot,
                         QWidget* Parent)
    : QWidget(Parent, Qt::Window), Hint_(Hint), Slot_(Slot)
{
    setObjectName(Name);
    setWindowTitle(Caption);
    RegisterReceiver(Slot_, this);
}

tToolWindow::~tToolWindow()
{
    RegisterReceiver(Slot_, nullptr);
}

void tToolWindow::Notify(const void*, tNote Msg)
{
    if (Msg == Note::LoadConfig) {
        CfgSection(objectName());
        ReadForm(this, true);
        ReadOwnedOptions(objectName());
        LoadSettings();
    } else if (Msg == Note::SaveConfig) {
        CfgSection(objectName());
        WriteForm(this);
        WriteOwnedOptions(objectName());
        SaveSettings();
    }
}

// Closing a window by its frame releases its toolbar button at once.
void tToolWindow::showEvent(QShowEvent* Event)
{
    QWidget::showEvent(Event);
    if (WindowList)
        WindowList->UpdateButtons();
}

void tToolWindow::hideEvent(QHideEvent* Event)
{
    QWidget::hideEvent(Event);
    if (WindowList)
        WindowList->UpdateButtons();
}

tForm_Placeholder::tForm_Placeholder(const QString& Name, const QString& Caption, const QString& Hint, tBusSlot Slot,
                                     QWidget* Parent)
    : tToolWindow(Name, Caption, Hint, Slot, Parent)
{
    auto* L = new QVBoxLayout(this);
    auto* Text = new QLabel(tr("This window is not part of this version yet."), this);
    Text->setAlignment(Qt::AlignCenter);
    L->addWidget(Text);
    resize(320, 160);
}

void tForm_Placeholder::AddCommand(const QString& Caption, const std::function<void()>& Action)
{
    auto* B = new QPushButton(Caption, this);
    B->setObjectName(QStringLiteral("Btn_Command"));
    layout()->addWidget(B);
    connect(B, &QPushButton::clicked, this, Action);
}
