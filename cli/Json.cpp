#include "Json.h"

#include <cstdio>

std::string JsonString(const std::string& S)
{
    std::string Out = "\"";
    for (char C : S) {
        if (C == '"' || C == '\\') {
            Out += '\\';
            Out += C;
        } else if (static_cast<unsigned char>(C) < 0x20) {
            char Buf[8];
            std::snprintf(Buf, sizeof Buf, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(C)));
            Out += Buf;
        } else {
            Out += C;
        }
    }
    return Out + "\"";
}
