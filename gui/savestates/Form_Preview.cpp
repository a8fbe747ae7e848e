#include "gui/savestates/Form_Preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "core/Messages.h"
#include "core/PictureFiles.h"
#include "gui/core/Icons.h"
#include "gui/core/Settings.h"
#include "gui/render/PictureView.h"
#include "savestates/PreviewPicture.h"
#include "savestates/S9X.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

// The picture, painted scaled to the control's size.
class tPreviewImage final : public QWidget
{
  public:
    tPreviewImage(tForm_Preview* Form, QWidget* Parent) : QWidget(Parent), Form_(Form)
    {
        setObjectName(QStringLiteral("Image"));
    }
    QImage Picture;

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter P(this);
        P.setRenderHint(QPainter::SmoothPixmapTransform, false);
        P.drawImage(rect(), Picture);
    }
    void mousePressEvent(QMouseEvent* E) override
    {
        if (E->button() == Qt::LeftButton)
            Form_->ChangeZoom(+1);
        else if (E->button() == Qt::RightButton)
            Form_->ChangeZoom(-1);
        else if (E->button() == Qt::MiddleButton)
            Form_->SavePicture();
    }

  private:
    tForm_Preview* Form_;
};

tForm_Preview::tForm_Preview(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    setWindowTitle(QStringLiteral("preview (2:1)"));
    DlgSave = PictureSaveDialog();
    auto* L = new QVBoxLayout(this);
    L->setContentsMargins(0, 0, 0, 0);
    L->setSizeConstraint(QLayout::SetFixedSize);
    Image_ = new tPreviewImage(this, this);
    L->addWidget(Image_);
    Picture_.Resize(64, 56);
    ShowPicture();
}

QWidget* tForm_Preview::Image() const
{
    return Image_;
}

void tForm_Preview::ShowPicture()
{
    Image_->Picture = ToQImage(Picture_);
    Image_->setFixedSize(Zoom_.Scaled(Picture_.Width), Zoom_.Scaled(Picture_.Height));
    setWindowTitle(QString::fromStdString(Zoom_.Caption(windowTitle().toStdString())));
    Image_->update();
}

void tForm_Preview::ChangeZoom(int Delta)
{
    if (Zoom_.Step(Delta))
        ShowPicture();
}

void tForm_Preview::SavePicture()
{
    const std::optional<std::string> Name = AskPictureName(DlgSave, this);
    tError Error;
    if (Name && !WritePicture(*Name, Picture_, Error))
        Messages().Error(Error.Describe(*Name));
}

void tForm_Preview::OnNotify(const void* /*Sender*/, tNote Msg)
{
    if (Msg == Note::NewZSTPreview && ZST) {
        Picture_ = ZSTPreviewPicture(ZST->Preview);
        ShowPicture();
    } else if (Msg == Note::NewS9XPreview && S9X) {
        // The picture a newer Snes9x's file carries, decoded now: loading
        // the state only kept it.
        tPicture32 P;
        if (S9X->ShotPicture(P))
            Picture_ = std::move(P);
        ShowPicture();
    } else if (Msg == Note::NewSSLPreview && SSL) {
        if (std::optional<tPicture32> P = SSLPreviewPicture(SSL->PreviewBitmap))
            Picture_ = std::move(*P);
        else
            std::fill(Picture_.Pixels.begin(), Picture_.Pixels.end(), 0u);
        ShowPicture();
        // Only the window's own repaint runs here: user input waiting in the
        // queue must not run in the middle of a load.
        if (isVisible())
            repaint();
    } else if (Msg == Note::Startup)
        Image_->setCursor(ProgramCursor(crZoom));
}

void tForm_Preview::LoadSettings(const tSettings& Section)
{
    // A zoom outside 0..3 in the file falls back to the start zoom (2:1).
    Zoom_.Level = 1;
    Section.Read(QStringLiteral("Image.Tag"), Zoom_.Level, 0, 3);
    Section.ReadDialog(DlgSave);
    ShowPicture();
}

void tForm_Preview::SaveSettings(tSettings& Section)
{
    Section.Write(QStringLiteral("Image.Tag"), Zoom_.Level);
    Section.WriteDialog(DlgSave);
}
