// The driver's scripted sessions for the run, screenshot and soak scripts.
#pragma once

namespace tarnolux::e2e {

// Runs one session as the command line asks (see tool.cpp) and returns the
// process exit code.
int RunTool(int argc, wchar_t** argv);

}  // namespace tarnolux::e2e
