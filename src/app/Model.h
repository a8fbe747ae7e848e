#pragma once
// The model objects: one instance of each class for the life of the program,
// reached through the globals their headers declare (INI, Cart, SPC, ZST,
// S9X, SSL, SGT, SNES, PPU, Renderer, IPS).

#include <cstdint>

// The model objects one by one, for a program that needs only some of them.
enum tModelPart : uint32_t {
    ModelINI = 1u << 0,
    ModelCart = 1u << 1,
    ModelSPC = 1u << 2,
    ModelZST = 1u << 3,
    ModelS9X = 1u << 4,
    ModelSSL = 1u << 5,
    ModelSGT = 1u << 6,
    ModelSNES = 1u << 7,
    ModelPPU = 1u << 8,
    ModelRenderer = 1u << 9,
    ModelIPS = 1u << 10,
    ModelAll = (1u << 11) - 1,
};

// Creates them in their fixed order (configuration, cartridge, sound
// snapshot, the four savestate formats, machine state, picture unit, IPS
// patcher), registers them with the bus and the savestate loader. The window
// list is created by the program, between the formats and the machine state.
// Parts names the objects wanted (a bit set of tModelPart); those already
// there stay. A savestate format left out is made when the loader first asks
// for it (to test or read a file), so a one-file command builds only the
// format it reads; the globals of the other parts left out stay null.
void CreateModelObjects(uint32_t Parts = ModelAll);
// Frees them in the reverse order and empties their bus slots.
void FreeModelObjects();
