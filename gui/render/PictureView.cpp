#include "gui/render/PictureView.h"

#include <array>
#include <cstring>

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "core/Picture32.h"
#include "core/Picture8.h"
#include "gui/core/Icons.h"

class tPictureCanvas final : public QWidget
{
  public:
    explicit tPictureCanvas(tPictureView* View) : QWidget(View), View_(View)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent* Event) override
    {
        QPainter P(this);
        const QRect R = Event->rect();
        const QImage& I = View_->Image_;
        if (I.isNull() || width() == 0 || height() == 0) {
            P.fillRect(R, palette().window());
            return;
        }
        // Only the part on view: the source rectangle that covers the
        // exposed rectangle, drawn into its scaled place.
        const double Sx = static_cast<double>(I.width()) / width();
        const double Sy = static_cast<double>(I.height()) / height();
        const int x0 = static_cast<int>(R.left() * Sx), y0 = static_cast<int>(R.top() * Sy);
        const int x1 = std::min(I.width(), static_cast<int>((R.right() + 1) * Sx) + 1);
        const int y1 = std::min(I.height(), static_cast<int>((R.bottom() + 1) * Sy) + 1);
        const QRect Source(x0, y0, x1 - x0, y1 - y0);
        const QRectF Target(x0 / Sx, y0 / Sy, Source.width() / Sx, Source.height() / Sy);
        P.setRenderHint(QPainter::SmoothPixmapTransform, false);
        P.drawImage(Target, I, Source);
    }
    void mousePressEvent(QMouseEvent* E) override { View_->CanvasPress(E); }
    void mouseMoveEvent(QMouseEvent* E) override { View_->CanvasMove(E); }
    void mouseReleaseEvent(QMouseEvent* E) override { View_->CanvasRelease(E); }

  private:
    tPictureView* View_;
};

tPictureView::tPictureView(const QString& Name, QWidget* Parent) : QScrollArea(Parent)
{
    setObjectName(QStringLiteral("Scroll_") + Name.mid(6));
    Canvas_ = new tPictureCanvas(this);
    Canvas_->setObjectName(Name);
    Canvas_->setCursor(ProgramCursor(crZoom));
    setWidget(Canvas_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBackgroundRole(QPalette::Dark);
}

QWidget* tPictureView::Canvas() const
{
    return Canvas_;
}

void tPictureView::SetImage(const QImage& Image)
{
    Image_ = Image;
    UpdateSize();
    Canvas_->update();
}

void tPictureView::SetPicture(const tPicture8& Picture)
{
    if (Picture.Width <= 0 || Picture.Height <= 0) {
        SetImage({});
        return;
    }
    if (Image_.size() != QSize(Picture.Width, Picture.Height) || Image_.format() != QImage::Format_RGB32)
        Image_ = QImage(Picture.Width, Picture.Height, QImage::Format_RGB32);
    std::array<uint32_t, 256> Table;
    for (size_t i = 0; i < 256; ++i)
        Table[i] = 0xFF000000u | Picture.ColourTable[i];
    for (int32_t y = 0; y < Picture.Height; ++y) {
        const uint8_t* From = Picture.Row(y);
        auto* To = reinterpret_cast<uint32_t*>(Image_.scanLine(y));
        for (int32_t x = 0; x < Picture.Width; ++x)
            To[x] = Table[From[x]];
    }
    UpdateSize();
}

void tPictureView::SetPicture(const tPicture32& Picture)
{
    if (Picture.Width <= 0 || Picture.Height <= 0) {
        SetImage({});
        return;
    }
    if (Image_.size() != QSize(Picture.Width, Picture.Height) || Image_.format() != QImage::Format_RGB32)
        Image_ = QImage(Picture.Width, Picture.Height, QImage::Format_RGB32);
    for (int32_t y = 0; y < Picture.Height; ++y)
        std::memcpy(Image_.scanLine(y), Picture.Row(y), static_cast<size_t>(Picture.Width) * 4);
    UpdateSize();
}

void tPictureView::SetStretchY(bool On)
{
    StretchY_ = On;
    UpdateSize();
}

void tPictureView::SetZoom(tPictureZoom* Zoom)
{
    Zoom_ = Zoom ? Zoom : &OwnZoom_;
    UpdateSize();
}

void tPictureView::UpdateSize()
{
    const int32_t H = Zoom_->Scaled(Image_.height()) * (StretchY_ ? 2 : 1);
    Canvas_->resize(Zoom_->Scaled(Image_.width()), H);
    Canvas_->update();
}

bool tPictureView::ZoomAt(int Delta, QPoint At)
{
    if (!Zoom_->Step(Delta))
        return false;
    UpdateSize();
    const int32_t Stretch = StretchY_ ? 2 : 1;
    horizontalScrollBar()->setValue(CentredScroll(At.x(), Image_.width(), *Zoom_, viewport()->width()));
    // The stretched height counts twice: centre in displayed rows.
    const int32_t Row = CentredScroll(At.y() * Stretch, Image_.height() * Stretch, *Zoom_, viewport()->height());
    verticalScrollBar()->setValue(Row);
    emit Zoomed();
    return true;
}

void tPictureView::SetMoveMode(bool On)
{
    if (MoveMode_ == On)
        return;
    MoveMode_ = On;
    Drag_.Stop();
    Canvas_->setCursor(ProgramCursor(On ? crHand : crZoom));
    emit MoveModeChanged(On);
}

QPoint tPictureView::PicturePoint(QPoint CanvasPos) const
{
    const int32_t Stretch = StretchY_ ? 2 : 1;
    return {Zoom_->Unscaled(CanvasPos.x()), Zoom_->Unscaled(CanvasPos.y()) / Stretch};
}

void tPictureView::CanvasPress(QMouseEvent* Event)
{
    const QPoint At = PicturePoint(Event->position().toPoint());
    if (!MoveMode_) {
        if (Event->button() == Qt::LeftButton)
            ZoomAt(+1, At);
        else if (Event->button() == Qt::RightButton)
            ZoomAt(-1, At);
        else if (Event->button() == Qt::MiddleButton)
            SetMoveMode(true);
        return;
    }
    if (Event->button() == Qt::LeftButton) {
        Drag_.Start(this, Event->globalPosition().toPoint());
        Canvas_->setCursor(ProgramCursor(crMove));
        Canvas_->grabMouse();
    } else if (Event->button() == Qt::RightButton || Event->button() == Qt::MiddleButton)
        SetMoveMode(false);
}

void tPictureView::CanvasMove(QMouseEvent* Event)
{
    if (Drag_.Move(Event->globalPosition().toPoint()))
        return;
    emit Hovered(PicturePoint(Event->position().toPoint()));
}

void tPictureView::CanvasRelease(QMouseEvent* Event)
{
    if (Drag_.Active() && Event->button() == Qt::LeftButton) {
        Drag_.Stop();
        Canvas_->releaseMouse();
        Canvas_->setCursor(ProgramCursor(MoveMode_ ? crHand : crZoom));
    }
}

QImage ToQImage(const tPicture8& Picture)
{
    if (Picture.Width <= 0 || Picture.Height <= 0)
        return {};
    QImage I(Picture.Width, Picture.Height, QImage::Format_Indexed8);
    QList<QRgb> Table(256);
    for (int i = 0; i < 256; ++i)
        Table[i] = 0xFF000000u | Picture.ColourTable[static_cast<size_t>(i)];
    I.setColorTable(Table);
    for (int32_t y = 0; y < Picture.Height; ++y)
        std::memcpy(I.scanLine(y), Picture.Row(y), static_cast<size_t>(Picture.Width));
    return I;
}

QImage ToQImage(const tPicture32& Picture)
{
    if (Picture.Width <= 0 || Picture.Height <= 0)
        return {};
    QImage I(Picture.Width, Picture.Height, QImage::Format_RGB32);
    for (int32_t y = 0; y < Picture.Height; ++y)
        std::memcpy(I.scanLine(y), Picture.Row(y), static_cast<size_t>(Picture.Width) * 4);
    return I;
}
