#pragma once
// The frames a program has presented, counted by the frame_counter shim (LD_PRELOAD) in a file
// that the shim and the test both map. A test that must know the program ticked waits for its
// frames, however fast or slow the machine runs it.

#include "tests/support/xvfb_server.h"

#include <cstdint>
#include <string>

// A program's environment for LD_PRELOAD shims (a colon-separated list), sanitized builds too.
Environment PreloadEnvironment(const std::string& preloads);

class FrameCount {
public:
    explicit FrameCount(const char* shimPath);
    ~FrameCount();
    FrameCount(const FrameCount&) = delete;
    FrameCount& operator=(const FrameCount&) = delete;

    // The program's environment for the shim: LD_PRELOAD with `otherPreloads` too, the file.
    Environment ProgramEnvironment(const std::string& otherPreloads = "") const;
    long Frames() const;
    // Waits until `more` frames past those presented so far have been presented; false when a
    // hang's deadline passes first.
    bool WaitForMore(long more) const;

private:
    std::string shim;
    std::string path;
    int64_t* count = nullptr;
};
