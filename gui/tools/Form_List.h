#pragma once
// The list editor: the value of the register row selected in the main
// window, in binary, hexadecimal and decimal, written into the memory the
// row describes; and the restore of the values a list had before editing.
// The value rules are tListEditModel's.

#include "gui/core/ToolWindow.h"
#include "tools/ListEditModel.h"

class QLineEdit;
class QSpinBox;
class QToolButton;
struct tRegisterRow;

class tForm_List final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_List(const tWindowRow& Row, QWidget* Parent);

    void CommitValue();
    void RestoreList();
    void RestoreAll();
    const tListEditModel& Model() const { return Model_; }

  protected:
    void OnNotify(const void* Sender, tNote Msg) override;
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

  private:
    // The main window's selected row, looked up anew at every use.
    tRegisterRow* CurrentRow() const;
    void ShowRow();
    void ShowEditValue();
    void Changed();
    void Step(bool Up);
    void TypeOver(QLineEdit* Field, const QString& Text, bool Forward);
    // Writes the rows of a list whose value is not the one before the edits.
    bool RestorePage(int Page);
    void AfterWrite(tNote Msg);

    tListEditModel Model_;
    bool Active = false;
    bool Showing_ = false;
    QLineEdit* Edit_Dec = nullptr;
    QLineEdit* Edit_Hex = nullptr;
    QLineEdit* Edit_Bin = nullptr;
    QSpinBox* UD_Dec = nullptr;
    QSpinBox* UD_Hex = nullptr;
    QSpinBox* UD_Bin = nullptr;
    QLineEdit* Edit_Name = nullptr;
    QLineEdit* Edit_OldVal = nullptr;
    QLineEdit* Edit_Comment = nullptr;
    QToolButton* Btn_Update = nullptr;
    QToolButton* Btn_RestoreAll = nullptr;
    QToolButton* Btn_RestoreList = nullptr;
};
