// The command lines that the passes type into the interpreter.
#pragma once

#include <string>

inline constexpr char kAdbKillServer[] = "adb kill-server";
inline constexpr char kAdbStartServer[] = "adb start-server";
inline constexpr char kAdbDevices[] = "adb devices";
inline constexpr char kAdbReboot[] = "adb reboot";

// The line that makes the directory's drive current: its first two
// characters, such as "C:".
std::string DriveLine(const std::string& directory);

// "cd " and the directory. A directory holding one of & | ( ) ^ < > is put
// between double quotes, so the interpreter cannot split the line into two
// commands or redirect it (a user named "Tom&Jerry").
std::string CdLine(const std::string& directory);
