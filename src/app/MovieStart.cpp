#include "app/MovieStart.h"

#include "app/Loader.h"

#include <memory>
#include <vector>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/Messages.h"
#include "core/SNES.h"
#include "savestates/S9X.h"
#include "sound/SMV.h"

bool ApplyMovieStart(tSMV& Movie, const std::string& FileName)
{
    if (!Movie.Valid)
        return false;
    if (!Movie.EmbeddedError.empty()) {
        Messages().Error(FileName + ": " + Movie.EmbeddedError);
        return false;
    }
    if (Movie.StartsFromSRAM()) {
        if (!Cart)
            return false;
        Cart->SRAM = Movie.Embedded;
        Broadcast(&Movie, Note::NewSRAM);
        return true;
    }
    if (!S9X || !SNES)
        return false;
    // The quicksave is an ordinary Snes9x savestate, read from a cleared
    // state and committed like one opened from a file: only a good one
    // replaces the program's, and "new savestate" makes every other format
    // drop what it kept of the file loaded before.
    auto State = std::make_unique<tSNES>();
    auto Image = std::make_unique<tS9XImage>();
    std::vector<uint8_t> SRAM;
    tError Error;
    if (!ParseS9X(Movie.Embedded, *State, *Image, SRAM, Error)) {
        Messages().Error(Error.Describe(FileName));
        return false;
    }
    tParsedFile Parsed;
    Parsed.Image = std::move(Image);
    Parsed.SRAM = std::move(SRAM);
    CommitSavestate(FormatS9X, *State, Parsed, FileName, KindMovie);
    return true;
}

bool LoadMovie(tSMV& Movie, const std::string& FileName)
{
    std::vector<uint8_t> File;
    tError Error;
    if (!ReadWholeFile(FileName, File, Error)) {
        Movie.Parse({});
        Messages().Error(FileName + ": cannot read the movie: " + Error.Reason);
        return false;
    }
    if (!Movie.Parse(File))
        return false;
    return ApplyMovieStart(Movie, FileName);
}
