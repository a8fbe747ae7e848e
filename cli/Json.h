#pragma once
// Text for the commands' --json output.

#include <string>

// S as a JSON string literal: quotes and backslashes escaped, control
// characters as \u00XX, everything else (UTF-8 included) as it is.
std::string JsonString(const std::string& S);
