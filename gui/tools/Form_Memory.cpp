#include "gui/tools/Form_Memory.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "cart/SNESCart.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/Routines.h"
#include "core/SNES.h"
#include "core/SharedData.h"
#include "gui/core/Icons.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/Settings.h"
#include "gui/core/Widgets.h"
#include "gui/tools/Form_Palette.h"
#include "render/PPU.h"

namespace
{
QString Q(const std::string& S)
{
    return QString::fromStdString(S);
}

const char* const NumberError = "No integer number in the range of 0..2147483647 has been entered.";
const char* const OffsetCaption = "window &offset (";

struct tDecoderButton {
    const char* Name;
    const char* Caption;
    const char* Hint;
};
constexpr tDecoderButton DecoderButtons[MemDecoderCount] = {
    {"RBtn_1", "&1-bit", "2 colors, not used in VRAM"},
    {"RBtn_2", "&2-bit", "4 colors"},
    {"RBtn_3", "&3-bit", "8 colors, not used in VRAM"},
    {"RBtn_4", "&4-bit", "16 colors"},
    {"RBtn_8", "&8-bit", "256 colors"},
    {"RBtn_FX", "&FX", "512 pixels per line, 4 bits (16 colors), not used in VRAM"},
    {"RBtn_7a", "M&7 BG1", "Mode7 BG1 (8-bit), 256 colors"},
    {"RBtn_7b", "M7 &BG2", "Mode7 BG2 (8-bit), 128 colors"},
};
constexpr const char* SourceNames[MemSourceCount] = {"RBtn_VRAM", "RBtn_WRAM", "RBtn_ROM"};
constexpr const char* SourceCaptions[MemSourceCount] = {"&VRAM", "&WRAM", "&ROM"};
constexpr const char* LabelNames[MemSourceCount] = {"Label_VRAM", "Label_WRAM", "Label_ROM"};
} // namespace

// The picture, painted scaled from the unscaled bitmap: only the part that
// is exposed is drawn, so no zoomed copy of the picture is ever made.
class tMemoryPicture : public QWidget
{
  public:
    explicit tMemoryPicture(tForm_Memory* Owner) : QWidget(Owner), Form(Owner)
    {
        setObjectName(QStringLiteral("Image"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    QImage Image;

  protected:
    void paintEvent(QPaintEvent* E) override
    {
        QPainter P(this);
        P.fillRect(E->rect(), Qt::black);
        if (Image.isNull())
            return;
        const int Z = Form->Zoom_;
        const double Scale = Z >= 0 ? double(1 << Z) : 1.0 / double(1 << -Z);
        // The bitmap's pixels under the exposed rectangle, one pixel wider
        // on each side for the partly covered ones.
        const QRect R = E->rect();
        const int X0 = std::max(0, int(R.left() / Scale) - 1), Y0 = std::max(0, int(R.top() / Scale) - 1);
        const int X1 = std::min(Image.width(), int((R.right() + 1) / Scale) + 2);
        const int Y1 = std::min(Image.height(), int((R.bottom() + 1) / Scale) + 2);
        if (X1 <= X0 || Y1 <= Y0)
            return;
        const QRectF Source(X0, Y0, X1 - X0, Y1 - Y0);
        const QRectF Target(X0 * Scale, Y0 * Scale, (X1 - X0) * Scale, (Y1 - Y0) * Scale);
        P.drawImage(Target, Image, Source);
    }
    void mousePressEvent(QMouseEvent* E) override { Form->PictureMouseDown(E); }
    void mouseMoveEvent(QMouseEvent* E) override { Form->PictureMouseMove(E); }
    void mouseReleaseEvent(QMouseEvent* E) override { Form->PictureMouseUp(E); }

  private:
    tForm_Memory* Form;
};

tForm_Memory::tForm_Memory(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    // The caption ends in the zoom ratio.
    setWindowTitle(windowTitle() + QStringLiteral(" (1:1)"));
    auto* Main = new QHBoxLayout(this);
    auto* Left = new QVBoxLayout;
    Main->addLayout(Left);

    auto* Decoders = new QGroupBox(this);
    auto* DL = new QGridLayout(Decoders);
    auto* DecoderGroup = new QButtonGroup(this);
    for (int i = 0; i < MemDecoderCount; ++i) {
        const tDecoderButton& B = DecoderButtons[i];
        auto* R = new QRadioButton(QString::fromLatin1(B.Caption), Decoders);
        R->setObjectName(QString::fromLatin1(B.Name));
        R->setToolTip(QString::fromLatin1(B.Hint));
        DecoderGroup->addButton(R, i);
        DL->addWidget(R, i % 4, i / 4);
        RBtn_Decoder[static_cast<size_t>(i)] = R;
        connect(R, &QRadioButton::clicked, this, [this, i] { GUI_ClickDecoder(static_cast<tMemDecoder>(i)); });
    }
    RBtn_Decoder[static_cast<size_t>(tMemDecoder::Bpp4)]->setChecked(true);
    Left->addWidget(Decoders);

    auto* Sources = new QGroupBox(this);
    auto* SL = new QGridLayout(Sources);
    auto* SourceGroup = new QButtonGroup(this);
    for (int i = 0; i < MemSourceCount; ++i) {
        auto* R = new QRadioButton(QString::fromLatin1(SourceCaptions[i]), Sources);
        R->setObjectName(QString::fromLatin1(SourceNames[i]));
        SourceGroup->addButton(R, i);
        auto* L = new QLabel(Sources);
        L->setObjectName(QString::fromLatin1(LabelNames[i]));
        L->installEventFilter(this);
        SL->addWidget(R, i, 0);
        SL->addWidget(L, i, 1);
        RBtn_Source[static_cast<size_t>(i)] = R;
        Label_Source[static_cast<size_t>(i)] = L;
        connect(R, &QRadioButton::clicked, this, [this, i] { GUI_ClickMemSrc(static_cast<tMemSource>(i)); });
    }
    Label_Source[0]->setText(QStringLiteral("64 KB"));
    Label_Source[0]->setToolTip(QStringLiteral("65536 bytes"));
    Label_Source[1]->setText(QStringLiteral("128 KB"));
    Label_Source[1]->setToolTip(QStringLiteral("131072 bytes"));
    RBtn_Source[0]->setChecked(true);
    RBtn_Source[2]->setEnabled(false);
    Label_Source[2]->setEnabled(false);
    Left->addWidget(Sources);

    GBox_Offset = new QGroupBox(QStringLiteral("window &offset (000%)"), this);
    GBox_Offset->setObjectName(QStringLiteral("GBox_Offset"));
    auto* OL = new QGridLayout(GBox_Offset);
    Edit_Offset = new QLineEdit(GBox_Offset);
    Edit_Offset->setObjectName(QStringLiteral("Edit_Offset"));
    Edit_Offset->installEventFilter(this);
    // Each arrow moves the offset by one byte.
    UD_Offset = MakeArrows(GBox_Offset, QStringLiteral("UD_Offset"), [this](int Step) {
        View.Offset += Step;
        UpdateView();
    });
    Btn_Minus = new QPushButton(QStringLiteral("-"), GBox_Offset);
    Btn_Minus->setObjectName(QStringLiteral("Btn_Minus"));
    Btn_Plus = new QPushButton(QStringLiteral("+"), GBox_Offset);
    Btn_Plus->setObjectName(QStringLiteral("Btn_Plus"));
    connect(Btn_Minus, &QPushButton::clicked, this, [this] { GUI_ClickJump(-1); });
    connect(Btn_Plus, &QPushButton::clicked, this, [this] { GUI_ClickJump(+1); });
    RBtn_JumpWin = new QRadioButton(QStringLiteral("w&indow"), GBox_Offset);
    RBtn_JumpWin->setObjectName(QStringLiteral("RBtn_JumpWin"));
    RBtn_JumpWin->setToolTip(QStringLiteral("jump width: window size"));
    RBtn_JumpLine = new QRadioButton(QStringLiteral("&line"), GBox_Offset);
    RBtn_JumpLine->setObjectName(QStringLiteral("RBtn_JumpLine"));
    RBtn_JumpLine->setToolTip(QStringLiteral("jump width = x res * tile size"));
    RBtn_JumpWin->setChecked(true);
    OL->addWidget(Edit_Offset, 0, 0, 1, 2);
    OL->addWidget(UD_Offset, 0, 2);
    OL->addWidget(Btn_Minus, 1, 0);
    OL->addWidget(Btn_Plus, 1, 1, 1, 2);
    OL->addWidget(RBtn_JumpWin, 2, 0);
    OL->addWidget(RBtn_JumpLine, 2, 1, 1, 2);
    Left->addWidget(GBox_Offset);

    auto* Res = new QGroupBox(this);
    auto* RL = new QGridLayout(Res);
    UD_xRes = new QSpinBox(Res);
    UD_xRes->setObjectName(QStringLiteral("UD_xRes"));
    UD_yRes = new QSpinBox(Res);
    UD_yRes->setObjectName(QStringLiteral("UD_yRes"));
    for (QSpinBox* S : {UD_xRes, UD_yRes}) {
        S->setRange(MinTiles, MaxTiles);
        S->setKeyboardTracking(false);
        connect(S, &QSpinBox::valueChanged, this, [this, S](int V) {
            if (Rendering || !isEnabled())
                return;
            (S == UD_xRes ? View.TilesX : View.TilesY) = V;
            UpdateView();
        });
    }
    {
        // The picture does not exist yet: nothing is drawn for these.
        const QSignalBlocker BlockX(UD_xRes), BlockY(UD_yRes);
        UD_xRes->setValue(View.TilesX);
        UD_yRes->setValue(View.TilesY);
    }
    RL->addWidget(new QLabel(QStringLiteral("x"), Res), 0, 0);
    RL->addWidget(UD_xRes, 0, 1);
    RL->addWidget(new QLabel(QStringLiteral("y"), Res), 1, 0);
    RL->addWidget(UD_yRes, 1, 1);
    Left->addWidget(Res);

    auto* Tools = new QHBoxLayout;
    Btn_Move = new QToolButton(this);
    Btn_Move->setObjectName(QStringLiteral("Btn_Move"));
    Btn_Move->setToolTip(QStringLiteral("toggle move/zoom mode"));
    Btn_Move->setText(QStringLiteral("move"));
    Btn_Move->setCheckable(true);
    connect(Btn_Move, &QToolButton::toggled, this, &tForm_Memory::SetMoveMode);
    Btn_Save = new QToolButton(this);
    Btn_Save->setObjectName(QStringLiteral("Btn_Save"));
    Btn_Save->setToolTip(QStringLiteral("copy / save"));
    Btn_Save->setText(QStringLiteral("save"));
    connect(Btn_Save, &QToolButton::clicked, this, &tForm_Memory::GUI_ClickSave);
    Tools->addWidget(Btn_Move);
    Tools->addWidget(Btn_Save);
    Left->addLayout(Tools);
    Left->addStretch();

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setBackgroundRole(QPalette::Dark);
    Image = new tMemoryPicture(this);
    ScrollBox->setWidget(Image);
    ScrollBox->installEventFilter(this);
    Image->installEventFilter(this);
    Main->addWidget(ScrollBox, 1);
    SetMoveMode(false);

    DlgSave = PictureSaveDialog();

    View.Update();
    resize(520, 420);
}

std::span<const uint8_t> tForm_Memory::SourceData() const
{
    switch (View.Source) {
    case tMemSource::VRAM:
        return SNES ? std::span<const uint8_t>(SNES->VRAM) : std::span<const uint8_t>();
    case tMemSource::WRAM:
        return SNES ? std::span<const uint8_t>(SNES->WRAM) : std::span<const uint8_t>();
    case tMemSource::ROM:
        return Cart ? std::span<const uint8_t>(Cart->ROM) : std::span<const uint8_t>();
    }
    return {};
}

void tForm_Memory::UpdateView()
{
    View.SourceSize = SourceData().size();
    View.Update();
    if (auto* P = Form_Palette)
        P->Refresh();
    Render();
}

void tForm_Memory::Render()
{
    Rendering = true;
    RBtn_Decoder[static_cast<size_t>(View.Decoder)]->setChecked(true);
    RBtn_Source[static_cast<size_t>(View.Source)]->setChecked(true);
    UD_xRes->setValue(View.TilesX);
    UD_yRes->setValue(View.TilesY);
    Rendering = false;
    if (StartupDone)
        RefreshOffset();
    else
        View.DecodeWindow(SourceData(), Bitmap);
    Image->resize(int(ZoomedLength(View.TilesX * 8, Zoom_)), int(ZoomedLength(View.TilesY * 8, Zoom_)));
    ApplyPalette();
}

void tForm_Memory::RefreshOffset()
{
    View.Clamp();
    Btn_Plus->setEnabled(View.CanPlus());
    Btn_Minus->setEnabled(View.CanMinus());
    Edit_Offset->setEnabled(View.OffsetEnabled());
    UD_Offset->setEnabled(View.OffsetEnabled());
    Edit_Offset->setText(Q(View.Position().Text(Options().CBox_MemoryHex)));
    GBox_Offset->setTitle(Q(View.Position().Caption(OffsetCaption)));
    View.DecodeWindow(SourceData(), Bitmap);
}

void tForm_Memory::ApplyPalette()
{
    const auto* P = Form_Palette;
    const int Selected = P ? P->SelectedIndex() : 0;
    static const std::array<uint32_t, 256> NoPalette{};
    const std::array<uint32_t, 256>& Palette = PPU ? PPU->Palette : NoPalette;
    ApplyMemoryPalette(Bitmap, Palette, Selected, View.Decoder, PPU && PPU->DirectColour,
                       DirectColourTable()[static_cast<size_t>(DirectPalette & 7)]);
    // The QImage shares the bitmap's bytes; only its colour table is copied.
    QImage Img(Bitmap.Pixels.data(), Bitmap.Width, Bitmap.Height, Bitmap.Width, QImage::Format_Indexed8);
    QList<QRgb> Table(256);
    for (int i = 0; i < 256; ++i)
        Table[i] = 0xFF000000u | Bitmap.ColourTable[static_cast<size_t>(i)];
    Img.setColorTable(Table);
    Image->Image = Img;
    Image->update();
}

void tForm_Memory::ShowTiles(tMemDecoder Decoder, uint32_t Offset, int Palette)
{
    DirectPalette = Palette & 7;
    View.Decoder = Decoder;
    View.SelectSource(tMemSource::VRAM, SNES ? SNES->VRAM.size() : 0);
    View.Offset = Offset & 0xFFFF;
    UpdateView();
    DecoderButton(Decoder)->setFocus();
}

void tForm_Memory::StartupStep()
{
    View.Offset = 0;
    UpdateView();
}

void tForm_Memory::ApplyOptions()
{
    // The "line" jump is a whole row of tiles, the "tile" jump a single one.
    RBtn_JumpLine->setText(Options().CBox_MemoryLine ? QStringLiteral("&line") : QStringLiteral("ti&le"));
    UpdateView();
}

void tForm_Memory::GUI_ClickDecoder(tMemDecoder D)
{
    if (!isEnabled())
        return;
    View.Decoder = D;
    if (D == tMemDecoder::FX)
        View.TilesX = FXLinePixels / 8;
    UpdateView();
}

void tForm_Memory::GUI_ClickMemSrc(tMemSource S)
{
    if (!isEnabled())
        return;
    if (S == tMemSource::ROM && (!Cart || Cart->ROM.empty()))
        return;
    View.SelectSource(S, 0);
    UpdateView();
}

void tForm_Memory::GUI_ClickJump(int Direction)
{
    if (!isEnabled())
        return;
    View.Jump(Direction, RBtn_JumpWin->isChecked(), Options().CBox_MemoryLine);
    UpdateView();
}

void tForm_Memory::GUI_ClickSave()
{
    if (!isEnabled())
        return;
    QApplication::processEvents();
    if (!Options().CBox_OptionsNoCopy) {
        QApplication::clipboard()->setImage(Image->Image.copy());
        return;
    }
    const std::optional<std::string> Name = AskPictureName(DlgSave, this);
    tError Error;
    if (Name && !SaveMemoryPicture(*Name, Bitmap, View.BitsPerPixel, Error))
        Messages().Error(Error.Describe(*Name));
}

void tForm_Memory::ZoomAt(int X, int Y, int Step)
{
    const tZoomResult R = ::ZoomAt(Zoom_, X, Y, Step, ScrollBox->viewport()->width(), ScrollBox->viewport()->height());
    if (!R.Changed)
        return;
    Zoom_ = R.Zoom;
    Image->resize(int(ZoomedLength(View.TilesX * 8, Zoom_)), int(ZoomedLength(View.TilesY * 8, Zoom_)));
    ScrollBox->horizontalScrollBar()->setValue(int(R.ScrollX));
    ScrollBox->verticalScrollBar()->setValue(int(R.ScrollY));
    setWindowTitle(Q(ZoomCaption(windowTitle().toStdString(), Zoom_)));
    Image->update();
}

void tForm_Memory::SetMoveMode(bool On)
{
    Image->setCursor(ProgramCursor(On ? crHand : crZoom));
}

void tForm_Memory::PictureMouseDown(QMouseEvent* E)
{
    const bool Move = Btn_Move->isChecked();
    if (E->button() == Qt::MiddleButton) {
        Btn_Move->toggle();
    } else if (Move && E->button() == Qt::RightButton) {
        Btn_Move->setChecked(false);
    } else if (Move && E->button() == Qt::LeftButton) {
        Drag.Start(ScrollBox, E->globalPosition().toPoint());
        Image->setCursor(ProgramCursor(crMove));
    } else if (!Move && (E->button() == Qt::LeftButton || E->button() == Qt::RightButton)) {
        const QPoint P = E->position().toPoint();
        ZoomAt(P.x(), P.y(), E->button() == Qt::LeftButton ? 1 : -1);
    }
}

void tForm_Memory::PictureMouseMove(QMouseEvent* E)
{
    Drag.Move(E->globalPosition().toPoint());
}

void tForm_Memory::PictureMouseUp(QMouseEvent*)
{
    if (!Drag.Active())
        return;
    Drag.Stop();
    SetMoveMode(Btn_Move->isChecked());
}

void tForm_Memory::EnterOffset()
{
    const std::optional<int64_t> V =
        ParseWindowOffset(Edit_Offset->text().trimmed().toStdString(), Options().CBox_MemoryHex);
    Edit_Offset->selectAll();
    if (!V) {
        Messages().Error(NumberError);
        return;
    }
    View.Offset = *V;
    UpdateView();
}

bool tForm_Memory::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::MouseButtonPress)
        for (int i = 0; i < MemSourceCount; ++i)
            if (Watched == Label_Source[static_cast<size_t>(i)] && Label_Source[static_cast<size_t>(i)]->isEnabled()) {
                GUI_ClickMemSrc(static_cast<tMemSource>(i));
                return true;
            }
    if (Event->type() != QEvent::KeyPress)
        return tToolWindow::eventFilter(Watched, Event);
    const int Key = static_cast<QKeyEvent*>(Event)->key();
    if (Watched == Edit_Offset) {
        if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
            EnterOffset();
            return true;
        }
        if (Key == Qt::Key_Up || Key == Qt::Key_Down) {
            View.Offset += Key == Qt::Key_Up ? 1 : -1;
            UpdateView();
            return true;
        }
    } else if (Watched == ScrollBox || Watched == Image) {
        // Left moves back through memory, Right forward.
        if (Key == Qt::Key_Left && Btn_Minus->isEnabled()) {
            Btn_Minus->click();
            return true;
        }
        if (Key == Qt::Key_Right && Btn_Plus->isEnabled()) {
            Btn_Plus->click();
            return true;
        }
    }
    return tToolWindow::eventFilter(Watched, Event);
}

void tForm_Memory::UpdateROMSource(bool Loaded)
{
    QLabel* L = Label_Source[static_cast<size_t>(tMemSource::ROM)];
    QRadioButton* B = RBtn_Source[static_cast<size_t>(tMemSource::ROM)];
    const uint64_t Size = Cart ? Cart->ROM.size() : 0;
    B->setEnabled(Size > 0);
    L->setEnabled(Size > 0);
    if (Size > 0) {
        L->setText(QString::number(Size / 1024) + QStringLiteral(" KB"));
        L->setToolTip(QString::number(Size) + QStringLiteral(" bytes"));
        // A cartridge just loaded is what the user wants to see; an edit of
        // the ROM keeps the view where it is.
        if (Loaded) {
            View.SelectSource(tMemSource::ROM, Size);
            if (Options().CBox_MemoryReset2)
                View.Offset = 0;
        }
    } else {
        L->clear();
        L->setToolTip(QString());
        if (View.Source == tMemSource::ROM)
            View.SelectSource(tMemSource::VRAM, 0);
        View.SourceOffsets[static_cast<size_t>(tMemSource::ROM)] = 0;
    }
    UpdateView();
}

void tForm_Memory::OnNotify(const void* Sender, tNote Msg)
{
    if (Msg == Note::NewPalCell) {
        // Only the colours follow the picked cell; the tiles stay decoded.
        ApplyPalette();
    } else if (Msg == Note::Startup) {
        UpdateView();
    } else if (Msg == Note::NewSavestate) {
        LoadPending = true;
    } else if (Msg == Note::NewSNES) {
        // Only a load resets the offsets, not every edit of the state.
        if (LoadPending && Options().CBox_MemoryReset1) {
            View.SourceOffsets[static_cast<size_t>(tMemSource::VRAM)] = 0;
            View.SourceOffsets[static_cast<size_t>(tMemSource::WRAM)] = 0;
            if (View.Source != tMemSource::ROM)
                View.Offset = 0;
        }
        LoadPending = false;
        // With ROM shown the bytes are unchanged, but the colours may not be.
        if (View.Source == tMemSource::ROM)
            ApplyPalette();
        else
            UpdateView();
    } else if (Msg == Note::NewCart) {
        // The cartridge itself sends no sender; an editor of the ROM does.
        UpdateROMSource(Sender == nullptr);
    } else if (Msg == Note::NewCartROM) {
        if (View.Source == tMemSource::ROM)
            UpdateView();
    }
}

void tForm_Memory::LoadSettings(const tSettings& Section)
{
    bool Down = false;
    if (Section.Read(QStringLiteral("Btn_Move.Down"), Down))
        Btn_Move->setChecked(Down);
    int V = View.TilesX;
    if (Section.Read(QStringLiteral("UD_xRes.Position"), V, MinTiles, MaxTiles))
        View.TilesX = V;
    V = View.TilesY;
    if (Section.Read(QStringLiteral("UD_yRes.Position"), V, MinTiles, MaxTiles))
        View.TilesY = V;
    bool Checked = false;
    if (Section.ReadChecked(QStringLiteral("RBtn_JumpLine"), Checked) && Checked)
        RBtn_JumpLine->setChecked(true);
    else if (Section.ReadChecked(QStringLiteral("RBtn_JumpWin"), Checked) && Checked)
        RBtn_JumpWin->setChecked(true);
    Section.ReadDialog(DlgSave);
    ApplyOptions();
}

void tForm_Memory::SaveSettings(tSettings& Section)
{
    Section.Write(QStringLiteral("Btn_Move.Down"), Btn_Move->isChecked());
    Section.Write(QStringLiteral("UD_xRes.Position"), View.TilesX);
    Section.Write(QStringLiteral("UD_yRes.Position"), View.TilesY);
    Section.WriteChecked(QStringLiteral("RBtn_JumpLine"), RBtn_JumpLine->isChecked());
    Section.WriteChecked(QStringLiteral("RBtn_JumpWin"), RBtn_JumpWin->isChecked());
    Section.WriteDialog(DlgSave);
}
