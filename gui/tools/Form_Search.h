#pragma once
// The search window: finds a value in the hex editor's data, each Enter the
// next match, starting again from the top after the last one.

#include "gui/core/ToolWindow.h"
#include "tools/HexSearch.h"

class QLineEdit;
class QSpinBox;
class QStatusBar;

class tForm_Search final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Search(const tWindowRow& Row, QWidget* Parent);
    void FindNext();
    QString Status() const;

  protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

  private:
    void GUI_ChangeEdit(QLineEdit* Edit);
    void StepValue(bool Up);
    void ShowValue();

    tHexSearch Search;
    uint64_t Generation_ = 0;
    bool Filling_ = false;
    QLineEdit* Edit_Dec = nullptr;
    QLineEdit* Edit_Hex = nullptr;
    QSpinBox* UD_Dec = nullptr;
    QSpinBox* UD_Hex = nullptr;
    QStatusBar* StatusBar = nullptr;
};
