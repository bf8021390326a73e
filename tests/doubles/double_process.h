// One call of the adb double, started the way the command interpreter starts
// it: standard output on a pipe that we read, standard error in a file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"

class DoubleProcess {
public:
    // Starts `program` with exactly `commandLine`, suspended until Resume().
    DoubleProcess(const std::string& program, const std::string& commandLine,
                  const std::string& stderrPath);
    // A double still running (a test that stopped early) is ended.
    ~DoubleProcess();
    DoubleProcess(const DoubleProcess&) = delete;
    DoubleProcess& operator=(const DoubleProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    void Resume();
    // Reads standard output until the double closes it, pausing `pauseMs`
    // before every read; one entry per read that returned bytes.
    std::vector<std::string> ReadChunks(DWORD pauseMs);
    // Waits for the double to end and returns its exit code.
    DWORD Wait();

private:
    UniqueHandle outputRead_;
    UniqueHandle process_;
    UniqueHandle thread_;
};

struct DoubleRun {
    std::vector<std::string> chunks;
    std::string out;  // the chunks joined
    std::string err;
    DWORD exitCode = 0xDEADBEEF;
};

// Runs one call to the end.
DoubleRun RunDouble(const std::string& program, const std::string& commandLine,
                    const std::string& stderrPath, DWORD pauseMs = 0);
