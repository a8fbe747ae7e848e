#include "gui/core/Widgets.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>

QTableWidget* MakeTable(QWidget* Parent, const QString& Name, const QStringList& Columns)
{
    auto* L = new QTableWidget(0, static_cast<int>(Columns.size()), Parent);
    L->setObjectName(Name);
    L->setHorizontalHeaderLabels(Columns);
    L->verticalHeader()->hide();
    L->verticalHeader()->setDefaultSectionSize(L->fontMetrics().height() + 4);
    L->setEditTriggers(QAbstractItemView::NoEditTriggers);
    L->setSelectionBehavior(QAbstractItemView::SelectRows);
    L->setSelectionMode(QAbstractItemView::SingleSelection);
    L->horizontalHeader()->setStretchLastSection(true);
    return L;
}

void SetCell(QTableWidget* L, int Row, int Column, const QString& Text)
{
    if (QTableWidgetItem* I = L->item(Row, Column)) {
        if (I->text() != Text)
            I->setText(Text);
    } else
        L->setItem(Row, Column, new QTableWidgetItem(Text));
}

void SetCell(QTableWidget* L, int Row, int Column, const std::string& Text)
{
    SetCell(L, Row, Column, QString::fromStdString(Text));
}

QTabBar* MakeTabBar(QWidget* Parent, const QString& Name, const QStringList& Captions)
{
    auto* T = new QTabBar(Parent);
    T->setObjectName(Name);
    for (const QString& C : Captions)
        T->addTab(C);
    T->setExpanding(false);
    T->setDrawBase(false);
    return T;
}

QSpinBox* MakeArrows(QWidget* Parent, const QString& Name, std::function<void(int)> Step)
{
    auto* U = new QSpinBox(Parent);
    U->setObjectName(Name);
    U->setRange(-1, 1);
    U->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    U->setFixedWidth(22);
    // The value means nothing to the user: only the arrows show.
    if (auto* Text = U->findChild<QLineEdit*>())
        Text->hide();
    QObject::connect(U, &QSpinBox::valueChanged, U, [U, Step = std::move(Step)](int V) {
        if (V == 0)
            return;
        {
            const QSignalBlocker Block(U);
            U->setValue(0);
        }
        Step(V);
    });
    return U;
}
