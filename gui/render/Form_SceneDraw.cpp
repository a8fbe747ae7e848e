// The scene viewer's Reload, its redraw dispatch, the pictures, the tile info
// panel and saving.

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "core/Messages.h"
#include "core/Options.h"
#include "core/PictureFiles.h"
#include "core/SNES.h"
#include "gui/render/Form_Scene.h"
#include "gui/render/PictureView.h"
#include "render/PPU.h"
#include "render/Renderer.h"

void tForm_Scene::Reload()
{
    if (!PPU)
        return;
    Filling_ = true;
    TC_BgMode->setCurrentIndex(PPU->BGMode & 7);
    Btn_DirectColor->setChecked(PPU->DirectColour);
    Switches_.Reload(*PPU, Options());
    // The sprite priority buttons: down for the priorities some sprite has.
    std::array<bool, 4> Used{};
    for (const tSpriteRec& S : PPU->Sprites)
        Used[S.Priority & 3u] = true;
    for (size_t p = 0; p < 4; ++p)
        Btn_SprPr[p]->setChecked(Used[p]);
    // Only the rows that change are touched: a new state usually changes few,
    // and every touched item costs the list a round of updates.
    const bool Activate = Options().CBox_SceneActivate;
    static const QString Digits[] = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                     QStringLiteral("3")};
    for (int i = 0; i < 128; ++i) {
        if (Activate && !SpriteActive_[static_cast<size_t>(i)]) {
            SpriteActive_[static_cast<size_t>(i)] = 1;
            LV_Sprites->item(i, 0)->setCheckState(Qt::Checked);
        }
        const QString& Priority = Digits[PPU->Sprites[static_cast<size_t>(i)].Priority & 3u];
        if (LV_Sprites->item(i, 1)->text() != Priority)
            LV_Sprites->item(i, 1)->setText(Priority);
    }
    Filling_ = false;
    ShowLayering();
    Redraw_.NewState({Btn_UpdateScreen->isChecked(), UpdateLayer_[0], UpdateLayer_[1], UpdateLayer_[2]});
    RedrawVisible();
    // The tile shown may not exist in the new state.
    RefreshTileInfo();
}

void tForm_Scene::ChooseMode(int Mode)
{
    if (!PPU || !SNES || Mode < 0 || Mode > 7)
        return;
    Filling_ = true;
    TC_BgMode->setCurrentIndex(Mode);
    Filling_ = false;
    PPU->BGMode = static_cast<uint8_t>(Mode);
    PPU->SetupLayers(*SNES);
    ShowLayering();
    for (tScenePage P : {tScenePage::BG, tScenePage::Offsets, tScenePage::Info})
        Redraw_.Mark(P);
    UserChanged(tScenePage::Screen);
}

// The layering list, the tab captions, the BG3 box and the reload button as
// the switches say.
void tForm_Scene::ShowLayering()
{
    Filling_ = true;
    const auto& V = Switches_.Visibility[static_cast<size_t>(Switches_.LayeringTab & 1)];
    for (int i = 0; i < 12; ++i) {
        const Qt::CheckState State = V[static_cast<size_t>(i)] ? Qt::Checked : Qt::Unchecked;
        if (LV_Layering->item(i)->checkState() != State)
            LV_Layering->item(i)->setCheckState(State);
    }
    static const char* const Captions[] = {"&main", "s&ub"};
    for (size_t s = 0; s < 2; ++s) {
        bool Any = false;
        for (uint8_t F : Switches_.Visibility[s])
            Any |= F != 0;
        const QString C = QString::fromLatin1(Captions[s]);
        if (TC_Layering->tabText(static_cast<int>(s)) != (Any ? C.toUpper() : C))
            TC_Layering->setTabText(static_cast<int>(s), Any ? C.toUpper() : C);
    }
    CBox_BG3P1Top->setChecked(PPU && PPU->BG3OnTop);
    CBox_BG3P1Top->setEnabled(PPU && PPU->BGMode == 1);
    Btn_VisReload->setEnabled(
        PPU && (PPU->BG3OnTop != PPU->BG3Priority || Switches_.Visibility != Switches_.RegisterLayering));
    Filling_ = false;
}

void tForm_Scene::LayeringChanged()
{
    ShowLayering();
    UserChanged(tScenePage::Screen);
}

void tForm_Scene::UserChanged(tScenePage Page)
{
    Redraw_.Mark(Page);
    RedrawVisible();
}

tScenePage tForm_Scene::VisiblePicturePage() const
{
    switch (PC_Base->currentIndex()) {
    case 1:
        return static_cast<tScenePage>(static_cast<int>(tScenePage::BG) + std::clamp(PC_Layers->currentIndex(), 0, 2));
    case 2:
        return tScenePage::HDMA;
    case 3:
        return tScenePage::Offsets;
    case 4:
        return tScenePage::Info;
    default:
        return tScenePage::Screen;
    }
}

// Only the page on view is drawn; the others keep their marks until they
// are shown.
void tForm_Scene::RedrawVisible()
{
    if (!isVisible() || !PPU || !SNES)
        return;
    const tScenePage Page = VisiblePicturePage();
    if (!Redraw_.Take(Page))
        return;
    ++RedrawCount_[static_cast<size_t>(Page)];
    switch (Page) {
    case tScenePage::Screen:
        DrawScreen();
        break;
    case tScenePage::BG:
        DrawBG();
        break;
    case tScenePage::Sprites:
        DrawSprites();
        break;
    case tScenePage::Mode7:
        DrawMode7();
        break;
    case tScenePage::HDMA:
        RefreshHDMA();
        break;
    case tScenePage::Offsets:
        RefreshOffsetGrid();
        break;
    default:
        RefreshInfo();
        break;
    }
}

void tForm_Scene::DrawScreen()
{
    Renderer->ComposeFrame(*PPU, Switches_, Options(), Screen8_, Screen16_);
    if (TC_Screens->currentIndex())
        View_Screen->SetPicture(Screen16_);
    else
        View_Screen->SetPicture(Screen8_);
}

void tForm_Scene::DrawBG()
{
    const int N = TC_BG->currentIndex();
    DrawBGPlane(*PPU, N, Btn_BgPr0->isChecked(), Btn_BgPr1->isChecked(), Transparency_, BG_);
    DrawnBG_ = {N, BG_.Width, BG_.Height};
    View_BG->SetPicture(BG_);
}

std::array<uint8_t, 4> tForm_Scene::SpritePriorities() const
{
    std::array<uint8_t, 4> P{};
    for (size_t i = 0; i < 4; ++i)
        P[i] = Btn_SprPr[i]->isChecked();
    return P;
}

void tForm_Scene::DrawSprites()
{
    DrawSpriteSheet(*PPU, SpriteActive_, SpritePriorities(), Transparency_, Sprites_);
    View_Sprites->SetPicture(Sprites_);
}

void tForm_Scene::DrawMode7()
{
    DrawMode7Plane(*PPU, TC_M7->currentIndex() == 1, Btn_DirectColor->isChecked(), Btn_M7Pr0->isChecked(),
                   Btn_M7Pr1->isChecked(), Transparency_, Mode7_);
    View_Mode7->SetPicture(Mode7_);
}

void tForm_Scene::UpdateCaption()
{
    tPictureView* V = View_Screen;
    if (PC_Base->currentIndex() == 1) {
        const int i = PC_Layers->currentIndex();
        V = i == 0 ? View_BG : i == 1 ? View_Sprites : View_Mode7;
    }
    setWindowTitle(QString::fromStdString(V->Zoom().Caption(windowTitle().toStdString())));
}

QString tForm_Scene::Number(long Value) const
{
    if (Options().CBox_OptionsNoHex)
        return QString::number(Value);
    return QString::number(Value, 16).toUpper() + QLatin1Char('h');
}

void tForm_Scene::ShowTileInfo(const tTileInfo& T)
{
    if (!T.Valid && !ShownTile_.Valid)
        return; // the panel is empty already
    if (&T != &ShownTile_)
        ShownTile_ = T;
    if (!T.Valid) {
        for (QLabel* L : TileLabels)
            L->clear();
        Image_Tile->clear();
        return;
    }
    const QString Yes = QStringLiteral("yes"), No = QStringLiteral("no");
    const QString Texts[] = {Number(T.X),
                             Number(T.Y),
                             Number(T.TileIndex),
                             Number(T.Palette),
                             QStringLiteral("%1 x %2").arg(T.Width).arg(T.Height),
                             T.FlipX ? Yes : No,
                             T.FlipY ? Yes : No,
                             T.Priority ? Yes : No};
    for (size_t i = 0; i < 8; ++i)
        TileLabels[i]->setText(Texts[i]);
    // The tile in the colours of the picture it comes from (transparency,
    // direct colour and the EXTBG halves included).
    tPicture8 Tile = T.Tile;
    const int Sub = PC_Layers->currentIndex();
    const tPicture8& From = Sub == 0 ? BG_ : Sub == 1 ? Sprites_ : Mode7_;
    if (From.Width > 0)
        Tile.ColourTable = From.ColourTable;
    const QImage I = ToQImage(Tile);
    if (I.isNull()) {
        Image_Tile->clear();
        return;
    }
    const int Factor = std::max(1, 128 / std::max(I.width(), I.height()));
    Image_Tile->setPixmap(QPixmap::fromImage(I.scaled(I.width() * Factor, I.height() * Factor)));
}

void tForm_Scene::RefreshTileInfo()
{
    ShowTileInfo(PPU && PC_Layers->currentIndex() == 1 ? SpriteInfo(*PPU, LV_Sprites->currentRow()) : tTileInfo{});
}

void tForm_Scene::HoverBG(QPoint At)
{
    const tTileInfo T = BGTileAt(*PPU, DrawnBG_, At.x(), At.y());
    if (T.Valid)
        ShowTileInfo(T);
}

void tForm_Scene::HoverMode7(QPoint At)
{
    if (Mode7_.Width == 0)
        return;
    const tTileInfo T = Mode7TileAt(*PPU, At.x(), At.y());
    if (T.Valid)
        ShowTileInfo(T);
}

void tForm_Scene::HoverSprites(QPoint At)
{
    const int N = SpriteAt(*PPU, SpriteActive_, SpritePriorities(), At.x(), At.y());
    if (N >= 0 && N != LV_Sprites->currentRow())
        LV_Sprites->setCurrentCell(N, 0);
}

void tForm_Scene::SaveOrCopy(bool Screen)
{
    QToolButton* Button = Screen ? Btn_SaveScreen : Btn_SaveLayer;
    const tPicture8* P8 = nullptr;
    const tPicture32* P32 = nullptr;
    if (Screen) {
        if (TC_Screens->currentIndex() == 0)
            P8 = &Screen8_;
        else
            P32 = &Screen16_;
    } else {
        const int i = PC_Layers->currentIndex();
        P8 = i == 0 ? &BG_ : i == 1 ? &Sprites_ : &Mode7_;
    }
    const bool Empty = P8 ? P8->Width == 0 || P8->Height == 0 : P32->Width == 0 || P32->Height == 0;
    if (!Empty && !Options().CBox_OptionsNoCopy)
        QGuiApplication::clipboard()->setImage(P8 ? ToQImage(*P8) : ToQImage(*P32));
    else if (!Empty) {
        // A cancelled dialog writes nothing, whatever name the dialog held.
        if (const std::optional<std::string> Name = AskPictureName(DlgSave, this)) {
            tError Error;
            if (!(P8 ? WritePicture(*Name, *P8, Error) : WritePicture(*Name, *P32, Error)))
                Messages().Error(Error.Describe(*Name));
        }
    }
    Button->setChecked(false);
}
