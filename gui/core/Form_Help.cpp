#include "gui/core/Form_Help.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/SharedData.h"

namespace
{
QToolButton* AddButton(QHBoxLayout* Row, const QString& Name, const QString& Caption, QStyle::StandardPixmap Icon)
{
    auto* B = new QToolButton;
    B->setObjectName(Name);
    B->setText(Caption);
    B->setToolTip(Caption);
    B->setIcon(B->style()->standardIcon(Icon));
    B->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    B->setAutoRaise(true);
    Row->addWidget(B);
    return B;
}
} // namespace

tForm_Help::tForm_Help(QWidget* Parent) : QWidget(Parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form_Help"));
    setWindowTitle(QStringLiteral("Orlik help"));
    resize(760, 640);
    auto* Buttons = new QHBoxLayout;
    Back_ = AddButton(Buttons, QStringLiteral("Btn_Back"), QStringLiteral("back"), QStyle::SP_ArrowBack);
    Forward_ = AddButton(Buttons, QStringLiteral("Btn_Forward"), QStringLiteral("forward"), QStyle::SP_ArrowForward);
    QToolButton* Home =
        AddButton(Buttons, QStringLiteral("Btn_Index"), QStringLiteral("index"), QStyle::SP_DirHomeIcon);
    Buttons->addStretch();
    Browser_ = new QTextBrowser;
    // Links out of the pages go to the desktop; without a browser they do nothing.
    Browser_->setOpenExternalLinks(true);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(4, 4, 4, 4);
    Layout->addLayout(Buttons);
    Layout->addWidget(Browser_);
    Back_->setEnabled(false);
    Forward_->setEnabled(false);
    connect(Back_, &QToolButton::clicked, Browser_, &QTextBrowser::backward);
    connect(Forward_, &QToolButton::clicked, Browser_, &QTextBrowser::forward);
    connect(Home, &QToolButton::clicked, this, &tForm_Help::ShowIndex);
    connect(Browser_, &QTextBrowser::backwardAvailable, Back_, &QToolButton::setEnabled);
    connect(Browser_, &QTextBrowser::forwardAvailable, Forward_, &QToolButton::setEnabled);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

void tForm_Help::ShowIndex()
{
    const QString Index = QString::fromStdString(ProgramDir) + QStringLiteral("documentation/index.htm");
    if (QFileInfo(Index).isFile()) {
        Browser_->setSource(QUrl::fromLocalFile(Index));
        return;
    }
    Browser_->setHtml(QStringLiteral("<h2>No help pages</h2><p>The help pages were looked for in <code>") +
                      Index.toHtmlEscaped() + QStringLiteral("</code>; they are not there.</p>"));
}

tForm_Help* ShowHelp(QWidget* MainWindow, bool Activate)
{
    auto* Help = MainWindow->findChild<tForm_Help*>(QString(), Qt::FindDirectChildrenOnly);
    if (!Help) {
        Help = new tForm_Help(MainWindow);
        // Beside the main window when the screen has room, so neither hides the other.
        const QRect Main = MainWindow->frameGeometry();
        if (const QScreen* S = MainWindow->screen();
            S && Main.right() + 8 + Help->width() <= S->availableGeometry().right())
            Help->move(Main.right() + 8, Main.top());
    }
    Help->ShowIndex();
    Help->setAttribute(Qt::WA_ShowWithoutActivating, !Activate);
    Help->show();
    Help->raise();
    if (Activate)
        Help->activateWindow();
    return Help;
}
