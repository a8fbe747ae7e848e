// orlik-cli cart: what the program sees in a cartridge image.

#include <cstdio>

#include "Commands.h"
#include "app/Cartridge.h"
#include "cart/IPS.h"
#include "cart/SNESCart.h"
#include "core/Options.h"

namespace
{
void Row(const char* Name, const std::string& Value)
{
    std::printf("%-22s %s\n", Name, Value.c_str());
}

std::string Hex(unsigned V, int Digits)
{
    char B[16];
    std::snprintf(B, sizeof B, "%0*Xh", Digits, V);
    return B;
}

std::string YesNo(bool B)
{
    return B ? "yes" : "no";
}

void Print(const tCart& C)
{
    const tCartHeader H = C.HeaderFields();
    Row("file:", C.FileName);
    Row("copier header:", std::to_string(C.CopierHeaderSize()) + " bytes");
    Row("ROM size:", std::to_string(C.ROMSize()) + " bytes");
    Row("map mode:", std::string(MapModeName(C.MapMode)) + " (header at " + Hex(C.HeaderOffset, 6) + ")");
    if (!H.Present) {
        Row("internal header:", "none (ROM smaller than the header area)");
    } else {
        Row("ROM name:", "\"" + H.ROMName + "\"");
        Row("mapping mode:", Hex(H.MapModeByte, 2));
        Row("cartridge type:", Hex(H.CartType, 2) + " (RAM " + YesNo(H.HasRAM()) + ", battery " +
                                   YesNo(H.HasBattery()) + ", co-processor " + YesNo(H.HasCoProcessor()) + ")");
        Row("ROM size code:", Hex(H.ROMSizeByte, 2));
        Row("SRAM type:", Hex(H.SRAMSizeByte, 2) + " (" + std::to_string(H.SRAMBytes()) + " bytes)");
        Row("region code:", Hex(H.Region, 2));
        Row("license code:", Hex(H.License, 2));
        Row("game version:", H.VersionText());
        Row("inv. checksum:", Hex(H.InvChecksum, 4));
        Row("checksum:", Hex(H.Checksum, 4));
        Row("checksum matches:", YesNo(H.ChecksumMatches()));
        Row("computed checksum:",
            Hex(ComputeChecksum(C.ROM), 4) + (ComputeChecksum(C.ROM) == H.Checksum ? " (equal)" : " (differs)"));
        Row("maker code:", "\"" + H.Maker + "\"");
        Row("game code:", "\"" + H.GameCode + "\"");
        Row("expansion RAM:", Hex(H.ExpRAM, 2));
        Row("special version:", std::to_string(H.SpecialVersion));
        Row("cartridge sub-number:", std::to_string(H.CartSub));
        Row("NMI vector:", Hex(H.NMIVector, 4));
        Row("RESET vector:", Hex(H.ResetVector, 4));
    }
    if (IPS->LastPatchName.empty())
        Row("IPS patch:", "none applied");
    else
        Row("IPS patch:",
            std::string(IPS->LastResult.Signature ? "applied" : "not applied (no PATCH signature)") + " from " +
                IPS->LastPatchName + ", " + std::to_string(IPS->LastResult.Records) + " records" +
                (IPS->LastResult.Truncated ? ", truncated" : "") +
                (IPS->LastResult.GrownBy ? ", ROM grew by " + std::to_string(IPS->LastResult.GrownBy) + " bytes" : ""));
    Row("SRAM:", C.SRAM.empty() ? "none" : std::to_string(C.SRAM.size()) + " bytes from .srm");
}

int CartCmd(const std::vector<std::string>& Args)
{
    std::vector<std::string> Files;
    bool NoIPS = false;
    for (const std::string& A : Args) {
        if (A == "--no-ips")
            NoIPS = true;
        else
            Files.push_back(A);
    }
    if (Files.empty()) {
        return UsageError;
    }
    StartCore();
    Options().CBox_OpenIPS = !NoIPS;
    // The patch result is printed below; the notice box has nothing to add.
    Options().CBox_OpenIPSMsg = false;
    int Result = 0;
    bool First = true;
    for (const std::string& Name : Files) {
        SetMessageContext(Name);
        IPS->LastPatchName.clear();
        if (!OpenCartridge(Name)) {
            Result = 1;
            continue;
        }
        if (!First)
            std::printf("\n");
        First = false;
        Print(*Cart);
    }
    SetMessageContext("");
    return Result;
}

tCommandRegistrar Reg({"cart", "cart [--no-ips] ROM...",
                       "internal header, map mode, copier header, IPS and SRAM of cartridges", CartCmd});
} // namespace
