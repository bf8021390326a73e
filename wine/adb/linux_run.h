// Runs a Linux program from a Windows program under Wine.
//
// Wine starts Linux programs but gives them none of our handles, signals
// their process handle at once and drops their exit code. So /bin/sh runs
// the program with its output in a file and writes the exit code to another
// file once it is done; we wait for that file and pass on both.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct LinuxRun {
    std::string program;            // a Unix path, or a name sh finds on PATH
    std::vector<std::string> args;  // UTF-8, passed on byte for byte
    DWORD timeoutMs = 10 * 60 * 1000;
};

// Runs `run`, copies what it printed (stdout and stderr in order) to `out`
// with every bare LF made CR LF, and gives its exit code. Nothing when it
// could not be run or did not finish in time; `error` then says why.
std::optional<int> RunLinuxProgram(const LinuxRun& run, HANDLE out, std::string& error);
