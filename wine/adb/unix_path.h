// Where a Windows path lives on the Unix side of Wine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Unix path of `windowsPath`, as the bytes a Linux program must be
// given; nothing when this process does not run under Wine or the path has
// no Unix counterpart.
std::optional<std::string> UnixPathOf(std::wstring_view windowsPath);
