#pragma once
// A window's section of the configuration file "Orlik.ini". A window reads
// and writes its settings through one of these, named after the window:
//     tSettings Section("Form_Scene");
//     Section.Read("Zoom", Zoom, -3, 3);
// Every read leaves the value as it was (the window's default) when the key
// is missing, malformed or out of its bounds, so a hand-edited file cannot put
// a window into a state it was never designed for. Keys of controls are the
// control's name plus a suffix (".Checked", ".ColumnWidths").

#include <cstdint>
#include <string>

#include <QString>
#include <QStringList>

class QFont;
class QTableWidget;
class QWidget;
struct tFileDialog;

class tSettings
{
  public:
    explicit tSettings(const QString& Section) : Section_(Section.toStdString()) {}
    QString Name() const { return QString::fromStdString(Section_); }

    bool Read(const QString& Key, int& Value, int Min, int Max) const;
    // True only for the exact text "True".
    bool Read(const QString& Key, bool& Value) const;
    bool Read(const QString& Key, QString& Value) const;
    bool Read(const QString& Key, QStringList& Items) const;
    // Colours are 0x00RRGGBB, stored as eight hexadecimal digits.
    bool ReadColor(const QString& Key, uint32_t& Value) const;

    void Write(const QString& Key, int Value);
    void Write(const QString& Key, bool Value);
    void Write(const QString& Key, const QString& Value);
    void Write(const QString& Key, const QStringList& Items);
    // A string literal would otherwise quietly become a bool.
    void Write(const QString& Key, const char* Value) = delete;
    void WriteColor(const QString& Key, uint32_t Value);

    // Name + ".Checked".
    bool ReadChecked(const QString& Name, bool& Value) const { return Read(Name + QStringLiteral(".Checked"), Value); }
    void WriteChecked(const QString& Name, bool Value) { Write(Name + QStringLiteral(".Checked"), Value); }
    // Name + ".FileName", ".InitialDir", ".FilterIndex".
    void ReadDialog(tFileDialog& Dialog) const;
    void WriteDialog(const tFileDialog& Dialog);
    // The list's name + ".ColumnWidths"; a damaged width leaves its column alone.
    void ReadColumnWidths(QTableWidget* List) const;
    void WriteColumnWidths(const QTableWidget* List);
    // Prefix + "Font.Name", "Font.Size", "Font.Style".
    void ReadFont(QFont& Font, const QString& Prefix) const;
    void WriteFont(const QFont& Font, const QString& Prefix);
    // "Pos", "Size" and the window font. A window without a stored size is
    // centred on the screen when CenterIfNew is set.
    void ReadForm(QWidget* Window, bool CenterIfNew) const;
    void WriteForm(const QWidget* Window);

  private:
    std::string Section_;
};

// The configuration as a whole. Where "Orlik.ini" lives: beside the program
// when that folder is writable, else in the user's configuration folder.
QString ConfigFileName();
bool ConfigFileExisted();
void ClearConfig();
bool SaveConfigFile(const QString& FileName, QString& Error);
