// The escapes that let a scenario line carry any byte.
#pragma once

#include <string>

// Turns \r \n \t \\ \0 \s (space) and \xHH (two hex digits) into their bytes;
// a backslash starting anything else is kept as written.
std::string DecodeEscapes(const std::string& text);
