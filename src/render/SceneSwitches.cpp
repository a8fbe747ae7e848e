#include "render/SceneSwitches.h"

#include "core/Options.h"
#include "render/PPU.h"

void tSceneSwitches::Reload(const tPPU& P, const tOptions& O)
{
    if (O.CBox_SceneLayering) {
        RegisterLayering = {};
        // Mode 7's plane is BG1, and BG2 with EXTBG, when it is drawn on the screen.
        const bool Mode7 = P.BGMode == 7 && O.CBox_SceneMode7;
        for (int n = 0; n < 4; ++n)
            if (P.Layers[n].Colours != 0 || (Mode7 && (n == 0 || (n == 1 && P.ExtBG))))
                for (int p = 0; p < 2; ++p) {
                    RegisterLayering[0][2 * n + p] = P.Layers[n].OnMain;
                    RegisterLayering[1][2 * n + p] = P.Layers[n].OnSub;
                }
        for (int p = 0; p < 4; ++p) {
            RegisterLayering[0][8 + p] = P.ObjOnMain;
            RegisterLayering[1][8 + p] = P.ObjOnSub;
        }
    }
    Visibility = RegisterLayering;
}
