// The scene viewer's pages of decoded data: HDMA tables, the offset-per-tile
// table and the register information. The lists come from the core; these
// functions only put them into the controls.

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "cart/SNESCart.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "gui/core/Widgets.h"
#include "gui/render/Form_Scene.h"
#include "render/HDMATable.h"
#include "render/InfoLists.h"
#include "render/OffsetPerTile.h"
#include "render/PPU.h"

void tForm_Scene::CreateHDMAPage(QWidget* Page)
{
    auto* L = new QVBoxLayout(Page);
    QStringList Channels;
    for (int i = 0; i < 8; ++i)
        Channels << QStringLiteral("chn &%1").arg(i);
    TC_HDMA = MakeTabBar(Page, QStringLiteral("TC_HDMA"), Channels);
    L->addWidget(TC_HDMA);
    auto* Row = new QHBoxLayout;
    LV_HDMA = MakeTable(Page, QStringLiteral("LV_HDMA"),
                        {QStringLiteral("#"), QStringLiteral("source"), QStringLiteral("dest"), QStringLiteral("bin"),
                         QStringLiteral("hex"), QStringLiteral("dec"), QStringLiteral("comment")});
    const int Digit = LV_HDMA->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    int Column = 0;
    for (int Digits : {5, 9, 7, 10, 4, 5})
        LV_HDMA->setColumnWidth(Column++, Digits * Digit + 12);
    Row->addWidget(LV_HDMA, 1);
    auto* Right = new QVBoxLayout;
    LV_ChnInfo = MakeTable(Page, QStringLiteral("LV_ChnInfo"), {QStringLiteral("name"), QStringLiteral("value")});
    LV_ChnInfo->horizontalHeader()->hide();
    LV_ChnInfo->setFixedWidth(230);
    LV_ChnInfo->setColumnWidth(0, 110);
    Right->addWidget(LV_ChnInfo, 1);
    CBox_Active = new QCheckBox(QStringLiteral("show &active channels"), Page);
    CBox_Active->setObjectName(QStringLiteral("CBox_Active"));
    CBox_Active->setChecked(true);
    CBox_Inactive = new QCheckBox(QStringLiteral("show inactive &channels"), Page);
    CBox_Inactive->setObjectName(QStringLiteral("CBox_Inactive"));
    Right->addWidget(CBox_Active);
    Right->addWidget(CBox_Inactive);
    Row->addLayout(Right);
    L->addLayout(Row, 1);
    connect(TC_HDMA, &QTabBar::currentChanged, this, [this] { UserChanged(tScenePage::HDMA); });
    for (QCheckBox* C : {CBox_Active, CBox_Inactive})
        connect(C, &QCheckBox::toggled, this, [this] {
            if (!Filling_)
                UserChanged(tScenePage::HDMA);
        });
}

void tForm_Scene::RefreshHDMA()
{
    const bool Spaces = Options().CBox_SceneSpaces;
    for (int i = 0; i < 8; ++i)
        if (const QString C = QString::fromStdString(HDMATabCaption(*SNES, i)); TC_HDMA->tabText(i) != C)
            TC_HDMA->setTabText(i, C);
    const int Channel = TC_HDMA->currentIndex();
    std::vector<tNameValue> Info = HDMAChannelInfo(*SNES, Channel, Spaces);
    Info.push_back({"lines replayed", HDMALinesReplayed(PPU->HDMA, Channel)});
    LV_ChnInfo->setRowCount(static_cast<int>(Info.size()));
    for (int r = 0; r < static_cast<int>(Info.size()); ++r) {
        SetCell(LV_ChnInfo, r, 0, Info[static_cast<size_t>(r)].Name);
        SetCell(LV_ChnInfo, r, 1, Info[static_cast<size_t>(r)].Value);
    }
    const tHDMAListing Lines = HDMALines(*SNES, Cart ? Cart->ROMView() : tROMView{}, Channel, CBox_Active->isChecked(),
                                         CBox_Inactive->isChecked());
    LV_HDMA->setUpdatesEnabled(false);
    LV_HDMA->clearSpans();
    if (!Lines.Message.empty()) {
        // The message takes the whole row.
        LV_HDMA->setRowCount(1);
        SetCell(LV_HDMA, 0, 0, Lines.Message);
        LV_HDMA->setSpan(0, 0, 1, 7);
    } else {
        LV_HDMA->setRowCount(static_cast<int>(Lines.Rows.size()));
        for (int r = 0; r < static_cast<int>(Lines.Rows.size()); ++r) {
            const tHDMARow& H = Lines.Rows[static_cast<size_t>(r)];
            int c = 0;
            for (const std::string* T : {&H.Line, &H.Source, &H.Dest, &H.Bin, &H.Hex, &H.Dec, &H.Comment})
                SetCell(LV_HDMA, r, c++, *T);
        }
    }
    LV_HDMA->setUpdatesEnabled(true);
}

void tForm_Scene::CreateOffsetPage(QWidget* Page)
{
    auto* L = new QVBoxLayout(Page);
    auto* Row = new QHBoxLayout;
    TC_OffsBG = MakeTabBar(Page, QStringLiteral("TC_OffsBG"), {QStringLiteral("bg&1"), QStringLiteral("bg&2")});
    TC_OffsDim = MakeTabBar(Page, QStringLiteral("TC_OffsDim"), {QStringLiteral("&X"), QStringLiteral("&Y")});
    Row->addWidget(TC_OffsBG);
    Row->addWidget(TC_OffsDim);
    Row->addStretch(1);
    L->addLayout(Row);
    StringGrid = new QTableWidget(32, 32, Page);
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    QStringList Headers;
    for (int i = 0; i < 32; ++i)
        Headers << QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
    StringGrid->setHorizontalHeaderLabels(Headers);
    StringGrid->setVerticalHeaderLabels(Headers);
    StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid->horizontalHeader()->setDefaultSectionSize(
        StringGrid->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 6);
    StringGrid->verticalHeader()->setDefaultSectionSize(StringGrid->fontMetrics().height() + 4);
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c)
            StringGrid->setItem(r, c, new QTableWidgetItem);
    L->addWidget(StringGrid, 1);
    for (QTabBar* T : {TC_OffsBG, TC_OffsDim})
        connect(T, &QTabBar::currentChanged, this, [this] { UserChanged(tScenePage::Offsets); });
}

void tForm_Scene::RefreshOffsetGrid()
{
    const tOffsetGrid G = BuildOffsetGrid(*SNES, *PPU, TC_OffsBG->currentIndex() == 1, TC_OffsDim->currentIndex() == 1);
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c)
            SetCell(StringGrid, r, c, G.Cells[static_cast<size_t>(r)][static_cast<size_t>(c)]);
    const QList<QTableWidgetSelectionRange> Was = StringGrid->selectedRanges();
    const int Selected = Was.isEmpty() ? 0 : Was.first().topRow() + 1;
    if (Selected != G.SelectedRow) {
        StringGrid->clearSelection();
        if (G.SelectedRow > 0)
            StringGrid->selectRow(G.SelectedRow - 1);
    }
}

void tForm_Scene::CreateInfoPage(QWidget* Page)
{
    auto* L = new QGridLayout(Page);
    static const char* const Names[] = {"LV_InfoScreen", "LV_InfoOBJ", "LV_InfoBGs",
                                        "LV_InfoWnds",   "LV_InfoM7",  "LV_InfoMath"};
    static const char* const Captions[] = {"screen",       "OBJ (sprites)", "backgrounds",
                                           "windows 1, 2", "Mode7",         "color math"};
    const QStringList Layers = {QStringLiteral("BG1"), QStringLiteral("BG2"), QStringLiteral("BG3"),
                                QStringLiteral("BG4")};
    for (int i = 0; i < 6; ++i) {
        auto* G = new QGroupBox(QString::fromLatin1(Captions[i]), Page);
        auto* GL = new QVBoxLayout(G);
        QStringList Columns = {QString()};
        if (i == 2)
            Columns << Layers;
        else if (i == 3)
            Columns << Layers << QStringLiteral("OBJ") << QStringLiteral("color window");
        else
            Columns << QString();
        auto* List = MakeTable(G, QString::fromLatin1(Names[i]), Columns);
        List->setSelectionMode(QAbstractItemView::NoSelection);
        // Name and value need no header; the layer lists keep theirs.
        if (Columns.size() == 2)
            List->horizontalHeader()->hide();
        else
            List->horizontalHeader()->setDefaultSectionSize(
                List->fontMetrics().horizontalAdvance(QStringLiteral("1024 x 1024")));
        InfoLists[static_cast<size_t>(i)] = List;
        GL->addWidget(List);
        L->addWidget(G, i < 2 ? 0 : i < 4 ? 1 : 2, i % 2);
    }
}

void tForm_Scene::RefreshInfo()
{
    const std::array<tInfoList, 6> Lists = BuildInfoLists(*PPU, Options().CBox_SceneSpaces);
    for (size_t i = 0; i < 6; ++i) {
        QTableWidget* L = InfoLists[i];
        const tInfoList& Src = Lists[i];
        const bool Fill = L->rowCount() != static_cast<int>(Src.Rows.size());
        L->setRowCount(static_cast<int>(Src.Rows.size()));
        for (int r = 0; r < static_cast<int>(Src.Rows.size()); ++r) {
            const tInfoRow& Row = Src.Rows[static_cast<size_t>(r)];
            SetCell(L, r, 0, Row.Caption);
            for (int c = 0; c + 1 < L->columnCount(); ++c)
                SetCell(L, r, c + 1,
                        static_cast<size_t>(c) < Row.Values.size() ? Row.Values[static_cast<size_t>(c)] : "");
        }
        // The captions stay from state to state: measured once.
        if (Fill)
            L->resizeColumnToContents(0);
    }
}
