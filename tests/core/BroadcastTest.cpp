#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Broadcast.h"

namespace
{

std::vector<std::string> Trace;

struct tProbe : tReceiver {
    std::string Name;
    std::function<void(tNote)> Extra;
    explicit tProbe(std::string N) : Name(std::move(N)) {}
    void Notify(const void* Sender, tNote Msg) override
    {
        if (Sender == this)
            return;
        Trace.push_back(Name + ":" + std::string(Msg.Text()));
        if (Extra)
            Extra(Msg);
    }
};

class BroadcastTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        for (int i = 0; i < static_cast<int>(tBusSlot::Count); ++i)
            RegisterReceiver(static_cast<tBusSlot>(i), nullptr);
        Trace.clear();
    }
};

TEST_F(BroadcastTest, FixedOrderModelThenWindowsThenFormats)
{
    tProbe Zst("ZST"), Main("Main"), Snes("SNES"), Ini("INI"), List("WindowList"), S9x("S9X");
    RegisterReceiver(tBusSlot::ZST, &Zst);
    RegisterReceiver(WindowSlot(3), &Main);
    RegisterReceiver(tBusSlot::SNES, &Snes);
    RegisterReceiver(tBusSlot::INI, &Ini);
    RegisterReceiver(tBusSlot::WindowList, &List);
    RegisterReceiver(tBusSlot::S9X, &S9x);
    Broadcast(&Zst, Note::NewSNES);
    EXPECT_EQ(Trace, (std::vector<std::string>{"INI:new SNES", "SNES:new SNES", "Main:new SNES", "S9X:new SNES",
                                               "WindowList:new SNES"}));
}

TEST_F(BroadcastTest, NestedBroadcastCompletesBeforeTheOuterGoesOn)
{
    tProbe Snes("SNES"), S9x("S9X"), Zst("ZST");
    S9x.Extra = [&](tNote Msg) {
        if (Msg == Note::NewSNES)
            Broadcast(&S9x, Note::NewS9X);
    };
    RegisterReceiver(tBusSlot::SNES, &Snes);
    RegisterReceiver(tBusSlot::S9X, &S9x);
    RegisterReceiver(tBusSlot::ZST, &Zst);
    Broadcast(nullptr, Note::NewSNES);
    EXPECT_EQ(Trace, (std::vector<std::string>{"SNES:new SNES", "S9X:new SNES", "SNES:new S9X", "ZST:new S9X",
                                               "ZST:new SNES"}));
}

TEST_F(BroadcastTest, ExceptionStopsTheBroadcastAndReachesTheCaller)
{
    tProbe Snes("SNES"), Zst("ZST");
    Snes.Extra = [](tNote) { throw std::runtime_error("bad"); };
    RegisterReceiver(tBusSlot::SNES, &Snes);
    RegisterReceiver(tBusSlot::ZST, &Zst);
    EXPECT_THROW(Broadcast(nullptr, Note::Startup), std::runtime_error);
    EXPECT_EQ(Trace, (std::vector<std::string>{"SNES:startup"}));
}

} // namespace
