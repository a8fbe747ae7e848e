#pragma once
// What went wrong with a file. Readers and writers fill one of these and
// return false; they never show anything themselves. The program's faces (the
// message box, the command-line tool's stderr, the tests' recorder) turn it
// into one line with Describe, the only place that text is put together.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct tError {
    // The reason in words, naming no file: "the file is empty",
    // "block PPU: length 12 is shorter than the 120 bytes it needs".
    std::string Reason;
    // Where in the file (or in the decompressed stream) it went wrong, when
    // that helps the user.
    std::optional<uint64_t> Offset;

    tError() = default;
    explicit tError(std::string R, std::optional<uint64_t> At = std::nullopt) : Reason(std::move(R)), Offset(At) {}

    bool Empty() const { return Reason.empty(); }
    // "FILE: reason" or "FILE: reason (at offset N)".
    std::string Describe(std::string_view FileName) const
    {
        std::string T(FileName);
        T += ": ";
        T += Reason;
        if (Offset)
            T += " (at offset " + std::to_string(*Offset) + ")";
        return T;
    }
};
