#include "gui/tools/Form_Palette.h"

#include <QColorDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ToolFiles.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/Settings.h"
#include "gui/tools/Form_Memory.h"
#include "render/PPU.h"
#include "tools/PaletteView.h"

namespace
{
tColourDialogRunner ColourRunner;

QString Q(const std::string& S)
{
    return QString::fromStdString(S);
}

QColor CellColour(int Index)
{
    return QColor(QRgb(PPU ? PPU->Palette[static_cast<size_t>(Index & 255)] : 0));
}
} // namespace

void SetColourDialogRunner(tColourDialogRunner Runner)
{
    ColourRunner = std::move(Runner);
}

// The 16 x 16 cells. A press selects, a drag with the left button held moves
// the selection (the pointer hidden meanwhile), a double click edits.
class tPaletteGrid : public QWidget
{
  public:
    explicit tPaletteGrid(tForm_Palette* Owner) : QWidget(Owner), Form(Owner)
    {
        setObjectName(QStringLiteral("DrawGrid"));
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(16 * 8 + 4, 16 * 8 + 4);
    }
    int CellW() const { return PaletteCellSize(width()); }
    int CellH() const { return PaletteCellSize(height()); }
    QPoint CellCentre(int Index) const
    {
        return {2 + (Index % 16) * CellW() + CellW() / 2, 2 + (Index / 16) * CellH() + CellH() / 2};
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter P(this);
        P.fillRect(rect(), palette().window());
        const int W = CellW(), H = CellH();
        for (int i = 0; i < 256; ++i) {
            const QRect R(2 + (i % 16) * W, 2 + (i / 16) * H, W, H);
            const QColor C = CellColour(i);
            P.fillRect(R, C);
            if (i == Form->SelectedIndex()) {
                // The frame's colour differs from the cell in every component.
                P.setPen(QColor(QRgb(C.rgb() ^ 0x808080)));
                P.drawRect(R.adjusted(0, 0, -1, -1));
                P.drawRect(R.adjusted(1, 1, -2, -2));
            }
        }
    }
    void mousePressEvent(QMouseEvent* E) override
    {
        if (E->button() != Qt::LeftButton)
            return;
        PickAt(E->position().toPoint());
        if (!AfterDoubleClick)
            setCursor(Qt::BlankCursor);
        AfterDoubleClick = false;
    }
    void mouseMoveEvent(QMouseEvent* E) override
    {
        if (E->buttons() & Qt::LeftButton)
            PickAt(E->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent*) override { unsetCursor(); }
    void mouseDoubleClickEvent(QMouseEvent* E) override
    {
        if (E->button() != Qt::LeftButton)
            return;
        unsetCursor();
        AfterDoubleClick = true;
        PickAt(E->position().toPoint());
        Form->EditColour();
    }
    void keyPressEvent(QKeyEvent* E) override
    {
        const int I = Form->SelectedIndex();
        switch (E->key()) {
        case Qt::Key_Left:
            Form->Select(I % 16 ? I - 1 : I);
            break;
        case Qt::Key_Right:
            Form->Select(I % 16 < 15 ? I + 1 : I);
            break;
        case Qt::Key_Up:
            Form->Select(I >= 16 ? I - 16 : I);
            break;
        case Qt::Key_Down:
            Form->Select(I < 240 ? I + 16 : I);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Form->EditColour();
            break;
        default:
            QWidget::keyPressEvent(E);
        }
    }

  private:
    void PickAt(QPoint P)
    {
        const int I = PaletteCellAt(P.x() - 2, P.y() - 2, CellW(), CellH());
        if (I >= 0)
            Form->Select(I);
    }
    tForm_Palette* Form;
    bool AfterDoubleClick = false;
};

tForm_Palette::tForm_Palette(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    auto* Main = new QVBoxLayout(this);
    auto* Tools = new QHBoxLayout;
    const auto Tool = [this, Tools](const char* Name, const char* Caption, const char* Hint) {
        auto* B = new QToolButton(this);
        B->setObjectName(QString::fromLatin1(Name));
        B->setText(QString::fromLatin1(Caption));
        B->setToolTip(QString::fromLatin1(Hint));
        Tools->addWidget(B);
        return B;
    };
    Btn_Invert = Tool("Btn_Invert", "invert", "invert all color channel values");
    Btn_Invert->setCheckable(true);
    Btn_Open = Tool("Btn_Open", "open", "open a palette file");
    Btn_Save = Tool("Btn_Save", "save", "save to a palette file");
    Tools->addStretch();
    Main->addLayout(Tools);
    connect(Btn_Invert, &QToolButton::clicked, this, &tForm_Palette::GUI_ClickInvert);
    connect(Btn_Open, &QToolButton::clicked, this, &tForm_Palette::GUI_ClickOpen);
    connect(Btn_Save, &QToolButton::clicked, this, &tForm_Palette::GUI_ClickSave);

    auto* Body = new QHBoxLayout;
    DrawGrid = new tPaletteGrid(this);
    Body->addWidget(DrawGrid, 1);
    auto* Fields = new QFormLayout;
    const auto Field = [this, Fields](const char* Name, const char* Label) {
        auto* E = new QLineEdit(this);
        E->setObjectName(QString::fromLatin1(Name));
        E->setReadOnly(true);
        E->setMaximumWidth(90);
        Fields->addRow(QString::fromLatin1(Label), E);
        return E;
    };
    Edit_Index = Field("Edit_Index", "index");
    Edit_Red = Field("Edit_Red", "red");
    Edit_Green = Field("Edit_Green", "green");
    Edit_Blue = Field("Edit_Blue", "blue");
    Edit_Group = Field("Edit_Group", "group");
    Edit_HTML = Field("Edit_HTML", "html");
    Panel_Color = new QPushButton(this);
    Panel_Color->setObjectName(QStringLiteral("Panel_Color"));
    Panel_Color->setFlat(true);
    Panel_Color->setAutoFillBackground(true);
    Panel_Color->setMinimumHeight(40);
    connect(Panel_Color, &QPushButton::clicked, this, &tForm_Palette::EditColour);
    Fields->addRow(Panel_Color);
    Body->addLayout(Fields);
    Main->addLayout(Body, 1);

    // The options' format is written as ".pal"; GIMP and Adobe palettes are
    // told by their extensions, for other painting programs.
    const QString Filter = QStringLiteral("palette files (*.pal)|*.pal|all files|*.*|GIMP palettes (*.gpl)|*.gpl|"
                                          "Adobe colour tables (*.act)|*.act");
    DlgOpen.Name = QStringLiteral("DlgOpen");
    DlgOpen.Filter = Filter;
    DlgOpen.MustExist = true;
    DlgSave.Name = QStringLiteral("DlgSave");
    DlgSave.Filter = Filter;
    DlgSave.Save = true;
    DlgSave.PromptOverwrite = true;
    resize(460, 320);
}

QWidget* tForm_Palette::Grid() const
{
    return DrawGrid;
}

QPoint tForm_Palette::GridCellCentre(int Index) const
{
    return DrawGrid->CellCentre(Index);
}

QLineEdit* tForm_Palette::Field(const char* Name) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(Name));
}

void tForm_Palette::Select(int Index)
{
    Index &= 255;
    if (Index == Index_)
        return;
    Index_ = Index;
    Refresh();
    Broadcast(this, Note::NewPalCell);
}

void tForm_Palette::Refresh()
{
    const uint16_t Entry = SNES ? SNES->CGRAM[static_cast<size_t>(Index_)] : 0;
    const QColor C = CellColour(Index_);
    const bool Decimal = Options().CBox_PaletteNoHex;
    const tRGB8 RGB = EntryRGB(Entry);
    Edit_Red->setText(Q(ComponentText(RGB.R)));
    Edit_Green->setText(Q(ComponentText(RGB.G)));
    Edit_Blue->setText(Q(ComponentText(RGB.B)));
    Edit_HTML->setText(Q(HTMLText(Entry)));
    Edit_Index->setText(Q(PaletteIndexText(Index_, Decimal)));
    const int Bits = Form_Memory ? Form_Memory->BitsPerPixel() : 4;
    Edit_Group->setText(Q(PaletteGroupText(Index_, Bits, Decimal)));
    QPalette P = Panel_Color->palette();
    P.setColor(QPalette::Button, C);
    Panel_Color->setPalette(P);
    DrawGrid->update();
}

bool tForm_Palette::Inverted() const
{
    return Btn_Invert->isChecked();
}

void tForm_Palette::EditColour()
{
    if (!SNES)
        return;
    std::array<QColor, 16> Custom;
    const int RowStart = Index_ & 0xF0;
    for (int i = 0; i < 16; ++i)
        Custom[static_cast<size_t>(i)] = CellColour(RowStart + i);
    std::optional<QColor> Chosen;
    if (ColourRunner) {
        Chosen = ColourRunner(CellColour(Index_), Custom);
    } else {
        for (int i = 0; i < 16; ++i)
            QColorDialog::setCustomColor(i, Custom[static_cast<size_t>(i)]);
        const QColor C = QColorDialog::getColor(CellColour(Index_), this);
        if (C.isValid())
            Chosen = C;
    }
    if (!Chosen)
        return;
    SNES->CGRAM[static_cast<size_t>(Index_)] = EntryFromRGB(Chosen->red(), Chosen->green(), Chosen->blue());
    Broadcast(this, Note::NewSNES);
}

void tForm_Palette::GUI_ClickInvert()
{
    if (!SNES)
        return;
    SNES->InvertPalette();
    Broadcast(this, Note::NewSNES);
}

void tForm_Palette::GUI_ClickOpen()
{
    const std::optional<QString> Name = ExecuteFileDialog(DlgOpen, this);
    if (!Name || !SNES)
        return;
    if (ImportPalette(Name->toStdString(), Options().PaletteFormat, SNES->CGRAM) > 0)
        Broadcast(this, Note::NewSNES);
}

void tForm_Palette::GUI_ClickSave()
{
    const std::optional<QString> Name = ExecuteFileDialog(DlgSave, this);
    if (!Name || !SNES)
        return;
    QString File = *Name;
    static const char* const Extensions[] = {".pal", "", ".gpl", ".act"};
    const int Filter = DlgSave.FilterIndex;
    if (QFileInfo(File).suffix().isEmpty() && Filter >= 1 && Filter <= 4)
        File += QString::fromLatin1(Extensions[Filter - 1]);
    ExportPalette(File.toStdString(), Options().PaletteFormat, SNES->CGRAM);
}

void tForm_Palette::OnNotify(const void*, tNote Msg)
{
    if (Msg == Note::NewSNES || Msg == Note::NewPalCell || Msg == Note::Startup)
        Refresh();
    else if (Msg == Note::NewSavestate && Btn_Invert->isChecked() && SNES)
        // A newly loaded palette is shown inverted too.
        SNES->InvertPalette();
}

void tForm_Palette::LoadSettings(const tSettings& Section)
{
    Section.ReadDialog(DlgOpen);
    Section.ReadDialog(DlgSave);
}

void tForm_Palette::SaveSettings(tSettings& Section)
{
    Section.WriteDialog(DlgOpen);
    Section.WriteDialog(DlgSave);
}
