// orlik-make-demo OUTDIR: writes the demo scene as OUTDIR/demo.zst (ZSNES)
// and OUTDIR/demo.000 (Snes9x) through the program's own writers, and the
// cartridge that loads it as OUTDIR/demo.sfc, found beside both.

#include <cstdio>
#include <string>

#include "DemoCart.h"
#include "DemoScene.h"
#include "app/Model.h"
#include "core/FileIO.h"
#include "core/SNES.h"
#include "core/StateNames.h"
#include "savestates/S9X.h"
#include "savestates/ZST.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orlik-make-demo OUTDIR\n");
        return 2;
    }
    const std::string Dir = argv[1];
    CreateModelObjects();
    SNES->Clear();
    BuildDemoScene(*SNES);
    SNES->DecodeDMA();
    // Snes9x files carry a name; the scene has no cartridge, so it names itself.
    S9X->SourceName = "Orlik demo";
    ZST->ClearImage();
    ZST->MachineToImage();
    S9X->ClearBlocks();
    S9X->MachineToBlocks();
    tError Error;
    const bool Ok = ZST->SaveToFile(Dir + "/demo" + SlotExtension(FormatZST, 0), Error) &&
                    S9X->SaveToFile(Dir + "/demo" + SlotExtension(FormatS9X, 0), Error) &&
                    WriteFileAtomic(Dir + "/demo.sfc", BuildDemoCart(*SNES), Error);
    if (!Ok)
        std::fprintf(stderr, "orlik-make-demo: cannot write: %s\n", Error.Reason.c_str());
    FreeModelObjects();
    return Ok ? 0 : 1;
}
