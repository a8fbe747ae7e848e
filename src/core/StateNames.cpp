#include "core/StateNames.h"

#include <algorithm>
#include <cctype>

namespace
{
bool Digits(std::string_view S)
{
    return !S.empty() && std::all_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
}

int Number(std::string_view S)
{
    int V = 0;
    for (char C : S)
        V = V * 10 + (C - '0');
    return V;
}
} // namespace

tStateName StateNameOf(const std::string& FileName)
{
    const size_t Slash = FileName.find_last_of("/\\");
    const size_t Dot = FileName.rfind('.');
    tStateName N;
    // RetroArch's slots (".state", ".state1"-".state9", ".state.auto") and
    // Snes9x's undo files hold Snes9x streams too.
    std::string Lower = FileName.substr(Slash == std::string::npos ? 0 : Slash + 1);
    std::transform(Lower.begin(), Lower.end(), Lower.begin(),
                   [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
    for (const char* End : {".state", ".state.auto", ".oops", ".undo", ".frz"})
        if (Lower.size() > std::string_view(End).size() && Lower.ends_with(End))
            return {FormatS9X, KindSavestate, 0};
    const size_t State = Lower.rfind(".state");
    if (State != std::string::npos && State > 0 && Lower.size() == State + 7 && Lower.back() >= '1' &&
        Lower.back() <= '9')
        return {FormatS9X, KindSavestate, Lower.back() - '0'};
    if (Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash) || FileName.size() - Dot != 4)
        return N;
    std::string E = FileName.substr(Dot + 1);
    std::transform(E.begin(), E.end(), E.begin(), [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
    if (E[0] == 'z' && (E[1] == 's' || E[1] == 'm')) {
        const bool Slot0 = E[2] == (E[1] == 's' ? 't' : 'v');
        if (Slot0 || (E[2] >= '1' && E[2] <= '9'))
            N = {FormatZST, E[1] == 's' ? KindSavestate : KindMovie, Slot0 ? 0 : E[2] - '0'};
    } else if (Digits(E)) {
        N = {FormatS9X, KindSavestate, Number(E)};
    } else if (E[0] == 's' && Digits(E.substr(1))) {
        N = {FormatSSL, KindSavestate, Number(E.substr(1))};
    } else if (E[0] == 's' && E[1] == 'v' && Digits(E.substr(2))) {
        N = {FormatSGT, KindSavestate, Number(E.substr(2))};
    }
    return N;
}

std::string SlotExtension(uint8_t Format, int Slot)
{
    auto Padded = [](int V, size_t Width) {
        std::string S = std::to_string(V);
        return std::string(Width - std::min(Width, S.size()), '0') + S;
    };
    switch (Format) {
    case FormatZST:
        return Slot == 0 ? ".zst" : Slot >= 1 && Slot <= 9 ? ".zs" + std::to_string(Slot) : "";
    case FormatS9X:
        return Slot >= 0 && Slot <= 999 ? "." + Padded(Slot, 3) : "";
    case FormatSSL:
        return Slot >= 0 && Slot <= 99 ? ".s" + Padded(Slot, 2) : "";
    case FormatSGT:
        return Slot >= 0 && Slot <= 9 ? ".sv" + std::to_string(Slot) : "";
    default:
        return "";
    }
}
