// Searches over byte strings in an ANSI code page. On a double-byte code page
// such as 936 (GBK) a match may start only on the first byte of a character:
// the second byte of a Chinese character can look like an ASCII letter, '|'
// or '\', and must never be taken for one.
#pragma once

#include <windows.h>

#include <string>

// Position of the first `needle`, or std::string::npos.
size_t FindAnsi(const std::string& text, const std::string& needle, UINT codePage = CP_ACP);

// Removes every occurrence of `needle`, scanning from the start.
void RemoveAllAnsi(std::string& text, const std::string& needle, UINT codePage = CP_ACP);

// Whether any character of `text` is one of the single-byte `chars`.
bool ContainsAnyAnsiChar(const std::string& text, const char* chars, UINT codePage = CP_ACP);
