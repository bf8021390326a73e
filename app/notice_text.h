// The notice shown at the top of the main dialog, as GBK bytes.
#pragma once

#include <string>

std::string BuildNoticeText();
