// Plays a block's actions on this process's standard handles.
#pragma once

#include <windows.h>

#include <vector>

#include "scenario.h"

// Runs the actions in order and returns the exit code: the first `exit`
// action's (nothing after it runs), or 0. Every `out` and `err` is one write
// followed by a flush, so a reader sees each as its own chunk.
UINT RunActions(const std::vector<Action>& actions);
