#include "gui/tools/Form_Hex.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdlib>

#include "app/HexBlockData.h"
#include "app/ToolFiles.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/SharedData.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/Settings.h"
#include "gui/core/Widgets.h"
#include "gui/tools/OptionStore.h"
#include "tools/CodePage.h"

namespace
{
constexpr const char* NoNumber = "No integer number in the range of 0..2147483647 has been entered.";
constexpr const char* OffsetCaption = "window offset: (";
constexpr const char* CodePageFilter = "all supported files (*.png, *.bmp)|*.png;*.bmp|PNG files|*.png|BMP files|*.bmp|"
                                       "all files|*.*";

QColor Colour(uint32_t C)
{
    return QColor(QRgb(0xFF000000u | (C & 0xFFFFFF)));
}

QString Q(const std::string& S)
{
    return QString::fromStdString(S);
}
} // namespace

// The picture of the hex view: paints the lines that are on screen and passes
// keys and the mouse to the window's model.
class tHexView final : public QWidget
{
  public:
    explicit tHexView(tForm_Hex* Form) : QWidget(Form), F(Form), Scroller(new QTimer(this))
    {
        setObjectName(QStringLiteral("Image"));
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setCursor(Qt::IBeamCursor);
        Scroller->setObjectName(QStringLiteral("AutoScroll"));
        Scroller->setInterval(50);
        connect(Scroller, &QTimer::timeout, this, [this] { AutoScroll(); });
    }
    // The window is going: the focus leaving the picture as its children
    // are taken down must not reach it.
    void Detach()
    {
        StopFollowing();
        F = nullptr;
    }

  protected:
    void paintEvent(QPaintEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    bool focusNextPrevChild(bool Next) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;

  private:
    void PlaceCaret(const tHexHit& Hit);
    // The data rows the scroll box shows, in the picture's pixels.
    std::pair<int, int> ShownRows() const;
    // While the button is held, the caret follows the pointer; held above or
    // below the rows on view, the view scrolls on its own.
    void Follow();
    void AutoScroll();
    void StopFollowing();

    tForm_Hex* F;
    QPoint DragFrom;
    bool Dragging = false;
    bool Following = false;
    tHexArea FollowArea = tHexArea::Hex;
    QPoint Pointer; // global: the picture itself moves while the view scrolls
    QTimer* Scroller;
};

tForm_Hex::~tForm_Hex()
{
    Image->Detach();
}

tForm_Hex::tForm_Hex(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    auto* Frame = new QVBoxLayout(this);
    Frame->setContentsMargins(4, 4, 4, 4);

    PC_Base = new QTabWidget(this);
    PC_Base->setObjectName(QStringLiteral("PC_Base"));
    for (int P = 0; P < HexPageCount; ++P) {
        auto* Page = new QWidget(PC_Base);
        auto* L = new QVBoxLayout(Page);
        L->setContentsMargins(2, 2, 2, 2);
        auto* Bar = new QTabBar(Page);
        Bar->setObjectName(QString::fromLatin1(HexPageNames[static_cast<size_t>(P)]));
        Bar->setExpanding(false);
        for (const tHexBlock& B : HexPageBlocks(P))
            Bar->addTab(QString::fromLatin1(B.Caption));
        L->addWidget(Bar);
        Tabs[static_cast<size_t>(P)] = Bar;
        PC_Base->addTab(Page, QString::fromLatin1(HexPageCaptions[static_cast<size_t>(P)]));
        connect(Bar, &QTabBar::currentChanged, this, [this] { GUI_ChangeSource(); });
    }
    PC_Base->setCurrentIndex(Page_);
    PC_Base->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    connect(PC_Base, &QTabWidget::currentChanged, this, [this] { GUI_ChangeSource(); });
    Frame->addWidget(PC_Base);

    // Offset, jumps, resolution and the tool buttons.
    auto* Controls = new QHBoxLayout;
    Group_Offset = new QGroupBox(this);
    auto* OffsetRow = new QHBoxLayout(Group_Offset);
    Edit_Offset = new QLineEdit(Group_Offset);
    Edit_Offset->setObjectName(QStringLiteral("Edit_Offset"));
    Edit_Offset->setMaximumWidth(90);
    Edit_Offset->installEventFilter(this);
    UD_Offset = MakeArrows(Group_Offset, QStringLiteral("UD_Offset"), [this](int Step) {
        Model_.MoveBy(Step);
        ShowWindowState();
    });
    Btn_Minus = new QToolButton(Group_Offset);
    Btn_Minus->setObjectName(QStringLiteral("Btn_Minus"));
    Btn_Minus->setArrowType(Qt::LeftArrow);
    Btn_Plus = new QToolButton(Group_Offset);
    Btn_Plus->setObjectName(QStringLiteral("Btn_Plus"));
    Btn_Plus->setArrowType(Qt::RightArrow);
    RBtn_JumpWin = new QRadioButton(QStringLiteral("&window"), Group_Offset);
    RBtn_JumpWin->setObjectName(QStringLiteral("RBtn_JumpWin"));
    RBtn_JumpWin->setToolTip(QStringLiteral("jump width: window size"));
    RBtn_JumpLine = new QRadioButton(QStringLiteral("&line"), Group_Offset);
    RBtn_JumpLine->setObjectName(QStringLiteral("RBtn_JumpLine"));
    RBtn_JumpLine->setToolTip(QStringLiteral("jump width: window line size"));
    RBtn_JumpWin->setChecked(true);
    for (QWidget* W :
         std::initializer_list<QWidget*>{Edit_Offset, UD_Offset, Btn_Minus, Btn_Plus, RBtn_JumpWin, RBtn_JumpLine})
        OffsetRow->addWidget(W);
    Controls->addWidget(Group_Offset);

    auto* ResGroup = new QGroupBox(QStringLiteral("resolution"), this);
    auto* ResRow = new QHBoxLayout(ResGroup);
    UD_xRes = new QSpinBox(ResGroup);
    UD_xRes->setObjectName(QStringLiteral("UD_xRes"));
    UD_xRes->setRange(1, tHexModel::MaxBytesPerLine);
    UD_xRes->setValue(16);
    UD_yRes = new QSpinBox(ResGroup);
    UD_yRes->setObjectName(QStringLiteral("UD_yRes"));
    UD_yRes->setRange(1, tHexModel::MaxLineCount);
    UD_yRes->setValue(16);
    ResRow->addWidget(UD_xRes);
    ResRow->addWidget(new QLabel(QStringLiteral("x"), ResGroup));
    ResRow->addWidget(UD_yRes);
    Controls->addWidget(ResGroup);

    auto Tool = [this, Controls](const char* Name, const char* Text, const char* Hint, bool Toggle) {
        auto* B = new QToolButton(this);
        B->setObjectName(QString::fromLatin1(Name));
        B->setText(QString::fromLatin1(Text));
        B->setToolTip(QString::fromLatin1(Hint));
        B->setCheckable(Toggle);
        Controls->addWidget(B);
        return B;
    };
    Btn_Move = Tool("Btn_Move", "move", "toggle move/edit mode", true);
    Btn_Update = Tool("Btn_Update", "upd.", "update immediately (press Enter while editing to update only now)", true);
    Btn_Search = Tool("Btn_Search", "find", "search a value (Ctrl+F or F7)", true);
    auto* Btn_CopyWnd = Tool("Btn_CopyWnd", "copy", "copy the window content", false);
    auto* Btn_CopyAll = Tool("Btn_CopyAll", "copy all", "copy the entire data", false);
    auto* Btn_Save = Tool("Btn_Save", "save", "save the entire data", false);
    Controls->addStretch(1);
    Frame->addLayout(Controls);

    // The value under the mouse.
    auto* Info = new QHBoxLayout;
    const char* Names[] = {"Edit_08s", "Edit_08u", "Edit_16s", "Edit_16u", "Edit_32s", "Edit_32u", "Edit_64s"};
    const char* Hints[] = {"8 bits, signed",  "8 bits, unsigned",  "16 bits, signed", "16 bits, unsigned",
                           "32 bits, signed", "32 bits, unsigned", "64 bits, signed"};
    for (size_t I = 0; I < ValueFields.size(); ++I) {
        auto* E = new QLineEdit(this);
        E->setObjectName(QString::fromLatin1(Names[I]));
        E->setToolTip(QString::fromLatin1(Hints[I]));
        E->setReadOnly(true);
        E->setAlignment(Qt::AlignRight);
        E->setMinimumWidth(I == 6 ? 150 : I >= 4 ? 90 : 60);
        Info->addWidget(E, I == 6 ? 3 : I >= 4 ? 2 : 1);
        ValueFields[I] = E;
    }
    Edit_SelOffs = new QLineEdit(this);
    Edit_SelOffs->setObjectName(QStringLiteral("Edit_SelOffs"));
    Edit_SelOffs->setToolTip(QStringLiteral("selected data offset"));
    Edit_CurSize = new QLineEdit(this);
    Edit_CurSize->setObjectName(QStringLiteral("Edit_CurSize"));
    Edit_CurSize->setToolTip(QStringLiteral("current data size"));
    for (QLineEdit* E : {Edit_SelOffs, Edit_CurSize}) {
        E->setReadOnly(true);
        E->setAlignment(Qt::AlignRight);
        E->setMinimumWidth(70);
        Info->addWidget(E, 1);
    }
    Frame->addLayout(Info);

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    Image = new tHexView(this);
    ScrollBox->setWidget(Image);
    ScrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Frame->addWidget(ScrollBox, 1);

    Timer = new QTimer(this);
    connect(Timer, &QTimer::timeout, this, [this] {
        CaretShown = !CaretShown;
        Image->update();
    });

    DlgSave_Data = {QStringLiteral("DlgSave_Data"), QStringLiteral("all files|*.*")};
    DlgSave_Data.Save = DlgSave_Data.PromptOverwrite = true;
    DlgSave_CP = {QStringLiteral("DlgSave_CP"), QString::fromLatin1(CodePageFilter)};
    DlgSave_CP.Save = DlgSave_CP.PromptOverwrite = true;
    DlgOpen_CP = {QStringLiteral("DlgOpen_CP"), QString::fromLatin1(CodePageFilter)};
    DlgOpen_CP.MustExist = true;

    connect(Btn_Minus, &QToolButton::clicked, this, [this] { GUI_ClickJump(false); });
    connect(Btn_Plus, &QToolButton::clicked, this, [this] { GUI_ClickJump(true); });
    connect(Edit_Offset, &QLineEdit::returnPressed, this, &tForm_Hex::GUI_OffsetEntered);
    auto Res = [this] {
        Model_.SetResolution(UD_xRes->value(), UD_yRes->value());
        Layout();
    };
    connect(UD_xRes, &QSpinBox::valueChanged, this, Res);
    connect(UD_yRes, &QSpinBox::valueChanged, this, Res);
    connect(Btn_Update, &QToolButton::toggled, this, [this](bool Down) {
        if (Down)
            Commit();
    });
    connect(Btn_Search, &QToolButton::clicked, this, &tForm_Hex::GUI_Search);
    // Move mode: a hand over the picture; edit mode: the text cursor.
    connect(Btn_Move, &QToolButton::toggled, this,
            [this](bool Down) { Image->setCursor(Down ? Qt::OpenHandCursor : Qt::IBeamCursor); });
    connect(Btn_CopyWnd, &QToolButton::clicked, this,
            [this] { QApplication::clipboard()->setText(QString::fromLatin1(Model_.CopyText(false))); });
    connect(Btn_CopyAll, &QToolButton::clicked, this,
            [this] { QApplication::clipboard()->setText(QString::fromLatin1(Model_.CopyText(true))); });
    connect(Btn_Save, &QToolButton::clicked, this, &tForm_Hex::GUI_ClickSave);
    for (auto Key : {QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::Key_F7)})
        connect(new QShortcut(Key, this), &QShortcut::activated, this, &tForm_Hex::GUI_Search);

    SourceStates.resize(HexBlocks().size());
    ShowTabs();
    tError Error;
    if (!ReadCodePage(ProgramDir + "CodePage.bmp", CodePage_, Error)) {
        // Without the picture the character column stays empty.
        CodePage_.Resize(MinCodePageWidth, MinCodePageHeight + 1);
        std::fill(CodePage_.Pixels.begin(), CodePage_.Pixels.end(), 0xFFFFFFu);
    }
    Model_.SetResolution(16, 16);
    Layout();
    ShowWindowState();
    // Wide enough for the picture and for the rows of controls above it.
    const int RowsWidth = std::max(Controls->sizeHint().width(), Info->minimumSize().width()) + 8;
    resize(std::max(Layout_.Width + 60, RowsWidth), Layout_.Height + 190);
}

const tHexBlock& tForm_Hex::CurrentBlock() const
{
    const auto Blocks = HexPageBlocks(Page_);
    return Blocks[static_cast<size_t>(std::clamp<int>(Tab_, 0, static_cast<int>(Blocks.size()) - 1))];
}

void tForm_Hex::SelectSource(int Page, int Tab)
{
    PC_Base->setCurrentIndex(Page);
    Tabs[static_cast<size_t>(std::clamp(Page, 0, HexPageCount - 1))]->setCurrentIndex(Tab);
}

void tForm_Hex::ShowTabs()
{
    Switching_ = true;
    for (int P = 0; P < HexPageCount; ++P) {
        QTabBar* Bar = Tabs[static_cast<size_t>(P)];
        const auto Blocks = HexPageBlocks(P);
        int First = -1;
        for (int I = 0; I < static_cast<int>(Blocks.size()); ++I) {
            const QString Caption = Q(HexBlockCaption(Blocks[static_cast<size_t>(I)]));
            if (!Caption.isEmpty() && Bar->tabText(I) != Caption)
                Bar->setTabText(I, Caption);
            Bar->setTabVisible(I, !Caption.isEmpty());
            if (First < 0 && !Caption.isEmpty())
                First = I;
        }
        if (First >= 0 && !Bar->isTabVisible(Bar->currentIndex()))
            Bar->setCurrentIndex(First);
    }
    Switching_ = false;
    const int Tab = Tabs[static_cast<size_t>(Page_)]->currentIndex();
    if (Tab == Tab_ || Tab < 0)
        return;
    // The block on view is gone: the page's first one takes its place.
    Tab_ = Tab;
    if (!Started_)
        return;
    ShowSource();
}

void tForm_Hex::Startup()
{
    Started_ = true;
    Model_.SetResolution(UD_xRes->value(), UD_yRes->value());
    LoadSource();
    Layout();
    SetWindow(0);
}

void tForm_Hex::LoadSource()
{
    Model_.Load(HexBlockData(CurrentBlock()));
    ++Generation_;
    Edit_CurSize->setText(QString::number(Model_.Size()));
    Image->setEnabled(Model_.Size() > 0);
    if (Model_.Size() == 0 && Image->hasFocus())
        Tabs[static_cast<size_t>(Page_)]->setFocus();
}

// The block now chosen, with the caret where it was when the block was left.
void tForm_Hex::ShowSource()
{
    LoadSource();
    Model_.RestoreState(SourceStates[static_cast<size_t>(&CurrentBlock() - HexBlocks().data())]);
    Layout();
    ShowInfo();
}

// The block on view may hold other bytes: take them, keep the caret's place.
void tForm_Hex::Reload()
{
    const tHexSourceState S = Model_.SaveState();
    LoadSource();
    Model_.RestoreState(S);
    Layout();
    ShowInfo();
}

void tForm_Hex::GUI_ChangeSource()
{
    if (Switching_)
        return;
    const int Page = PC_Base->currentIndex();
    const int Tab = Tabs[static_cast<size_t>(Page)]->currentIndex();
    if (Page == Page_ && Tab == Tab_)
        return;
    if (Started_ && Model_.Size() > 0) {
        SourceStates[static_cast<size_t>(&CurrentBlock() - HexBlocks().data())] = Model_.SaveState();
        Commit();
    }
    Page_ = Page;
    Tab_ = Tab;
    if (!Started_)
        return;
    ShowSource();
}

void tForm_Hex::Commit()
{
    if (!Model_.Modified())
        return;
    const tHexBlock& B = CurrentBlock();
    const std::span<uint8_t> Target = HexBlockData(B);
    const auto Data = Model_.Data();
    std::copy_n(Data.begin(), std::min(Data.size(), Target.size()), Target.begin());
    Model_.ClearModified();
    Broadcast(this, B.CommitNote);
}

void tForm_Hex::SetWindow(int64_t Start)
{
    Model_.SetWindow(Start);
    ShowWindowState();
}

void tForm_Hex::ShowWindowState()
{
    const bool Minus = Model_.WindowStart() >= 1;
    const bool Plus = Model_.WindowStart() < Model_.MaxWindowStart();
    Btn_Minus->setEnabled(Minus);
    Btn_Plus->setEnabled(Plus);
    Edit_Offset->setEnabled(Minus || Plus);
    UD_Offset->setEnabled(Minus || Plus);
    Edit_Offset->setText(Q(Model_.Position().Text(Options().CBox_HexHex)));
    // Every digit stays in sight: a crowded row of controls would otherwise
    // squeeze the field below the offset of a large block (two digits of
    // room for the frame and the cursor).
    Edit_Offset->setMinimumWidth(
        Edit_Offset->fontMetrics().horizontalAdvance(Edit_Offset->text() + QStringLiteral("00")));
    Group_Offset->setTitle(Q(Model_.Position().Caption(OffsetCaption)));
    Image->update();
}

void tForm_Hex::ShowInfo()
{
    for (QLineEdit* E : ValueFields)
        E->clear();
    if (Model_.Size() == 0) {
        Edit_SelOffs->clear();
        return;
    }
    const tHexValues V = Model_.HoverValues();
    const std::optional<int64_t>* Values[] = {&V.S8, &V.U8, &V.S16, &V.U16, &V.S32, &V.U32, &V.S64};
    for (size_t I = 0; I < ValueFields.size(); ++I)
        if (*Values[I])
            ValueFields[I]->setText(QString::number(**Values[I]));
    Edit_SelOffs->setText(QStringLiteral("%1").arg(Model_.HoverOffset(), static_cast<int>(Edit_CurSize->text().size()),
                                                   10, QLatin1Char('0')));
}

void tForm_Hex::ShowCaret()
{
    CaretShown = true;
    const int Half = QApplication::cursorFlashTime() / 2;
    if (Half > 0 && Image->hasFocus())
        Timer->start(Half);
    ShowWindowState();
}

void tForm_Hex::Layout()
{
    const QFontMetrics FM(HexFont());
    int Digit = 0;
    for (char C : std::string_view("0123456789ABCDEF"))
        Digit = std::max(Digit, FM.horizontalAdvance(QLatin1Char(C)));
    tHexMetrics M;
    M.DigitWidth = Digit;
    M.FontHeight = FM.height();
    M.GlyphWidth = CodePage_.Width / 16;
    M.GlyphHeight = CodePage_.Height / 16;
    M.SpacingOption = Options().UD_HexSpacing;
    // Every digit of the largest offset, at least six.
    const int Digits =
        std::max<int>(6, static_cast<int>(QString::number(std::max<int64_t>(0, Model_.Size() - 1), 16).size()));
    M.OffsetTextWidth = FM.horizontalAdvance(QString(Digits, QLatin1Char('0')));
    M.BytesPerLine = Model_.BytesPerLine();
    M.LineCount = Model_.LineCount();
    Layout_ = tHexLayout(M);
    Image->setFixedSize(Layout_.Width, Layout_.Height);
    ShowWindowState();
}

void tForm_Hex::ApplyOptions()
{
    GlyphCache.clear();
    Layout();
}

bool tForm_Hex::SetCodePage(const tPicture32& Picture)
{
    if (Picture.Width < MinCodePageWidth || Picture.Height < MinCodePageHeight)
        return false;
    CodePage_ = Picture;
    GlyphCache.clear();
    Layout();
    return true;
}

void tForm_Hex::LoadCodePage()
{
    QApplication::processEvents();
    const std::optional<QString> Name = ExecuteFileDialog(DlgOpen_CP, this);
    if (!Name)
        return;
    tPicture32 Picture;
    if (LoadCodePageFile(Name->toStdString(), Picture))
        SetCodePage(Picture);
}

const std::vector<QImage>& tForm_Hex::Glyphs(QRgb Colour)
{
    auto It = GlyphCache.find(Colour);
    if (It != GlyphCache.end())
        return It->second;
    // Glyph i is the i-th block of the code page: its ink takes the colour,
    // the rest stays transparent.
    const int GW = CodePage_.Width / 16, GH = CodePage_.Height / 16;
    std::vector<QImage> G(256);
    for (int I = 0; I < 256; ++I) {
        QImage Img(GW, GH, QImage::Format_ARGB32);
        Img.fill(Qt::transparent);
        const std::vector<uint8_t> Ink = CodePageGlyph(CodePage_, I);
        for (int Y = 0; Y < GH && !Ink.empty(); ++Y)
            for (int X = 0; X < GW; ++X)
                if (Ink[static_cast<size_t>(Y * GW + X)])
                    Img.setPixel(X, Y, Colour | 0xFF000000u);
        G[static_cast<size_t>(I)] = std::move(Img);
    }
    return GlyphCache.emplace(Colour, std::move(G)).first->second;
}

void tHexView::paintEvent(QPaintEvent* Event)
{
    const tHexModel& M = F->Model_;
    const tHexLayout& L = F->Layout_;
    const tOptions& O = Options();
    const QColor BG = Colour(O.Panel_HexBG), Font = Colour(O.Panel_HexFont), Cap = Colour(O.Panel_HexCaptions);
    QPainter P(this);
    P.setFont(HexFont());
    const QRect Clip = Event->rect();
    P.fillRect(Clip, BG);
    auto R = [](const tHexRect& H) { return QRect(H.Left, H.Top, H.Width(), H.Height()); };

    // Header and separators.
    P.setPen(Font);
    P.drawLine(0, L.HeaderHeight - 1, L.Width, L.HeaderHeight - 1);
    P.drawLine(L.HexLeft - 1, 0, L.HexLeft - 1, L.Height);
    P.drawLine(L.TextArea.Left - 1, 0, L.TextArea.Left - 1, L.Height);
    P.setPen(Cap);
    if (Clip.top() < L.HeaderHeight)
        for (int C = 0; C < M.BytesPerLine(); ++C)
            P.drawText(R(L.HeaderCell(C)), Qt::AlignCenter,
                       QStringLiteral("%1").arg(C & 0xFF, 2, 16, QLatin1Char('0')).toUpper());

    int First = 0, Last = -1;
    L.VisibleRows(Clip.top(), Clip.bottom() + 1, First, Last);
    const auto Data = M.Data();
    const int Digits =
        std::max<int>(6, static_cast<int>(QString::number(std::max<int64_t>(0, M.Size() - 1), 16).size()));
    const std::vector<QImage>& Glyphs = F->Glyphs(Font.rgb());
    for (int Row = First; Row <= Last; ++Row) {
        const int64_t LineStart = M.WindowStart() + int64_t{Row} * M.BytesPerLine();
        P.setPen(Cap);
        P.drawText(R(L.OffsetCell(Row)), Qt::AlignCenter,
                   QStringLiteral("%1").arg(LineStart, Digits, 16, QLatin1Char('0')).toUpper());
        P.setPen(Font);
        for (int C = 0; C < M.BytesPerLine(); ++C) {
            const int64_t I = LineStart + C;
            if (I >= M.Size())
                break;
            const uint8_t B = Data[static_cast<size_t>(I)];
            P.drawText(R(L.HexCell(C, Row)), Qt::AlignCenter,
                       QStringLiteral("%1").arg(B, 2, 16, QLatin1Char('0')).toUpper());
            P.drawImage(L.GlyphLeft(C), L.GlyphTop(Row), Glyphs[B]);
        }
    }

    // The caret, marked in both columns.
    if (M.Size() == 0)
        return;
    const int Col = static_cast<int>(M.CaretColumn() / 2);
    const int Row = static_cast<int>(M.CaretRow());
    if (Row < First || Row > Last)
        return;
    const uint8_t B = Data[static_cast<size_t>(M.CaretByte())];
    const bool Focus = hasFocus();
    auto CaretColours = [&](bool TextColumn, QColor& Back, QColor& Text) {
        if (Focus && M.TextSide() == TextColumn) {
            Back = F->CaretShown ? QColor(0, 0, 255) : BG;
            Text = F->CaretShown ? QColor(QRgb(Font.rgb() ^ 0xFFFFFF)) : QColor(QRgb(Font.rgb() ^ 0x808080));
        } else {
            Back = QColor(QRgb(BG.rgb() ^ 0x808080));
            Text = BG;
        }
    };
    QColor Back, Text;
    CaretColours(false, Back, Text);
    const bool Low = M.CaretNibble() & 1;
    const QRect Digit = R(L.CaretDigit(Col, Row, Low));
    P.fillRect(Digit, Back);
    P.setPen(Text);
    P.drawText(Digit, Qt::AlignCenter, QString(QLatin1Char("0123456789ABCDEF"[Low ? (B & 15) : (B >> 4)])));
    CaretColours(true, Back, Text);
    P.fillRect(R(L.TextCell(Col, Row)), Back);
    P.drawImage(L.GlyphLeft(Col), L.GlyphTop(Row), F->Glyphs(Text.rgb())[B]);
}

bool tHexView::focusNextPrevChild(bool Next)
{
    // Tab first moves the caret into the character column.
    if (Next && !F->Model_.TextSide()) {
        F->AfterKey(F->Model_.Key(tHexKey::Tab, false, false));
        return true;
    }
    return QWidget::focusNextPrevChild(Next);
}

void tHexView::keyPressEvent(QKeyEvent* Event)
{
    const bool Ctrl = Event->modifiers() & Qt::ControlModifier;
    const bool Alt = Event->modifiers() & Qt::AltModifier;
    static const std::pair<int, tHexKey> Keys[] = {
        {Qt::Key_Left, tHexKey::Left},
        {Qt::Key_Right, tHexKey::Right},
        {Qt::Key_Up, tHexKey::Up},
        {Qt::Key_Down, tHexKey::Down},
        {Qt::Key_PageUp, tHexKey::PageUp},
        {Qt::Key_PageDown, tHexKey::PageDown},
        {Qt::Key_Home, tHexKey::Home},
        {Qt::Key_End, tHexKey::End},
        {Qt::Key_Return, tHexKey::Enter},
        {Qt::Key_Enter, tHexKey::Enter},
        {Qt::Key_Backspace, tHexKey::Backspace},
        {Qt::Key_Delete, tHexKey::Delete},
    };
    for (const auto& [Code, K] : Keys)
        if (Event->key() == Code) {
            F->AfterKey(F->Model_.Key(K, Ctrl, Options().CBox_HexDel));
            return;
        }
    const QString T = Event->text();
    if (!T.isEmpty() && F->Model_.TypeChar(T.at(0).unicode(), Ctrl, Alt)) {
        tHexKeyResult R;
        R.Typed = R.CaretMoved = true;
        F->AfterKey(R);
        return;
    }
    QWidget::keyPressEvent(Event);
}

void tForm_Hex::AfterKey(const tHexKeyResult& R)
{
    if (R.Commit || (R.Typed && Btn_Update->isChecked()))
        Commit();
    if (R.CaretMoved)
        ShowCaret();
    Image->update();
}

void tHexView::mousePressEvent(QMouseEvent* Event)
{
    setFocus();
    if (Event->button() == Qt::MiddleButton) {
        F->Btn_Move->toggle();
        return;
    }
    if (Event->button() == Qt::RightButton && F->Btn_Move->isChecked()) {
        F->Btn_Move->setChecked(false);
        return;
    }
    if (F->Btn_Move->isChecked()) {
        DragFrom = Event->pos();
        Dragging = true;
        F->Timer->stop();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    const auto Hit = F->Layout_.HitTest(Event->pos().x(), Event->pos().y());
    if (!Hit)
        return;
    PlaceCaret(*Hit);
    if (Event->button() == Qt::LeftButton) {
        Following = true;
        FollowArea = Hit->Area;
        Pointer = Event->globalPosition().toPoint();
    }
}

void tHexView::PlaceCaret(const tHexHit& Hit)
{
    tHexModel& M = F->Model_;
    M.SetTextSide(Hit.Area == tHexArea::Text);
    M.SetCaret(2 * M.WindowStart() + 2 * (int64_t{Hit.Row} * M.BytesPerLine() + Hit.Column) + (Hit.LowNibble ? 1 : 0));
    F->ShowCaret();
}

std::pair<int, int> tHexView::ShownRows() const
{
    const QWidget* Port = F->ScrollBox->viewport();
    const int Top = mapFrom(Port, QPoint(0, 0)).y();
    const tHexRect& Data = F->Layout_.HexArea;
    return {std::max(Top, Data.Top), std::min(Top + Port->height(), Data.Bottom) - 1};
}

void tHexView::Follow()
{
    const QPoint At = mapFromGlobal(Pointer);
    const auto [Top, Bottom] = ShownRows();
    const tHexLayout& L = F->Layout_;
    const int Y = std::clamp(At.y(), Top, std::max(Top, Bottom));
    const tHexHit Hit = L.NearestHit(At.x(), Y, FollowArea);
    PlaceCaret(Hit);
    // A picture wider than the box follows the caret sideways (Y is on view).
    const tHexRect Cell = Hit.Area == tHexArea::Text ? L.TextCell(Hit.Column, Hit.Row) : L.HexCell(Hit.Column, Hit.Row);
    F->ScrollBox->ensureVisible((Cell.Left + Cell.Right) / 2, Y, Cell.Width() / 2 + 1, 0);
    F->Model_.SetHover(F->Model_.CaretByte());
    F->ShowInfo();
    if (At.y() < Top || At.y() > Bottom)
        Scroller->start();
}

void tHexView::AutoScroll()
{
    const QPoint At = mapFromGlobal(Pointer);
    const auto [Top, Bottom] = ShownRows();
    const int Beyond = At.y() < Top ? At.y() - Top : At.y() > Bottom ? At.y() - Bottom : 0;
    if (!Following || Beyond == 0) {
        Scroller->stop();
        return;
    }
    // The farther out the pointer, the faster: one line per line beyond.
    const int LineHeight = F->Layout_.LineHeight;
    const int Lines = (Beyond > 0 ? 1 : -1) * std::min(1 + std::abs(Beyond) / LineHeight, F->Model_.LineCount());
    // The scroll box first, then the window through the block.
    QScrollBar* Bar = F->ScrollBox->verticalScrollBar();
    const int Before = Bar->value();
    Bar->setValue(Before + Lines * LineHeight);
    if (Bar->value() == Before)
        F->SetWindow(F->Model_.WindowStart() + int64_t{Lines} * F->Model_.BytesPerLine());
    Follow();
}

void tHexView::StopFollowing()
{
    Following = false;
    Scroller->stop();
}

void tHexView::mouseMoveEvent(QMouseEvent* Event)
{
    tHexModel& M = F->Model_;
    if (Dragging) {
        const tHexLayout& L = F->Layout_;
        const int Lines = (Event->pos().y() - DragFrom.y()) / L.LineHeight;
        const int Cells = (Event->pos().x() - DragFrom.x()) / L.HexCellWidth();
        if (Lines || Cells) {
            const int64_t Wanted = M.WindowStart() - int64_t{Lines} * M.BytesPerLine() - Cells;
            F->SetWindow(Wanted);
            // At an end of the block the drag goes on from where the pointer
            // is, so that moving back scrolls at once.
            DragFrom = M.WindowStart() == Wanted ? DragFrom + QPoint(Cells * L.HexCellWidth(), Lines * L.LineHeight)
                                                 : Event->pos();
        }
        return;
    }
    if (Following) {
        Pointer = Event->globalPosition().toPoint();
        Follow();
        return;
    }
    if (F->Btn_Move->isChecked())
        return;
    // Only a byte that exists is described.
    const auto Hit = F->Layout_.HitTest(Event->pos().x(), Event->pos().y());
    if (!Hit)
        return;
    M.SetHover(M.WindowStart() + int64_t{Hit->Row} * M.BytesPerLine() + Hit->Column);
    F->ShowInfo();
}

void tHexView::mouseReleaseEvent(QMouseEvent*)
{
    // The picture keeps the mouse while a button is held, so the release
    // arrives here wherever the pointer is.
    StopFollowing();
    if (!Dragging)
        return;
    Dragging = false;
    setCursor(F->Btn_Move->isChecked() ? Qt::OpenHandCursor : Qt::IBeamCursor);
    F->ShowCaret();
}

void tHexView::focusInEvent(QFocusEvent* Event)
{
    QWidget::focusInEvent(Event);
    if (F)
        F->ShowCaret();
}

void tHexView::focusOutEvent(QFocusEvent* Event)
{
    QWidget::focusOutEvent(Event);
    // A dialog or another program took over: no release will come.
    StopFollowing();
    if (!F)
        return;
    F->Timer->stop();
    update();
}

void tForm_Hex::GUI_ClickJump(bool Forward)
{
    Model_.Jump(Forward, RBtn_JumpWin->isChecked());
    ShowWindowState();
}

void tForm_Hex::GUI_OffsetEntered()
{
    Edit_Offset->setText(Edit_Offset->text().toUpper());
    Edit_Offset->selectAll();
    if (!Model_.GoToOffsetText(Edit_Offset->text().toStdString(), Options().CBox_HexHex)) {
        Messages().Error(NoNumber);
        return;
    }
    ShowWindowState();
}

bool tForm_Hex::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == Edit_Offset && Event->type() == QEvent::KeyPress) {
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if (Key == Qt::Key_Up || Key == Qt::Key_Down) {
            // As the arrows beside the field: Up adds a byte, Down takes one away.
            Model_.MoveBy(Key == Qt::Key_Up ? 1 : -1);
            ShowWindowState();
            return true;
        }
    }
    return tToolWindow::eventFilter(Watched, Event);
}

void tForm_Hex::keyPressEvent(QKeyEvent* Event)
{
    // With no control focused the arrows page through the data: Left back,
    // Right forward.
    const QWidget* Focused = focusWidget();
    if ((Event->key() == Qt::Key_Left || Event->key() == Qt::Key_Right) && (!Focused || Focused == this)) {
        QToolButton* B = Event->key() == Qt::Key_Left ? Btn_Minus : Btn_Plus;
        if (B->isEnabled())
            B->click();
        return;
    }
    tToolWindow::keyPressEvent(Event);
}

void tForm_Hex::GUI_ClickSave()
{
    const std::optional<QString> Name = ExecuteFileDialog(DlgSave_Data, this);
    if (!Name)
        return;
    tError Error;
    const auto Data = Model_.Data();
    if (!WriteFileAtomic(Name->toStdString(), Data, Error))
        Messages().Error(Error.Describe(Name->toStdString()));
}

void tForm_Hex::GUI_Search()
{
    if (!Form_Search)
        return;
    Btn_Search->setChecked(true);
    Form_Search->show();
    Form_Search->raise();
    Form_Search->activateWindow();
}

void tForm_Hex::OnNotify(const void* Sender, tNote Msg)
{
    if (Msg == Note::Startup) {
        Startup();
        return;
    }
    if (Msg == Note::ApplActivated) {
        if (Image->hasFocus())
            ShowCaret();
        return;
    }
    if (Msg == Note::ApplDeactivated) {
        Timer->stop();
        Image->update();
        return;
    }
    // A newer Snes9x's stream brings tabs of its own blocks.
    if (Msg == Note::NewSavestate || Msg == Note::NewSNES || Msg == Note::NewS9X)
        ShowTabs();
    // Only a message that can change the block on view replaces the copy;
    // every other one leaves pending edits alone.
    if (Started_ && Sender != static_cast<const void*>(this) && HexBlockChangedBy(CurrentBlock(), Msg))
        Reload();
}

void tForm_Hex::LoadSettings(const tSettings& S)
{
    bool Down = false;
    if (S.Read(QStringLiteral("Btn_Move.Down"), Down))
        Btn_Move->setChecked(Down);
    if (S.Read(QStringLiteral("Btn_Update.Down"), Down))
        Btn_Update->setChecked(Down);
    S.ReadDialog(DlgSave_Data);
    S.ReadDialog(DlgSave_CP);
    S.ReadDialog(DlgOpen_CP);
    bool Line = false;
    if (S.ReadChecked(QStringLiteral("RBtn_JumpLine"), Line))
        (Line ? RBtn_JumpLine : RBtn_JumpWin)->setChecked(true);
    int X = UD_xRes->value(), Y = UD_yRes->value();
    S.Read(QStringLiteral("UD_xRes.Position"), X, 1, tHexModel::MaxBytesPerLine);
    S.Read(QStringLiteral("UD_yRes.Position"), Y, 1, tHexModel::MaxLineCount);
    UD_xRes->setValue(X);
    UD_yRes->setValue(Y);
    for (int P = 0; P < HexPageCount; ++P) {
        QTabBar* Bar = Tabs[static_cast<size_t>(P)];
        int T = Bar->currentIndex();
        if (S.Read(Bar->objectName() + QStringLiteral(".TabIndex"), T, 0, Bar->count() - 1))
            Bar->setCurrentIndex(T);
    }
    int Page = PC_Base->currentIndex();
    if (S.Read(QStringLiteral("PC_Base.ActivePageIndex"), Page, 0, HexPageCount - 1))
        PC_Base->setCurrentIndex(Page);
    ApplyOptions();
}

void tForm_Hex::SaveSettings(tSettings& S)
{
    S.Write(QStringLiteral("Btn_Move.Down"), Btn_Move->isChecked());
    S.Write(QStringLiteral("Btn_Update.Down"), Btn_Update->isChecked());
    S.WriteDialog(DlgSave_Data);
    S.WriteDialog(DlgSave_CP);
    S.WriteDialog(DlgOpen_CP);
    S.WriteChecked(QStringLiteral("RBtn_JumpLine"), RBtn_JumpLine->isChecked());
    S.WriteChecked(QStringLiteral("RBtn_JumpWin"), RBtn_JumpWin->isChecked());
    S.Write(QStringLiteral("UD_xRes.Position"), UD_xRes->value());
    S.Write(QStringLiteral("UD_yRes.Position"), UD_yRes->value());
    for (QTabBar* Bar : Tabs)
        S.Write(Bar->objectName() + QStringLiteral(".TabIndex"), Bar->currentIndex());
    S.Write(QStringLiteral("PC_Base.ActivePageIndex"), PC_Base->currentIndex());
}
