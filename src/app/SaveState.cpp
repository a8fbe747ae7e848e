#include "app/SaveState.h"

#include "core/Error.h"
#include "core/Messages.h"
#include "core/Routines.h"
#include "core/SNES.h"
#include "core/StateNames.h"
#include "savestates/S9X.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

namespace
{
// Super Sleuth numbers its slots from 1.
constexpr tStateTarget Targets[] = {
    {"zst", FormatZST, 0},
    {"s9x", FormatS9X, 0},
    {"ssl", FormatSSL, 1},
};
} // namespace

std::string tStateTarget::Extension() const
{
    return SlotExtension(Format, Slot);
}

std::span<const tStateTarget> StateTargets()
{
    return Targets;
}

const tStateTarget* FindStateTarget(std::string_view Name)
{
    for (const tStateTarget& T : Targets)
        if (Name == T.Name)
            return &T;
    return nullptr;
}

const tStateTarget* StateTargetFor(uint8_t Format)
{
    for (const tStateTarget& T : Targets)
        if (Format == T.Format)
            return &T;
    return nullptr;
}

bool SaveStateAs(uint8_t Format, const std::string& FileName)
{
    tError Error;
    bool Ok = false;
    if (Format == FormatZST && ZST)
        Ok = ZST->SaveToFile(FileName, Error);
    else if (Format == FormatS9X && S9X)
        Ok = S9X->SaveToFile(FileName, Error);
    else if (Format == FormatSSL && SSL)
        Ok = SSL->SaveToFile(FileName, Error);
    else
        return false;
    if (!Ok)
        ReportWriteError(FileName, Error);
    return Ok;
}

void ReportWriteError(const std::string& FileName, const tError& Error)
{
    Messages().Error("Could not write " + Error.Describe(Quoted(FileName)) + ".");
}
