#include "gui/core/Settings.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QTableWidget>
#include <QWidget>

#include "core/INI.h"
#include "gui/core/FileDialog.h"

namespace
{
// Bounds for what a damaged or hand-edited file may say.
constexpr int MaxColumnWidth = 4096; // wider than any screen
constexpr int MaxWindowExtent = 16384;
constexpr int MaxFontSize = 200;
constexpr int MaxFilterIndex = 64; // the dialogs have a handful of filters

// The section is chosen on every access: another window may have chosen its
// own since this object was made.
tINI* Select(const std::string& Section)
{
    if (INI)
        INI->SetSection(Section);
    return INI;
}

bool ReadPair(const tSettings& S, const QString& Key, int& A, int& B, int Min, int Max)
{
    QStringList L;
    if (!S.Read(Key, L) || L.size() != 2)
        return false;
    bool OkA = false, OkB = false;
    const int X = L[0].toInt(&OkA), Y = L[1].toInt(&OkB);
    if (!OkA || !OkB || X < Min || X > Max || Y < Min || Y > Max)
        return false;
    A = X;
    B = Y;
    return true;
}
} // namespace

bool tSettings::Read(const QString& Key, int& Value, int Min, int Max) const
{
    int V = 0;
    tINI* Ini = Select(Section_);
    if (!Ini || !Ini->ReadInteger(Key.toStdString(), V) || V < Min || V > Max)
        return false;
    Value = V;
    return true;
}

bool tSettings::Read(const QString& Key, bool& Value) const
{
    tINI* Ini = Select(Section_);
    return Ini && Ini->ReadBool(Key.toStdString(), Value);
}

bool tSettings::Read(const QString& Key, QString& Value) const
{
    std::string V;
    tINI* Ini = Select(Section_);
    if (!Ini || !Ini->ReadString(Key.toStdString(), V))
        return false;
    Value = QString::fromStdString(V);
    return true;
}

bool tSettings::Read(const QString& Key, QStringList& Items) const
{
    tStringList L;
    tINI* Ini = Select(Section_);
    if (!Ini || !Ini->ReadList(Key.toStdString(), L))
        return false;
    Items.clear();
    for (const std::string& S : L)
        Items << QString::fromStdString(S);
    return true;
}

bool tSettings::ReadColor(const QString& Key, uint32_t& Value) const
{
    uint32_t V = 0;
    tINI* Ini = Select(Section_);
    if (!Ini || !Ini->ReadColor(Key.toStdString(), V))
        return false;
    Value = V & 0xFFFFFF;
    return true;
}

void tSettings::Write(const QString& Key, int Value)
{
    if (tINI* Ini = Select(Section_))
        Ini->WriteInteger(Key.toStdString(), Value);
}

void tSettings::Write(const QString& Key, bool Value)
{
    if (tINI* Ini = Select(Section_))
        Ini->WriteBool(Key.toStdString(), Value);
}

void tSettings::Write(const QString& Key, const QString& Value)
{
    if (tINI* Ini = Select(Section_))
        Ini->WriteString(Key.toStdString(), Value.toStdString());
}

void tSettings::Write(const QString& Key, const QStringList& Items)
{
    tStringList L;
    for (const QString& S : Items)
        L.push_back(S.toStdString());
    if (tINI* Ini = Select(Section_))
        Ini->WriteList(Key.toStdString(), L);
}

void tSettings::WriteColor(const QString& Key, uint32_t Value)
{
    if (tINI* Ini = Select(Section_))
        Ini->WriteColor(Key.toStdString(), Value);
}

void tSettings::ReadDialog(tFileDialog& Dialog) const
{
    Read(Dialog.Name + QStringLiteral(".FileName"), Dialog.FileName);
    Read(Dialog.Name + QStringLiteral(".InitialDir"), Dialog.InitialDir);
    Read(Dialog.Name + QStringLiteral(".FilterIndex"), Dialog.FilterIndex, 1, MaxFilterIndex);
}

void tSettings::WriteDialog(const tFileDialog& Dialog)
{
    Write(Dialog.Name + QStringLiteral(".FileName"), Dialog.FileName);
    Write(Dialog.Name + QStringLiteral(".InitialDir"), Dialog.InitialDir);
    Write(Dialog.Name + QStringLiteral(".FilterIndex"), Dialog.FilterIndex);
}

void tSettings::ReadColumnWidths(QTableWidget* List) const
{
    QStringList W;
    if (!Read(List->objectName() + QStringLiteral(".ColumnWidths"), W))
        return;
    for (int i = 0; i < W.size() && i < List->columnCount(); ++i) {
        bool Ok = false;
        const int N = W[i].toInt(&Ok);
        if (Ok && N >= 0 && N <= MaxColumnWidth)
            List->setColumnWidth(i, N);
    }
}

void tSettings::WriteColumnWidths(const QTableWidget* List)
{
    QStringList W;
    for (int i = 0; i < List->columnCount(); ++i)
        W << QString::number(List->columnWidth(i));
    Write(List->objectName() + QStringLiteral(".ColumnWidths"), W);
}

void tSettings::ReadFont(QFont& Font, const QString& Prefix) const
{
    const QString P = Prefix + QStringLiteral("Font.");
    QString Name;
    if (Read(P + QStringLiteral("Name"), Name) && !Name.isEmpty())
        Font.setFamily(Name);
    int Size = 0;
    if (Read(P + QStringLiteral("Size"), Size, 1, MaxFontSize))
        Font.setPointSize(Size);
    QStringList Style;
    if (Read(P + QStringLiteral("Style"), Style)) {
        Font.setBold(Style.contains(QStringLiteral("Bold")));
        Font.setItalic(Style.contains(QStringLiteral("Italic")));
        Font.setStrikeOut(Style.contains(QStringLiteral("Strikeout")));
        Font.setUnderline(Style.contains(QStringLiteral("Underline")));
    }
}

void tSettings::WriteFont(const QFont& Font, const QString& Prefix)
{
    const QString P = Prefix + QStringLiteral("Font.");
    Write(P + QStringLiteral("Name"), Font.family());
    Write(P + QStringLiteral("Size"), Font.pointSize());
    QStringList Style;
    if (Font.bold())
        Style << QStringLiteral("Bold");
    if (Font.italic())
        Style << QStringLiteral("Italic");
    if (Font.strikeOut())
        Style << QStringLiteral("Strikeout");
    if (Font.underline())
        Style << QStringLiteral("Underline");
    Write(P + QStringLiteral("Style"), Style);
}

void tSettings::ReadForm(QWidget* Window, bool CenterIfNew) const
{
    int Left = 0, Top = 0, Width = 0, Height = 0;
    const bool HasPos = ReadPair(*this, QStringLiteral("Pos"), Left, Top, 1 - MaxWindowExtent, MaxWindowExtent - 1);
    const bool HasSize = ReadPair(*this, QStringLiteral("Size"), Width, Height, 1, MaxWindowExtent);
    if (HasSize)
        Window->resize(Width, Height);
    if (HasPos)
        Window->move(Left, Top);
    else if (!HasSize && CenterIfNew) {
        if (QScreen* S = QGuiApplication::primaryScreen()) {
            const QRect R = S->availableGeometry();
            Window->move(R.center() - QPoint(Window->width() / 2, Window->height() / 2));
        }
    }
    QFont F = Window->font();
    ReadFont(F, QString());
    Window->setFont(F);
}

void tSettings::WriteForm(const QWidget* Window)
{
    // A maximised window keeps its restore placement.
    QRect R = Window->isMaximized() ? Window->normalGeometry() : Window->geometry();
    if (!R.isValid())
        R = Window->geometry();
    Write(QStringLiteral("Pos"), QStringList{QString::number(R.left()), QString::number(R.top())});
    Write(QStringLiteral("Size"), QStringList{QString::number(R.width()), QString::number(R.height())});
    WriteFont(Window->font(), QString());
}

QString ConfigFileName()
{
    return QString::fromStdString(ConfigFilePath());
}

bool ConfigFileExisted()
{
    return INI && INI->FileExisted;
}

void ClearConfig()
{
    if (INI)
        INI->Clear();
}

bool SaveConfigFile(const QString& FileName, QString& Error)
{
    if (!INI) {
        Error = QStringLiteral("no configuration");
        return false;
    }
    tError E;
    const bool Ok = INI->SaveToFile(FileName.toStdString(), E);
    Error = QString::fromStdString(E.Reason);
    return Ok;
}
