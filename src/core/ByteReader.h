#pragma once
// A checked cursor over bytes taken from a file. Every read reports failure
// instead of reading past the end; lengths are compared against what remains,
// never by adding to the position (that can overflow).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "core/LittleEndian.h"

class tByteReader
{
  public:
    tByteReader() = default;
    explicit tByteReader(std::span<const uint8_t> Data) : Data_(Data) {}

    size_t Pos() const { return Pos_; }
    size_t Size() const { return Data_.size(); }
    size_t Remaining() const { return Data_.size() - Pos_; }
    bool AtEnd() const { return Pos_ >= Data_.size(); }

    bool Seek(size_t Pos)
    {
        if (Pos > Data_.size())
            return false;
        Pos_ = Pos;
        return true;
    }
    bool Skip(size_t Count)
    {
        if (Count > Remaining())
            return false;
        Pos_ += Count;
        return true;
    }
    bool Read(void* Dst, size_t Count)
    {
        if (Count > Remaining())
            return false;
        if (Count)
            std::memcpy(Dst, Data_.data() + Pos_, Count);
        Pos_ += Count;
        return true;
    }
    // A view of the next Count bytes, advancing past them; empty and false
    // when fewer remain.
    bool Take(size_t Count, std::span<const uint8_t>& Out)
    {
        if (Count > Remaining())
            return false;
        Out = Data_.subspan(Pos_, Count);
        Pos_ += Count;
        return true;
    }
    bool U8(uint8_t& V) { return Read(&V, 1); }
    bool U16LE(uint16_t& V)
    {
        uint8_t B[2];
        if (!Read(B, 2))
            return false;
        V = static_cast<uint16_t>(ReadLE<2>(B));
        return true;
    }
    bool U16BE(uint16_t& V)
    {
        uint8_t B[2];
        if (!Read(B, 2))
            return false;
        V = static_cast<uint16_t>(B[0] << 8 | B[1]);
        return true;
    }
    bool U32LE(uint32_t& V)
    {
        uint8_t B[4];
        if (!Read(B, 4))
            return false;
        V = ReadLE<4>(B);
        return true;
    }

  private:
    std::span<const uint8_t> Data_;
    size_t Pos_ = 0;
};
