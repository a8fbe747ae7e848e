#pragma once
// The quit window: a borderless, always-on-top question in the middle of the
// screen, asked before the program ends. It can be dragged by its picture.

#include <QPoint>

#include "gui/core/ToolWindow.h"

class QLabel;
class QPushButton;

class tForm_Quit final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Quit(const tWindowRow& Row, QWidget* Parent);

    // The sixteen one-line prompts, one of which becomes the picture's tooltip
    // each time the window shows.
    static const QStringList& Prompts();
    QString Prompt() const;

    // "yes": confirms, saves the configuration when asked to, ends the program.
    void Yes();
    // "no": the program goes on.
    void No();
    void setVisible(bool Visible) override;

    QPushButton* YesButton() const { return Btn_Yes; }
    QPushButton* NoButton() const { return Btn_No; }

  protected:
    void keyPressEvent(QKeyEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    QLabel* Image_Quit;
    QPushButton* Btn_Yes;
    QPushButton* Btn_No;
    QPoint DragOffset_;
    bool Dragging_ = false;
};
