#pragma once
// The bundled demo scene, built from nothing: BG mode 1 with graphic tiles
// on BG1 and BG2, text on BG3 (in front, through the BG3 priority bit),
// sprites of two sizes and several priorities, window 1 cutting BG2 out of
// the main screen, and a fixed colour added to BG1 and the backdrop.

class tSNES;

// Fills a cleared machine state, the PPU values the savestates carry included.
void BuildDemoScene(tSNES& S);
