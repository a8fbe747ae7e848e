#pragma once
// What the SPC editor works on, apart from its widgets: the ID666 values the
// user types (kept across refreshes of the sound part), the version byte, and
// the extended tags read and written as the value their page shows. The
// editor window and the command-line tool both save through it, so the same
// state and the same tags give the same file.

#include <cstdint>
#include <string>

#include "core/Error.h"
#include "sound/SPC.h"

// The page an extended tag is shown on, chosen by its ID.
enum class tExtTagPage { Bits, Byte, Word, Integer, Text, Date, Track, Emulator, Unknown };
tExtTagPage ExtTagPage(uint8_t ID);
// The length tags (30h-33h) count 1/64000 seconds and show them as time.
bool ExtTagCountsTime(uint8_t ID);

// The value of a numeric tag: Length for a header-only record, else the
// first (up to) four data bytes.
uint32_t ExtTagNumber(const tSPC_ExtTag& Tag);
// Stores a value where the record's type says it lives; a header-only record
// too small for it becomes a 4-byte integer record, and a text record given a
// number becomes one too.
void SetExtTagNumber(tSPC_ExtTag& Tag, uint32_t Value);
// Text: the data up to its first NUL, at most MaxExtText bytes; one byte a
// character (Latin-1).
inline constexpr size_t MaxExtText = 255;
std::string ExtTagText(const tSPC_ExtTag& Tag);
// A longer text than the record holds makes the record longer (up to 256
// bytes with the NUL) instead of being cut when saved; longer texts are cut
// at MaxExtText bytes.
void SetExtTagText(tSPC_ExtTag& Tag, const std::string& Text);
// The date tag: year (u16), month, day in the data bytes.
struct tExtDate {
    int Year = 0, Month = 0, Day = 0;
};
tExtDate ExtTagDate(const tSPC_ExtTag& Tag);
void SetExtTagDate(tSPC_ExtTag& Tag, const tExtDate& Date);
// Texts typed on a UTF-8 terminal as the tag's one byte a character: valid
// UTF-8 whose characters all fit in Latin-1 is converted, anything else is
// kept byte for byte.
std::string Latin1FromUTF8(const std::string& Text);
// "seconds = hh:mm:ss" for a length in 1/64000 seconds.
std::string ExtTagTimeText(uint32_t Value);
// "01h", "0004h": the list's way of showing IDs, types and lengths.
std::string SPCHexText(unsigned Value, int Digits);

class tSPC_Editor
{
  public:
    explicit tSPC_Editor(tSPC& Spc) : Spc_(Spc) {}

    // The values the ID666 controls hold. Day, Month and Year are -1 when
    // nothing is chosen; such a date is saved empty.
    tSPC_EditorFields Fields;

    // Called on "new SPC": a newly held file replaces the fields with its
    // tag; a sound part rebuilt from the machine state keeps every field as
    // typed. True when the fields were replaced.
    bool Refill();
    // "contains": switching the tag on for a file without one dates it
    // today (Day, Month, Year given by the caller).
    void SetContains(bool On, int TodayDay, int TodayMonth, int TodayYear);
    // The version byte (0-255), stored at once. A snapshot taken from a
    // savestate has no header yet; it shows what saving will write (the
    // standard signature, version 30 unless one was set).
    int Version() const;
    void SetVersion(int Value);
    // The signature text up to its first NUL.
    std::string Signature() const;

    tSPC& Spc() { return Spc_; }
    size_t TagCount() const { return Spc_.ExtTags.Count(); }
    // Tags by index: the list is rebuilt when a file is read, so an editor
    // never keeps a reference across a refill.
    tSPC_ExtTag* ExtTag(int Index);

    // Folds the fields into the image and writes the file (atomically).
    bool Save(const std::string& FileName, tError& Error);

  private:
    tSPC& Spc_;
    bool Shown_ = false;
    uint32_t ShownSerial_ = 0;
};
