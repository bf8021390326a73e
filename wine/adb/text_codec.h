// UTF-16 <-> UTF-8, the two encodings that meet where Windows hands text to
// Linux programs under Wine.
#pragma once

#include <string>
#include <string_view>

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
