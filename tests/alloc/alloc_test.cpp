// Heap allocations counted by the allocation counter (an LD_PRELOAD interposer):
// first that it tells ours from the libraries', on a probe program, then that
// the demo, on its own Xvfb, makes none of its own while frames run (counting
// from the counter's default, the tenth frame).

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "tests/support/xvfb_server.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <string>
#include <vector>


namespace {

const char DEMO_CAPTION[] = "De belles boulles bleus";
const char PRELOAD[] = "LD_PRELOAD=" ALLOC_COUNTER_PATH;
// Generous: a loaded machine draws a few frames per second.
constexpr long MIN_FRAMES = 20;

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
        ASSERT_EQ(child.WaitForExit(10000), 0) << child.StandardError();
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

void DragAcross(Display* display)
{
    FakePointerMove(display, 200, 240);
    FakeButton(display, 1, true);
    for (int x = 220; x <= 400; x += 20) {
        FakePointerMove(display, x, 250);
        SleepMs(50);
    }
    FakeButton(display, 1, false);
}

TEST(DemoOnXvfbUnderTheAllocationCounter, OurCodeAllocatesNothingWhileFramesRun)
{
    XvfbServer server;
    ASSERT_TRUE(server.Start());
    server.UseAsDefault();
    Display* display = XOpenDisplay(server.DisplayName().c_str());
    ASSERT_NE(display, nullptr);
    ChildProcess demo;
    ASSERT_TRUE(demo.Start({"/usr/bin/env", PRELOAD, BOULLES_PATH}));
    ASSERT_NE(WaitForWindowNamed(display, DEMO_CAPTION, 10000), (Window)None)
        << demo.StandardError();

    // Every input path of a frame, then frames with the axes shown and hidden.
    SleepMs(2000);
    for (KeySym key : {XK_KP_Add, XK_KP_Subtract, XK_KP_Multiply})
        HoldKey(display, key, 300);
    DragAcross(display);
    SleepMs(4000);
    HoldKey(display, XK_KP_Divide, 300);
    SleepMs(4000);
    HoldKey(display, XK_Escape, 200);
    XCloseDisplay(display);

    ASSERT_EQ(demo.WaitForExit(20000), 0) << demo.StandardError();
    const Counts counts = ParseCounts(demo.StandardError());
    EXPECT_EQ(counts.ours, 0) << demo.StandardError()
                              << "(addr2line -f -C -e PROGRAM ADDRESS names each site)";
    EXPECT_GE(counts.frames, MIN_FRAMES) << demo.StandardError();
}

}  // namespace
