#include "support/scratch_dir.h"

#include <fstream>
#include <iterator>
#include <sstream>

ScratchDir::ScratchDir(const char* prefix)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static LONG counter = 0;
    std::ostringstream name;
    name << temp << prefix << GetCurrentProcessId() << "-" << InterlockedIncrement(&counter)
         << "-" << GetTickCount() << "\\";
    m_path = name.str();
    m_created = CreateDirectoryA(m_path.c_str(), nullptr) != FALSE;
}

ScratchDir::~ScratchDir()
{
    RemoveTree(m_path);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& directory)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = directory + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(directory.c_str());
}
