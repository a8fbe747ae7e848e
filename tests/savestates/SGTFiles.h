#pragma once
// SNESGT files built in memory (no real SNESGT state is among the fixtures).

#include <cstring>
#include <vector>

#include "savestates/StateFixtures.h"
#include "sound/SPC.h"

namespace
{

Bytes Header()
{
    return {'G', 'T', 'S', 'F', 1, 0, 0, 0};
}

// "CPUR" as SNESGT stores it, with the bytes the program skips set too.
Bytes CPURChunk()
{
    Bytes C(23, 0xEE);
    C[0] = 0x34, C[1] = 0x12;   // A
    C[2] = 0x78, C[3] = 0x56;   // X
    C[4] = 0xBC, C[5] = 0x9A;   // Y
    C[8] = 0xFF, C[9] = 0x01;   // S
    C[11] = 0x00, C[12] = 0x80; // PC
    C[15] = 0x7E;               // data bank
    C[19] = 0xC0;               // program bank
    C[21] = 0x35;               // P
    return C;
}

// A whole SPC file with a recognisable sound state and a text tag.
Bytes SoundFile()
{
    Bytes F(SPCLayout::FixedSize, 0);
    std::memcpy(F.data(), SPCSignatureText, 33);
    F[0x21] = F[0x22] = F[0x23] = 26;
    F[0x25] = 0x00, F[0x26] = 0x04;
    std::memcpy(&F[0x2E], "Theme", 5);
    F[0x100 + 0x1234] = 0x5A;
    F[0x10100 + 0x0C] = 0x7F; // main volume left
    return F;
}

} // namespace
