#include "gui/core/ToolWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Broadcast.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/Settings.h"
#include "gui/core/WindowList.h"
#include "gui/core/WindowTable.h"
#include "gui/tools/OptionStore.h"

// Tool windows float above the main window: a tool frame that stays on top.
tToolWindow::tToolWindow(const tWindowRow& Row, QWidget* Parent)
    : QWidget(Parent, Qt::Tool | Qt::WindowStaysOnTopHint), Row_(Row)
{
    setObjectName(Row.ComponentName());
    setWindowTitle(QString::fromLatin1(Row.Caption));
    RegisterReceiver(Row_.BusSlot(), this);
}

tToolWindow::~tToolWindow()
{
    RegisterReceiver(Row_.BusSlot(), nullptr);
}

QString tToolWindow::Hint() const
{
    return QString::fromLatin1(Row_.Button);
}

void tToolWindow::Notify(const void* Sender, tNote Msg)
{
    if (Msg == Note::LoadConfig)
        LoadConfig();
    else if (Msg == Note::SaveConfig)
        SaveConfig();
    else
        OnNotify(Sender, Msg);
}

void tToolWindow::LoadConfig()
{
    const tSettings Section(objectName());
    Section.ReadForm(this, true);
    ReadOwnedOptions(Section);
    LoadSettings(Section);
}

void tToolWindow::SaveConfig()
{
    tSettings Section(objectName());
    Section.WriteForm(this);
    WriteOwnedOptions(Section);
    SaveSettings(Section);
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

tForm_Placeholder::tForm_Placeholder(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
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
