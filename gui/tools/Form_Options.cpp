#include "gui/tools/Form_Options.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/Broadcast.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Form_Quit.h"
#include "gui/core/Icons.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/RecentMenu.h"
#include "gui/core/WindowTable.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Palette.h"
#include "gui/tools/OptionStore.h"

namespace
{
const tOptionEntry* Entry(const QString& Name)
{
    for (const tOptionEntry& E : OptionEntries())
        if (Name == QLatin1String(E.Name))
            return &E;
    return nullptr;
}

QVBoxLayout* PageLayout(QWidget* Page)
{
    return static_cast<QVBoxLayout*>(Page->layout());
}
} // namespace

tForm_Options::tForm_Options(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    auto* Frame = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setUsesScrollButtons(true);
    Frame->addWidget(PageControl);
    // One page per window that has one, in the windows' bus order.
    for (int Slot = 0; Slot < WindowSlotCount; ++Slot)
        for (const tWindowRow& W : WindowTable())
            if (W.Slot == Slot && *W.OptionsPage) {
                PageRows_.push_back(&W);
                FillPage(W.ComponentName(), AddPage(QString::fromLatin1(W.OptionsPage)));
            }
    for (int i = 0; i < PageControl->count(); ++i)
        PageLayout(PageControl->widget(i))->addStretch(1);

    auto* Tool = new QGroupBox(QStringLiteral("tool window options"), this);
    auto* ToolRow = new QHBoxLayout(Tool);
    auto* Font = new QPushButton(QStringLiteral("font..."), Tool);
    Font->setObjectName(QStringLiteral("Btn_WndFont"));
    ToolRow->addWidget(Font);
    ToolRow->addStretch(1);
    Frame->addWidget(Tool);
    connect(Font, &QPushButton::clicked, this, &tForm_Options::GUI_WndFont);
    resize(760, 440);
    ShowOptions();
}

QWidget* tForm_Options::AddPage(const QString& Caption)
{
    auto* Page = new QWidget(PageControl);
    new QVBoxLayout(Page);
    PageControl->addTab(Page, Caption);
    return Page;
}

QCheckBox* tForm_Options::AddCheck(QWidget* Page, const char* Name, const QString& Caption, const QString& Hint)
{
    auto* C = new QCheckBox(Caption, Page);
    C->setObjectName(QString::fromLatin1(Name));
    C->setToolTip(Hint);
    PageLayout(Page)->addWidget(C);
    connect(C, &QCheckBox::toggled, this, [this, C](bool On) {
        if (Showing_)
            return;
        if (const tOptionEntry* E = Entry(C->objectName()))
            *E->Flag = On;
        ChangeOption(C->objectName());
    });
    return C;
}

void tForm_Options::FillPage(const QString& Window, QWidget* Page)
{
    if (Window == QLatin1String("Form_Cart"))
        CreateCartPage(Page);
    else if (Window == QLatin1String("Form_Hex"))
        CreateHexPage(Page);
    else if (Window == QLatin1String("Form_Main"))
        CreateMainPage(Page);
    else if (Window == QLatin1String("Form_Memory"))
        CreateMemoryPage(Page);
    else if (Window == QLatin1String("Form_Open"))
        CreateOpenPage(Page);
    else if (Window == QLatin1String("Form_Options"))
        CreateOptionsPage(Page);
    else if (Window == QLatin1String("Form_Palette"))
        CreatePalettePage(Page);
    else if (Window == QLatin1String("Form_Preview"))
        AddCheck(Page, "CBox_PreviewAlign", QStringLiteral("dock on memory viewer on startup"));
    else if (Window == QLatin1String("Form_Quit"))
        AddCheck(Page, "CBox_QuitShow", QStringLiteral("show window before leaving"));
    else if (Window == QLatin1String("Form_Scene"))
        CreateScenePage(Page);
}

QPushButton* tForm_Options::AddColourPanel(QWidget* Page, const char* Name, const QString& Caption)
{
    auto* P = new QPushButton(Caption, Page);
    P->setObjectName(QString::fromLatin1(Name));
    P->setMinimumHeight(28);
    P->setCursor(ProgramCursor(crPick));
    connect(P, &QPushButton::clicked, this, [this, P] { GUI_ClickColor(P); });
    return P;
}

void tForm_Options::CreateCartPage(QWidget* P)
{
    AddCheck(P, "CBox_CartNoWin", QStringLiteral("use the custom dialog"));
    AddCheck(P, "CBox_CartClose", QStringLiteral("close after loading"));
    AddCheck(P, "CBox_CartGrid", QStringLiteral("use gridlines"));
    AddCheck(P, "CBox_CartNoCur", QStringLiteral("no current directory"));
    Memo_CartExts = new QPlainTextEdit(P);
    Memo_CartExts->setObjectName(QStringLiteral("Memo_CartExts"));
    Memo_CartExts->setToolTip(QStringLiteral("use these extensions, in this order"));
    Memo_CartExts->setMaximumHeight(80);
    PageLayout(P)->addWidget(Memo_CartExts);
    connect(Memo_CartExts, &QPlainTextEdit::textChanged, this, [this] {
        if (Showing_)
            return;
        std::vector<std::string> Lines;
        for (const QString& L : Memo_CartExts->toPlainText().split(QLatin1Char('\n')))
            Lines.push_back(L.toStdString());
        Options().Memo_CartExts = Lines;
        ChangeOption(QStringLiteral("Memo_CartExts"));
    });
}

void tForm_Options::CreateHexPage(QWidget* P)
{
    auto* Row = new QHBoxLayout;
    Row->addWidget(AddColourPanel(P, "Panel_HexBG", QStringLiteral("background")));
    Row->addWidget(AddColourPanel(P, "Panel_HexFont", QStringLiteral("font")));
    Row->addWidget(AddColourPanel(P, "Panel_HexCaptions", QStringLiteral("captions")));
    PageLayout(P)->addLayout(Row);
    auto* FontRow = new QHBoxLayout;
    auto* HexFontBtn = new QPushButton(QStringLiteral("hex. font..."), P);
    HexFontBtn->setObjectName(QStringLiteral("Btn_HexFont"));
    auto* CodePage = new QPushButton(QStringLiteral("codepage..."), P);
    CodePage->setObjectName(QStringLiteral("Btn_HexLoadCP"));
    connect(CodePage, &QPushButton::clicked, this, [] {
        if (Form_Hex)
            QMetaObject::invokeMethod(Form_Hex, "LoadCodePage");
    });
    FontRow->addWidget(HexFontBtn);
    FontRow->addWidget(CodePage);
    FontRow->addStretch(1);
    PageLayout(P)->addLayout(FontRow);
    connect(HexFontBtn, &QPushButton::clicked, this, [this] {
        bool Ok = false;
        QFont F = QFontDialog::getFont(&Ok, HexFont(), this, QStringLiteral("hex. font"));
        if (Ok) {
            HexFont() = F;
            ApplyColours();
        }
    });
    AddCheck(P, "CBox_HexHex", QStringLiteral("hexadecimal digits for the offset"));
    AddCheck(P, "CBox_HexDel", QStringLiteral("ignore Delete and Backspace keys"));
    auto* SpacingRow = new QHBoxLayout;
    UD_HexSpacing = new QSpinBox(P);
    UD_HexSpacing->setObjectName(QStringLiteral("UD_HexSpacing"));
    UD_HexSpacing->setRange(0, 64);
    Label_HexSpacing = new QLabel(P);
    Label_HexSpacing->setObjectName(QStringLiteral("Label_HexSpacing"));
    SpacingRow->addWidget(UD_HexSpacing);
    SpacingRow->addWidget(Label_HexSpacing);
    SpacingRow->addStretch(1);
    PageLayout(P)->addLayout(SpacingRow);
    connect(UD_HexSpacing, &QSpinBox::valueChanged, this, [this](int V) {
        if (!Showing_)
            Options().UD_HexSpacing = V;
        UpdateSpacingLabel();
        if (!Showing_ && Form_Hex)
            QMetaObject::invokeMethod(Form_Hex, "ApplyOptions");
    });
}

void tForm_Options::UpdateSpacingLabel()
{
    Label_HexSpacing->setText(UD_HexSpacing->value() < 2 ? QStringLiteral("pixel of cell spacing")
                                                         : QStringLiteral("pixels of cell spacing"));
}

void tForm_Options::CreateMainPage(QWidget* P)
{
    auto* Row = new QHBoxLayout;
    Row->addWidget(AddColourPanel(P, "Panel_MainFont", QStringLiteral("font")));
    Row->addWidget(AddColourPanel(P, "Panel_MainBG", QStringLiteral("background")));
    PageLayout(P)->addLayout(Row);
    AddCheck(P, "CBox_MainMax", QStringLiteral("start maximized"));
    AddCheck(P, "CBox_MainNoGrid", QStringLiteral("no gridlines"),
             QStringLiteral("Sorry, there's currently no way to change the color."));
    AddCheck(P, "CBox_MainConfirm", QStringLiteral("confirm saving"));
    AddCheck(P, "CBox_MainNoFilter", QStringLiteral("unfiltered menu previews"),
             QStringLiteral("simple interpolation with no sharpening (yet)"));
    AddCheck(P, "CBox_MainHighlight", QStringLiteral("highlight menu bitmaps"));
    AddCheck(P, "CBox_MainUpdating", QStringLiteral("update the lists"));
    AddCheck(P, "CBox_MainRZip", QStringLiteral("compress RetroArch states (rzip)"));
    auto* Group = new QGroupBox(QStringLiteral("window list"), P);
    auto* GL = new QVBoxLayout(Group);
    LV_WndList = new QTableWidget(0, 2, Group);
    LV_WndList->setObjectName(QStringLiteral("LV_WndList"));
    LV_WndList->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("window")});
    LV_WndList->verticalHeader()->hide();
    LV_WndList->horizontalHeader()->setStretchLastSection(true);
    LV_WndList->setColumnWidth(0, 40);
    LV_WndList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV_WndList->setSelectionBehavior(QAbstractItemView::SelectRows);
    GL->addWidget(LV_WndList);
    PageLayout(P)->addWidget(Group, 1);
}

void tForm_Options::CreateMemoryPage(QWidget* P)
{
    AddCheck(P, "CBox_MemoryHex", QStringLiteral("use hexadecimal digits for the offset"));
    AddCheck(P, "CBox_MemoryReset1", QStringLiteral("reset offset after loading a SNES"));
    AddCheck(P, "CBox_MemoryReset2", QStringLiteral("reset offset after loading a cartridge"));
    AddCheck(P, "CBox_MemoryLine", QStringLiteral("use 'line' instead of 'tile' as jump width"));
}

void tForm_Options::CreateOpenPage(QWidget* P)
{
    AddCheck(P, "CBox_OpenPreviews", QStringLiteral("show previews"));
    AddCheck(P, "CBox_OpenClose", QStringLiteral("close after loading"));
    AddCheck(P, "CBox_OpenGrid", QStringLiteral("use gridlines"));
    AddCheck(P, "CBox_OpenNoCur", QStringLiteral("no current directory"));
    AddCheck(P, "CBox_OpenNoWin", QStringLiteral("use the custom dialog"));
    AddCheck(P, "CBox_OpenCart", QStringLiteral("try to load the cartridge"),
             QStringLiteral("uses the extensions list of the cart. viewer"));
    AddCheck(P, "CBox_OpenIPS", QStringLiteral("try to apply the IPS file"),
             QStringLiteral("IPS files in ZIP archives are not supported"));
    AddCheck(P, "CBox_OpenIPSMsg", QStringLiteral("show the IPS message"));
}

void tForm_Options::CreateOptionsPage(QWidget* P)
{
    AddCheck(P, "CBox_OptionsLinks", QStringLiteral("remove dead file && directory links"));
    AddCheck(P, "CBox_OptionsSave", QStringLiteral("update the INI file on exit"));
    AddCheck(P, "CBox_OptionsNoCopy", QStringLiteral("save bitmaps to files"),
             QStringLiteral("unchecked = copy bitmaps to the clipboard"));
    AddCheck(P, "CBox_OptionsCheckZST", QStringLiteral("check ZST headers"));
    AddCheck(P, "CBox_OptionsNoHex", QStringLiteral("show decimal values"));
    auto* Save = new QPushButton(QStringLiteral("update INI"), P);
    Save->setObjectName(QStringLiteral("Btn_OptionsSave"));
    Save->setToolTip(QStringLiteral("update the INI file now (F9)"));
    Save->setIcon(ToolbarIcon(QStringLiteral("Btn_StateSave")));
    auto* Row = new QHBoxLayout;
    Row->addWidget(Save);
    Row->addStretch(1);
    PageLayout(P)->addLayout(Row);
    connect(Save, &QPushButton::clicked, this, &tForm_Options::SaveConfig);
}

void tForm_Options::CreatePalettePage(QWidget* P)
{
    AddCheck(P, "CBox_PaletteNoHex", QStringLiteral("decimal digits for index and group"));
    AddCheck(P, "CBox_PaletteAlign", QStringLiteral("dock on memory viewer on startup"));
    auto* Group = new QGroupBox(QStringLiteral("palette file format"), P);
    auto* GL = new QVBoxLayout(Group);
    auto* Buttons = new QButtonGroup(Group);
    static const char* const Names[] = {"RBtn_Palette1", "RBtn_Palette2", "RBtn_Palette3", "RBtn_Palette4"};
    static const char* const Captions[] = {"JASC: 3349 bytes, 8-bit, text (PSP, Animation Shop, Microangelo)",
                                           "SNES: 512 bytes, 5-bit, packed binary (PPU2)",
                                           "RAW: 768 bytes, 8-bit, binary", "RAW: 768 bytes, 5-bit, binary"};
    for (int i = 0; i < 4; ++i) {
        auto* R = new QRadioButton(QString::fromLatin1(Captions[i]), Group);
        R->setObjectName(QString::fromLatin1(Names[i]));
        Buttons->addButton(R, i);
        GL->addWidget(R);
    }
    connect(Buttons, &QButtonGroup::idToggled, this, [this](int Id, bool On) {
        if (On && !Showing_)
            Options().PaletteFormat = Id;
    });
    PageLayout(P)->addWidget(Group);
}

void tForm_Options::CreateScenePage(QWidget* P)
{
    auto* Group = new QGroupBox(QStringLiteral("sprite tiles"), P);
    auto* GL = new QVBoxLayout(Group);
    auto* Buttons = new QButtonGroup(Group);
    static const char* const Names[] = {"RBtn_SceneBase0", "RBtn_SceneBase1", "RBtn_SceneBase2"};
    static const char* const Captions[] = {"base 1 for tiles > 255", "base 0 for all tiles", "base 1 for all tiles"};
    for (int i = 0; i < 3; ++i) {
        auto* R = new QRadioButton(QString::fromLatin1(Captions[i]), Group);
        R->setObjectName(QString::fromLatin1(Names[i]));
        if (i == 0)
            R->setToolTip(QStringLiteral("default"));
        Buttons->addButton(R, i);
        GL->addWidget(R);
    }
    connect(Buttons, &QButtonGroup::idToggled, this, [this](int Id, bool On) {
        if (On && !Showing_) {
            Options().SceneBase = Id;
            // The sprites are decoded with the tile base: decode them again.
            Broadcast(this, Note::NewSNES);
        }
    });
    PageLayout(P)->addWidget(Group);
    AddCheck(P, "CBox_SceneLayering", QStringLiteral("update the layering after loading a SNES"));
    AddCheck(P, "CBox_SceneUpdate", QStringLiteral("update MemViewer and PalViewer"),
             QStringLiteral("global shortcut: F8"));
    AddCheck(P, "CBox_SceneSpaces", QStringLiteral("display spaces for 'no' and 'disabled'"));
    AddCheck(P, "CBox_SceneActivate", QStringLiteral("activate all sprites when loading a SNES"));
    AddCheck(P, "CBox_Scene512", QStringLiteral("scale 256x2?? screens to 512x4?? pixels"));
    AddCheck(P, "CBox_SceneBlur", QStringLiteral("blur 512x4?? screens"));
    AddCheck(P, "CBox_SceneBlurSoft", QStringLiteral("use soft blurring"),
             QStringLiteral("ratio of source to neighbors = 8:1 (checked) or 1:1 (unchecked)"));
    AddCheck(P, "CBox_SceneHDMA", QStringLiteral("apply HDMA line by line"));
    AddCheck(P, "CBox_SceneMode7", QStringLiteral("draw mode 7 on the screen"));
    AddCheck(P, "CBox_SceneDirect", QStringLiteral("direct colour on the screen"));
}

void tForm_Options::ShowOptions()
{
    Showing_ = true;
    for (const tOptionEntry& E : OptionEntries()) {
        const QString N = QString::fromLatin1(E.Name);
        if (E.Kind == tOptionKind::Check) {
            if (auto* C = findChild<QCheckBox*>(N))
                C->setChecked(*E.Flag);
        } else if (E.Kind == tOptionKind::Radio) {
            if (auto* R = findChild<QRadioButton*>(N))
                R->setChecked(*E.Group == E.Value);
        }
    }
    QStringList Lines;
    for (const std::string& L : Options().Memo_CartExts)
        Lines << QString::fromStdString(L);
    Memo_CartExts->setPlainText(Lines.join(QLatin1Char('\n')));
    UD_HexSpacing->setValue(Options().UD_HexSpacing);
    UpdateSpacingLabel();
    Showing_ = false;
    ApplyColours();
}

void tForm_Options::ApplyColours()
{
    for (const tOptionEntry& E : OptionEntries()) {
        if (E.Kind != tOptionKind::Colour)
            continue;
        auto* P = findChild<QPushButton*>(QString::fromLatin1(E.Name));
        if (!P)
            continue;
        // The caption takes the contrast colour so it stays readable.
        QPalette Pal = P->palette();
        Pal.setColor(QPalette::Button, QColor(QRgb(*E.Colour)));
        Pal.setColor(QPalette::ButtonText, QColor(QRgb(*E.Colour ^ 0x808080)));
        P->setPalette(Pal);
        P->setStyleSheet(QStringLiteral("QPushButton { background-color: #%1; color: #%2; border: 1px solid #808080; }")
                             .arg(*E.Colour & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                             .arg((*E.Colour ^ 0x808080) & 0xFFFFFF, 6, 16, QLatin1Char('0')));
    }
    Memo_CartExts->setStyleSheet(Memo_CartExts->toPlainText().trimmed().isEmpty()
                                     ? QStringLiteral("background-color: palette(button);")
                                     : QString());
    if (Form_Main)
        Form_Main->ApplyListLook();
    if (Form_Hex)
        QMetaObject::invokeMethod(Form_Hex, "ApplyOptions");
}

void tForm_Options::ChangeOption(const QString& Name)
{
    if (Name == QLatin1String("Memo_CartExts")) {
        ApplyColours();
        Broadcast(this, Note::UpdateFileDialogs);
    } else if (Name == QLatin1String("CBox_MainNoGrid"))
        ApplyColours();
    else if ((Name == QLatin1String("CBox_MainNoFilter") || Name == QLatin1String("CBox_MainHighlight")) && Form_Main) {
        Form_Main->RecentSNES()->RefreshPictures();
        Form_Main->RecentCart()->RefreshPictures();
    } else if (Name == QLatin1String("CBox_CartNoCur") || Name == QLatin1String("CBox_OpenNoCur"))
        Broadcast(this, Note::UpdateFileDialogs);
    else if (Name.startsWith(QLatin1String("CBox_Memory")) && Form_Memory)
        Form_Memory->ApplyOptions();
    else if (Name.startsWith(QLatin1String("CBox_Palette")) && Form_Palette)
        Form_Palette->Refresh();
    else if (Name == QLatin1String("CBox_HexHex") && Form_Hex)
        QMetaObject::invokeMethod(Form_Hex, "ApplyOptions");
    emit OptionChanged(Name);
}

void tForm_Options::GUI_ClickColor(QPushButton* Panel)
{
    const tOptionEntry* E = Entry(Panel->objectName());
    if (!E)
        return;
    QColor C = QColorDialog::getColor(QColor(QRgb(*E->Colour)), this, Panel->text());
    if (!C.isValid())
        return;
    *E->Colour = C.rgb() & 0xFFFFFF;
    ApplyColours();
}

QWidget* tForm_Options::TargetWindow() const
{
    const int Page = PageControl->currentIndex();
    return Page >= 0 && static_cast<size_t>(Page) < PageRows_.size()
               ? PageRows_[static_cast<size_t>(Page)]->Window.Get()
               : nullptr;
}

void tForm_Options::GUI_WndFont()
{
    QWidget* Target = TargetWindow();
    if (!Target)
        return;
    bool Ok = false;
    QFont F = QFontDialog::getFont(&Ok, Target->font(), this, QStringLiteral("font"));
    if (!Ok)
        return;
    Target->setFont(F);
    if (Form_Main && Target == Form_Main)
        for (int i = 0; i < tForm_Main::PageCount; ++i)
            Form_Main->List(i)->setFont(F);
}

void tForm_Options::FlipSceneUpdate()
{
    if (auto* C = findChild<QCheckBox*>(QStringLiteral("CBox_SceneUpdate")))
        C->toggle();
}
