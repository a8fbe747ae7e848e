#pragma once
// Shared pieces of the core tests: the model objects set up for each test, a
// messenger that records what would have been shown, and the paths of the
// real emulator fixtures.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Error.h"
#include "core/Messages.h"

struct tRecordedMessage {
    std::string Kind; // "error", "notice", "question"
    std::string Text;
    std::string Button;
};

class tRecordingMessenger : public tMessenger
{
  public:
    std::vector<tRecordedMessage> Log;
    bool Answer = false; // what questions get
    void Error(std::string_view Text) override { Log.push_back({"error", std::string(Text), "OK"}); }
    void Notice(std::string_view Text, std::string_view Button) override
    {
        Log.push_back({"notice", std::string(Text), std::string(Button)});
    }
    bool Question(std::string_view Text) override
    {
        Log.push_back({"question", std::string(Text), ""});
        return Answer;
    }
};

// Creates the model objects before each test and frees them after it, with a
// recording messenger installed and the options at their defaults.
class tModelTest : public ::testing::Test
{
  protected:
    tRecordingMessenger Recorder;
    void SetUp() override;
    void TearDown() override;
};

// The folder of real emulator savestates ("" when it is absent).
std::string FixturesDir();
// FixturesDir() + "/" + Sub, or "" when the folder is absent.
std::string FixturePath(const std::string& Sub);
// Skips the running test when the fixtures are not there.
#define REQUIRE_FIXTURES()                                                                                             \
    do {                                                                                                               \
        if (FixturesDir().empty())                                                                                     \
            GTEST_SKIP() << "fixtures folder not found";                                                               \
    } while (0)

// A fresh empty folder for one test, removed at exit.
std::string TempDir();
std::vector<uint8_t> ReadBytes(const std::string& FileName);
void WriteBytes(const std::string& FileName, const std::vector<uint8_t>& Data);

// Saves through a writer that leaves its reason to the caller; a failure
// fails the test with the reason.
template <class tWriter> bool SaveState(tWriter& Writer, const std::string& FileName)
{
    tError Error;
    const bool Ok = Writer.SaveToFile(FileName, Error);
    EXPECT_TRUE(Ok) << Error.Describe(FileName);
    return Ok;
}
