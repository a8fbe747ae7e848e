#include "core/Messages.h"

#include <cstdio>

namespace
{
tStderrMessenger DefaultMessenger;
tMessenger* Current = nullptr;

void Print(const std::string& Context, std::string_view Kind, std::string_view Text)
{
    if (!Context.empty())
        std::fprintf(stderr, "%s: ", Context.c_str());
    std::fprintf(stderr, "%.*s%.*s\n", static_cast<int>(Kind.size()), Kind.data(), static_cast<int>(Text.size()),
                 Text.data());
}
} // namespace

tMessenger& Messages()
{
    return Current ? *Current : DefaultMessenger;
}

void SetMessenger(tMessenger* M)
{
    Current = M;
}

void tStderrMessenger::Error(std::string_view Text)
{
    Print(Context, "error: ", Text);
}

void tStderrMessenger::Notice(std::string_view Text, std::string_view)
{
    Print(Context, "", Text);
}

bool tStderrMessenger::Question(std::string_view Text)
{
    Print(Context, "question (answered no): ", Text);
    return false;
}
