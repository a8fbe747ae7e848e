#pragma once
// The preview window: the picture stored in the current ZSNES or Super
// Sleuth savestate, zoomed 1:1 to 8:1 by the left and right mouse buttons and
// saved as PNG or BMP by the middle button.

#include "core/Picture32.h"
#include "gui/core/FileDialog.h"
#include "gui/core/ToolWindow.h"
#include "render/SceneView.h"

class tPreviewImage;

class tForm_Preview final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Preview(const tWindowRow& Row, QWidget* Parent);

    const tPicture32& Picture() const { return Picture_; }
    int Zoom() const { return Zoom_.Level; }
    // Zooms by Delta (-1, 0 or +1) within 0..3; outside nothing changes.
    void ChangeZoom(int Delta);
    // Runs the save dialog and writes the picture; a cancelled dialog writes
    // nothing.
    void SavePicture();
    QWidget* Image() const;

  protected:
    void OnNotify(const void* Sender, tNote Msg) override;
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;

  private:
    void ShowPicture();

    tPreviewImage* Image_ = nullptr;
    tPicture32 Picture_;
    tPictureZoom Zoom_{1, 0, 3};
    tFileDialog DlgSave;
};
