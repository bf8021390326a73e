#include "workflows/deploy_tools.h"

#include <shlwapi.h>

#include "res/resource.h"

namespace {

struct Payload {
    WORD resourceId;
    const char* fileName;
};

constexpr Payload kPayloads[] = {
    {IDR_PAYLOAD_ADB, "adb.exe"},
    {IDR_PAYLOAD_ADBWINAPI, "AdbWinApi.dll"},
    {IDR_PAYLOAD_ADBWINUSB, "AdbWinUsbApi.dll"},
};

// The marker first: when someone placed it next to complete tools, the
// files are left as they are.
constexpr const char* kPresenceNames[] = {"1", "adb.exe", "AdbWinApi.dll", "AdbWinUsbApi.dll"};

bool ToolsPresent(const WorkingDirectory& directory)
{
    for (const char* name : kPresenceNames) {
        if (!PathFileExistsA((directory + name).c_str()))
            return false;
    }
    return true;
}

void WritePayload(const WorkingDirectory& directory, const Payload& payload)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(payload.resourceId), "myfile");
    const DWORD size = resource ? SizeofResource(nullptr, resource) : 0;
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return;

    WritePayloadFile(directory + payload.fileName, bytes, size);
}

}  // namespace

bool WritePayloadFile(const std::string& path, const void* bytes, DWORD size)
{
    // No sharing: a second pass writing at the same moment fails to open the
    // file and leaves it to the first.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool complete = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    CloseHandle(file);
    if (!complete)
        DeleteFileA(path.c_str());
    return complete;
}

void DeployTools(const WorkingDirectory& directory)
{
    CreateDirectoryA(directory.c_str(), nullptr);
    if (ToolsPresent(directory))
        return;
    for (const Payload& payload : kPayloads)
        WritePayload(directory, payload);
}
