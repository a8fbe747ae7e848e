#include "gui/render/Form_Scene.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Options.h"
#include "core/SNES.h"
#include "gui/core/Icons.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/Settings.h"
#include "gui/core/Widgets.h"
#include "gui/render/PictureView.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Options.h"
#include "render/PPU.h"

namespace
{
const char* const TranspNames[] = {"RBtn_TranspConst", "RBtn_TranspDisabled", "RBtn_TranspCustom", "RBtn_Transp0"};

template <class T> T* Named(T* W, const char* Name)
{
    W->setObjectName(QString::fromLatin1(Name));
    return W;
}

QPushButton* Toggle(QWidget* Parent, const char* Name, const QString& Caption, bool Down = true)
{
    auto* B = Named(new QPushButton(Caption, Parent), Name);
    B->setCheckable(true);
    B->setChecked(Down);
    return B;
}

QToolButton* Tool(QWidget* Parent, const char* Name, const QString& Caption, const QString& Hint, bool Checkable)
{
    auto* B = Named(new QToolButton(Parent), Name);
    B->setText(Caption);
    B->setToolTip(Hint);
    B->setCheckable(Checkable);
    B->setAutoRaise(false);
    return B;
}

QTabBar* Tabs(QWidget* Parent, const char* Name, std::initializer_list<const char*> Captions)
{
    QStringList List;
    for (const char* C : Captions)
        List << QString::fromLatin1(C);
    return MakeTabBar(Parent, QString::fromLatin1(Name), List);
}
} // namespace

tForm_Scene::tForm_Scene(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    setWindowTitle(QStringLiteral("SceneViewer (1:1)"));
    SpriteActive_.fill(1);
    DlgSave = PictureSaveDialog();

    auto* L = new QVBoxLayout(this);
    L->setContentsMargins(4, 4, 4, 4);
    TC_BgMode =
        Tabs(this, "TC_BgMode",
             {"BG mode 0", "BG mode 1", "BG mode 2", "BG mode 3", "BG mode 4", "BG mode 5", "BG mode 6", "BG mode 7"});
    TC_BgMode->setToolTip(QStringLiteral("press CTRL + 0..7 to set via keyboard"));
    L->addWidget(TC_BgMode);
    PC_Base = Named(new QTabWidget(this), "PC_Base");
    L->addWidget(PC_Base, 1);
    const char* const PageNames[] = {"TS_Screens", "TS_Layers", "TS_HDMA", "TS_OffsPerTile", "TS_Info"};
    const char* const PageCaptions[] = {"&screen", "&layers", "&hdma", "&offset-per-tile", "&info"};
    for (int i = 0; i < 5; ++i) {
        auto* Page = Named(new QWidget(PC_Base), PageNames[i]);
        PC_Base->addTab(Page, QString::fromLatin1(PageCaptions[i]));
    }
    CreateScreenPage(PC_Base->widget(0));
    CreateLayersPage(PC_Base->widget(1));
    CreateHDMAPage(PC_Base->widget(2));
    CreateOffsetPage(PC_Base->widget(3));
    CreateInfoPage(PC_Base->widget(4));

    connect(TC_BgMode, &QTabBar::currentChanged, this, [this](int Mode) {
        if (!Filling_)
            ChooseMode(Mode);
    });
    for (int i = 0; i < 8; ++i) {
        auto* S = new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + i)), this);
        S->setContext(Qt::WindowShortcut);
        connect(S, &QShortcut::activated, this, [this, i] { TC_BgMode->setCurrentIndex(i); });
    }
    connect(PC_Base, &QTabWidget::currentChanged, this, [this] {
        UpdateCaption();
        RedrawVisible();
    });
    connect(PC_Layers, &QTabWidget::currentChanged, this, [this] {
        UpdateCaption();
        UpdateLayerHint();
        RedrawVisible();
        RefreshTileInfo();
    });
    Redraw_.NewState({true, true, true, true});
    resize(980, 720);
}

void tForm_Scene::CreateScreenPage(QWidget* Page)
{
    auto* L = new QHBoxLayout(Page);
    auto* Left = new QVBoxLayout;
    TC_Screens = Tabs(Page, "TC_Screens", {"&8-bit", "1&6-bit"});
    auto* Tools = new QHBoxLayout;
    Tools->addWidget(TC_Screens);
    Tools->addStretch(1);
    Btn_MoveScreen = Tool(Page, "Btn_MoveScreen", QStringLiteral("move"), QStringLiteral("move mode"), true);
    Btn_UpdateScreen = Tool(Page, "Btn_UpdateScreen", QStringLiteral("update"),
                            QStringLiteral("update screen after loading a SNES"), true);
    Btn_UpdateScreen->setChecked(true);
    Btn_SaveScreen =
        Tool(Page, "Btn_SaveScreen", QStringLiteral("save"), QStringLiteral("save or copy the screen"), true);
    for (QToolButton* B : {Btn_MoveScreen, Btn_UpdateScreen, Btn_SaveScreen})
        Tools->addWidget(B);
    Left->addLayout(Tools);
    View_Screen = new tPictureView(QStringLiteral("Image_Screen08"), Page);
    View_Screen->SetZoom(&ScreenZoom_);
    Left->addWidget(View_Screen, 1);
    L->addLayout(Left, 1);

    auto* Right = new QVBoxLayout;
    auto* Layering = Named(new QGroupBox(QStringLiteral("layering"), Page), "GBox_Layering");
    auto* LL = new QVBoxLayout(Layering);
    TC_Layering = Tabs(Layering, "TC_Layering", {"&main", "s&ub"});
    LL->addWidget(TC_Layering);
    LV_Layering = Named(new QListWidget(Layering), "LV_Layering");
    for (int n = 0; n < 4; ++n)
        for (int p = 0; p < 2; ++p)
            LV_Layering->addItem(QStringLiteral("BG%1 priority %2").arg(n + 1).arg(p));
    for (int p = 0; p < 4; ++p)
        LV_Layering->addItem(QStringLiteral("sprites priority %1").arg(p));
    for (int i = 0; i < 12; ++i) {
        LV_Layering->item(i)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        LV_Layering->item(i)->setCheckState(Qt::Unchecked);
    }
    LV_Layering->setMinimumHeight(12 * (LV_Layering->fontMetrics().height() + 3));
    LL->addWidget(LV_Layering);
    CBox_BG3P1Top = Named(new QCheckBox(QStringLiteral("BG&3 p1 on top"), Layering), "CBox_BG3P1Top");
    LL->addWidget(CBox_BG3P1Top);
    Right->addWidget(Layering);

    auto* Config = Named(new QGroupBox(QStringLiteral("screen configuration"), Page), "GBox_Screen");
    auto* CL = new QGridLayout(Config);
    CBox_ScreenBoth = Named(new QCheckBox(QStringLiteral("main &and sub (8-bit)"), Config), "CBox_ScreenBoth");
    CBox_ScreenBrightness =
        Named(new QCheckBox(QStringLiteral("use bright&ness info"), Config), "CBox_ScreenBrightness");
    CBox_ScreenNoMosaic = Named(new QCheckBox(QStringLiteral("ignore mosai&c info"), Config), "CBox_ScreenNoMosaic");
    CBox_ScreenMasks = Named(new QCheckBox(QStringLiteral("use mas&k windows"), Config), "CBox_ScreenMasks");
    CBox_ScreenBrightness->setChecked(Switches_.CBox_ScreenBrightness);
    CBox_ScreenMasks->setChecked(Switches_.CBox_ScreenMasks);
    int r = 0;
    for (QCheckBox* C : {CBox_ScreenBoth, CBox_ScreenBrightness, CBox_ScreenNoMosaic, CBox_ScreenMasks}) {
        CL->addWidget(C, r++, 0, 1, 4);
        connect(C, &QCheckBox::toggled, this, [this] {
            Switches_.CBox_ScreenBoth = CBox_ScreenBoth->isChecked();
            Switches_.CBox_ScreenBrightness = CBox_ScreenBrightness->isChecked();
            Switches_.CBox_ScreenNoMosaic = CBox_ScreenNoMosaic->isChecked();
            Switches_.CBox_ScreenMasks = CBox_ScreenMasks->isChecked();
            if (!Filling_)
                UserChanged(tScenePage::Screen);
        });
    }
    auto* VisBGs = Named(new QPushButton(QStringLiteral("B&Gs"), Config), "Btn_VisBGs");
    auto* VisSprites = Named(new QPushButton(QStringLiteral("sp&rites"), Config), "Btn_VisSprites");
    auto* VisInvert = Named(new QPushButton(QStringLiteral("in&vert"), Config), "Btn_VisInvert");
    Btn_VisReload = Named(new QPushButton(QStringLiteral("r&eload"), Config), "Btn_VisReload");
    int c = 0;
    for (QPushButton* B : {VisBGs, VisSprites, VisInvert, Btn_VisReload})
        CL->addWidget(B, r, c++);
    Right->addWidget(Config);
    Right->addStretch(1);
    L->addLayout(Right);

    connect(TC_Screens, &QTabBar::currentChanged, this, [this](int Tab) {
        View_Screen->Canvas()->setObjectName(Tab ? QStringLiteral("Image_Screen16") : QStringLiteral("Image_Screen08"));
        if (Tab)
            View_Screen->SetPicture(Screen16_);
        else
            View_Screen->SetPicture(Screen8_);
    });
    connect(TC_Layering, &QTabBar::currentChanged, this, [this](int Tab) {
        Switches_.LayeringTab = Tab;
        ShowLayering();
        // The 8-bit picture shows the chosen screen.
        if (!Filling_)
            UserChanged(tScenePage::Screen);
    });
    connect(LV_Layering, &QListWidget::itemChanged, this, [this](QListWidgetItem* Item) {
        if (Filling_)
            return;
        const int i = LV_Layering->row(Item);
        Switches_.Visibility[static_cast<size_t>(Switches_.LayeringTab)][static_cast<size_t>(i)] =
            Item->checkState() == Qt::Checked;
        LayeringChanged();
    });
    auto Flip = [this](int From, int To) {
        auto& V = Switches_.Visibility[static_cast<size_t>(Switches_.LayeringTab)];
        bool AnyClear = false;
        for (int i = From; i < To; ++i)
            AnyClear |= !V[static_cast<size_t>(i)];
        for (int i = From; i < To; ++i)
            V[static_cast<size_t>(i)] = AnyClear;
        LayeringChanged();
    };
    connect(VisBGs, &QPushButton::clicked, this, [Flip] { Flip(0, 8); });
    connect(VisSprites, &QPushButton::clicked, this, [Flip] { Flip(8, 12); });
    connect(VisInvert, &QPushButton::clicked, this, [this] {
        for (uint8_t& F : Switches_.Visibility[static_cast<size_t>(Switches_.LayeringTab)])
            F = !F;
        LayeringChanged();
    });
    connect(Btn_VisReload, &QPushButton::clicked, this, [this] {
        Switches_.Visibility = Switches_.RegisterLayering;
        PPU->BG3OnTop = PPU->BG3Priority;
        LayeringChanged();
    });
    connect(CBox_BG3P1Top, &QCheckBox::toggled, this, [this](bool On) {
        if (Filling_)
            return;
        PPU->BG3OnTop = On;
        LayeringChanged();
    });
    connect(Btn_MoveScreen, &QToolButton::toggled, View_Screen, &tPictureView::SetMoveMode);
    connect(View_Screen, &tPictureView::MoveModeChanged, Btn_MoveScreen, &QToolButton::setChecked);
    connect(View_Screen, &tPictureView::Zoomed, this, &tForm_Scene::UpdateCaption);
    connect(Btn_UpdateScreen, &QToolButton::toggled, this, [this](bool On) {
        if (On)
            UserChanged(tScenePage::Screen);
    });
    connect(Btn_SaveScreen, &QToolButton::clicked, this, [this] { SaveOrCopy(true); });
}

void tForm_Scene::CreateLayersPage(QWidget* Page)
{
    auto* L = new QHBoxLayout(Page);
    PC_Layers = Named(new QTabWidget(Page), "PC_Layers");
    L->addWidget(PC_Layers, 1);

    // regular backgrounds
    auto* BGs = Named(new QWidget(PC_Layers), "TS_BGs");
    auto* BL = new QVBoxLayout(BGs);
    auto* BRow = new QHBoxLayout;
    TC_BG = Tabs(BGs, "TC_BG", {"bg&1", "bg&2", "bg&3", "bg&4"});
    Btn_BgPr1 = Toggle(BGs, "Btn_BgPr1", QStringLiteral("p&riority 1"));
    Btn_BgPr0 = Toggle(BGs, "Btn_BgPr0", QStringLiteral("priority &0"));
    Btn_StretchY = Toggle(BGs, "Btn_StretchY", QStringLiteral("stretch &Y"), false);
    Btn_StretchY->setToolTip(QStringLiteral("only required for Mode5 and Mode6"));
    BRow->addWidget(TC_BG);
    BRow->addStretch(1);
    for (QPushButton* B : {Btn_BgPr1, Btn_BgPr0, Btn_StretchY})
        BRow->addWidget(B);
    BL->addLayout(BRow);
    View_BG = new tPictureView(QStringLiteral("Image_BG"), BGs);
    BL->addWidget(View_BG, 1);
    PC_Layers->addTab(BGs, QStringLiteral("regular &backgrounds"));

    // sprites
    auto* Spr = Named(new QWidget(PC_Layers), "TS_Sprites");
    auto* SL = new QHBoxLayout(Spr);
    auto* SLeft = new QVBoxLayout;
    auto* SRow = new QHBoxLayout;
    for (int p = 0; p < 4; ++p) {
        const QByteArray Name = "Btn_SprPr" + QByteArray::number(p);
        Btn_SprPr[static_cast<size_t>(p)] = Toggle(Spr, Name.constData(), QStringLiteral("priority &%1").arg(p));
        SRow->addWidget(Btn_SprPr[static_cast<size_t>(p)]);
        connect(Btn_SprPr[static_cast<size_t>(p)], &QPushButton::toggled, this, [this] {
            if (!Filling_)
                UserChanged(tScenePage::Sprites);
        });
    }
    SRow->addStretch(1);
    SLeft->addLayout(SRow);
    View_Sprites = new tPictureView(QStringLiteral("Image_Sprites"), Spr);
    SLeft->addWidget(View_Sprites, 1);
    SL->addLayout(SLeft, 1);
    auto* SRight = new QVBoxLayout;
    LV_Sprites = MakeTable(Spr, QStringLiteral("LV_Sprites"), {QStringLiteral("#"), QStringLiteral("priority")});
    LV_Sprites->setRowCount(128);
    for (int i = 0; i < 128; ++i) {
        auto* N = new QTableWidgetItem(QString::number(i));
        N->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        N->setCheckState(Qt::Checked);
        LV_Sprites->setItem(i, 0, N);
        LV_Sprites->setItem(i, 1, new QTableWidgetItem(QStringLiteral("0")));
    }
    LV_Sprites->setColumnWidth(0, 64);
    LV_Sprites->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LV_Sprites->setFixedWidth(170);
    SRight->addWidget(LV_Sprites, 1);
    auto* SprInvert = Named(new QPushButton(QStringLiteral("in&vert"), Spr), "Btn_SprInvert");
    auto* SprAll = Named(new QPushButton(QStringLiteral("s&how all"), Spr), "Btn_SprAll");
    SRight->addWidget(SprInvert);
    SRight->addWidget(SprAll);
    SL->addLayout(SRight);
    PC_Layers->addTab(Spr, QStringLiteral("sprit&es"));

    // mode 7
    auto* M7 = Named(new QWidget(PC_Layers), "TS_Mode7");
    auto* ML = new QVBoxLayout(M7);
    auto* MRow = new QHBoxLayout;
    TC_M7 = Tabs(M7, "TC_M7", {"bg&1", "bg&2"});
    Btn_M7Pr1 = Toggle(M7, "Btn_M7Pr1", QStringLiteral("p&riority 1"));
    Btn_M7Pr0 = Toggle(M7, "Btn_M7Pr0", QStringLiteral("priority &0"));
    Btn_DirectColor = Toggle(M7, "Btn_DirectColor", QStringLiteral("use DirectColor"), false);
    MRow->addWidget(TC_M7);
    MRow->addStretch(1);
    for (QPushButton* B : {Btn_M7Pr1, Btn_M7Pr0, Btn_DirectColor})
        MRow->addWidget(B);
    ML->addLayout(MRow);
    View_Mode7 = new tPictureView(QStringLiteral("Image_Mode7"), M7);
    ML->addWidget(View_Mode7, 1);
    PC_Layers->addTab(M7, QStringLiteral("&Mode7 backgrounds"));

    L->addWidget(CreateRightPanel(Page));

    for (QTabBar* T : {TC_BG})
        connect(T, &QTabBar::currentChanged, this, [this] { UserChanged(tScenePage::BG); });
    for (QPushButton* B : {Btn_BgPr1, Btn_BgPr0})
        connect(B, &QPushButton::toggled, this, [this] {
            if (!Filling_)
                UserChanged(tScenePage::BG);
        });
    connect(Btn_StretchY, &QPushButton::toggled, View_BG, &tPictureView::SetStretchY);
    connect(TC_M7, &QTabBar::currentChanged, this, [this] { UserChanged(tScenePage::Mode7); });
    // A click on a layer's tab shows that layer's tiles in the memory viewer.
    connect(TC_BG, &QTabBar::tabBarClicked, this, [](int N) {
        if (!Form_Memory || N < 0 || N > 3)
            return;
        const tBGLayer& Layer = PPU->Layers[static_cast<size_t>(N)];
        const tMemDecoder Decoder =
            Layer.BitDepth == 8 ? tMemDecoder::Bpp8 : (Layer.BitDepth == 4 ? tMemDecoder::Bpp4 : tMemDecoder::Bpp2);
        if (Layer.BitDepth)
            Form_Memory->ShowTiles(Decoder, Layer.CharBase, 0);
    });
    connect(TC_M7, &QTabBar::tabBarClicked, this, [](int N) {
        if (Form_Memory && (N == 0 || N == 1))
            Form_Memory->ShowTiles(N ? tMemDecoder::M7BG2 : tMemDecoder::M7BG1, 0, 0);
    });
    for (QPushButton* B : {Btn_M7Pr1, Btn_M7Pr0, Btn_DirectColor})
        connect(B, &QPushButton::toggled, this, [this] {
            if (!Filling_)
                UserChanged(tScenePage::Mode7);
        });
    connect(LV_Sprites, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* Item) {
        if (Filling_ || Item->column() != 0)
            return;
        SpriteActive_[static_cast<size_t>(Item->row() & 127)] = Item->checkState() == Qt::Checked;
        UserChanged(tScenePage::Sprites);
    });
    connect(LV_Sprites, &QTableWidget::currentCellChanged, this, [this](int Row) {
        if (PPU)
            ShowTileInfo(SpriteInfo(*PPU, Row));
    });
    LV_Sprites->setCurrentCell(0, 0); // the first sprite is selected at start
    connect(SprInvert, &QPushButton::clicked, this, [this] { SetAllSprites(true); });
    connect(SprAll, &QPushButton::clicked, this, [this] { SetAllSprites(false); });
    connect(View_BG, &tPictureView::Hovered, this, &tForm_Scene::HoverBG);
    connect(View_Sprites, &tPictureView::Hovered, this, &tForm_Scene::HoverSprites);
    connect(View_Mode7, &tPictureView::Hovered, this, &tForm_Scene::HoverMode7);
    for (tPictureView* V : {View_BG, View_Sprites, View_Mode7}) {
        connect(V, &tPictureView::Zoomed, this, &tForm_Scene::UpdateCaption);
        connect(V, &tPictureView::MoveModeChanged, Btn_MoveLayer, &QToolButton::setChecked);
    }
    connect(Btn_MoveLayer, &QToolButton::toggled, this, [this](bool On) {
        for (tPictureView* V : {View_BG, View_Sprites, View_Mode7})
            V->SetMoveMode(On);
    });
    connect(Btn_UpdateLayer, &QToolButton::toggled, this, [this](bool On) {
        const int i = PC_Layers->currentIndex();
        if (i < 0 || i > 2 || Filling_)
            return;
        UpdateLayer_[static_cast<size_t>(i)] = On;
        if (On)
            UserChanged(static_cast<tScenePage>(static_cast<int>(tScenePage::BG) + i));
    });
    connect(Btn_SaveLayer, &QToolButton::clicked, this, [this] { SaveOrCopy(false); });
    UpdateLayerHint();
}

QWidget* tForm_Scene::CreateRightPanel(QWidget* Parent)
{
    Panel_Right = Named(new QWidget(Parent), "Panel_Right");
    Panel_Right->setFixedWidth(210);
    auto* L = new QVBoxLayout(Panel_Right);
    L->setContentsMargins(0, 0, 0, 0);
    auto* Tools = new QHBoxLayout;
    Btn_MoveLayer = Tool(Panel_Right, "Btn_MoveLayer", QStringLiteral("move"), QStringLiteral("move mode"), true);
    Btn_UpdateLayer = Tool(Panel_Right, "Btn_UpdateLayer", QStringLiteral("update"), QString(), true);
    Btn_UpdateLayer->setChecked(true);
    Btn_SaveLayer =
        Tool(Panel_Right, "Btn_SaveLayer", QStringLiteral("save"), QStringLiteral("save or copy the layer"), true);
    for (QToolButton* B : {Btn_MoveLayer, Btn_UpdateLayer, Btn_SaveLayer})
        Tools->addWidget(B);
    L->addLayout(Tools);

    auto* Info = Named(new QGroupBox(QStringLiteral("tile info"), Panel_Right), "GBox_TileInfo");
    auto* IL = new QGridLayout(Info);
    const char* const Captions[] = {"x pos.", "y pos.",        "tile index",    "palette",
                                    "size",   "flipped horz.", "flipped vert.", "priority bit set"};
    for (int i = 0; i < 8; ++i) {
        IL->addWidget(new QLabel(QString::fromLatin1(Captions[i]), Info), i, 0);
        TileLabels[static_cast<size_t>(i)] = new QLabel(Info);
        TileLabels[static_cast<size_t>(i)]->setObjectName(QStringLiteral("Label_TileInfo%1").arg(i));
        IL->addWidget(TileLabels[static_cast<size_t>(i)], i, 1);
    }
    Image_Tile = Named(new QLabel(Info), "Image_Tile");
    Image_Tile->setFixedSize(128, 128);
    Image_Tile->setAlignment(Qt::AlignCenter);
    Image_Tile->setFrameShape(QFrame::Box);
    IL->addWidget(Image_Tile, 8, 0, 1, 2, Qt::AlignCenter);
    L->addWidget(Info);

    auto* Transp = Named(new QGroupBox(QStringLiteral("&transparency"), Panel_Right), "GBox_Transparency");
    auto* TL = new QGridLayout(Transp);
    TranspGroup = new QButtonGroup(Transp);
    const char* const TCaptions[] = {"col. const.", "no transparency", "custom:", "col. 0"};
    for (int i = 0; i < 4; ++i) {
        auto* R = Named(new QRadioButton(QString::fromLatin1(TCaptions[i]), Transp), TranspNames[i]);
        TranspGroup->addButton(R, i);
        TL->addWidget(R, i, 0);
    }
    TranspGroup->button(0)->setChecked(true);
    Panel_TranspCustom = Named(new QPushButton(Transp), "Panel_TranspCustom");
    Panel_TranspCustom->setFixedSize(40, 20);
    TL->addWidget(Panel_TranspCustom, 2, 1);
    L->addWidget(Transp);
    L->addStretch(1);
    connect(TranspGroup, &QButtonGroup::idToggled, this, [this](int Id, bool On) {
        if (!On)
            return;
        Transparency_.Kind = static_cast<tTransparency::tKind>(Id);
        if (Filling_)
            return;
        Redraw_.Mark(tScenePage::BG);
        Redraw_.Mark(tScenePage::Sprites);
        Redraw_.Mark(tScenePage::Mode7);
        RedrawVisible();
    });
    connect(Panel_TranspCustom, &QPushButton::clicked, this, &tForm_Scene::ChooseCustomColour);
    return Panel_Right;
}

void tForm_Scene::SetAllSprites(bool Invert)
{
    Filling_ = true;
    for (int i = 0; i < 128; ++i) {
        uint8_t& A = SpriteActive_[static_cast<size_t>(i)];
        A = Invert ? !A : 1;
        LV_Sprites->item(i, 0)->setCheckState(A ? Qt::Checked : Qt::Unchecked);
    }
    Filling_ = false;
    UserChanged(tScenePage::Sprites);
}

void tForm_Scene::ChooseCustomColour()
{
    // The dialog's custom colours are the first palette's sixteen.
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, QColor(QRgb(PPU->Palette[static_cast<size_t>(i)])));
    const QColor C = QColorDialog::getColor(QColor(QRgb(Transparency_.CustomColour)), this, QStringLiteral("custom:"));
    if (!C.isValid())
        return;
    Transparency_.CustomColour = C.rgb() & 0xFFFFFF;
    Panel_TranspCustom->setStyleSheet(QStringLiteral("background-color: %1").arg(C.name()));
    TranspGroup->button(tTransparency::Custom)->setChecked(true);
    Redraw_.Mark(tScenePage::BG);
    Redraw_.Mark(tScenePage::Sprites);
    Redraw_.Mark(tScenePage::Mode7);
    RedrawVisible();
}

void tForm_Scene::UpdateLayerHint()
{
    static const char* const Kinds[] = {"BG", "sprite", "Mode7"};
    const int i = PC_Layers->currentIndex();
    if (i < 0 || i > 2)
        return;
    Filling_ = true;
    Btn_UpdateLayer->setChecked(UpdateLayer_[static_cast<size_t>(i)]);
    Filling_ = false;
    Btn_UpdateLayer->setToolTip(QStringLiteral("update ") + QString::fromLatin1(Kinds[i]) +
                                QStringLiteral(" layer after loading a SNES"));
}

void tForm_Scene::OnNotify(const void* /*Sender*/, tNote Msg)
{
    if (Msg == Note::Startup && Form_Options)
        connect(Form_Options, &tForm_Options::OptionChanged, this, &tForm_Scene::OptionChanged, Qt::UniqueConnection);
    if (Msg == Note::NewSNES || Msg == Note::Startup)
        Reload();
    else if (Msg == Note::NewCartROM) {
        // HDMA tables in ROM change the replayed screen too.
        Redraw_.Mark(tScenePage::HDMA);
        Redraw_.Mark(tScenePage::Screen);
        RedrawVisible();
    }
}

void tForm_Scene::OptionChanged(const QString& Name)
{
    if (Name == QLatin1String("CBox_Scene512") || Name == QLatin1String("CBox_SceneBlur") ||
        Name == QLatin1String("CBox_SceneBlurSoft") || Name == QLatin1String("CBox_SceneHDMA") ||
        Name == QLatin1String("CBox_SceneDirect"))
        UserChanged(tScenePage::Screen);
    else if (Name == QLatin1String("CBox_SceneMode7")) {
        // Mode 7's BG1 and BG2 join or leave the layering with the option.
        Switches_.Reload(*PPU, Options());
        LayeringChanged();
    } else if (Name == QLatin1String("CBox_SceneSpaces")) {
        Redraw_.Mark(tScenePage::HDMA);
        UserChanged(tScenePage::Info);
    } else if (Name == QLatin1String("CBox_SceneLayering") && Options().CBox_SceneLayering) {
        Switches_.Reload(*PPU, Options());
        LayeringChanged();
    } else if (Name == QLatin1String("CBox_SceneActivate") && Options().CBox_SceneActivate)
        SetAllSprites(false);
    else if (Name == QLatin1String("CBox_OptionsNoHex"))
        ShowTileInfo(ShownTile_);
}

void tForm_Scene::LoadSettings(const tSettings& S)
{
    Filling_ = true;
    int I = 0;
    if (S.Read(QStringLiteral("PC_Base.ActivePageIndex"), I, 0, 4))
        PC_Base->setCurrentIndex(I);
    if (S.Read(QStringLiteral("PC_Layers.ActivePageIndex"), I, 0, 2))
        PC_Layers->setCurrentIndex(I);
    if (S.Read(QStringLiteral("Update_Layer"), I, 0, 7))
        for (size_t k = 0; k < 3; ++k)
            UpdateLayer_[k] = (I >> k) & 1;
    bool B = true;
    if (S.Read(QStringLiteral("Update_Screen"), B))
        Btn_UpdateScreen->setChecked(B);
    S.ReadDialog(DlgSave);
    if (S.Read(QStringLiteral("TC_Screens.TabIndex"), I, 0, 1))
        TC_Screens->setCurrentIndex(I);
    if (S.Read(QStringLiteral("TC_BG.TabIndex"), I, 0, 3))
        TC_BG->setCurrentIndex(I);
    if (S.Read(QStringLiteral("TC_M7.TabIndex"), I, 0, 1))
        TC_M7->setCurrentIndex(I);
    for (QCheckBox* C :
         {CBox_Active, CBox_Inactive, CBox_ScreenBoth, CBox_ScreenBrightness, CBox_ScreenNoMosaic, CBox_ScreenMasks}) {
        B = C->isChecked();
        if (S.ReadChecked(C->objectName(), B))
            C->setChecked(B);
    }
    if (S.Read(QStringLiteral("Panel_Right.Width"), I, 150, 600))
        Panel_Right->setFixedWidth(I);
    S.ReadColumnWidths(LV_Sprites);
    uint32_t Colour = 0;
    if (S.ReadColor(QStringLiteral("Panel_TranspCustom.Color"), Colour)) {
        Transparency_.CustomColour = Colour;
        Panel_TranspCustom->setStyleSheet(QStringLiteral("background-color: %1").arg(QColor(QRgb(Colour)).name()));
    }
    for (int i = 0; i < 4; ++i)
        if (S.ReadChecked(QString::fromLatin1(TranspNames[i]), B) && B)
            TranspGroup->button(i)->setChecked(true);
    Filling_ = false;
    UpdateLayerHint();
    Redraw_.NewState({true, true, true, true});
    RedrawVisible();
}

void tForm_Scene::SaveSettings(tSettings& S)
{
    S.Write(QStringLiteral("PC_Base.ActivePageIndex"), PC_Base->currentIndex());
    S.Write(QStringLiteral("PC_Layers.ActivePageIndex"), PC_Layers->currentIndex());
    S.Write(QStringLiteral("Update_Layer"),
            int{UpdateLayer_[0]} | int{UpdateLayer_[1]} << 1 | int{UpdateLayer_[2]} << 2);
    S.Write(QStringLiteral("Update_Screen"), Btn_UpdateScreen->isChecked());
    S.WriteDialog(DlgSave);
    S.Write(QStringLiteral("TC_Screens.TabIndex"), TC_Screens->currentIndex());
    S.Write(QStringLiteral("TC_BG.TabIndex"), TC_BG->currentIndex());
    S.Write(QStringLiteral("TC_M7.TabIndex"), TC_M7->currentIndex());
    for (QCheckBox* C :
         {CBox_Active, CBox_Inactive, CBox_ScreenBoth, CBox_ScreenBrightness, CBox_ScreenNoMosaic, CBox_ScreenMasks})
        S.WriteChecked(C->objectName(), C->isChecked());
    S.Write(QStringLiteral("Panel_Right.Width"), Panel_Right->width());
    S.WriteColumnWidths(LV_Sprites);
    S.WriteColor(QStringLiteral("Panel_TranspCustom.Color"), Transparency_.CustomColour);
    for (int i = 0; i < 4; ++i)
        S.WriteChecked(QString::fromLatin1(TranspNames[i]), TranspGroup->button(i)->isChecked());
}

void tForm_Scene::showEvent(QShowEvent* Event)
{
    tToolWindow::showEvent(Event);
    RedrawVisible();
}
