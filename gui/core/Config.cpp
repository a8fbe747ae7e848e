#include "core/Config.h"

#include <QAbstractButton>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>
#include <QWidget>

#include "core/ConfigStore.h"
#include "core/INI.h"
#include "core/SharedData.h"

QString ConfigFileName()
{
    return QString::fromStdString(ConfigFilePath());
}

void CfgSection(const QString& Name)
{
    ConfigStoreSection(Name.toStdString());
}

bool CfgReadString(const QString& Key, QString& Value)
{
    std::string V;
    if (!ConfigStoreRead(Key.toStdString(), V))
        return false;
    Value = QString::fromStdString(V);
    return true;
}

void CfgWriteString(const QString& Key, const QString& Value)
{
    ConfigStoreWrite(Key.toStdString(), Value.toStdString());
}

bool CfgReadBool(const QString& Key, bool& Value)
{
    return INI && INI->ReadBool(Key.toStdString(), Value);
}

void CfgWriteBool(const QString& Key, bool Value)
{
    if (INI)
        INI->WriteBool(Key.toStdString(), Value);
}

bool CfgReadInt(const QString& Key, int& Value)
{
    return INI && INI->ReadInteger(Key.toStdString(), Value);
}

void CfgWriteInt(const QString& Key, int Value)
{
    if (INI)
        INI->WriteInteger(Key.toStdString(), Value);
}

bool CfgReadColor(const QString& Key, uint32_t& Value)
{
    uint32_t V = 0;
    if (!INI || !INI->ReadColor(Key.toStdString(), V))
        return false;
    Value = V & 0xFFFFFF;
    return true;
}

void CfgWriteColor(const QString& Key, uint32_t Value)
{
    if (INI)
        INI->WriteColor(Key.toStdString(), Value);
}

bool CfgReadList(const QString& Key, QStringList& Items)
{
    std::vector<std::string> L;
    if (!ConfigStoreReadList(Key.toStdString(), L))
        return false;
    Items.clear();
    for (const std::string& S : L)
        Items << QString::fromStdString(S);
    return true;
}

void CfgWriteList(const QString& Key, const QStringList& Items)
{
    std::vector<std::string> L;
    for (const QString& S : Items)
        L.push_back(S.toStdString());
    ConfigStoreWriteList(Key.toStdString(), L);
}

bool CfgFileExisted()
{
    return ConfigStoreFileExisted();
}
void CfgClear()
{
    ConfigStoreClear();
}

bool CfgSaveToFile(const QString& FileName, QString& Error)
{
    tError E;
    const bool Ok = ConfigStoreSave(FileName.toStdString(), E);
    if (!Ok)
        Error = QString::fromStdString(E.Describe(FileName.toStdString()));
    return Ok;
}

bool ReadChecked(const QString& Name, bool& Value)
{
    return CfgReadBool(Name + QStringLiteral(".Checked"), Value);
}
void WriteChecked(const QString& Name, bool Value)
{
    CfgWriteBool(Name + QStringLiteral(".Checked"), Value);
}

bool ReadChecked(QAbstractButton* Control)
{
    bool V = false;
    if (!ReadChecked(Control->objectName(), V))
        return false;
    Control->setChecked(V);
    return true;
}

void WriteChecked(const QAbstractButton* Control)
{
    WriteChecked(Control->objectName(), Control->isChecked());
}

void ReadColumnWidths(QTableWidget* List)
{
    QStringList W;
    if (!CfgReadList(List->objectName() + QStringLiteral(".ColumnWidths"), W))
        return;
    for (int i = 0; i < W.size() && i < List->columnCount(); ++i) {
        bool Ok = false;
        int N = W[i].toInt(&Ok);
        // A width beyond any screen is a damaged entry, not a wish.
        if (Ok && N >= 0 && N <= 4096)
            List->setColumnWidth(i, N);
    }
}

void WriteColumnWidths(const QTableWidget* List)
{
    QStringList W;
    for (int i = 0; i < List->columnCount(); ++i)
        W << QString::number(List->columnWidth(i));
    CfgWriteList(List->objectName() + QStringLiteral(".ColumnWidths"), W);
}

void ReadFont(QFont& Font, const QString& Prefix)
{
    const QString P = Prefix + QStringLiteral("Font.");
    QString Name;
    if (CfgReadString(P + QStringLiteral("Name"), Name) && !Name.isEmpty())
        Font.setFamily(Name);
    int Size = 0;
    if (CfgReadInt(P + QStringLiteral("Size"), Size) && Size > 0 && Size <= 200)
        Font.setPointSize(Size);
    QStringList Style;
    if (CfgReadList(P + QStringLiteral("Style"), Style)) {
        Font.setBold(Style.contains(QStringLiteral("Bold")));
        Font.setItalic(Style.contains(QStringLiteral("Italic")));
        Font.setStrikeOut(Style.contains(QStringLiteral("Strikeout")));
        Font.setUnderline(Style.contains(QStringLiteral("Underline")));
    }
}

void WriteFont(const QFont& Font, const QString& Prefix)
{
    const QString P = Prefix + QStringLiteral("Font.");
    CfgWriteString(P + QStringLiteral("Name"), Font.family());
    CfgWriteInt(P + QStringLiteral("Size"), Font.pointSize());
    QStringList Style;
    if (Font.bold())
        Style << QStringLiteral("Bold");
    if (Font.italic())
        Style << QStringLiteral("Italic");
    if (Font.strikeOut())
        Style << QStringLiteral("Strikeout");
    if (Font.underline())
        Style << QStringLiteral("Underline");
    CfgWriteList(P + QStringLiteral("Style"), Style);
}

namespace
{
bool ReadPair(const QString& Key, int& A, int& B)
{
    QStringList L;
    if (!CfgReadList(Key, L) || L.size() < 2)
        return false;
    bool OkA = false, OkB = false;
    A = L[0].toInt(&OkA);
    B = L[1].toInt(&OkB);
    return OkA && OkB;
}
} // namespace

void ReadForm(QWidget* Window, bool CenterIfNew)
{
    int Left = 0, Top = 0, Width = 0, Height = 0;
    const bool HasPos = ReadPair(QStringLiteral("Pos"), Left, Top);
    const bool HasSize = ReadPair(QStringLiteral("Size"), Width, Height);
    // Sizes beyond any screen come from a damaged file; keep the design size.
    if (HasSize && Width > 0 && Height > 0 && Width <= 16384 && Height <= 16384)
        Window->resize(Width, Height);
    if (HasPos && Left > -16384 && Left < 16384 && Top > -16384 && Top < 16384)
        Window->move(Left, Top);
    else if (!HasSize && CenterIfNew) {
        if (QScreen* S = QGuiApplication::primaryScreen()) {
            QRect R = S->availableGeometry();
            Window->move(R.center() - QPoint(Window->width() / 2, Window->height() / 2));
        }
    }
    QFont F = Window->font();
    ReadFont(F, QString());
    Window->setFont(F);
}

void WriteForm(const QWidget* Window)
{
    // A maximised window keeps its restore placement.
    QRect R = Window->isMaximized() ? Window->normalGeometry() : Window->geometry();
    if (!R.isValid())
        R = Window->geometry();
    CfgWriteList(QStringLiteral("Pos"), {QString::number(R.left()), QString::number(R.top())});
    CfgWriteList(QStringLiteral("Size"), {QString::number(R.width()), QString::number(R.height())});
    WriteFont(Window->font(), QString());
}
