#pragma once
// Where a command writes what it makes of each input: beside the input when
// no -o is given, into a folder when -o names one (or ends in "/", or there
// are several inputs), else to the one file -o names.

#include <string>

class tOutputs
{
  public:
    // Creates the folder when one is needed; false, with the reason on
    // stderr, when it cannot be made.
    bool Prepare(const std::string& Out, size_t Inputs);
    // The output for Input with its extension replaced by Extension (".000").
    // Empty, with "INPUT: the output would replace the file itself" and Tail
    // on stderr, when that is the input itself.
    std::string For(const std::string& Input, const std::string& Extension, const char* Tail) const;

  private:
    std::string Out_;
    bool Folder_ = false;
};
