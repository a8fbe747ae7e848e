#pragma once
// The options window: one page of settings per window, the window list, the
// configuration's load at start-up and SaveConfig.

#include <QStringList>

#include <vector>

#include "gui/core/ToolWindow.h"

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

class tForm_Options final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Options(const tWindowRow& Row, QWidget* Parent);

    // Start-up: reads the own settings, lets every window read its own
    // ("load config"), shows the options read, docks the palette viewer and
    // the preview on the memory viewer when asked to.
    void StartupStep();
    // Empties the configuration, lets every window write into it ("save
    // config") and writes "Orlik.ini".
    void SaveConfig();
    // Shows the windows that were open at the last save, the first listed in front.
    void ReopenWindows();
    void ShowWindowList();
    // F8: flips "update MemViewer and PalViewer".
    void FlipSceneUpdate();
    // Puts the options' values into the controls.
    void ShowOptions();

    QTabWidget* Pages() const { return PageControl; }
    QWidget* TargetWindow() const;
    QStringList OpenWindowNames;

  signals:
    // An option changed through its control (the control's name); windows
    // that show an option follow it at once.
    void OptionChanged(const QString& Name);

  protected:
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;

  private:
    QWidget* AddPage(const QString& Caption);
    QCheckBox* AddCheck(QWidget* Page, const char* Name, const QString& Caption, const QString& Hint = {});
    QPushButton* AddColourPanel(QWidget* Page, const char* Name, const QString& Caption);
    // The options of the window named Window on its page.
    void FillPage(const QString& Window, QWidget* Page);
    void CreateCartPage(QWidget* P);
    void CreateHexPage(QWidget* P);
    void CreateMainPage(QWidget* P);
    void CreateMemoryPage(QWidget* P);
    void CreateOpenPage(QWidget* P);
    void CreateOptionsPage(QWidget* P);
    void CreatePalettePage(QWidget* P);
    void CreateScenePage(QWidget* P);
    void ApplyColours();
    void ChangeOption(const QString& Name);
    void GUI_ClickColor(QPushButton* Panel);
    void GUI_WndFont();
    void UpdateSpacingLabel();

    std::vector<const tWindowRow*> PageRows_; // the window of each page
    QTabWidget* PageControl = nullptr;
    QTableWidget* LV_WndList = nullptr;
    QPlainTextEdit* Memo_CartExts = nullptr;
    QSpinBox* UD_HexSpacing = nullptr;
    QLabel* Label_HexSpacing = nullptr;
    bool Showing_ = false;
};
