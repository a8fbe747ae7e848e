#include "gui/tools/Form_Search.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/core/ProgramWindows.h"
#include "gui/tools/Form_Hex.h"

namespace
{
tForm_Hex* HexEditor()
{
    return qobject_cast<tForm_Hex*>(Form_Hex);
}
} // namespace

tForm_Search::tForm_Search(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    auto* Frame = new QVBoxLayout(this);
    Frame->setContentsMargins(4, 4, 4, 0);
    auto* Group = new QGroupBox(QStringLiteral("value"), this);
    auto* Grid = new QGridLayout(Group);
    auto Field = [&](int Line, const char* Label, const char* Name, const char* UpDown) {
        auto* E = new QLineEdit(QStringLiteral("0"), Group);
        E->setObjectName(QString::fromLatin1(Name));
        auto* L = new QLabel(QString::fromLatin1(Label), Group);
        L->setBuddy(E);
        auto* U = new QSpinBox(Group);
        U->setObjectName(QString::fromLatin1(UpDown));
        U->setRange(-1, 1);
        U->setFixedWidth(22);
        if (auto* Text = U->findChild<QLineEdit*>())
            Text->hide();
        Grid->addWidget(L, Line, 0);
        Grid->addWidget(E, Line, 1);
        Grid->addWidget(U, Line, 2);
        E->installEventFilter(this);
        connect(E, &QLineEdit::textChanged, this, [this, E] { GUI_ChangeEdit(E); });
        connect(U, &QSpinBox::valueChanged, this, [this, U, E](int V) {
            if (V == 0)
                return;
            StepValue(V > 0);
            const QSignalBlocker Block(U);
            U->setValue(0);
            E->setFocus();
        });
        return std::pair{E, U};
    };
    std::tie(Edit_Dec, UD_Dec) = Field(0, "&dec:", "Edit_Dec", "UD_Dec");
    std::tie(Edit_Hex, UD_Hex) = Field(1, "&hex:", "Edit_Hex", "UD_Hex");
    Edit_Hex->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,16}")), Edit_Hex));
    Frame->addWidget(Group);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    Frame->addWidget(StatusBar);
    resize(220, 130);
}

QString tForm_Search::Status() const
{
    return StatusBar->currentMessage();
}

void tForm_Search::GUI_ChangeEdit(QLineEdit* Edit)
{
    if (Filling_)
        return;
    Edit->setStyleSheet(Edit->text().isEmpty() ? QStringLiteral("background-color: palette(window);") : QString());
    if (Edit->text().isEmpty())
        return;
    if (Edit == Edit_Dec)
        Search.SetDecText(Edit->text().toStdString());
    else
        Search.SetHexText(Edit->text().toUpper().toStdString());
    ShowValue();
}

void tForm_Search::ShowValue()
{
    Filling_ = true;
    for (auto [E, T] : {std::pair{Edit_Dec, Search.DecText()}, std::pair{Edit_Hex, Search.HexText()}}) {
        const QString Q = QString::fromStdString(T);
        if (E->text() != Q) {
            const int Pos = E->cursorPosition();
            E->setText(Q);
            E->setCursorPosition(std::min(Pos, static_cast<int>(Q.size())));
        }
        E->setStyleSheet(QString());
    }
    Filling_ = false;
}

void tForm_Search::StepValue(bool Up)
{
    Search.Step(Up);
    ShowValue();
}

void tForm_Search::FindNext()
{
    tForm_Hex* Hex = HexEditor();
    if (!Hex || Edit_Dec->text().isEmpty() || Edit_Hex->text().isEmpty())
        return;
    // Another block on view: its search starts at its top.
    if (Hex->SourceGeneration() != Generation_) {
        Generation_ = Hex->SourceGeneration();
        Search.Restart();
    }
    bool Changed = false;
    const auto Match = Search.FindNext(Hex->Model().Data(), Changed);
    if (!Changed)
        return;
    StatusBar->showMessage(QString::fromStdString(tHexSearch::StatusText(Match)));
    if (Match)
        Hex->SetWindow(*Match);
}

bool tForm_Search::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::KeyPress && (Watched == Edit_Dec || Watched == Edit_Hex)) {
        switch (static_cast<QKeyEvent*>(Event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            FindNext();
            return true;
        case Qt::Key_Escape:
            hide();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            StepValue(static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Up);
            return true;
        default:
            break;
        }
    }
    return tToolWindow::eventFilter(Watched, Event);
}

void tForm_Search::hideEvent(QHideEvent* Event)
{
    tToolWindow::hideEvent(Event);
    if (Form_Hex)
        if (auto* B = Form_Hex->findChild<QToolButton*>(QStringLiteral("Btn_Search")))
            B->setChecked(false);
}
