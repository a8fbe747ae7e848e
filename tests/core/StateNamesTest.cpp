#include <gtest/gtest.h>

#include "core/StateNames.h"

namespace
{
TEST(StateNamesTest, TheExtensionGivesFormatKindAndSlot)
{
    struct {
        const char* Name;
        uint8_t Format, Kind;
        int Slot;
    } const Cases[] = {
        {"a.zst", FormatZST, KindSavestate, 0},
        {"a.ZS5", FormatZST, KindSavestate, 5},
        {"a.zmv", FormatZST, KindMovie, 0},
        {"a.zm9", FormatZST, KindMovie, 9},
        {"a.005", FormatS9X, KindSavestate, 5},
        {"a.State3", FormatS9X, KindSavestate, 3},
        {"dir/a.state.auto", FormatS9X, KindSavestate, 0},
        {"a.S12", FormatSSL, KindSavestate, 12},
        {"a.Sv3", FormatSGT, KindSavestate, 3},
        // Neither a slot 0 of the digit form nor a wrong length is a savestate.
        {"a.zs0", FormatNone, KindNone, 0},
        {"a.zsa", FormatNone, KindNone, 0},
        {"a.0a1", FormatNone, KindNone, 0},
        {"a.0000", FormatNone, KindNone, 0},
        {"a.zs", FormatNone, KindNone, 0},
        {"a.svx", FormatNone, KindNone, 0},
        // Only the last path part counts.
        {"dir.000/a", FormatNone, KindNone, 0},
        {"dir/a.b.s01", FormatSSL, KindSavestate, 1},
    };
    for (const auto& C : Cases) {
        const tStateName N = StateNameOf(C.Name);
        EXPECT_EQ(N.Format, C.Format) << C.Name;
        EXPECT_EQ(N.Kind, C.Kind) << C.Name;
        EXPECT_EQ(N.Slot, C.Slot) << C.Name;
    }
}

TEST(StateNamesTest, SlotExtensionsReadBackAsTheirSlot)
{
    EXPECT_EQ(SlotExtension(FormatZST, 0), ".zst");
    EXPECT_EQ(SlotExtension(FormatS9X, 7), ".007");
    EXPECT_EQ(SlotExtension(FormatSSL, 1), ".s01");
    EXPECT_EQ(SlotExtension(FormatZST, 10), "");
    EXPECT_EQ(SlotExtension(FormatNone, 0), "");
    for (uint8_t F : {FormatZST, FormatS9X, FormatSSL, FormatSGT})
        for (int Slot : {0, 1, 9}) {
            const tStateName N = StateNameOf("x" + SlotExtension(F, Slot));
            EXPECT_EQ(N.Format, F);
            EXPECT_EQ(N.Slot, Slot);
        }
}
} // namespace
