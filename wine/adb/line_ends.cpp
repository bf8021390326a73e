#include "wine/adb/line_ends.h"

std::string CrLfConverter::Convert(std::string_view chunk)
{
    std::string converted;
    converted.reserve(chunk.size() + chunk.size() / 8);
    for (const char c : chunk) {
        if (c == '\n' && !afterCr_)
            converted += '\r';
        converted += c;
        afterCr_ = c == '\r';
    }
    return converted;
}
