// The three locales the dialog offers and the lines that write them into
// the phone's persistent properties. The remote command stands between
// double quotes so that the interpreter passes its '>' on to the phone's
// shell instead of redirecting adb's output.
#pragma once

#include "res/resource.h"

struct LocaleChoice {
    int controlId;
    const char* countryLine;
    const char* languageLine;
};

// In the order the apply pass tests the radio buttons.
inline constexpr LocaleChoice kLocaleChoices[] = {
    {IDC_LANG_SIMPLIFIED,
     "adb shell \"echo CN > /data/property/persist.sys.country\"",
     "adb shell \"echo zh > /data/property/persist.sys.language\""},
    {IDC_LANG_TRADITIONAL,
     "adb shell \"echo TW > /data/property/persist.sys.country\"",
     "adb shell \"echo zh > /data/property/persist.sys.language\""},
    {IDC_LANG_ENGLISH,
     "adb shell \"echo US > /data/property/persist.sys.country\"",
     "adb shell \"echo en > /data/property/persist.sys.language\""},
};
