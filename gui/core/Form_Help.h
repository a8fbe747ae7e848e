#pragma once
// The help window: the program's help pages (documentation/index.htm beside
// the program) in a browser of its own, with back, forward and index buttons.
// It needs no web browser on the machine and never shows an error box; a
// missing page is said in the window itself.

#include <QWidget>

class QTextBrowser;
class QToolButton;

class tForm_Help : public QWidget
{
    Q_OBJECT
  public:
    explicit tForm_Help(QWidget* Parent);
    // Shows the index page, or says where it was looked for.
    void ShowIndex();
    QTextBrowser* Browser() const { return Browser_; }

  private:
    QTextBrowser* Browser_;
    QToolButton* Back_;
    QToolButton* Forward_;
};

// Shows the help window of MainWindow (made on first use) at the index,
// without blocking: the main window stays usable beside it. Unless Activate,
// the keyboard stays where it was.
tForm_Help* ShowHelp(QWidget* MainWindow, bool Activate = true);
