#pragma once
// What every tool window shares: its toolbar button's name (Hint), its slot
// on the bus, and its settings (position, size, font, and the options it owns
// on the options window) in its own section of the configuration.

#include <QWidget>

#include <functional>

#include "core/Receiver.h"

class tToolWindow : public QWidget, public tReceiver
{
    Q_OBJECT
  public:
    // Name is the component name (also the configuration section), Hint the
    // name of the main window's button that shows the window ("" for none).
    tToolWindow(const QString& Name, const QString& Caption, const QString& Hint, tBusSlot Slot, QWidget* Parent);
    ~tToolWindow() override;

    QString Hint() const { return Hint_; }
    void Notify(const void* Sender, tNote Msg) override;

  protected:
    // Settings of the window beyond position, size and font.
    virtual void LoadSettings() {}
    virtual void SaveSettings() {}
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

  private:
    QString Hint_;
    tBusSlot Slot_;
};

// Stands in for a tool window that this version does not have yet: it shows,
// hides, keeps its place and its options like the real one will.
class tForm_Placeholder final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Placeholder(const QString& Name, const QString& Caption, const QString& Hint, tBusSlot Slot, QWidget* Parent);
    // A button that does what the window will do in the meantime.
    void AddCommand(const QString& Caption, const std::function<void()>& Action);
};
