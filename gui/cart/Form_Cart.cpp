#include "gui/cart/Form_Cart.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/RegisterTabs.h"
#include "cart/CartHeader.h"
#include "cart/SNESCart.h"
#include "core/Options.h"
#include "gui/core/CoreBridge.h"

namespace
{
constexpr int PathRole = Qt::UserRole + 1;

// Asked for every row the list lays out or paints: looked up once.
QIcon CartIcon(int Icon)
{
    static const QIcon ROM = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    static const QIcon Zip = QApplication::style()->standardIcon(QStyle::SP_DriveFDIcon);
    static const QIcon IPS = QApplication::style()->standardIcon(QStyle::SP_FileDialogInfoView);
    return Icon == CartIconZip ? Zip : Icon == CartIconIPS ? IPS : ROM;
}

QString Hex4(uint16_t V)
{
    return QStringLiteral("%1").arg(V, 4, 16, QLatin1Char('0')).toUpper() + QLatin1Char('h');
}

// The header's texts as the console stores them: printable ASCII, anything
// else shown as a space.
QString HeaderText(const std::string& S)
{
    QString T;
    for (char C : S)
        T += (C >= 0x20 && C < 0x7F) ? QLatin1Char(C) : QLatin1Char(' ');
    return T;
}
} // namespace

tForm_Cart::tForm_Cart(const tWindowRow& Row, QWidget* Parent) : tFileBrowser(Row, Parent)
{
    setMinimumSize(432, 532);

    auto* Own = new QWidget(FilesPage);
    auto* L = new QVBoxLayout(Own);
    L->setContentsMargins(0, 0, 0, 0);
    CartModel_ = new tNamesModel(this, [this](int Index, int Role) -> QVariant {
        const tCartEntry& C = Carts()[static_cast<size_t>(Index)];
        switch (Role) {
        case Qt::DisplayRole:
            return QString::fromStdString(C.Base);
        case Qt::DecorationRole:
            return CartIcon(C.Icon);
        case Qt::ToolTipRole:
            return QString::fromStdString(C.Name);
        case PathRole:
            return QString::fromStdString(C.Path);
        default:
            return {};
        }
    });
    LV_Cart = AddTitledList(Own, L, "LV_Cart", QStringLiteral("cartridges"), CartModel_);
    LV_Cart->setUniformItemSizes(true);
    connect(LV_Cart, &QListView::doubleClicked, this, &tForm_Cart::LoadSelected);
    FinishLayout(Own);

    // Flat page buttons over the two pages.
    auto* Top = new QVBoxLayout(this);
    Top->setContentsMargins(0, 0, 0, 0);
    auto* Buttons = new QHBoxLayout;
    auto* Group = new QButtonGroup(this);
    int Index = 0;
    for (const QString& Caption : {QStringLiteral("files"), QStringLiteral("ROM")}) {
        auto* B = new QToolButton(this);
        B->setText(Caption);
        B->setObjectName(QStringLiteral("TS_") + Caption);
        B->setCheckable(true);
        B->setAutoRaise(true);
        Group->addButton(B, Index++);
        Buttons->addWidget(B);
    }
    Buttons->addStretch(1);
    Group->button(0)->setChecked(true);
    Top->addLayout(Buttons);
    Pages_ = new QStackedWidget(this);
    Pages_->addWidget(FilesPage);
    auto* RomPage = new QWidget(this);
    CreateRomPage(RomPage);
    Pages_->addWidget(RomPage);
    Top->addWidget(Pages_, 1);
    connect(Group, &QButtonGroup::idClicked, this, &tForm_Cart::ShowPage);
    ShowHeader();
    resize(480, 560);
}

void tForm_Cart::ShowPage(int Page)
{
    Pages_->setCurrentIndex(std::clamp(Page, 0, 1));
    if (auto* B = findChild<QToolButton*>(Page == 0 ? QStringLiteral("TS_files") : QStringLiteral("TS_ROM")))
        B->setChecked(true);
}

QComboBox* tForm_Cart::AddCombo(const char* Name)
{
    auto* C = new QComboBox(Header);
    C->setObjectName(QLatin1String(Name));
    C->setProperty("Tag", -1);
    // Read-only: a choice of the user is undone at once.
    connect(C, &QComboBox::activated, this, [C] { C->setCurrentIndex(C->property("Tag").toInt()); });
    Combos_ << C;
    return C;
}

void tForm_Cart::CreateRomPage(QWidget* Page)
{
    auto* L = new QVBoxLayout(Page);
    Header = new QGroupBox(QStringLiteral("internal h&eader"), Page);
    auto* F = new QFormLayout(Header);
    auto AddEdit = [this, F](const char* Name, const QString& Label) {
        auto* E = new QLineEdit(Header);
        E->setObjectName(QLatin1String(Name));
        E->setReadOnly(true);
        F->addRow(Label, E);
        return E;
    };
    auto AddCheck = [this](const char* Name, const QString& Caption) {
        auto* C = new QCheckBox(Caption, Header);
        C->setObjectName(QLatin1String(Name));
        // Shown, not edited.
        C->setAttribute(Qt::WA_TransparentForMouseEvents);
        C->setFocusPolicy(Qt::NoFocus);
        return C;
    };
    AddEdit("Edit_RomName", QStringLiteral("ROM n&ame:"));
    F->addRow(QStringLiteral("mapping mode:"), AddCombo("ComboBox_MapMode"));
    // The type box and the three marks it implies, on two rows: side by
    // side they squeeze each other at the window's smallest width.
    F->addRow(QStringLiteral("cartridge type:"), AddCombo("ComboBox_CoCPU"));
    auto* TypeRow = new QHBoxLayout;
    TypeRow->addWidget(AddCheck("CBox_RAM", QStringLiteral("RAM")));
    TypeRow->addWidget(AddCheck("CBox_Battery", QStringLiteral("battery")));
    TypeRow->addWidget(AddCheck("CBox_CoCPU", QStringLiteral("co-processor")));
    TypeRow->addStretch(1);
    F->addRow(QString(), TypeRow);
    F->addRow(QStringLiteral("ROM size:"), AddCombo("ComboBox_RomSize"));
    F->addRow(QStringLiteral("SRAM type:"), AddCombo("ComboBox_SRAM"));
    F->addRow(QStringLiteral("region code:"), AddCombo("ComboBox_Region"));
    F->addRow(QStringLiteral("license code:"), AddCombo("ComboBox_License"));
    AddEdit("Edit_Version", QStringLiteral("game &version:"));
    AddEdit("Edit_InvCRC", QStringLiteral("&inv. checksum:"));
    auto* CRCRow = new QHBoxLayout;
    auto* CRC = new QLineEdit(Header);
    CRC->setObjectName(QStringLiteral("Edit_CRC"));
    CRC->setReadOnly(true);
    CRCRow->addWidget(CRC, 1);
    CRCRow->addWidget(AddCheck("CBox_Passed", QStringLiteral("matches")));
    auto* CRCLabel = new QLabel(QStringLiteral("&checksum:"), Header);
    CRCLabel->setBuddy(CRC);
    F->addRow(CRCLabel, CRCRow);
    AddEdit("Edit_Maker", QStringLiteral("maker code:"));
    AddEdit("Edit_Game", QStringLiteral("game code:"));
    F->addRow(QStringLiteral("expansion RAM:"), AddCombo("ComboBox_ExpRAM"));
    AddEdit("Edit_SpVersion", QStringLiteral("special version:"));
    AddEdit("Edit_CartSub", QStringLiteral("cartridge sub-number:"));
    AddEdit("Edit_NMI", QStringLiteral("&NMI vector:"));
    AddEdit("Edit_Reset", QStringLiteral("&RESET vector:"));
    L->addWidget(Header);
    TC_Mode = new QTabBar(Page);
    TC_Mode->setObjectName(QStringLiteral("TC_Mode"));
    for (const QString& T : {QStringLiteral("&LoROM"), QStringLiteral("&HiROM"), QStringLiteral("e&xtended HiROM")})
        TC_Mode->addTab(T);
    connect(TC_Mode, &QTabBar::currentChanged, this, &tForm_Cart::ChangeMode);
    L->addWidget(TC_Mode);
    L->addStretch(1);
}

void tForm_Cart::ChangeMode(int Tab)
{
    if (Tab == ModeTag_)
        return;
    const bool Taken =
        TC_Mode->isEnabled() && Cart && Tab >= 0 && Tab <= 2 && Cart->SelectMapMode(static_cast<tMapMode>(Tab));
    if (Taken) {
        ModeTag_ = Tab;
        ShowHeader();
        return;
    }
    // A mode the ROM is too small for springs back.
    const QSignalBlocker Block(TC_Mode);
    TC_Mode->setCurrentIndex(ModeTag_);
}

void tForm_Cart::ShowHeader()
{
    // The texts come from the register description file, read at start-up.
    // Until it is, the boxes hold the bare numbers.
    if (!Filled_) {
        Filled_ = !RegisterTabs().File.Sections[SectionCartTexts].empty();
        for (QComboBox* C : Combos_) {
            const QSignalBlocker Block(C);
            C->clear();
            for (const std::string& S : RegisterTabs().File.CartComboItems(C->objectName().toStdString()))
                C->addItem(QString::fromStdString(S));
        }
    }
    const bool Loaded = Cart && !Cart->ROM.empty();
    Header->setEnabled(Loaded);
    TC_Mode->setEnabled(Loaded);
    const tCartHeader H = Loaded ? Cart->HeaderFields() : tCartHeader{};
    const bool Show = Loaded && H.Present;
    auto SetEdit = [this, Show](const char* Name, const QString& Text) {
        findChild<QLineEdit*>(QLatin1String(Name))->setText(Show ? Text : QString());
    };
    auto SetCheck = [this, Show](const char* Name, bool On) {
        findChild<QCheckBox*>(QLatin1String(Name))->setChecked(Show && On);
    };
    auto SetCombo = [this, Show](const char* Name, int Index) {
        auto* C = findChild<QComboBox*>(QLatin1String(Name));
        // A byte beyond the texts leaves the box without a selection.
        const int I = Show && Index < C->count() ? Index : -1;
        C->setProperty("Tag", I);
        const QSignalBlocker Block(C);
        C->setCurrentIndex(I);
    };
    SetEdit("Edit_RomName", HeaderText(H.ROMName));
    SetCombo("ComboBox_MapMode", H.MapModeByte);
    SetCombo("ComboBox_CoCPU", H.CartType >> 4);
    SetCheck("CBox_RAM", H.HasRAM());
    SetCheck("CBox_Battery", H.HasBattery());
    SetCheck("CBox_CoCPU", H.HasCoProcessor());
    SetCombo("ComboBox_RomSize", H.ROMSizeByte);
    SetCombo("ComboBox_SRAM", H.SRAMSizeByte);
    SetCombo("ComboBox_Region", H.Region);
    SetCombo("ComboBox_License", H.License);
    SetEdit("Edit_Version", QString::fromStdString(H.VersionText()));
    SetEdit("Edit_InvCRC", Hex4(H.InvChecksum));
    SetEdit("Edit_CRC", Hex4(H.Checksum));
    SetCheck("CBox_Passed", H.ChecksumMatches());
    SetEdit("Edit_Maker", HeaderText(H.Maker));
    SetEdit("Edit_Game", HeaderText(H.GameCode));
    SetCombo("ComboBox_ExpRAM", H.ExpRAM);
    SetEdit("Edit_SpVersion", QString::number(H.SpecialVersion));
    SetEdit("Edit_CartSub", QString::number(H.CartSub));
    SetEdit("Edit_NMI", Hex4(H.NMIVector));
    SetEdit("Edit_Reset", Hex4(H.ResetVector));
}

void tForm_Cart::OnNotify(const void* Sender, tNote Msg)
{
    if (Msg == Note::NewCart || Msg == Note::NewCartROM) {
        // The cartridge has found its map mode; the tabs follow it.
        ModeTag_ = Cart ? static_cast<int>(Cart->MapMode) : 0;
        {
            const QSignalBlocker Block(TC_Mode);
            TC_Mode->setCurrentIndex(ModeTag_);
        }
        ShowHeader();
        return;
    }
    tFileBrowser::OnNotify(Sender, Msg);
}

bool tForm_Cart::NoCurrentDir() const
{
    return Options().CBox_CartNoCur;
}

std::function<void(tFolderResult&)> tForm_Cart::ListingWork() const
{
    const std::vector<std::string> Exts = CartExtensionList(Options().Memo_CartExts);
    return [Exts](tFolderResult& R) { R.Carts = ListCartridges(R.Listing, Exts); };
}

void tForm_Cart::ShowResult(const std::shared_ptr<const tFolderResult>& R)
{
    CartModel_->Reset(0);
    Shown_ = R;
    CartModel_->Reset(static_cast<int>(Carts().size()));
    LV_Cart->setEnabled(!Carts().empty());
    if (!Carts().empty())
        SelectRow(LV_Cart, 0);
}

QStringList tForm_Cart::CartNames() const
{
    QStringList L;
    for (const tCartEntry& C : Carts())
        L << QString::fromStdString(C.Name);
    return L;
}

bool tForm_Cart::LoadSelected()
{
    const int Row = SelectedRow(LV_Cart);
    if (Row < 0)
        return false;
    const bool Loaded = LoadCartridgeFile(Carts()[static_cast<size_t>(Row)].Path);
    if (Loaded && Options().CBox_CartClose)
        close();
    return Loaded;
}

void tForm_Cart::ActivateList(QListView* List)
{
    if (List == LV_Cart)
        LoadSelected();
}

bool tForm_Cart::ListKey(QListView* List, int Key)
{
    if (List == LV_Dir && Key == Qt::Key_Right) {
        LV_Cart->setFocus();
        return true;
    }
    if (List != LV_Cart)
        return false;
    if (Key == Qt::Key_Right) {
        SelectRow(LV_Cart, RowCount(LV_Cart) - 1);
        return true;
    }
    if (Key == Qt::Key_Left) {
        if (LV_Dir->isEnabled())
            LV_Dir->setFocus();
        return true;
    }
    return false;
}
