#pragma once
// What every tool window shares: its row of the window table (name, caption,
// toolbar button, bus slot), and its settings (position, size, font, and the
// options it owns on the options window) in its own section of the
// configuration.

#include <QWidget>

#include <functional>

#include "core/Receiver.h"

class tSettings;
struct tWindowRow;

class tToolWindow : public QWidget, public tReceiver
{
    Q_OBJECT
  public:
    tToolWindow(const tWindowRow& Row, QWidget* Parent);
    ~tToolWindow() override;

    // The name of the main window's button that shows the window ("" for none).
    QString Hint() const;
    const tWindowRow& Row() const { return Row_; }

    // "load config" and "save config" are handled here, so that no window
    // can lose its settings by forgetting a call; every other message goes
    // to OnNotify.
    void Notify(const void* Sender, tNote Msg) final;
    // Position, size, font, owned options, then LoadSettings / SaveSettings.
    void LoadConfig();
    void SaveConfig();

  protected:
    virtual void OnNotify(const void* /*Sender*/, tNote /*Msg*/) {}
    // Settings of the window beyond position, size, font and owned options,
    // in the window's own section.
    virtual void LoadSettings(const tSettings& /*Section*/) {}
    virtual void SaveSettings(tSettings& /*Section*/) {}
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

  private:
    const tWindowRow& Row_;
};

// Stands in for a tool window that this version does not have yet: it shows,
// hides, keeps its place and its options like the real one will.
class tForm_Placeholder : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Placeholder(const tWindowRow& Row, QWidget* Parent);
    // A button that does what the window will do in the meantime.
    void AddCommand(const QString& Caption, const std::function<void()>& Action);
};
