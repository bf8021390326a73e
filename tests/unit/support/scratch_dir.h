// A fresh directory under the temporary directory, removed with everything
// in it when the test ends.
#pragma once

#include <windows.h>

#include <string>

class ScratchDir {
public:
    // The folder's name starts with `prefix`; one with a space stands for the
    // many users whose profile path holds one.
    explicit ScratchDir(const char* prefix = "qtest-");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    bool Created() const { return m_created; }
    // Ends with a backslash.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_created = false;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
void RemoveTree(const std::string& directory);
