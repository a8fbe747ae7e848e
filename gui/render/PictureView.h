#pragma once
// A picture in a scroll box, shown at a zoom of whole powers of two and
// painted scaled straight from the unscaled picture (only the part on view
// is scaled, so a 1024 x 1024 plane at 8:1 costs no 64-megapixel copy).
//
// Mouse: with move mode off the left button zooms in and the right button
// out, keeping the clicked point in the middle; the middle button toggles
// move mode. In move mode the left button drags the picture and the right
// button leaves move mode. Moving over the picture reports the picture pixel
// under the cursor.

#include <QImage>
#include <QPoint>
#include <QScrollArea>

#include "gui/core/DragScroll.h"
#include "render/SceneView.h"

class tPicture32;
class tPicture8;

class tPictureCanvas;

class tPictureView : public QScrollArea
{
    Q_OBJECT
  public:
    tPictureView(const QString& Name, QWidget* Parent);

    void SetImage(const QImage& Image);
    // Shows a picture as 32-bit pixels, reusing the shown image's memory when
    // the size stays: painting then copies rows instead of converting the
    // colour table on every paint.
    void SetPicture(const tPicture8& Picture);
    void SetPicture(const tPicture32& Picture);
    const QImage& Image() const { return Image_; }
    // The displayed height is doubled ("stretch Y").
    void SetStretchY(bool On);
    // The zoom this view uses; views may share one (the two screen pictures).
    void SetZoom(tPictureZoom* Zoom);
    tPictureZoom& Zoom() { return *Zoom_; }
    // Zooms by Delta steps keeping picture point At (unscaled) in the middle;
    // false when the zoom would leave its range.
    bool ZoomAt(int Delta, QPoint At);
    // Applies the current zoom (after a shared zoom changed elsewhere).
    void UpdateSize();
    bool MoveMode() const { return MoveMode_; }
    void SetMoveMode(bool On);
    // The canvas: the widget that shows the picture and takes the mouse.
    QWidget* Canvas() const;

  signals:
    void Zoomed();
    void MoveModeChanged(bool On);
    // The picture pixel under the cursor (unscaled).
    void Hovered(QPoint At);

  private:
    friend class tPictureCanvas;
    void CanvasPress(QMouseEvent* Event);
    void CanvasMove(QMouseEvent* Event);
    void CanvasRelease(QMouseEvent* Event);
    QPoint PicturePoint(QPoint CanvasPos) const;

    tPictureCanvas* Canvas_ = nullptr;
    QImage Image_;
    tPictureZoom OwnZoom_;
    tPictureZoom* Zoom_ = &OwnZoom_;
    bool StretchY_ = false;
    bool MoveMode_ = false;
    tDragScroll Drag_;
};

// The picture as Qt shows it: an indexed picture keeps its colour table.
QImage ToQImage(const tPicture8& Picture);
QImage ToQImage(const tPicture32& Picture);
