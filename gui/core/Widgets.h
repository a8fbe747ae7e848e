#pragma once
// The read-only lists and tab bars the tool windows are built from, made the
// same way everywhere: whole rows selected, one at a time, compact rows.

#include <functional>
#include <string>

#include <QString>
#include <QStringList>

class QSpinBox;
class QTabBar;
class QTableWidget;
class QWidget;

QTableWidget* MakeTable(QWidget* Parent, const QString& Name, const QStringList& Columns);

// Puts Text into a cell, touching the list only when the text changes: a new
// state leaves most cells as they were, and each change costs the list a
// round of updates.
void SetCell(QTableWidget* L, int Row, int Column, const QString& Text);
void SetCell(QTableWidget* L, int Row, int Column, const std::string& Text);

// A tab bar used as a switch above a page: tabs as wide as their captions.
QTabBar* MakeTabBar(QWidget* Parent, const QString& Name, const QStringList& Captions);

// An up-down that is only a pair of arrows: each click goes back to 0 and
// calls Step with +1 (up) or -1 (down).
QSpinBox* MakeArrows(QWidget* Parent, const QString& Name, std::function<void(int)> Step);
