// A fresh directory under the temporary directory, removed with everything
// in it when the test ends.
#pragma once

#include <windows.h>

#include <string>

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Ends with a backslash.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
void RemoveTree(const std::string& directory);
