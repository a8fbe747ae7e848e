#include "gui/core/FileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>

#include "render/SceneView.h"

namespace
{
tFileDialogRunner Runner;
}

void SetFileDialogRunner(tFileDialogRunner R)
{
    Runner = std::move(R);
}

QStringList QtNameFilters(const QString& Filter)
{
    QStringList Parts = Filter.split(QLatin1Char('|'));
    QStringList Out;
    for (int i = 0; i + 1 < Parts.size(); i += 2) {
        QString Desc = Parts[i];
        // The description may already list patterns in parentheses; Qt reads
        // the patterns from the parentheses, so they are replaced by the real ones.
        Desc.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
        QStringList Pats;
        for (const QString& P : Parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& V : {P, P.toLower(), P.toUpper()})
                if (!Pats.contains(V) && (V != QStringLiteral("*.*") || P == V))
                    Pats << V;
        }
        Out << Desc + QStringLiteral(" (") + Pats.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return Out;
}

tFileDialog PictureSaveDialog()
{
    tFileDialog D;
    D.Name = QStringLiteral("DlgSave");
    D.Filter = QStringLiteral("all supported files (*.png, *.bmp)|*.png;*.bmp|PNG files|*.png|BMP files|*.bmp|"
                              "all files|*.*");
    D.Save = true;
    D.PromptOverwrite = true;
    return D;
}

std::optional<std::string> AskPictureName(tFileDialog& Dialog, QWidget* Owner)
{
    const std::optional<QString> Chosen = ExecuteFileDialog(Dialog, Owner);
    if (!Chosen)
        return std::nullopt;
    return WithPictureExtension(Chosen->toStdString(), Dialog.FilterIndex);
}

std::optional<QString> ExecuteFileDialog(tFileDialog& Dialog, QWidget* Owner)
{
    if (Dialog.InitialDir.isEmpty() || !QFileInfo(Dialog.InitialDir).isDir())
        Dialog.InitialDir = QDir::homePath();
    QPointer<QWidget> Before = QApplication::activeWindow();
    QString Chosen;
    if (Runner)
        Chosen = Runner(Dialog);
    else {
        QFileDialog D(Owner);
        D.setObjectName(Dialog.Name);
        D.setAcceptMode(Dialog.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        D.setFileMode(Dialog.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!Dialog.PromptOverwrite)
            D.setOption(QFileDialog::DontConfirmOverwrite);
        QStringList F = QtNameFilters(Dialog.Filter);
        D.setNameFilters(F);
        if (Dialog.FilterIndex >= 1 && Dialog.FilterIndex <= F.size())
            D.selectNameFilter(F[Dialog.FilterIndex - 1]);
        D.setDirectory(Dialog.InitialDir);
        if (!Dialog.FileName.isEmpty())
            D.selectFile(Dialog.FileName);
        if (D.exec() == QDialog::Accepted && !D.selectedFiles().isEmpty()) {
            Chosen = D.selectedFiles().constFirst();
            Dialog.FilterIndex = static_cast<int>(F.indexOf(D.selectedNameFilter())) + 1;
        }
    }
    if (Before)
        Before->activateWindow();
    if (Chosen.isEmpty())
        return std::nullopt;
    if (Dialog.MustExist && !QFileInfo(Chosen).isFile())
        return std::nullopt;
    QFileInfo I(Chosen);
    Dialog.InitialDir = I.absolutePath();
    Dialog.FileName = I.fileName();
    return Chosen;
}

QString ChooseDirectory(const QString& Prompt, const QString& InitialDir, QWidget* Owner)
{
    return QFileDialog::getExistingDirectory(Owner, Prompt, InitialDir, QFileDialog::ShowDirsOnly);
}
