#pragma once
// The program's standard open and save dialogs. Every dialog remembers where
// it was last used (folder, file name, filter) and hands back the file chosen.

#include <functional>
#include <optional>
#include <string>

#include <QString>

class QWidget;

struct tFileDialog {
    QString Name;   // component name, the prefix of its configuration keys
    QString Filter; // "description|patterns|description|patterns...", patterns separated by ';'
    QString FileName;
    QString InitialDir;
    int FilterIndex = 1; // 1-based, as stored
    bool Save = false;
    bool MustExist = false; // open dialogs: the file must exist
    bool PromptOverwrite = false;
};

// The save dialog of the windows that write pictures as PNG or BMP.
tFileDialog PictureSaveDialog();

// Runs a picture save dialog: the chosen name, given the extension of the
// chosen filter when it has none, or nothing when the user cancelled.
[[nodiscard]] std::optional<std::string> AskPictureName(tFileDialog& Dialog, QWidget* Owner);

// Runs the dialog: the full name of the chosen file, or nothing when the user
// cancelled (or an open dialog's file does not exist). After a choice the
// dialog opens next time in that file's folder with its name preset. A
// missing initial folder becomes the user's home folder.
[[nodiscard]] std::optional<QString> ExecuteFileDialog(tFileDialog& Dialog, QWidget* Owner = nullptr);

// Tests answer dialogs through a runner instead of a real modal dialog: it
// gets the prepared dialog and returns the chosen file ("" for cancel).
using tFileDialogRunner = std::function<QString(const tFileDialog&)>;
void SetFileDialogRunner(tFileDialogRunner Runner);

// The folder chooser: the chosen folder, or "" when cancelled.
QString ChooseDirectory(const QString& Prompt, const QString& InitialDir, QWidget* Owner);

// The filter in the form Qt's dialog expects, one entry per description,
// patterns separated by blanks (with upper- and lower-case variants, since
// files come from case-insensitive systems).
QStringList QtNameFilters(const QString& Filter);
