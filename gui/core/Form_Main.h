#pragma once
// The main window: the toolbar that loads, reloads, saves and launches
// savestates and cartridges and opens the tool windows; the seven register
// tabs; the recent-file menus; the status bar; the program-wide keys.

#include <array>

#include <QMainWindow>
#include <QMap>
#include <QTimer>

#include "core/Receiver.h"
#include "gui/core/FileDialog.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTabWidget;
class QTableWidget;
class QToolBar;
class QToolButton;
class tMenuStyle;
class tRecentMenu;
enum class tButtonGroup;
struct tWindowRow;

class tForm_Main final : public QMainWindow, public tReceiver
{
    Q_OBJECT
  public:
    static constexpr int PageCount = 7;
    static constexpr int PanelCount = 5;

    tForm_Main(const tWindowRow& Row, QWidget* Parent);
    ~tForm_Main() override;

    QToolButton* ToolButton(const QString& Name) const;
    QTableWidget* List(int Page) const { return Lists_[static_cast<size_t>(Page)]; }
    QTableWidget* CurrentList() const { return List(CurrentPage); }
    QTabWidget* Pages() const { return PageControl; }
    QString PanelText(int Panel) const;
    tRecentMenu* RecentSNES() const { return Recent_SNES; }
    tRecentMenu* RecentCart() const { return Recent_Cart; }
    QMenu* SaveMenu() const { return Menu_Save; }
    QAction* SaveItem(int Format) const;
    tFileDialog& DialogOpenSNES() { return DlgOpen_SNES; }
    tFileDialog& DialogOpenCart() { return DlgOpen_Cart; }
    tFileDialog& DialogSaveSNES() { return DlgSave_SNES; }

    int CurrentPage = 2;
    bool Busy = false; // the list editor is writing a value back

    // Start-up, last step: suspends drawing for a maximised start and starts
    // the timer whose tick finishes the start.
    void FinishStartup();
    void GUI_TimerTick();
    QTimer* StartTimer() { return &Timer; }

    // Reads the register description file and fills the shown tab.
    void LoadRegisterDescriptions();
    void FillTab();
    // Colours, font and grid lines of the seven register lists.
    void ApplyListLook();

    // The system dialogs for savestates and cartridges.
    void OpenStateWithDialog();
    void OpenCartWithDialog();
    void GUI_ClickOpen();
    void GUI_ClickCart();
    void GUI_ClickReload(QToolButton* Button);
    void GUI_ClickSave();
    void GUI_ClickExec(QToolButton* Button);
    void GUI_ClickBtn(QToolButton* Button);
    void GUI_ClickHelp();
    void GUI_ChangePage(int Page);
    void GUI_MenuClear(tRecentMenu* Menu);
    // The program-wide keys; true when the key was acted on.
    bool GUI_AppShortcut(int Key, Qt::KeyboardModifiers Modifiers);

    void AddRecentSavestate(const QString& FileName);
    void AddRecentCart(const QString& FileName);
    // Opens a savestate from its file name (command line, menu, dialog).
    // True when the file was loaded; otherwise the reason has been shown.
    bool OpenSavestate(const QString& FileName);

    void Notify(const void* Sender, tNote Msg) override;

  protected:
    void closeEvent(QCloseEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    void CreateToolbars();
    void CreatePages();
    void CreateStatusBar();
    void CreateMenus();
    void CreateDialogs();
    QToolButton* AddButton(QToolBar* Bar, const QString& Name, const QString& Hint, bool Checkable, bool Enabled);
    // The buttons of the windows in Group, in their order.
    void AddWindowButtons(QToolBar* Bar, tButtonGroup Group);
    void OnNewSavestate();
    void OnNewCart();
    void ClickRecentSavestate(QAction* Item, const QString& FileName);
    void ClickRecentCart(QAction* Item, const QString& FileName);
    void ToggleListEditor();
    void LoadConfig();
    void SaveConfig();
    QImage RecentCartPicture(const QString& FileName) const;
    void SetPanel(int Panel, const QString& Text);

    QToolBar* ToolBar_Left = nullptr;
    QToolBar* ToolBar_Right = nullptr;
    QMap<QString, QToolButton*> Buttons_;
    QTabWidget* PageControl = nullptr;
    std::array<QTableWidget*, PageCount> Lists_{};
    std::array<QLabel*, PanelCount> Panels_{};
    tMenuStyle* MenuStyle_ = nullptr;
    QMenu* Menu_SNES = nullptr;
    QMenu* Menu_Cart = nullptr;
    QMenu* Menu_Save = nullptr;
    QActionGroup* SaveGroup_ = nullptr;
    tRecentMenu* Recent_SNES = nullptr;
    tRecentMenu* Recent_Cart = nullptr;
    QMap<QString, QString> CartHints_; // recent cartridge -> the savestate it came with
    tFileDialog DlgOpen_SNES;
    tFileDialog DlgOpen_Cart;
    tFileDialog DlgSave_SNES;
    QTimer Timer;
    bool UpdatesLocked = false;
    tBusSlot Slot_;
};
