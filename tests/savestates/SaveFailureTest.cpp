// Every writer of the program, made to fail by a read-only folder and by a
// disk that fills up: the old file stays byte for byte, nothing is left
// beside it, and the message names the file and the system's reason.

#include "TestSupport.h"
#include "app/Loader.h"
#include "core/WriteFailure.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "app/SaveState.h"
#include "app/ToolFiles.h"
#include "core/INI.h"
#include "core/SNES.h"
#include "savestates/S9X.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"
#include "sound/SPC.h"
#include "tools/PaletteFile.h"

namespace fs = std::filesystem;

class SaveFailureTest : public tModelTest
{
};

TEST_F(SaveFailureTest, EveryWriterKeepsTheOldFileAndNamesTheReason)
{
    ASSERT_TRUE(LoadSavestate(std::string(ORLIK_SOURCE_DIR) + "/resources/demo/demo.zst"));
    // Every file written is larger than the full disk's room.
    INI->SetSection("Form_Main");
    INI->WriteString("Form_Main.Position", std::string(2 * FullDiskBytes, '1'));
    // The writers that report through the messenger give their last message,
    // which must name the file; the others leave that to their caller.
    auto Reported = [this](bool Ok, tError& Error) {
        if (!Ok && !Recorder.Log.empty())
            Error = tError(Recorder.Log.back().Text + " [named]");
        return Ok;
    };
    const struct {
        const char* Name;
        std::function<bool(const std::string&, tError&)> Save;
    } Writers[] = {
        {"state.zst", [](const std::string& F, tError& E) { return ZST->SaveToFile(F, E); }},
        {"state.000", [](const std::string& F, tError& E) { return S9X->SaveToFile(F, E); }},
        {"state.s01", [](const std::string& F, tError& E) { return SSL->SaveToFile(F, E); }},
        // The save button's road, which shows what the Super Sleuth writer returns.
        {"saved.s01", [&](const std::string& F, tError& E) { return Reported(SaveStateAs(FormatSSL, F), E); }},
        {"sound.spc", [](const std::string& F, tError& E) { return SPC->SaveToFile(F, {}, E); }},
        {"Orlik.ini", [](const std::string& F, tError& E) { return INI->SaveToFile(F, E); }},
        {"colours.pal",
         [&](const std::string& F, tError& E) { return Reported(ExportPalette(F, PaletteJASC, SNES->CGRAM), E); }},
    };
    const std::vector<uint8_t> Old(300, 0xA5);
    for (const auto& W : Writers)
        for (tWriteFailure Failure : {tWriteFailure::ReadOnlyFolder, tWriteFailure::FullDisk}) {
            SCOPED_TRACE(std::string(W.Name) + (Failure == tWriteFailure::FullDisk ? " on a full disk" : " read-only"));
            const std::string Dir = TempDir(), Target = Dir + "/" + W.Name;
            WriteBytes(Target, Old);
            const tSaveResult R = SaveUnder(Failure, Dir, [&](std::string& Error) {
                tError E;
                const bool Ok = W.Save(Target, E);
                Error = E.Reason;
                return Ok;
            });
            ASSERT_TRUE(R.Ran);
            EXPECT_FALSE(R.Ok);
            EXPECT_NE(R.Error.find(std::strerror(Failure == tWriteFailure::FullDisk ? EFBIG : EACCES)),
                      std::string::npos)
                << R.Error;
            if (R.Error.ends_with(" [named]")) {
                EXPECT_NE(R.Error.find(Target), std::string::npos) << R.Error;
            }
            EXPECT_EQ(ReadBytes(Target), Old);
            EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
        }
}
