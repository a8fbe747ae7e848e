#pragma once
// The model objects: one instance of each class for the life of the program,
// reached through the globals their headers declare (INI, Cart, SPC, ZST,
// S9X, SSL, SGT, SNES, PPU, Renderer, IPS).

// Creates them in their fixed order (configuration, cartridge, sound
// snapshot, the four savestate formats, machine state, picture unit, IPS
// patcher), registers them with the bus and the savestate loader. The window
// list is created by the program, between the formats and the machine state.
void CreateModelObjects();
// Frees them in the reverse order and empties their bus slots.
void FreeModelObjects();
