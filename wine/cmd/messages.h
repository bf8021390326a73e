// The interpreter's error texts, in the words and bytes cmd.exe prints them:
// Chinese in GBK under code page 936, English under every other code page.
// Each ends with CR LF.
#pragma once

#include <windows.h>

#include <string>

enum class Message {
    PathNotFound,   // cd to a directory that does not exist
    DriveNotFound,  // X: for a drive that does not exist
};

std::string MessageText(Message message, UINT codePage);

// For a first word that names no program; `word` is shown as typed.
std::string NotRecognizedText(const std::string& word, UINT codePage);
