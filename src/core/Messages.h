#pragma once
// How the core talks to the person using it. The core never opens a window:
// the program shows these as message boxes, the command-line tool prints them
// to stderr, tests record them. The texts are the program's own and are shown
// exactly as given.

#include <string>
#include <string_view>

class tMessenger
{
  public:
    virtual ~tMessenger() = default;
    // An error box: error icon, one "OK" button.
    virtual void Error(std::string_view Text) = 0;
    // A notice: information icon and a single button with the given caption.
    virtual void Notice(std::string_view Text, std::string_view Button) = 0;
    // A question: warning icon, "Yes" and "No"; true for "Yes".
    virtual bool Question(std::string_view Text) = 0;
};

// A messenger that shows nothing and answers "No" (benchmarks, fuzzing).
class tSilentMessenger : public tMessenger
{
  public:
    void Error(std::string_view) override {}
    void Notice(std::string_view, std::string_view) override {}
    bool Question(std::string_view) override { return false; }
};

// The messenger in use; by default one that writes to stderr and answers
// questions with "No".
tMessenger& Messages();
// Installs a messenger (nullptr restores the default). Not owned.
void SetMessenger(tMessenger* M);

// Writes to stderr, prefixing every line with a context such as the file
// being worked on. The command-line tool uses it.
class tStderrMessenger : public tMessenger
{
  public:
    std::string Context;
    void Error(std::string_view Text) override;
    void Notice(std::string_view Text, std::string_view Button) override;
    bool Question(std::string_view Text) override;
};
