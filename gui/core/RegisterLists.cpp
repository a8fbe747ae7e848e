#include "gui/core/RegisterLists.h"

#include <QFontMetrics>
#include <QTableWidget>

#include <algorithm>
#include <utility>

#include "app/RegisterTabs.h"
#include "core/Messages.h"
#include "core/Options.h"

namespace
{
enum tColumn { ColAddress, ColType, ColBits, ColBin, ColHex, ColDec, ColName, ColComment, ColumnCount };

QTableWidgetItem* Item(const std::string& Text, bool Right)
{
    auto* I = new QTableWidgetItem(QString::fromStdString(Text));
    if (Right)
        I->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return I;
}

// Room beside the text in a cell, and the widest a column is made on its
// own (a longer text is shown cut rather than pushing the comments away).
constexpr int CellMargin = 16;
constexpr int MaxFittedWidth = 360;

// The address and name columns made wide enough for the tab's longest
// texts: the Snes9x tab's ("PPU:07BC", "SOU.Channel[3].EnvX") are longer
// than the other tabs'. A column the user made wider stays.
void FitColumns(QTableWidget* List, const std::vector<tRegisterRow>& Rows)
{
    const QFontMetrics Metrics(List->font());
    int Address = 0, Name = 0;
    for (const tRegisterRow& R : Rows) {
        Address = std::max(Address, Metrics.horizontalAdvance(QString::fromStdString(R.Caption)));
        Name = std::max(Name, Metrics.horizontalAdvance(QString::fromStdString(R.Name)));
    }
    for (const auto& [Column, Widest] : {std::pair{ColAddress, Address}, std::pair{ColName, Name}}) {
        const int Want = std::min(Widest + CellMargin, MaxFittedWidth);
        if (List->columnWidth(Column) < Want)
            List->setColumnWidth(Column, Want);
    }
}

void SetText(QTableWidget* List, int Row, int Col, const std::string& Text)
{
    QTableWidgetItem* I = List->item(Row, Col);
    const QString T = QString::fromStdString(Text);
    if (I && I->text() != T)
        I->setText(T);
}
} // namespace

void LoadRegisterFile()
{
    tError Error;
    if (!RegisterTabs().Load(Error))
        Messages().Error(Error.Describe(RegisterFilePath()));
}

void InvalidateRegisterTabs()
{
    RegisterTabs().Invalidate();
}

void ShowRegisterTab(int Page, QTableWidget* List, bool Busy)
{
    tRegisterTabs& T = RegisterTabs();
    if (Page < 0 || Page >= RegisterPageCount)
        return;
    T.CurrentPage = Page;
    T.Busy = Busy;
    T.FillTab(Page, CurrentRegisterSources(), Options().CBox_MainUpdating);
    const std::vector<tRegisterRow>& Rows = T.Tabs[static_cast<size_t>(Page)].Rows;
    const int Count = static_cast<int>(Rows.size());
    if (List->rowCount() != Count) {
        List->setRowCount(Count);
        for (int r = 0; r < Count; ++r) {
            const tRegisterRow& R = Rows[static_cast<size_t>(r)];
            const std::string Texts[ColumnCount] = {R.Caption, R.Type, R.Bits, R.Bin, R.Hex, R.Dec, R.Name, R.Comment};
            for (int c = 0; c < ColumnCount; ++c)
                List->setItem(r, c, Item(Texts[c], c >= ColBits && c <= ColDec));
        }
        FitColumns(List, Rows);
        if (Count > 0)
            List->setCurrentCell(0, 0);
        return;
    }
    for (int r = 0; r < Count; ++r) {
        const tRegisterRow& R = Rows[static_cast<size_t>(r)];
        if (R.IsText) {
            // A comment row may tell how the values stand (S9XSnpHead).
            SetText(List, r, ColComment, R.Comment);
            continue;
        }
        // The ZSNES tab's address column shows the file offset, set by the fill.
        SetText(List, r, ColAddress, R.Caption);
        SetText(List, r, ColBin, R.Bin);
        SetText(List, r, ColHex, R.Hex);
        SetText(List, r, ColDec, R.Dec);
    }
}
