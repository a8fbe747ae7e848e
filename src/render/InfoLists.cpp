#include "render/InfoLists.h"

#include <cstdio>

namespace
{
// The word tables of the info page. "no" and "disabled" may be blanked so
// that the set values stand out.
struct tWords {
    bool Spaces;
    std::string YesNo(bool B) const { return B ? "yes" : (Spaces ? "" : "no"); }
    std::string Enabled(bool B) const { return B ? "enabled" : (Spaces ? "" : "disabled"); }
};

const char* const RegionWords[4] = {"off", "out", "in", "all"};
const char* const LogicWords[4] = {"OR", "AND", "XOR", "XNOR"};

std::string Num(long V)
{
    return std::to_string(V);
}
std::string Pair(long A, long B)
{
    return Num(A) + ", " + Num(B);
}
std::string By(long A, long B)
{
    return Num(A) + " x " + Num(B);
}
std::string Hex4(unsigned V)
{
    char B[16];
    std::snprintf(B, sizeof B, "%04Xh", V & 0xFFFFu);
    return B;
}

tInfoRow One(const char* Caption, std::string Value)
{
    return {Caption, {std::move(Value)}};
}
} // namespace

tInfoList InfoScreen(const tPPU& P, bool Spaces)
{
    const tWords W{Spaces};
    tInfoList L{"screen", {}, {}};
    L.Rows.push_back(One("BG mode", Num(P.BGMode)));
    L.Rows.push_back(One("BG3 priority", W.Enabled(P.BG3Priority)));
    L.Rows.push_back(One("brightness", Num(P.Brightness) + "/15 (" + Num(P.Brightness * 100 / 15) + "%)"));
    // FixedColour holds blue, green, red.
    L.Rows.push_back(
        One("fixed colour", Num(P.FixedColour[2]) + ", " + Num(P.FixedColour[1]) + ", " + Num(P.FixedColour[0])));
    L.Rows.push_back(One("colour window clip", std::string("clip to black = ") + RegionWords[P.ClipRegion & 3]));
    L.Rows.push_back(One("colour window math", std::string("prevent math = ") + RegionWords[P.NoMathRegion & 3]));
    L.Rows.push_back(One("beam position", Pair(P.BeamPos[0], P.BeamPos[1])));
    L.Rows.push_back(One("latch position", Pair(P.LatchPos[0], P.LatchPos[1])));
    L.Rows.push_back(One("EXTBG", W.Enabled(P.ExtBG)));
    L.Rows.push_back(One("forced blank", W.Enabled(P.ForcedBlank)));
    L.Rows.push_back(One("pseudo hires", W.Enabled(P.PseudoHires)));
    L.Rows.push_back(One("screen interlace", W.Enabled(P.ScreenInterlace)));
    // ScreenHeight is already doubled for sprite interlace (SETINI bit 1);
    // the hires modes with screen interlace show twice the lines as well.
    const int Factor = !P.Interlace && P.Hires && P.ScreenInterlace ? 2 : 1;
    L.Rows.push_back(One("resolution", By(P.ScreenWidth, P.ScreenHeight * Factor)));
    L.Rows.push_back(One("mosaic block", By(P.MosaicSize + 1, P.MosaicSize + 1)));
    L.Rows.push_back(One("overscan", W.Enabled(P.Overscan)));
    L.Rows.push_back(One("PAL mode", W.YesNo(P.PALMode)));
    L.Rows.push_back(One("range over", W.YesNo(P.RangeOver)));
    L.Rows.push_back(One("time over", W.YesNo(P.TimeOver)));
    for (int i = 0; i < 2; ++i)
        L.Rows.push_back(
            One(i ? "window 2" : "window 1", "left=" + Num(P.Windows[i].Left) + ", right=" + Num(P.Windows[i].Right)));
    return L;
}

tInfoList InfoOBJ(const tPPU& P, bool Spaces)
{
    const tWords W{Spaces};
    tInfoList L{"sprites", {}, {}};
    L.Rows.push_back(One("on main screen", W.YesNo(P.ObjOnMain)));
    L.Rows.push_back(One("on sub screen", W.YesNo(P.ObjOnSub)));
    L.Rows.push_back(One("first sprite", Num(P.FirstSprite)));
    L.Rows.push_back(One("sprite interlace", W.Enabled(P.ObjInterlace)));
    // The name bases are byte addresses that can pass 64 KiB; both forms show
    // the same 16-bit address, so the decimal cannot disagree with the hex.
    for (int i = 0; i < 2; ++i) {
        const unsigned Base = P.ObjNameBase[i] & 0xFFFFu;
        L.Rows.push_back(One(i ? "name base 2" : "name base 1", Hex4(Base) + " (" + Num(Base) + ")"));
    }
    L.Rows.push_back(One("small size", By(P.ObjSize[0][0], P.ObjSize[0][1])));
    L.Rows.push_back(One("large size", By(P.ObjSize[1][0], P.ObjSize[1][1])));
    return L;
}

tInfoList InfoBGs(const tPPU& P, bool Spaces)
{
    const tWords W{Spaces};
    tInfoList L{"backgrounds", {"BG1", "BG2", "BG3", "BG4"}, {}};
    auto Row = [&](const char* Caption, auto Value) {
        tInfoRow R{Caption, {}};
        for (int n = 0; n < 4; ++n)
            R.Values.push_back(Value(n, P.Layers[n]));
        L.Rows.push_back(std::move(R));
    };
    Row("bit depth", [&](int n, const tBGLayer& B) {
        // Mode 7 is drawn apart from the layer machinery, which gives it no
        // depth: BG1 is the 8-bit plane, BG2 (EXTBG) its 7-bit view.
        if (P.BGMode == 7 && n == 0)
            return Num(8);
        if (P.BGMode == 7 && n == 1 && P.ExtBG)
            return Num(7);
        return Num(B.BitDepth);
    });
    Row("on main screen", [&](int, const tBGLayer& B) { return W.YesNo(B.OnMain); });
    Row("on sub screen", [&](int, const tBGLayer& B) { return W.YesNo(B.OnSub); });
    Row("mosaic", [&](int, const tBGLayer& B) { return W.Enabled(B.Mosaic); });
    Row("horizontal scroll", [&](int, const tBGLayer& B) { return Num(B.HScroll); });
    Row("vertical scroll", [&](int, const tBGLayer& B) { return Num(B.VScroll); });
    Row("size in pixels", [&](int, const tBGLayer& B) { return By(B.PixelWidth, B.PixelHeight); });
    Row("tile base", [&](int, const tBGLayer& B) { return Hex4(B.CharBase); });
    Row("tile size", [&](int, const tBGLayer& B) { return By(B.TileWidth, B.TileHeight); });
    Row("map base", [&](int, const tBGLayer& B) { return Hex4(B.MapBase); });
    Row("map size in tiles", [&](int, const tBGLayer& B) { return By(B.MapWidth, B.MapHeight); });
    return L;
}

tInfoList InfoWindows(const tPPU& P, bool Spaces)
{
    const tWords W{Spaces};
    tInfoList L{"windows", {"BG1", "BG2", "BG3", "BG4", "OBJ", "colour"}, {}};
    const tWindowSel* Sel[6] = {&P.Layers[0].Window, &P.Layers[1].Window, &P.Layers[2].Window,
                                &P.Layers[3].Window, &P.ObjWindow,        &P.ColourWindow};
    const uint8_t Main[5] = {P.Layers[0].WindowMain, P.Layers[1].WindowMain, P.Layers[2].WindowMain,
                             P.Layers[3].WindowMain, P.ObjWindowMain};
    const uint8_t Sub[5] = {P.Layers[0].WindowSub, P.Layers[1].WindowSub, P.Layers[2].WindowSub, P.Layers[3].WindowSub,
                            P.ObjWindowSub};
    tInfoRow Enable{"enable (window 1, 2)", {}}, Invert{"invert (window 1, 2)", {}};
    tInfoRow OnMain{"main screen", {}}, OnSub{"sub screen", {}}, Logic{"logic", {}};
    for (int i = 0; i < 6; ++i) {
        Enable.Values.push_back(W.YesNo(Sel[i]->Enable[0]) + ", " + W.YesNo(Sel[i]->Enable[1]));
        Invert.Values.push_back(W.YesNo(Sel[i]->Invert[0]) + ", " + W.YesNo(Sel[i]->Invert[1]));
        // The colour window has no screen designation of its own.
        OnMain.Values.push_back(i < 5 ? W.Enabled(Main[i]) : "-");
        OnSub.Values.push_back(i < 5 ? W.Enabled(Sub[i]) : "-");
        Logic.Values.push_back(LogicWords[Sel[i]->Logic & 3]);
    }
    L.Rows = {Enable, Invert, OnMain, OnSub, Logic};
    return L;
}

tInfoList InfoMode7(const tPPU& P, bool Spaces)
{
    const tWords W{Spaces};
    tInfoList L{"mode 7", {}, {}};
    L.Rows.push_back(One("matrix A", Num(P.M7.A)));
    L.Rows.push_back(One("matrix B", Num(P.M7.B)));
    L.Rows.push_back(One("matrix C", Num(P.M7.C)));
    L.Rows.push_back(One("matrix D", Num(P.M7.D)));
    L.Rows.push_back(One("centre", Pair(P.M7.X, P.M7.Y)));
    L.Rows.push_back(One("offset", Pair(P.M7HOffset, P.M7VOffset)));
    L.Rows.push_back(One("flip", P.M7FlipX && P.M7FlipY ? "x, y"
                                 : P.M7FlipX            ? "x"
                                 : P.M7FlipY            ? "y"
                                                        : W.Enabled(false)));
    L.Rows.push_back(One("wrap", W.Enabled(P.M7Wrap)));
    L.Rows.push_back(One("fill", W.Enabled(P.M7Fill)));
    return L;
}

tInfoList InfoMath(const tPPU& P, bool Spaces)
{
    const tWords W{Spaces};
    tInfoList L{"colour math", {}, {}};
    L.Rows.push_back(One("operation", std::string(P.AddSubscreen ? "subscreen" : "col. const.") + " " +
                                          (P.SubtractMath ? "minus" : "plus")));
    for (int n = 0; n < 4; ++n) {
        static const char* const Names[4] = {"BG1", "BG2", "BG3", "BG4"};
        L.Rows.push_back(One(Names[n], W.Enabled(P.Layers[n].ColourMath)));
    }
    L.Rows.push_back(One("OBJ", W.Enabled(P.ObjMath)));
    L.Rows.push_back(One("backdrop", W.Enabled(P.BackdropMath)));
    L.Rows.push_back(One("half", W.YesNo(P.HalfMath)));
    L.Rows.push_back(One("direct colour", W.Enabled(P.DirectColour)));
    return L;
}

std::array<tInfoList, 6> BuildInfoLists(const tPPU& P, bool Spaces)
{
    return {InfoScreen(P, Spaces),  InfoOBJ(P, Spaces),   InfoBGs(P, Spaces),
            InfoWindows(P, Spaces), InfoMode7(P, Spaces), InfoMath(P, Spaces)};
}
