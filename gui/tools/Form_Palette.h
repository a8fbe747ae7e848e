#pragma once
// The palette viewer: the 256 CGRAM colours as a 16 x 16 grid with the
// selected colour's values, one colour edited through the colour dialog, the
// whole palette inverted, palette files opened and saved. Edits go straight
// into the machine state's CGRAM and are announced with "new SNES"; a new
// selection with "new PalCell" (the memory viewer colours its tiles from it).

#include <array>
#include <functional>
#include <optional>

#include <QColor>

#include "gui/core/FileDialog.h"
#include "gui/core/ToolWindow.h"

class QLineEdit;
class QPushButton;
class QToolButton;
class tPaletteGrid;

// Tests answer the colour dialog through a runner: it gets the starting
// colour and the sixteen custom colours and returns the chosen colour, or
// nothing for cancel.
using tColourDialogRunner = std::function<std::optional<QColor>(QColor Initial, const std::array<QColor, 16>& Custom)>;
void SetColourDialogRunner(tColourDialogRunner Runner);

class tForm_Palette final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Palette(const tWindowRow& Row, QWidget* Parent);

    int SelectedIndex() const { return Index_; }
    // A new selection is shown and announced with "new PalCell".
    void Select(int Index);
    // The selected colour's grid cell and texts, after any change.
    void Refresh();
    // Btn_Invert is down: the scene viewer inverts its colour copy too.
    bool Inverted() const;
    // Runs the colour dialog for the selected colour.
    void EditColour();

    QToolButton* InvertButton() const { return Btn_Invert; }
    QToolButton* OpenButton() const { return Btn_Open; }
    QToolButton* SaveButton() const { return Btn_Save; }
    QLineEdit* Field(const char* Name) const;
    QWidget* Grid() const;
    // The middle of a cell in the grid's coordinates.
    QPoint GridCellCentre(int Index) const;

    void GUI_ClickInvert();
    void GUI_ClickOpen();
    void GUI_ClickSave();

  protected:
    void OnNotify(const void* Sender, tNote Msg) override;
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;

  private:
    int Index_ = 0;
    tPaletteGrid* DrawGrid = nullptr;
    QLineEdit* Edit_Index = nullptr;
    QLineEdit* Edit_Red = nullptr;
    QLineEdit* Edit_Green = nullptr;
    QLineEdit* Edit_Blue = nullptr;
    QLineEdit* Edit_Group = nullptr;
    QLineEdit* Edit_HTML = nullptr;
    QPushButton* Panel_Color = nullptr;
    QToolButton* Btn_Invert = nullptr;
    QToolButton* Btn_Open = nullptr;
    QToolButton* Btn_Save = nullptr;
    tFileDialog DlgOpen;
    tFileDialog DlgSave;
};
