// A fresh folder under the system's temp folder, removed with its files.
#pragma once

#include <string>

class TempDir {
public:
    // The folder's name holds a space, as many users' profile paths do.
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool Created() const { return created_; }
    // `name` inside the folder, as a Windows path.
    std::string Path(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
    bool created_ = false;
};
