#pragma once
// The windows' side of the configuration file: typed reads and writes of the
// current section, and the component helpers every window uses for its
// settings (position and size, check boxes, dialogs, column widths, fonts).
// Keys are the component's name plus a suffix (".Checked", ".ColumnWidths").

#include <cstdint>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

class QAbstractButton;
class QFont;
class QTableWidget;
class QWidget;

// Where "Orlik.ini" lives: beside the program when that folder is writable,
// else in the user's configuration folder.
QString ConfigFileName();

void CfgSection(const QString& Name);
bool CfgReadString(const QString& Key, QString& Value);
void CfgWriteString(const QString& Key, const QString& Value);
bool CfgReadBool(const QString& Key, bool& Value);
void CfgWriteBool(const QString& Key, bool Value);
// A malformed number reads as missing: the window keeps its default rather
// than taking a garbage value.
bool CfgReadInt(const QString& Key, int& Value);
void CfgWriteInt(const QString& Key, int Value);
// Colours are 0x00RRGGBB, stored as eight hexadecimal digits.
bool CfgReadColor(const QString& Key, uint32_t& Value);
void CfgWriteColor(const QString& Key, uint32_t Value);
bool CfgReadList(const QString& Key, QStringList& Items);
void CfgWriteList(const QString& Key, const QStringList& Items);

// The configuration object as a whole.
bool CfgFileExisted();
void CfgClear();
bool CfgSaveToFile(const QString& FileName, QString& Error);

// Component helpers on the current section.
bool ReadChecked(QAbstractButton* Control);
void WriteChecked(const QAbstractButton* Control);
bool ReadChecked(const QString& Name, bool& Value);
void WriteChecked(const QString& Name, bool Value);
void ReadColumnWidths(QTableWidget* List);
void WriteColumnWidths(const QTableWidget* List);
void ReadFont(QFont& Font, const QString& Prefix);
void WriteFont(const QFont& Font, const QString& Prefix);
// Position, size and font of the window whose name is the current section.
// A window without a stored size is centred when CenterIfNew is set.
void ReadForm(QWidget* Window, bool CenterIfNew);
void WriteForm(const QWidget* Window);
