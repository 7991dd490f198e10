// The demo as a native Wayland client, each test under a headless sway of its own: input,
// pictures, scale, the message box.

#include <gtest/gtest.h>

#include "tests/support/frame_count.h"
#include "tests/support/xvfb_server.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;
constexpr long FRAMES_UNTIL_SEEN = 4;  // as under X11: under way, fetched, read, drawn
constexpr long FRAMES_FOR_A_FEW_TICKS = 100;
constexpr long FRAMES_FOR_A_ZOOM = 300;

// --- child processes with pipes both ways, and commands whose output is read ---

std::string Quoted(const std::vector<std::string>& command)
{
    std::string line;
    for (const std::string& word : command)
        line += " '" + word + "'";
    return line;
}

std::string Output(const std::vector<std::string>& command)
{
    std::string output;
    FILE* pipe = popen(Quoted(command).c_str(), "r");
    char chunk[65536];
    for (size_t read; pipe && (read = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        output.append(chunk, read);
    if (pipe)
        pclose(pipe);
    return output;
}

// The virtual pointer helper: each command returns once the compositor has handled it.
class PointerHelper {
public:
    ~PointerHelper()
    {
        if (in)
            fclose(in);
        if (out)
            fclose(out);
        if (pid > 0)
            waitpid(pid, nullptr, 0);
    }
    bool Start(const Environment& environment)
    {
        int toHelper[2], fromHelper[2];
        if (pipe2(toHelper, O_CLOEXEC) != 0 || pipe2(fromHelper, O_CLOEXEC) != 0)
            return false;
        pid = fork();
        if (pid == 0) {
            dup2(toHelper[0], STDIN_FILENO);
            dup2(fromHelper[1], STDOUT_FILENO);
            for (const auto& variable : environment)
                setenv(variable.first.c_str(), variable.second.c_str(), 1);
            execl(VIRTUAL_POINTER_PATH, VIRTUAL_POINTER_PATH, "1024", "768", (char*)nullptr);
            _exit(127);
        }
        close(toHelper[0]);
        close(fromHelper[1]);
        in = fdopen(toHelper[1], "w");
        out = fdopen(fromHelper[0], "r");
        return pid > 0;
    }
    bool Send(const std::string& command)
    {
        char answer[8] = {};
        return fprintf(in, "%s\n", command.c_str()) > 0 && fflush(in) == 0 &&
               fgets(answer, sizeof answer, out) != nullptr && std::string(answer) == "ok\n";
    }

private:
    pid_t pid = -1;
    FILE* in = nullptr;
    FILE* out = nullptr;
};

// --- pictures ---

struct Census {
    long nonBlack = 0, withRedOrGreen = 0, pureRed = 0, pureGreen = 0;
};

// A binary PPM, as grim writes it.
struct Picture {
    int width = 0, height = 0;
    std::string pixels;

    explicit Picture(const std::string& ppm)
    {
        std::istringstream in(ppm);
        std::string magic;
        int maximum = 0;
        if (!(in >> magic >> width >> height >> maximum) || magic != "P6")
            return;
        in.get();
        pixels.assign(std::istreambuf_iterator<char>(in), {});
        if (pixels.size() != (size_t)width * height * 3)
            width = height = 0;
    }
    bool Valid() const { return width > 0; }
    int At(int x, int y, int channel) const
    {
        return (unsigned char)pixels[((size_t)y * width + x) * 3 + channel];
    }
    // Counts a band, in fractions of the picture so that scaled pictures count the same place.
    Census Count(double top = 0, double bottom = 1) const
    {
        Census census;
        for (int y = (int)(top * height); y < (int)(bottom * height); ++y)
            for (int x = 0; x < width; ++x) {
                const int r = At(x, y, 0), g = At(x, y, 1), b = At(x, y, 2);
                census.nonBlack += r + g + b > 0;
                census.withRedOrGreen += r + g > 0;
                census.pureRed += r > 0 && g == 0 && b == 0;
                census.pureGreen += g > 0 && r == 0 && b == 0;
            }
        return census;
    }
};

// --- the compositors ---

// A private runtime folder, owned by the compositor's user: sway refuses to run as root, so a
// root test runs it as nobody.
std::string MakeRuntimeFolder()
{
    char folder[] = "/tmp/boulles-wayland-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return "";
    if (getuid() == 0 && chown(folder, 65534, 65534) != 0)
        return "";
    return folder;
}

std::string SocketIn(const std::string& folder, const std::string& prefix)
{
    const std::string names = Output({"ls", folder});
    std::istringstream lines(names);
    for (std::string name; lines >> name;)
        if (name.rfind(prefix, 0) == 0 && name.find(".lock") == std::string::npos)
            return name;
    return "";
}

class Compositor {
public:
    ~Compositor()
    {
        if (!runtime.empty())
            std::filesystem::remove_all(runtime);
    }
    // The window goes to the top-left corner without borders, so that its content is at 0,0.
    bool StartSway(int scale)
    {
        runtime = MakeRuntimeFolder();
        std::ofstream(runtime + "/config")
            << "xwayland disable\noutput HEADLESS-1 resolution 1024x768 scale " << scale
            << "\ndefault_border none\ndefault_floating_border none\n"
               "for_window [app_id=\"boulles\"] floating enable, move absolute position 0 0\n";
        chmod((runtime + "/config").c_str(), 0644);
        std::vector<std::string> command = {SWAY_PATH, "-c", runtime + "/config"};
        if (getuid() == 0)
            command.insert(command.begin(), {SETPRIV_PATH, "--reuid=65534", "--regid=65534",
                                             "--clear-groups"});
        if (!process.Start(command, {{"XDG_RUNTIME_DIR", runtime}, {"WLR_BACKENDS", "headless"},
                                     {"WLR_RENDERER", "pixman"}, {"WLR_LIBINPUT_NO_DEVICES", "1"}}))
            return false;
        return WaitUntil([&] {
            socket = SocketIn(runtime, "wayland-");
            return !socket.empty() && !SocketIn(runtime, "sway-ipc").empty();
        });
    }
    // The variables a client needs, DISPLAY included: a Wayland compositor that answers wins.
    Environment ClientEnvironment() const
    {
        return {{"XDG_RUNTIME_DIR", runtime}, {"WAYLAND_DISPLAY", socket}, {"DISPLAY", ":4095"}};
    }
    std::string Sway(const std::vector<std::string>& arguments) const
    {
        std::vector<std::string> command = {SWAYMSG_PATH, "-s",
                                            runtime + "/" + SocketIn(runtime, "sway-ipc")};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return Output(command);
    }
    // What a client run by the test sees: the compositor's variables.
    std::string Client(std::vector<std::string> command) const
    {
        command.insert(command.begin(), {"env", "XDG_RUNTIME_DIR=" + runtime,
                                         "WAYLAND_DISPLAY=" + socket});
        return Output(command);
    }

    ChildProcess process;

private:
    std::string runtime;
    std::string socket;
};

// --- the demo under sway ---

class DemoOnSway : public ::testing::Test {
protected:
    void StartDemo(int scale = 1, const Environment& extra = {})
    {
        ASSERT_TRUE(sway.StartSway(scale)) << sway.process.StandardError();
        Environment environment = frames.ProgramEnvironment();
        for (const auto& variable : sway.ClientEnvironment())
            environment.push_back(variable);
        environment.insert(environment.end(), extra.begin(), extra.end());
        ASSERT_TRUE(keyboard.Start({WTYPE_PATH, "-s", "3600000"}, sway.ClientEnvironment()));
        ASSERT_TRUE(WaitUntil([&] {
            return sway.Sway({"-t", "get_inputs"}).find("keyboard") != std::string::npos;
        }));
        ASSERT_TRUE(demo.Start({BOULLES_PATH}, environment));
    }
    void TearDown() override
    {
        keyboard.WaitForExit(0);
        sway.Sway({"exit"});
        sway.process.WaitForExit();
    }
    void WaitForDemo()
    {
        ASSERT_TRUE(frames.WaitForMore(FRAMES_UNTIL_SEEN)) << demo.StandardError();
    }
    Picture Shot(int width = WIDTH, int height = HEIGHT) const
    {
        return Picture(sway.Client({GRIM_PATH, "-t", "ppm", "-g",
                                    "0,0 " + std::to_string(width) + "x" + std::to_string(height),
                                    "-"}));
    }
    template <typename Condition>
    bool WaitForPicture(Condition done, long maxFrames = FRAMES_FOR_A_FEW_TICKS)
    {
        const long last = frames.Frames() + maxFrames;
        for (;;) {
            const Picture picture = Shot();
            if (picture.Valid() && done(picture.Count()))
                return true;
            if (frames.Frames() >= last || !frames.WaitForMore(1))
                return false;
        }
    }
    // wtype: a pause first, or the first press is lost; the key is held until the picture
    // shows what it does, and released when wtype's keyboard goes away.
    template <typename Condition>
    bool HoldKeyUntil(const char* key, Condition done, long maxFrames = FRAMES_FOR_A_FEW_TICKS)
    {
        ChildProcess holder;
        Environment environment = sway.ClientEnvironment();
        holder.Start({WTYPE_PATH, "-s", "150", "-P", key, "-s", "3600000"}, environment);
        const bool met = WaitForPicture(done, maxFrames);
        holder.WaitForExit(0);
        return met;
    }
    void Type(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> command = {WTYPE_PATH, "-s", "150"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        sway.Client(command);
    }
    void ExpectExit(int code) { EXPECT_EQ(demo.WaitForExit(), code) << demo.StandardError(); }

    Compositor sway;
    FrameCount frames{FRAME_COUNTER_PATH};
    // A keyboard that stays: the seat's keyboard, and the demo's wl_keyboard, then never go, and
    // no press of the short-lived ones is lost while the demo binds a new one.
    ChildProcess keyboard;
    ChildProcess demo;
};

// DISPLAY names a server that does not exist: a client of X would end with 1.
TEST_F(DemoOnSway, MapsNativelyWithTitleAndAppIdShowsBlueBallsAndEscEndsWithZero)
{
    StartDemo();
    WaitForDemo();
    const std::string tree = sway.Sway({"-t", "get_tree"});
    EXPECT_NE(tree.find("\"name\": \"De belles boulles bleus\""), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"app_id\": \"boulles\""), std::string::npos);
    EXPECT_NE(tree.find("\"shell\": \"xdg_shell\""), std::string::npos);
    const Census all = Shot().Count();
    EXPECT_EQ(all.withRedOrGreen, 0);
    EXPECT_GT(all.nonBlack, 1000);
    EXPECT_LT(all.nonBlack, WIDTH * HEIGHT / 3);
    Type({"-k", "Escape"});
    ExpectExit(0);
}

TEST_F(DemoOnSway, CompositorCloseEndsWithZero)
{
    StartDemo();
    WaitForDemo();
    sway.Sway({"[app_id=boulles]", "kill"});
    ExpectExit(0);
}

// Keypad * and /, then * and / typed as characters.
TEST_F(DemoOnSway, KeypadAndTypedStarAndSlashShowAndHideTheAxes)
{
    StartDemo();
    WaitForDemo();
    ASSERT_TRUE(HoldKeyUntil("KP_Multiply", [](const Census& c) { return c.pureGreen > 150; }));
    ASSERT_TRUE(HoldKeyUntil("KP_Divide", [](const Census& c) { return c.withRedOrGreen == 0; }));
    Type({"*"});
    ASSERT_TRUE(WaitForPicture([](const Census& c) { return c.pureGreen > 150; }));
    Type({"/"});
    EXPECT_TRUE(WaitForPicture([](const Census& c) { return c.withRedOrGreen == 0; }));
}

// Keypad + and main-row = held zoom in; ten wheel notches zoom in, twenty back zoom out.
TEST_F(DemoOnSway, KeypadPlusMainRowEqualsAndTheWheelZoom)
{
    StartDemo();
    WaitForDemo();
    long before = Shot().Count().nonBlack, after = 0;
    ASSERT_TRUE(HoldKeyUntil("KP_Add", [&](const Census& c) { return (after = c.nonBlack) > 2 * before; },
                             FRAMES_FOR_A_ZOOM)) << before << " -> " << after;
    ASSERT_TRUE(HoldKeyUntil("minus", [&](const Census& c) { return 2 * c.nonBlack < after; },
                             FRAMES_FOR_A_ZOOM));
    before = Shot().Count().nonBlack;
    ASSERT_TRUE(HoldKeyUntil("equal", [&](const Census& c) { return 2 * (after = c.nonBlack) > 3 * before; },
                             FRAMES_FOR_A_ZOOM)) << before << " -> " << after;
    PointerHelper pointer;
    ASSERT_TRUE(pointer.Start(sway.ClientEnvironment()));
    ASSERT_TRUE(pointer.Send("move 320 240"));
    before = Shot().Count().nonBlack;
    ASSERT_TRUE(pointer.Send("wheel -10"));
    ASSERT_TRUE(WaitForPicture([&](const Census& c) { return (after = c.nonBlack) > 2 * before; }))
        << before << " -> " << after;
    ASSERT_TRUE(pointer.Send("wheel 20"));
    EXPECT_TRUE(WaitForPicture([&](const Census& c) { return c.nonBlack < after / 2; }));
}

// One degree per logical pixel: a 90-pixel drag brings the red X axis across the picture.
TEST_F(DemoOnSway, NinetyPixelDragTurnsNinetyDegrees)
{
    StartDemo();
    WaitForDemo();
    ASSERT_TRUE(HoldKeyUntil("KP_Multiply", [](const Census& c) { return c.pureGreen > 150; }));
    const auto redAcrossTheCentre = [this] { return Shot().Count(0.49, 0.51).pureRed; };
    PointerHelper pointer;
    ASSERT_TRUE(pointer.Start(sway.ClientEnvironment()));
    ASSERT_TRUE(pointer.Send("move 300 240"));
    ASSERT_TRUE(frames.WaitForMore(FRAMES_UNTIL_SEEN));
    const long redBefore = redAcrossTheCentre();
    EXPECT_LT(redBefore, 20);
    ASSERT_TRUE(pointer.Send("button 1"));
    ASSERT_TRUE(frames.WaitForMore(FRAMES_UNTIL_SEEN));
    for (int x = 330; x <= 390; x += 30) {
        ASSERT_TRUE(pointer.Send("move " + std::to_string(x) + " 240"));
        ASSERT_TRUE(frames.WaitForMore(2));
    }
    ASSERT_TRUE(frames.WaitForMore(FRAMES_UNTIL_SEEN));
    ASSERT_TRUE(pointer.Send("button 0"));
    EXPECT_GT(redAcrossTheCentre(), 100) << "red pixels before the drag: " << redBefore;
}

// At scale 2 the client area, the buffer and the picture are twice the size, and show the same.
TEST_F(DemoOnSway, AtScaleTwoTheBufferIsTwiceTheSize)
{
    StartDemo(2);
    WaitForDemo();
    const Picture picture = Shot();
    ASSERT_TRUE(picture.Valid());
    EXPECT_EQ(picture.width, 2 * WIDTH);
    const Census all = picture.Count();
    EXPECT_EQ(all.withRedOrGreen, 0);
    EXPECT_GT(all.nonBlack, 4 * 1000);
    const Picture outside = Shot(WIDTH + 1, HEIGHT + 1);  // one logical pixel right and below
    ASSERT_TRUE(outside.Valid());
    EXPECT_EQ(outside.At(2 * WIDTH + 1, 0, 0), outside.At(2 * WIDTH + 1, 2 * HEIGHT + 1, 0));
    Type({"-k", "Escape"});
    ExpectExit(0);
}

// Without an EGL driver nothing could be drawn: the box shows, and Enter ends the run with 1.
TEST_F(DemoOnSway, WithoutOpenGlTheBoxShowsAndEnterEndsWithOne)
{
    StartDemo(1, {{"__EGL_VENDOR_LIBRARY_FILENAMES", "/dev/null"}});
    std::string tree;
    ASSERT_TRUE(WaitUntil([&] {
        return (tree = sway.Sway({"-t", "get_tree"})).find("Probl\xc3\xa8me") != std::string::npos;
    })) << demo.StandardError();
    Picture box("");
    ASSERT_TRUE(WaitUntil([&] {
        box = Shot(180, 100);
        return box.Valid() && box.Count().pureRed > 0;
    })) << tree;
    EXPECT_GT(box.Count().nonBlack, 180 * 100 / 2);  // the face, light grey
    Type({"-k", "Return"});
    ExpectExit(1);
}

}  // namespace
