#include <gtest/gtest.h>

#include <numeric>

#include "core/Gzip.h"

namespace
{

std::vector<uint8_t> Pattern(size_t N)
{
    std::vector<uint8_t> D(N);
    for (size_t i = 0; i < N; ++i)
        D[i] = static_cast<uint8_t>((i * 7) ^ (i >> 9));
    return D;
}

TEST(Gzip, RoundTripAndPassThrough)
{
    const auto Original = Pattern(300000);
    auto D = Original;
    std::string Error;
    ASSERT_TRUE(GzipStream(D, Error)) << Error;
    EXPECT_TRUE(IsGzipData(D));
    EXPECT_LT(D.size(), Original.size());
    ASSERT_TRUE(GunzipStream(D, Error)) << Error;
    EXPECT_EQ(D, Original);

    // Plain data (a Snes9x state saved without compression) is left alone.
    auto Plain = Original;
    ASSERT_TRUE(GunzipStream(Plain, Error));
    EXPECT_EQ(Plain, Original);
    std::vector<uint8_t> Tiny{0x1F};
    ASSERT_TRUE(GunzipStream(Tiny, Error));
    EXPECT_EQ(Tiny, std::vector<uint8_t>{0x1F});

    std::vector<uint8_t> Empty;
    ASSERT_TRUE(GzipStream(Empty, Error));
    ASSERT_TRUE(GunzipStream(Empty, Error));
    EXPECT_TRUE(Empty.empty());
}

TEST(Gzip, ConcatenatedMembersAndTrailingPadding)
{
    std::vector<uint8_t> A{'a', 'b'}, B{'c'};
    std::string Error;
    ASSERT_TRUE(GzipStream(A, Error));
    ASSERT_TRUE(GzipStream(B, Error));
    // Padding after the last member; its last four bytes stand where a
    // member's content size would, and must not be taken for one.
    for (const uint8_t Pad : {uint8_t{0x00}, uint8_t{0xFF}}) {
        std::vector<uint8_t> Both = A;
        Both.insert(Both.end(), B.begin(), B.end());
        Both.insert(Both.end(), 5, Pad);
        ASSERT_TRUE(GunzipStream(Both, Error)) << Error;
        EXPECT_EQ(Both, (std::vector<uint8_t>{'a', 'b', 'c'}));
    }
}

TEST(Gzip, ContentPastTheLimitIsRefused)
{
    std::vector<uint8_t> Zeros(1 << 20, 0);
    std::string Error;
    ASSERT_TRUE(GzipStream(Zeros, Error));
    const auto Packed = Zeros;
    EXPECT_FALSE(GunzipStream(Zeros, Error, (1 << 20) - 1));
    EXPECT_NE(Error.find("limit"), std::string::npos) << Error;
    EXPECT_EQ(Zeros, Packed);                         // left as it was
    EXPECT_TRUE(GunzipStream(Zeros, Error, 1 << 20)); // exactly at the limit is fine
    EXPECT_EQ(Zeros.size(), 1u << 20);

    // 65 MiB of zeros packs into about 64 KiB; inflating it must stop at the
    // default limit instead of allocating all of it.
    std::vector<uint8_t> Bomb((65u << 20), 0);
    ASSERT_TRUE(GzipStream(Bomb, Error));
    EXPECT_LT(Bomb.size(), 200000u);
    EXPECT_FALSE(GunzipStream(Bomb, Error));
    EXPECT_EQ(Error, "gzip data expands past the limit of 64 MiB");
}

TEST(Gzip, TruncatedAndCorruptDataGiveAReason)
{
    auto D = Pattern(5000);
    std::string Error;
    ASSERT_TRUE(GzipStream(D, Error));
    const auto Good = D;

    for (size_t Keep : {size_t(2), size_t(10), Good.size() / 2, Good.size() - 1}) {
        std::vector<uint8_t> T(Good.begin(), Good.begin() + static_cast<ptrdiff_t>(Keep));
        Error.clear();
        EXPECT_FALSE(GunzipStream(T, Error)) << Keep;
        EXPECT_FALSE(Error.empty());
        EXPECT_EQ(T.size(), Keep); // untouched
    }
    auto Bad = Good;
    Bad[Bad.size() - 6] ^= 0xFF; // the stored CRC no longer matches
    EXPECT_FALSE(GunzipStream(Bad, Error));
    EXPECT_NE(Error.find("corrupt"), std::string::npos) << Error;

    std::vector<uint8_t> BadMethod{0x1F, 0x8B, 0x07, 0, 0, 0, 0, 0, 0, 3, 1, 2, 3};
    EXPECT_FALSE(GunzipStream(BadMethod, Error));
    EXPECT_NE(Error.find("corrupt"), std::string::npos) << Error;
}

} // namespace
