// Heap allocations counted by the allocation counter (an LD_PRELOAD interposer):
// first that it tells ours from the libraries', on a probe program, then that
// the demo, on its own Xvfb, makes none of its own while frames run (counting
// from the counter's default, the tenth frame).

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "tests/support/frame_count.h"
#include "tests/support/xvfb_server.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <string>
#include <vector>


namespace {

const char DEMO_CAPTION[] = "De belles boulles bleus";
const char PRELOAD[] = "LD_PRELOAD=" ALLOC_COUNTER_PATH;
// The counter starts at the tenth frame; the demo ticks once per frame.
constexpr long FRAMES_BEFORE_COUNTING = 10;
// Frames after which a tick has read input sent before them: one may be under way, the next
// fetches the input, and the tick after reads it.
constexpr long FRAMES_UNTIL_READ = 3;
constexpr long FRAMES_PER_SCENE = 20;

struct Counts {
    long ours = -1;
    long theirs = -1;
    long frames = -1;
};

Counts ParseCounts(const std::string& standardError)
{
    Counts counts;
    const size_t line = standardError.find("alloc-counter: ours ");
    if (line != std::string::npos)
        std::sscanf(standardError.c_str() + line, "alloc-counter: ours %ld theirs %ld frames %ld",
                    &counts.ours, &counts.theirs, &counts.frames);
    return counts;
}

// --- the counter on a probe ---

struct ProbeCase {
    const char* allocation;
    long ours;
    long theirsAtLeast;
};

// Direct calls, and calls that reach malloc through libc or libstdc++, are the
// program's; a library's own allocation is not.
const ProbeCase PROBE_CASES[] = {
    {"none", 0, 0},          {"malloc", 1, 0},         {"calloc", 1, 0},
    {"realloc", 2, 0},       {"aligned_alloc", 1, 0},  {"posix_memalign", 1, 0},
    {"new", 1, 0},           {"strdup", 1, 0},         {"glu", 0, 1},
};

TEST(AllocationCounter, TellsTheProgramsAllocationsFromALibrarys)
{
    for (const ProbeCase& probe : PROBE_CASES) {
        SCOPED_TRACE(probe.allocation);
        ChildProcess child;
        ASSERT_TRUE(child.Start({"/usr/bin/env", PRELOAD, "ALLOC_COUNTER_AFTER_SWAPS=0",
                                 ALLOC_PROBE_PATH, probe.allocation}));
        ASSERT_EQ(child.WaitForExit(), 0) << child.StandardError();
        const Counts counts = ParseCounts(child.StandardError());
        EXPECT_EQ(counts.ours, probe.ours) << child.StandardError();
        EXPECT_GE(counts.theirs, probe.theirsAtLeast) << child.StandardError();
        // Each of ours names its call site in the probe.
        EXPECT_EQ(probe.ours > 0, child.StandardError().find(ALLOC_PROBE_PATH "+0x") !=
                                      std::string::npos)
            << child.StandardError();
    }
}

// --- the demo ---

// Input held until a tick has read it, counted in the demo's frames.
class Input {
public:
    Input(Display* display, const FrameCount& frames) : display(display), frames(frames) {}

    bool HoldKey(KeySym key)
    {
        FakeKey(display, key, true);
        const bool read = frames.WaitForMore(FRAMES_UNTIL_READ);
        FakeKey(display, key, false);
        return read && frames.WaitForMore(FRAMES_UNTIL_READ);
    }

    bool DragAcross()
    {
        FakePointerMove(display, 200, 240);
        FakeButton(display, 1, true);
        bool read = frames.WaitForMore(FRAMES_UNTIL_READ);
        for (int x = 220; x <= 400 && read; x += 20) {
            FakePointerMove(display, x, 250);
            read = frames.WaitForMore(FRAMES_UNTIL_READ);
        }
        FakeButton(display, 1, false);
        return read && frames.WaitForMore(FRAMES_UNTIL_READ);
    }

private:
    Display* display;
    const FrameCount& frames;
};

TEST(DemoOnXvfbUnderTheAllocationCounter, OurCodeAllocatesNothingWhileFramesRun)
{
    XvfbServer server;
    ASSERT_TRUE(server.Start());
    server.UseAsDefault();
    Display* display = XOpenDisplay(server.DisplayName().c_str());
    ASSERT_NE(display, nullptr);
    FrameCount frames(FRAME_COUNTER_PATH);
    ChildProcess demo;
    ASSERT_TRUE(demo.Start({BOULLES_PATH}, frames.ProgramEnvironment(ALLOC_COUNTER_PATH)));
    ASSERT_NE(WaitForWindowNamed(display, DEMO_CAPTION), (Window)None) << demo.StandardError();

    // Every input path of a frame, then frames with the axes shown and hidden.
    Input input(display, frames);
    ASSERT_TRUE(frames.WaitForMore(FRAMES_BEFORE_COUNTING)) << demo.StandardError();
    for (KeySym key : {XK_KP_Add, XK_KP_Subtract, XK_KP_Multiply})
        ASSERT_TRUE(input.HoldKey(key)) << demo.StandardError();
    ASSERT_TRUE(input.DragAcross()) << demo.StandardError();
    ASSERT_TRUE(frames.WaitForMore(FRAMES_PER_SCENE)) << demo.StandardError();
    ASSERT_TRUE(input.HoldKey(XK_KP_Divide)) << demo.StandardError();
    ASSERT_TRUE(frames.WaitForMore(FRAMES_PER_SCENE)) << demo.StandardError();
    const long framesCounted = frames.Frames() - FRAMES_BEFORE_COUNTING;
    PressKey(display, XK_Escape);
    XCloseDisplay(display);

    ASSERT_EQ(demo.WaitForExit(), 0) << demo.StandardError();
    const Counts counts = ParseCounts(demo.StandardError());
    EXPECT_EQ(counts.ours, 0) << demo.StandardError()
                              << "(addr2line -f -C -e PROGRAM ADDRESS names each site)";
    // The counter saw the frames the test waited for.
    EXPECT_GE(counts.frames, framesCounted) << demo.StandardError();
}

}  // namespace
