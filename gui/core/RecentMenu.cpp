#include "gui/core/RecentMenu.h"

#include <QAction>
#include <QMenu>

#include "gui/core/MenuStyle.h"

tRecentMenu::tRecentMenu(QMenu* Menu, const QString& ClearName) : QObject(Menu), Menu_(Menu)
{
    Separator_ = Menu_->addSeparator();
    Clear_ = Menu_->addAction(QStringLiteral("&clear list"));
    Clear_->setObjectName(ClearName);
    Clear_->setEnabled(false);
    SetMenuItemKind(Clear_, tMenuItemKind::RecentClear);
    connect(Clear_, &QAction::triggered, this, &tRecentMenu::ClearClicked);
}

QList<QAction*> tRecentMenu::FileItems() const
{
    QList<QAction*> Items = Menu_->actions();
    Items.removeAll(Separator_);
    Items.removeAll(Clear_);
    return Items;
}

QStringList tRecentMenu::FileNames() const
{
    QStringList Names;
    for (QAction* A : FileItems())
        Names << FileNameOf(A);
    return Names;
}

QString tRecentMenu::FileNameOf(const QAction* Item)
{
    return Item->text().mid(3);
}

QAction* tRecentMenu::AddRecent(const QString& FileName)
{
    QList<QAction*> Items = FileItems();
    if (!Items.isEmpty())
        Items.front()->setChecked(false);
    for (QAction* A : Items)
        if (FileNameOf(A) == FileName)
            Remove(A);
    auto* Item = new QAction(QStringLiteral("   ") + FileName, Menu_);
    Item->setCheckable(true);
    Item->setChecked(true);
    SetMenuItemKind(Item, tMenuItemKind::RecentFile);
    connect(Item, &QAction::triggered, this, [this, Item] { emit FileClicked(Item, FileNameOf(Item)); });
    QList<QAction*> All = Menu_->actions();
    Menu_->insertAction(All.isEmpty() ? nullptr : All.front(), Item);
    Items = FileItems();
    while (Items.size() > MaxFiles) {
        Remove(Items.back());
        Items.removeLast();
    }
    Clear_->setEnabled(true);
    RefreshPictures();
    RenumberRecent();
    return Item;
}

void tRecentMenu::RenumberRecent()
{
    int Index = 0;
    for (QAction* A : FileItems()) {
        A->setText(QLatin1Char('&') + QString::number(Index, 16).toUpper() + QLatin1Char(' ') + FileNameOf(A));
        ++Index;
    }
}

void tRecentMenu::Remove(QAction* Item)
{
    Menu_->removeAction(Item);
    Item->deleteLater();
}

void tRecentMenu::ClearFiles()
{
    for (QAction* A : FileItems())
        Remove(A);
    Clear_->setEnabled(false);
}

void tRecentMenu::RefreshPictures()
{
    for (QAction* A : FileItems())
        SetMenuItemPicture(A, Picture ? Picture(FileNameOf(A)) : QImage());
}
