#pragma once
// The demo's cartridge: a 128 KiB LoROM image whose start-up code loads the
// demo scene (VRAM, CGRAM, OAM and the PPU registers) and then idles where
// the demo savestate's CPU does. Its internal header is complete, with a
// checksum that matches.

#include <cstdint>
#include <vector>

class tSNES;

std::vector<uint8_t> BuildDemoCart(const tSNES& Scene);
