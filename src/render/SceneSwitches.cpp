#include "render/SceneSwitches.h"

#include "core/Options.h"
#include "render/PPU.h"

void tSceneSwitches::Reload(const tPPU& P, const tOptions& O)
{
    if (O.CBox_SceneLayering) {
        RegisterLayering = {};
        for (int n = 0; n < 4; ++n)
            if (P.Layers[n].Colours != 0)
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
