#pragma once
// A recent-file menu: up to eight files, newest first, each captioned "&" +
// its index as one hexadecimal digit + " " + the file name, followed by a
// separator and "&clear list". The newest item is checked. Items carry a
// picture drawn by the menu style.

#include <functional>

#include <QImage>
#include <QObject>
#include <QStringList>

class QAction;
class QMenu;

class tRecentMenu : public QObject
{
    Q_OBJECT
  public:
    static constexpr int MaxFiles = 8;

    tRecentMenu(QMenu* Menu, const QString& ClearName);

    QMenu* Menu() const { return Menu_; }
    QAction* ClearItem() const { return Clear_; }
    QList<QAction*> FileItems() const;
    QStringList FileNames() const; // newest first
    static QString FileNameOf(const QAction* Item);

    // Puts FileName at the top (moving it when it is already listed) and
    // drops the ninth file.
    QAction* AddRecent(const QString& FileName);
    void RenumberRecent();
    void Remove(QAction* Item);
    // Deletes every file item.
    void ClearFiles();
    // Sets every file item's picture anew.
    void RefreshPictures();

    // Gives the picture of a file's item (a null image for none).
    std::function<QImage(const QString&)> Picture;

  signals:
    void FileClicked(QAction* Item, const QString& FileName);
    void ClearClicked();

  private:
    QMenu* Menu_;
    QAction* Separator_;
    QAction* Clear_;
};
