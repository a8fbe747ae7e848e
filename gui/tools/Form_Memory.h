#pragma once
// The memory viewer: VRAM, WRAM or the cartridge ROM decoded as tiles of 1 to
// 8 bits per pixel (or FX lines, or mode 7 tiles), coloured from the palette
// viewer's selected group, zoomed and dragged, copied or saved. The offsets,
// sizes and decoding are tMemoryView's; this window binds them to controls.

#include <array>

#include <QImage>

#include "core/Picture8.h"
#include "gui/core/DragScroll.h"
#include "gui/core/FileDialog.h"
#include "gui/core/ToolWindow.h"
#include "tools/MemoryView.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QToolButton;
class tMemoryPicture;

class tForm_Memory final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Memory(const tWindowRow& Row, QWidget* Parent);

    // The scene viewer shows a layer's tiles here: the decoder, the VRAM byte
    // offset (16 bits) and the direct-colour palette number 0..7.
    void ShowTiles(tMemDecoder Decoder, uint32_t Offset, int Palette);
    // Read by the palette viewer to group its cells.
    int BitsPerPixel() const { return View.BitsPerPixel; }
    // Start-up: the view back at offset 0, the layout recomputed.
    void StartupStep();
    // The memory options changed: the offset's digits and the jump caption.
    void ApplyOptions();

    const tMemoryView& Model() const { return View; }
    const tPicture8& Picture() const { return Bitmap; }
    int Zoom() const { return Zoom_; }
    QRadioButton* DecoderButton(tMemDecoder D) const { return RBtn_Decoder[static_cast<size_t>(D)]; }
    QRadioButton* SourceButton(tMemSource S) const { return RBtn_Source[static_cast<size_t>(S)]; }
    QLineEdit* OffsetEdit() const { return Edit_Offset; }
    QToolButton* SaveButton() const { return Btn_Save; }

    void UpdateView();
    void GUI_ClickDecoder(tMemDecoder D);
    void GUI_ClickMemSrc(tMemSource S);
    void GUI_ClickJump(int Direction);
    void GUI_ClickSave();
    // One zoom step at a point of the zoomed picture.
    void ZoomAt(int X, int Y, int Step);

  protected:
    void OnNotify(const void* Sender, tNote Msg) override;
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    friend class tMemoryPicture;
    void Render();
    void RefreshOffset();
    void ApplyPalette();
    void UpdateROMSource(bool Loaded);
    std::span<const uint8_t> SourceData() const;
    void EnterOffset();
    void PictureMouseDown(QMouseEvent* E);
    void PictureMouseMove(QMouseEvent* E);
    void PictureMouseUp(QMouseEvent* E);
    void SetMoveMode(bool On);

    tMemoryView View;
    tPicture8 Bitmap;
    int Zoom_ = 0;
    int DirectPalette = 0;
    bool LoadPending = false; // "new savestate" seen, its "new SNES" not yet
    tDragScroll Drag;
    tFileDialog DlgSave;

    std::array<QRadioButton*, MemDecoderCount> RBtn_Decoder{};
    std::array<QRadioButton*, MemSourceCount> RBtn_Source{};
    std::array<QLabel*, MemSourceCount> Label_Source{};
    QGroupBox* GBox_Offset = nullptr;
    QLineEdit* Edit_Offset = nullptr;
    QSpinBox* UD_Offset = nullptr;
    QPushButton* Btn_Minus = nullptr;
    QPushButton* Btn_Plus = nullptr;
    QRadioButton* RBtn_JumpWin = nullptr;
    QRadioButton* RBtn_JumpLine = nullptr;
    QSpinBox* UD_xRes = nullptr;
    QSpinBox* UD_yRes = nullptr;
    QToolButton* Btn_Move = nullptr;
    QToolButton* Btn_Save = nullptr;
    QScrollArea* ScrollBox = nullptr;
    tMemoryPicture* Image = nullptr;
    bool Rendering = false;
};
