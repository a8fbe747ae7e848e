#include "gui/core/Form_Main.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include "core/Broadcast.h"
#include "gui/core/CoreBridge.h"
#include "gui/core/Form_Quit.h"
#include "gui/core/Icons.h"
#include "gui/core/MenuStyle.h"
#include "core/Options.h"
#include "gui/core/Program.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/RecentMenu.h"
#include "gui/core/RegisterLists.h"
#include "core/SharedData.h"
#include "gui/core/WindowList.h"
#include "gui/core/WindowTable.h"

namespace
{
// The window as laid out at 96 dpi.
constexpr int DesignWidth = 816;
constexpr int DesignHeight = 423;
constexpr int MinWidth = 824;
constexpr int MinHeight = 170;
constexpr std::array<int, tForm_Main::PanelCount> PanelWidths = {50, 256, 256, 128, 256};
const char* const PageCaptions[] = {"&1: CPU", "&2: DMA", "&3: PPU", "&4: APU", "&5: ZST", "&6: S9X", "&7: SSL"};
const char* const ListNames[] = {"LV_CPU", "LV_DMA", "LV_PPU", "LV_APU", "LV_ZST", "LV_S9X", "LV_SSL"};
const char* const Columns[] = {"address", "type", "bits", "bin", "hex", "dec", "name", "comment"};
constexpr std::array<int, 8> ColumnWidths = {64, 64, 36, 140, 90, 90, 110, 300};
} // namespace

tForm_Main::tForm_Main(const tWindowRow& Row, QWidget* Parent) : QMainWindow(Parent), Slot_(Row.BusSlot())
{
    setObjectName(Row.ComponentName());
    setWindowTitle(QApplication::applicationName());
    setMinimumSize(MinWidth, MinHeight);
    resize(DesignWidth, DesignHeight);
    MenuStyle_ = new tMenuStyle;
    MenuStyle_->setParent(this);
    CreateMenus();
    CreateToolbars();
    CreatePages();
    CreateStatusBar();
    CreateDialogs();
    Timer.setSingleShot(true);
    Timer.setInterval(1);
    connect(&Timer, &QTimer::timeout, this, &tForm_Main::GUI_TimerTick);
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState S) {
        if (S == Qt::ApplicationActive) {
            Broadcast(this, Note::ApplActivated);
            Broadcast(this, Note::UpdateFileDialogs);
        } else if (S == Qt::ApplicationInactive)
            Broadcast(this, Note::ApplDeactivated);
    });
    RegisterReceiver(Slot_, this);
}

tForm_Main::~tForm_Main()
{
    qApp->removeEventFilter(this);
    RegisterReceiver(Slot_, nullptr);
}

QToolButton* tForm_Main::AddButton(QToolBar* Bar, const QString& Name, const QString& Hint, bool Checkable,
                                   bool Enabled)
{
    auto* B = new QToolButton(Bar);
    B->setObjectName(Name);
    B->setToolTip(Hint);
    B->setIcon(ToolbarIcon(Name));
    B->setIconSize(QSize(32, 32));
    B->setFixedSize(38, 39);
    B->setAutoRaise(true);
    B->setCheckable(Checkable);
    B->setEnabled(Enabled);
    Bar->addWidget(B);
    Buttons_.insert(Name, B);
    return B;
}

void tForm_Main::CreateToolbars()
{
    auto* Top = new QWidget(this);
    Top->setObjectName(QStringLiteral("Panel_Top"));
    Top->setFixedHeight(42);
    auto* Row = new QHBoxLayout(Top);
    Row->setContentsMargins(0, 0, 0, 0);
    ToolBar_Left = new QToolBar(Top);
    ToolBar_Left->setObjectName(QStringLiteral("ToolBar_Left"));
    ToolBar_Right = new QToolBar(Top);
    ToolBar_Right->setObjectName(QStringLiteral("ToolBar_Right"));
    for (QToolBar* T : {ToolBar_Left, ToolBar_Right}) {
        T->setIconSize(QSize(32, 32));
        T->setMovable(false);
    }
    Row->addWidget(ToolBar_Left);
    Row->addStretch(1);
    Row->addWidget(ToolBar_Right);
    setMenuWidget(Top);

    QToolBar* L = ToolBar_Left;
    QToolButton* Open =
        AddButton(L, QStringLiteral("Btn_StateOpen"), QStringLiteral("load a SNES savestate (F3)"), true, true);
    Open->setMenu(Menu_SNES);
    Open->setPopupMode(QToolButton::MenuButtonPopup);
    Open->setFixedSize(50, 39);
    connect(Open, &QToolButton::clicked, this, &tForm_Main::GUI_ClickOpen);
    QToolButton* Reload =
        AddButton(L, QStringLiteral("Btn_StateReload"), QStringLiteral("reload the last savestate (F5)"), false, false);
    connect(Reload, &QToolButton::clicked, this, [this, Reload] { GUI_ClickReload(Reload); });
    QToolButton* Save =
        AddButton(L, QStringLiteral("Btn_StateSave"), QStringLiteral("save the current state"), false, false);
    Save->setMenu(Menu_Save);
    Save->setPopupMode(QToolButton::MenuButtonPopup);
    Save->setFixedSize(50, 39);
    connect(Save, &QToolButton::clicked, this, &tForm_Main::GUI_ClickSave);
    QToolButton* Exec =
        AddButton(L, QStringLiteral("Btn_StateExec"), QStringLiteral("launch the savestate file"), false, false);
    connect(Exec, &QToolButton::clicked, this, [this, Exec] { GUI_ClickExec(Exec); });
    L->addSeparator();
    QToolButton* Cart = AddButton(L, QStringLiteral("Btn_CartOpen"), QStringLiteral("insert a cartridge"), true, true);
    Cart->setMenu(Menu_Cart);
    Cart->setPopupMode(QToolButton::MenuButtonPopup);
    Cart->setFixedSize(50, 39);
    connect(Cart, &QToolButton::clicked, this, &tForm_Main::GUI_ClickCart);
    QToolButton* CartReload =
        AddButton(L, QStringLiteral("Btn_CartReload"), QStringLiteral("reload the last cartridge"), false, false);
    connect(CartReload, &QToolButton::clicked, this, [this, CartReload] { GUI_ClickReload(CartReload); });
    AddButton(L, QStringLiteral("Btn_CartSave"), QStringLiteral("save the current cartridge"), false, false);
    QToolButton* CartExec =
        AddButton(L, QStringLiteral("Btn_CartExec"), QStringLiteral("launch the cartridge file"), false, false);
    connect(CartExec, &QToolButton::clicked, this, [this, CartExec] { GUI_ClickExec(CartExec); });
    L->addSeparator();
    AddWindowButtons(L, tButtonGroup::Editors);
    L->addSeparator();
    AddWindowButtons(L, tButtonGroup::Viewers);
    AddWindowButtons(ToolBar_Right, tButtonGroup::Options);
    QToolButton* Help = AddButton(ToolBar_Right, QStringLiteral("Btn_Help"), QStringLiteral("help (F1)"), false, true);
    connect(Help, &QToolButton::clicked, this, &tForm_Main::GUI_ClickHelp);
    ToolBar_Right->addSeparator();
    AddWindowButtons(ToolBar_Right, tButtonGroup::Quit);
}

void tForm_Main::AddWindowButtons(QToolBar* Bar, tButtonGroup Group)
{
    std::vector<const tWindowRow*> Rows;
    for (const tWindowRow& W : WindowTable())
        if (W.Group == Group)
            Rows.push_back(&W);
    std::sort(Rows.begin(), Rows.end(),
              [](const tWindowRow* A, const tWindowRow* B) { return A->ButtonOrder < B->ButtonOrder; });
    for (const tWindowRow* W : Rows) {
        QToolButton* B = AddButton(Bar, QString::fromLatin1(W->Button), QString::fromLatin1(W->ButtonHint), true, true);
        connect(B, &QToolButton::clicked, this, [this, B] { GUI_ClickBtn(B); });
    }
}

void tForm_Main::CreatePages()
{
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    for (int P = 0; P < PageCount; ++P) {
        auto* L = new QTableWidget(0, 8, PageControl);
        L->setObjectName(QString::fromLatin1(ListNames[P]));
        QStringList Heads;
        for (const char* C : Columns)
            Heads << QString::fromLatin1(C);
        L->setHorizontalHeaderLabels(Heads);
        for (int C = 0; C < 8; ++C) {
            L->setColumnWidth(C, ColumnWidths[static_cast<size_t>(C)]);
            if (C >= 2 && C <= 5)
                L->horizontalHeaderItem(C)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        L->horizontalHeader()->setStretchLastSection(true);
        L->verticalHeader()->hide();
        L->verticalHeader()->setDefaultSectionSize(L->fontMetrics().height() + 2);
        L->setSelectionBehavior(QAbstractItemView::SelectRows);
        L->setSelectionMode(QAbstractItemView::SingleSelection);
        L->setEditTriggers(QAbstractItemView::NoEditTriggers);
        L->setWordWrap(false);
        L->installEventFilter(this);
        connect(L, &QTableWidget::cellDoubleClicked, this, [this](int, int) { ToggleListEditor(); });
        connect(L, &QTableWidget::currentCellChanged, this, [this, L](int, int, int, int) {
            if (L == CurrentList())
                Broadcast(this, Note::NewListItem);
        });
        Lists_[static_cast<size_t>(P)] = L;
        PageControl->addTab(L, QString::fromLatin1(PageCaptions[P]));
    }
    PageControl->setCurrentIndex(CurrentPage);
    connect(PageControl, &QTabWidget::currentChanged, this, &tForm_Main::GUI_ChangePage);
    setCentralWidget(PageControl);
    ApplyListLook();
}

void tForm_Main::CreateStatusBar()
{
    for (int i = 0; i < PanelCount; ++i) {
        auto* P = new QLabel(this);
        P->setObjectName(QStringLiteral("Panel_Status%1").arg(i));
        // The widths were chosen for one system font; the slot panel must
        // still hold a three-digit slot in wider fonts.
        int W = PanelWidths[static_cast<size_t>(i)];
        if (i == 0)
            W = std::max(W, P->fontMetrics().horizontalAdvance(QStringLiteral(" slot: 000 ")) + 8);
        P->setFixedWidth(W);
        P->setFrameShape(QFrame::StyledPanel);
        P->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(P);
        Panels_[static_cast<size_t>(i)] = P;
    }
}

void tForm_Main::CreateMenus()
{
    Menu_SNES = new QMenu(this);
    Menu_SNES->setObjectName(QStringLiteral("Menu_SNES"));
    Menu_Cart = new QMenu(this);
    Menu_Cart->setObjectName(QStringLiteral("Menu_Cart"));
    Menu_Save = new QMenu(this);
    Menu_Save->setObjectName(QStringLiteral("Menu_Save"));
    for (QMenu* M : {Menu_SNES, Menu_Cart, Menu_Save})
        M->setStyle(MenuStyle_);
    Recent_SNES = new tRecentMenu(Menu_SNES, QStringLiteral("Menu_SNESClear"));
    Recent_SNES->Picture = [](const QString& F) { return SavestateThumbnail(F); };
    connect(Recent_SNES, &tRecentMenu::FileClicked, this, &tForm_Main::ClickRecentSavestate);
    connect(Recent_SNES, &tRecentMenu::ClearClicked, this, [this] { GUI_MenuClear(Recent_SNES); });
    Recent_Cart = new tRecentMenu(Menu_Cart, QStringLiteral("Menu_CartClear"));
    Recent_Cart->Picture = [this](const QString& F) { return RecentCartPicture(F); };
    connect(Recent_Cart, &tRecentMenu::FileClicked, this, &tForm_Main::ClickRecentCart);
    connect(Recent_Cart, &tRecentMenu::ClearClicked, this, [this] { GUI_MenuClear(Recent_Cart); });

    SaveGroup_ = new QActionGroup(this);
    SaveGroup_->setExclusive(true);
    struct tSaveItem {
        const char* Name;
        const char* Caption;
        int Picture;
        bool Enabled;
    };
    static const tSaveItem Items[] = {{"Menu_SaveZST", "&zSNES", 1, true},
                                      {"Menu_SaveS9x", "SNES&9x", 2, true},
                                      {"Menu_SaveS9xSnp", "Snes9x 1.55+ (&new)", 2, true},
                                      {"Menu_SaveRA", "&RetroArch", 2, true},
                                      {"Menu_SaveSSL", "&Super Sleuth", 4, true},
                                      {"Menu_SaveSGT", "SNES&GT", 3, false},
                                      {"Menu_SaveOrlik", "&Orlik", 5, false}};
    for (const tSaveItem& I : Items) {
        QAction* A = Menu_Save->addAction(QString::fromLatin1(I.Caption));
        A->setObjectName(QString::fromLatin1(I.Name));
        A->setCheckable(true);
        A->setEnabled(I.Enabled);
        SaveGroup_->addAction(A);
        SetMenuItemKind(A, tMenuItemKind::SaveFormat);
        SetMenuItemPicture(A, SaveFormatPicture(I.Picture));
    }
    Menu_Save->actions().front()->setChecked(true);
}

void tForm_Main::CreateDialogs()
{
    const QString Home = QDir::homePath();
    DlgOpen_SNES = {
        QStringLiteral("DlgOpen_SNES"),
        QStringLiteral("all supported files (*.zs?;*.zm?;*.00?;*.state*;*.S??;*.sv?)|"
                       "*.zs?;*.zm?;*.00?;*.state*;*.S??;*.sv?|"
                       "ZSNES savestates (*.zs?)|*.zs?|ZSNES movie files (*.zm?)|*.zm?|"
                       "SNES9x savestates (*.00?)|*.00?|RetroArch savestates (*.state*)|*.state*|"
                       "Super Sleuth savestates (*.S?\?)|*.S??|SNESGT savestates (*.sv?)|*.sv?|all files|*.*"),
        QString(),
        Home,
        1,
        false,
        true,
        false};
    const QString Snes = QStringLiteral("*.058;*.078;*.1;*.bin;*.dx2;*.eur;*.fig;*.jap;*.mgd;*.mgh;*.sfc;*.smc;*.swc;"
                                        "*.ufo;*.usa");
    DlgOpen_Cart = {QStringLiteral("DlgOpen_Cart"),
                    QStringLiteral("all supported files|") + Snes +
                        QStringLiteral(";*.gb;*.gb?;*.nes|SNES cartridges (") + Snes + QStringLiteral(")|") + Snes +
                        QStringLiteral("|GB cartridges (*.gb;*.gb?)|*.gb;*.gb?|NES cartridges (*.nes)|*.nes|"
                                       "all files|*.*"),
                    QString(),
                    Home,
                    1,
                    false,
                    true,
                    false};
    DlgSave_SNES = {QStringLiteral("DlgSave_SNES"),
                    QStringLiteral("all supported files (*.zs?;*.zm?;*.00?)|*.zs?;*.zm?;*.00?;*.S??|"
                                   "ZSNES savestates (*.zs?)|*.zs?|ZSNES movie files (*.zm?)|*.zm?|"
                                   "SNES9x savestates (*.00?)|*.00?|Super Sleuth savestates (*.S?\?)|*.S??|"
                                   "all files|*.*"),
                    QString(),
                    Home,
                    1,
                    true,
                    false,
                    true};
}

QToolButton* tForm_Main::ToolButton(const QString& Name) const
{
    return Buttons_.value(Name, nullptr);
}

QString tForm_Main::PanelText(int Panel) const
{
    return Panels_[static_cast<size_t>(Panel)]->text();
}

void tForm_Main::SetPanel(int Panel, const QString& Text)
{
    Panels_[static_cast<size_t>(Panel)]->setText(Text);
}

QAction* tForm_Main::SaveItem(int Format) const
{
    const char* Name = Format == 1   ? "Menu_SaveZST"
                       : Format == 2 ? "Menu_SaveS9x"
                       : Format == 4 ? "Menu_SaveSSL"
                       : Format == 3 ? "Menu_SaveSGT"
                                     : "Menu_SaveOrlik";
    return Menu_Save->findChild<QAction*>(QString::fromLatin1(Name));
}

void tForm_Main::ApplyListLook()
{
    const tOptions& O = Options();
    QPalette Pal = Lists_[0]->palette();
    Pal.setColor(QPalette::Base, QColor(QRgb(O.Panel_MainBG)));
    Pal.setColor(QPalette::Text, QColor(QRgb(O.Panel_MainFont)));
    for (QTableWidget* L : Lists_) {
        L->setPalette(Pal);
        L->setShowGrid(!O.CBox_MainNoGrid);
        L->setFont(Lists_[0]->font());
    }
}

void tForm_Main::LoadRegisterDescriptions()
{
    LoadRegisterFile();
    const int Shown = PageControl->currentIndex();
    CurrentPage = 2;
    FillTab();
    GUI_ChangePage(Shown);
}

void tForm_Main::FillTab()
{
    QTableWidget* L = Lists_[static_cast<size_t>(CurrentPage)];
    L->setUpdatesEnabled(false);
    try {
        ShowRegisterTab(CurrentPage, L, Busy);
    } catch (const std::exception& E) {
        // A damaged row of "SNES.txt"; the message names the file and line.
        L->setUpdatesEnabled(true);
        ShowException(QString::fromUtf8(E.what()));
        return;
    }
    L->setUpdatesEnabled(true);
}

void tForm_Main::GUI_ChangePage(int Page)
{
    if (Page < 0 || Page >= PageCount)
        return;
    CurrentPage = Page;
    FillTab();
    Broadcast(this, Note::NewListItem);
}

void tForm_Main::FinishStartup()
{
    if (Options().CBox_MainMax) {
        UpdatesLocked = true;
        setUpdatesEnabled(false);
    }
    Timer.start();
}

void tForm_Main::Notify(const void*, tNote Msg)
{
    if (Msg == Note::Startup) {
        for (int i = 0; i < PanelCount; ++i)
            SetPanel(i, QString());
    } else if (Msg == Note::NewSavestate)
        OnNewSavestate();
    else if (Msg == Note::NewSNES) {
        InvalidateRegisterTabs();
        GUI_ChangePage(CurrentPage);
    } else if (Msg == Note::NewCart)
        OnNewCart();
    else if (Msg == Note::LoadConfig)
        LoadConfig();
    else if (Msg == Note::SaveConfig)
        SaveConfig();
}

void tForm_Main::closeEvent(QCloseEvent* Event)
{
    if (!QuitConfirmed && Form_Quit) {
        // Closing goes through the quit window; with "show window before
        // leaving" off it answers "yes" at once.
        if (Form_Quit->isVisible()) {
            Form_Quit->raise();
            Form_Quit->activateWindow();
        } else
            Form_Quit->show();
        if (!QuitConfirmed) {
            Event->ignore();
            return;
        }
    }
    for (tToolWindow* W : ToolWindows())
        W->hide();
    QMainWindow::closeEvent(Event);
}

void tForm_Main::changeEvent(QEvent* Event)
{
    if (Event->type() == QEvent::WindowStateChange) {
        auto* E = static_cast<QWindowStateChangeEvent*>(Event);
        if ((E->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized)) {
            Broadcast(this, Note::ApplActivated);
            Broadcast(this, Note::UpdateFileDialogs);
        }
    }
    QMainWindow::changeEvent(Event);
}
