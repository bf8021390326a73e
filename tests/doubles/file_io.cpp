#include "file_io.h"

#include "common/unique_handle.h"

bool ReadToEnd(HANDLE file, std::string& bytes)
{
    char chunk[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, chunk, sizeof chunk, &read, nullptr))
            return GetLastError() == ERROR_BROKEN_PIPE;
        if (read == 0)
            return true;
        bytes.append(chunk, read);
    }
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ReadToEnd(file.Get(), bytes);
}

bool WriteAll(HANDLE file, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                       nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}
