#include "gui/core/Form_Quit.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/core/Form_Main.h"
#include "gui/core/Icons.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "core/SharedData.h"
#include "gui/tools/Form_Options.h"

tForm_Quit::tForm_Quit(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    auto* Frame = new QVBoxLayout(this);
    Frame->setContentsMargins(6, 6, 6, 6);
    Image_Quit = new QLabel(this);
    Image_Quit->setObjectName(QStringLiteral("Image_Quit"));
    Image_Quit->setPixmap(QPixmap::fromImage(QuitPicture()));
    Image_Quit->setAlignment(Qt::AlignCenter);
    Image_Quit->setCursor(QCursor(Qt::SizeAllCursor));
    Image_Quit->installEventFilter(this);
    Frame->addWidget(Image_Quit);
    auto* ButtonRow = new QHBoxLayout;
    Btn_Yes = new QPushButton(QStringLiteral("yes"), this);
    Btn_Yes->setObjectName(QStringLiteral("Btn_Yes"));
    Btn_No = new QPushButton(QStringLiteral("no"), this);
    Btn_No->setObjectName(QStringLiteral("Btn_No"));
    ButtonRow->addWidget(Btn_Yes);
    ButtonRow->addWidget(Btn_No);
    Frame->addLayout(ButtonRow);
    Btn_Yes->installEventFilter(this);
    Btn_No->installEventFilter(this);
    connect(Btn_Yes, &QPushButton::clicked, this, &tForm_Quit::Yes);
    connect(Btn_No, &QPushButton::clicked, this, &tForm_Quit::No);
    setStyleSheet(QStringLiteral("tForm_Quit { border: 2px solid #404040; }"));
}

const QStringList& tForm_Quit::Prompts()
{
    static const QStringList P = {
        QStringLiteral("Leaving already? The PPU was just warming up."),
        QStringLiteral("The SPC700 will keep humming without you. Quit?"),
        QStringLiteral("Every register has been read. Time to go?"),
        QStringLiteral("Press reset on this session?"),
        QStringLiteral("Forced blank for the rest of the day?"),
        QStringLiteral("The sprites promise to stay in OAM. Leave now?"),
        QStringLiteral("Save your state before you go... oh wait, that is our job. Quit?"),
        QStringLiteral("V-blank has come. Shall we stop here?"),
        QStringLiteral("Mode 7 will still spin tomorrow. Quit?"),
        QStringLiteral("The DMA channels are idle. So may you be. Leave?"),
        QStringLiteral("No more colour math today?"),
        QStringLiteral("The little eagle folds its wings. Quit?"),
        QStringLiteral("Eject the cartridge and switch off?"),
        QStringLiteral("All 128 sprites wave goodbye. Quit?"),
        QStringLiteral("The program counter stops here if you say so."),
        QStringLiteral("Enough bits for one day?"),
    };
    return P;
}

QString tForm_Quit::Prompt() const
{
    return Image_Quit->toolTip();
}

void tForm_Quit::setVisible(bool Visible)
{
    if (Visible && !isVisible()) {
        if (!Options().CBox_QuitShow) {
            Yes();
            return;
        }
        const QStringList& P = Prompts();
        Image_Quit->setToolTip(P[static_cast<int>(QRandomGenerator::global()->bounded(P.size()))]);
        adjustSize();
        if (QScreen* S = QGuiApplication::primaryScreen())
            move(S->geometry().center() - QPoint(width() / 2, height() / 2));
    }
    tToolWindow::setVisible(Visible);
    if (Visible) {
        raise();
        activateWindow();
        Btn_Yes->setFocus();
    }
}

void tForm_Quit::Yes()
{
    QuitConfirmed = true;
    if (Options().CBox_OptionsSave && Form_Options)
        Form_Options->SaveConfig();
    tToolWindow::setVisible(false);
    if (Form_Main)
        Form_Main->close();
}

void tForm_Quit::No()
{
    close();
}

void tForm_Quit::keyPressEvent(QKeyEvent* Event)
{
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter || Event->key() == Qt::Key_Space) {
        Btn_Yes->click();
        return;
    }
    tToolWindow::keyPressEvent(Event);
}

bool tForm_Quit::eventFilter(QObject* Watched, QEvent* Event)
{
    // Enter and Space mean "yes" whichever button has the focus.
    if (Event->type() == QEvent::KeyPress && (Watched == Btn_Yes || Watched == Btn_No)) {
        int K = static_cast<QKeyEvent*>(Event)->key();
        if (K == Qt::Key_Return || K == Qt::Key_Enter || K == Qt::Key_Space) {
            Btn_Yes->click();
            return true;
        }
    }
    if (Watched == Image_Quit) {
        if (Event->type() == QEvent::MouseButtonPress) {
            auto* M = static_cast<QMouseEvent*>(Event);
            if (M->button() == Qt::LeftButton) {
                Dragging_ = true;
                DragOffset_ = M->globalPosition().toPoint() - frameGeometry().topLeft();
                return true;
            }
        } else if (Event->type() == QEvent::MouseMove && Dragging_) {
            move(static_cast<QMouseEvent*>(Event)->globalPosition().toPoint() - DragOffset_);
            return true;
        } else if (Event->type() == QEvent::MouseButtonRelease) {
            Dragging_ = false;
        }
    }
    return tToolWindow::eventFilter(Watched, Event);
}
