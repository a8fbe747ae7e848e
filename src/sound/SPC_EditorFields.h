#pragma once
// The values the SPC editor's controls hold, as plain data: saving an SPC
// folds them into the image. The editor window fills one from its controls;
// the command-line tool fills one from its options.

#include <array>
#include <string>

struct tSPC_EditorFields {
    std::string Song, Game, Dumper, Comments, Artist;
    int Day = 0;                              // 0-31
    int Month = 1;                            // 1-12
    int Year = 1990;                          // 1990-2100
    std::string LengthMinutes, LengthSeconds; // song length before the fade
    std::string FadeSeconds, FadeMilliseconds;
    std::array<bool, 8> Muted{}; // voices 0-7
    int Emulator = 0;            // index of the dumping emulator, 0 unknown
    bool Contains = true;        // an ID666 tag is written (marker 26, else 27)
    bool Binary = false;         // binary instead of text layout
    bool Extended = false;       // the extended tag block is written
};
