// The demo as a native Wayland client, each test under a headless sway of its own: input,
// pictures, scale, the message box.

#include <gtest/gtest.h>

#include "tests/support/frame_count.h"
#include "tests/support/xvfb_server.h"

#include <algorithm>
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
    Compositor() : runtime(MakeRuntimeFolder()) {}
    ~Compositor()
    {
        if (!runtime.empty())
            std::filesystem::remove_all(runtime);
    }
    // The window goes to the top-left corner without borders, so that its content is at 0,0.
    bool StartSway(int scale)
    {
        const std::string config = WriteConfig(
            "config", "xwayland disable\noutput HEADLESS-1 resolution 1024x768 scale " +
                          std::to_string(scale) +
                          "\ndefault_border none\ndefault_floating_border none\n"
                          "for_window [app_id=\"boulles\"] floating enable, move absolute position 0 0\n");
        return Start({SWAY_PATH, "-c", config}, {{"WLR_BACKENDS", "headless"}, {"WLR_RENDERER", "pixman"},
                                                 {"WLR_LIBINPUT_NO_DEVICES", "1"}}) &&
               WaitUntil([&] { return !SocketIn(runtime, "sway-ipc").empty(); });
    }
    // A plain background without a panel, unlike any pixel of a window; --debug offers the
    // screenshooter.
    bool StartWeston()
    {
        const std::string config = WriteConfig(
            "weston.ini", "[core]\nidle-time=0\n[shell]\nbackground-image=\n"
                          "background-color=0xff336699\npanel-position=none\n");
        return Start({WESTON_PATH, "--config=" + config, "--backend=headless-backend.so",
                      "--use-pixman", "--debug", "--width=1024", "--height=768"},
                     {});
    }
    // KDE's compositor offers fractional scales. Its program carries a file capability that a
    // container may not grant, and a copy carries none.
    bool StartKwin()
    {
        const std::string program = runtime + "/kwin_wayland";
        std::error_code failed;
        std::filesystem::copy_file(KWIN_WAYLAND_PATH, program, failed);
        return !failed && Start({program, "--virtual", "--width", "1024", "--height", "768", "--scale",
                                 "1.5", "--no-lockscreen", "--no-global-shortcuts", "--no-kactivities"},
                                {{"HOME", runtime}});
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
    // The app id of the window with the keyboard focus: in sway's tree a node's "focused"
    // comes before its "app_id".
    std::string FocusedAppId() const
    {
        const std::string tree = Sway({"-t", "get_tree"});
        const size_t focused = tree.find("\"focused\": true");
        const size_t key = tree.find("\"app_id\": ", focused);
        if (focused == std::string::npos || key == std::string::npos)
            return "";
        const size_t value = key + std::string("\"app_id\": ").size();
        return tree.substr(value, tree.find_first_of(",\n", value) - value);
    }
    // weston's screenshooter writes a PNG into its working folder; its alpha is left out, as
    // an opaque window's buffer may leave it 0 where nothing was drawn.
    Picture WestonScreen() const
    {
        Client({"sh", "-c", "cd \"$1\" && exec \"$2\"", "-", runtime, WESTON_SCREENSHOOTER_PATH});
        const std::string png = SocketIn(runtime, "wayland-screenshot");
        return Picture(png.empty() ? "" : Output({CONVERT_PATH, runtime + "/" + png, "-alpha", "off", "ppm:-"}));
    }

    ChildProcess process;

private:
    std::string WriteConfig(const std::string& name, const std::string& text) const
    {
        std::string path = runtime + "/" + name;
        std::ofstream(path) << text;
        chmod(path.c_str(), 0644);
        return path;
    }
    bool Start(std::vector<std::string> command, const Environment& environment)
    {
        if (runtime.empty())
            return false;
        if (getuid() == 0)
            command.insert(command.begin(), {SETPRIV_PATH, "--reuid=65534", "--regid=65534",
                                             "--clear-groups"});
        Environment all = {{"XDG_RUNTIME_DIR", runtime}};
        all.insert(all.end(), environment.begin(), environment.end());
        return process.Start(command, all) && WaitUntil([&] {
                   socket = SocketIn(runtime, "wayland-");
                   return !socket.empty();
               });
    }

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
    // The helper's device gives the seat its pointer: the demo takes a wl_pointer when it next
    // reads its events, and what the seat sends before that is lost, so a few frames go by.
    bool StartPointerAt(PointerHelper& pointer, int x, int y)
    {
        return pointer.Start(sway.ClientEnvironment()) &&
               pointer.Send("move " + std::to_string(x) + " " + std::to_string(y)) &&
               frames.WaitForMore(FRAMES_UNTIL_SEEN);
    }

    Compositor sway;
    FrameCount frames{FRAME_COUNTER_PATH};
    // A keyboard that stays: the seat's keyboard, and the demo's wl_keyboard, then never go, and
    // no press of the short-lived ones is lost while the demo binds a new one.
    ChildProcess keyboard;
    ChildProcess demo;
};

// DISPLAY names a live X server too: the compositor that answers wins. (The other tests' DISPLAY
// names none, so that a client of X would end with 1.)
TEST_F(DemoOnSway, MapsNativelyWithTitleAndAppIdShowsBlueBallsAndEscEndsWithZero)
{
    XvfbServer xvfb;
    ASSERT_TRUE(xvfb.Start());
    StartDemo(1, {{"DISPLAY", xvfb.DisplayName()}});
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

// Keypad + and main-row = held zoom in, each further; twenty wheel notches zoom out, twenty back
// zoom in. (Main-row - shares the keysym table with X11, whose tests hold it.)
TEST_F(DemoOnSway, KeypadPlusMainRowEqualsAndTheWheelZoom)
{
    StartDemo();
    WaitForDemo();
    long before = Shot().Count().nonBlack, after = 0;
    ASSERT_TRUE(HoldKeyUntil("KP_Add", [&](const Census& c) { return (after = c.nonBlack) > 2 * before; },
                             FRAMES_FOR_A_ZOOM)) << before << " -> " << after;
    before = Shot().Count().nonBlack;
    ASSERT_TRUE(HoldKeyUntil("equal", [&](const Census& c) { return 2 * (after = c.nonBlack) > 3 * before; },
                             FRAMES_FOR_A_ZOOM)) << before << " -> " << after;
    PointerHelper pointer;
    ASSERT_TRUE(StartPointerAt(pointer, 320, 240));
    before = Shot().Count().nonBlack;
    ASSERT_TRUE(pointer.Send("wheel 20"));
    ASSERT_TRUE(WaitForPicture([&](const Census& c) { return 2 * (after = c.nonBlack) < before; }))
        << before << " -> " << after;
    ASSERT_TRUE(pointer.Send("wheel -20"));
    EXPECT_TRUE(WaitForPicture([&](const Census& c) { return c.nonBlack > 2 * after; }));
}

// The focus goes to another window while keypad - is held: the demo never sees the release, and
// stops moving away all the same. (Held on, the balls would shrink to two thirds meanwhile.)
TEST_F(DemoOnSway, FocusMovedToAnotherWindowReleasesAHeldKey)
{
    StartDemo();
    WaitForDemo();
    const long before = Shot().Count().nonBlack;
    ChildProcess holder;
    ASSERT_TRUE(holder.Start({WTYPE_PATH, "-s", "150", "-P", "KP_Subtract", "-s", "3600000"},
                             sway.ClientEnvironment()));
    ASSERT_TRUE(WaitForPicture([&](const Census& c) { return 5 * c.nonBlack < 4 * before; },
                               FRAMES_FOR_A_ZOOM));
    ChildProcess other;
    ASSERT_TRUE(other.Start({WESTON_FLOWER_PATH}, sway.ClientEnvironment()));
    ASSERT_TRUE(WaitUntil([&] {
        const std::string focused = sway.FocusedAppId();
        return !focused.empty() && focused != "\"boulles\"";
    }));
    ASSERT_TRUE(frames.WaitForMore(FRAMES_UNTIL_SEEN));
    const long atLeave = Shot().Count().nonBlack;
    ASSERT_TRUE(frames.WaitForMore(FRAMES_FOR_A_FEW_TICKS));
    const long later = Shot().Count().nonBlack;
    EXPECT_GT(later, atLeave * 85 / 100) << before << " -> " << atLeave << " -> " << later;
    holder.WaitForExit(0);
}

// One degree per logical pixel: a 90-pixel drag brings the red X axis across the picture.
TEST_F(DemoOnSway, NinetyPixelDragTurnsNinetyDegrees)
{
    StartDemo();
    WaitForDemo();
    ASSERT_TRUE(HoldKeyUntil("KP_Multiply", [](const Census& c) { return c.pureGreen > 150; }));
    const auto redAcrossTheCentre = [this] { return Shot().Count(0.49, 0.51).pureRed; };
    PointerHelper pointer;
    ASSERT_TRUE(StartPointerAt(pointer, 300, 240));
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

// At a fractional scale of 1.5 the buffer has it: the client area is 960x720 buffer pixels.
TEST(DemoOnKwin, AtScaleOneAndAHalfTheBufferHasIt)
{
    Compositor kwin;
    ASSERT_TRUE(kwin.StartKwin()) << kwin.process.StandardError();
    FrameCount frames{FRAME_COUNTER_PATH};
    Environment environment = frames.ProgramEnvironment(VIEWPORT_LOG_PATH);
    for (const auto& variable : kwin.ClientEnvironment())
        environment.push_back(variable);
    ChildProcess demo;
    ASSERT_TRUE(demo.Start({BOULLES_PATH}, environment));
    ASSERT_TRUE(frames.WaitForMore(FRAMES_UNTIL_SEEN));
    demo.WaitForExit(0);
    const std::string log = demo.StandardError();
    const size_t last = log.rfind("glViewport");
    ASSERT_NE(last, std::string::npos) << log;
    EXPECT_EQ(log.substr(last, log.find('\n', last) - last), "glViewport 960 720") << log;
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

// The same first frame as under X11, within the page's tolerance: at most 1 % of the pixels that
// either draws on differ by more than 13 of 255 in a channel.
TEST(FirstFrame, UnderWaylandMatchesTheX11One)
{
    char folder[] = "/tmp/boulles-first-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string x11Frame = std::string(folder) + "/x11.ppm";
    const std::string waylandFrame = std::string(folder) + "/wayland.ppm";
    XvfbServer xvfb;
    ASSERT_TRUE(xvfb.Start());
    ChildProcess onX11;
    Environment x11Environment = PreloadEnvironment(FIRST_FRAME_PATH);
    x11Environment.insert(x11Environment.end(), {{"DISPLAY", xvfb.DisplayName()},
                                                 {"WAYLAND_DISPLAY", "none"},
                                                 {"FIRST_FRAME_PPM", x11Frame}});
    ASSERT_TRUE(onX11.Start({BOULLES_PATH}, x11Environment));
    EXPECT_EQ(onX11.WaitForExit(), 0) << onX11.StandardError();
    Compositor sway;
    ASSERT_TRUE(sway.StartSway(1)) << sway.process.StandardError();
    Environment environment = PreloadEnvironment(FIRST_FRAME_PATH);
    for (const auto& variable : sway.ClientEnvironment())
        environment.push_back(variable);
    environment.emplace_back("FIRST_FRAME_PPM", waylandFrame);
    ChildProcess onWayland;
    ASSERT_TRUE(onWayland.Start({BOULLES_PATH}, environment));
    EXPECT_EQ(onWayland.WaitForExit(), 0) << onWayland.StandardError();
    sway.Sway({"exit"});
    const Picture x11(Output({"cat", x11Frame})), wayland(Output({"cat", waylandFrame}));
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(x11.Valid() && wayland.Valid());
    long drawn = 0, differing = 0;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            bool lit = false, differs = false;
            for (int channel = 0; channel < 3; ++channel) {
                lit |= x11.At(x, y, channel) > 0 || wayland.At(x, y, channel) > 0;
                differs |= std::abs(x11.At(x, y, channel) - wayland.At(x, y, channel)) > 13;
            }
            drawn += lit;
            differing += differs;
        }
    std::printf("pixels drawn: %ld; differing by more than 13 levels: %ld\n", drawn, differing);
    EXPECT_GT(drawn, 5000);
    EXPECT_LE(differing, drawn / 100) << drawn << " pixels drawn";
}

// Where the compositor draws no frame, libdecor does: the whole frame is 640x480, and the title
// bar above the picture carries the caption in its middle, clear of the buttons at its right.
TEST(DemoOnWeston, LibdecorDrawsTheFrameWithTheCaption)
{
    Compositor weston;
    ASSERT_TRUE(weston.StartWeston()) << weston.process.StandardError();
    FrameCount frames{FRAME_COUNTER_PATH};
    Environment environment = frames.ProgramEnvironment();
    for (const auto& variable : weston.ClientEnvironment())
        environment.push_back(variable);
    ChildProcess demo;
    ASSERT_TRUE(demo.Start({BOULLES_PATH}, environment));
    ASSERT_TRUE(frames.WaitForMore(FRAMES_UNTIL_SEEN)) << demo.StandardError();
    const Picture screen = weston.WestonScreen();
    ASSERT_TRUE(screen.Valid());
    // The picture is the box of the demo's black: nothing else on the screen is black.
    const auto colour = [&](int x, int y) {
        return screen.At(x, y, 0) << 16 | screen.At(x, y, 1) << 8 | screen.At(x, y, 2);
    };
    int left = screen.width, top = screen.height, right = -1, bottom = -1;
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x)
            if (colour(x, y) == 0) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_EQ(right - left + 1, WIDTH);
    const int barHeight = HEIGHT - (bottom - top + 1);
    ASSERT_GT(barHeight, 10);
    ASSERT_LE(barHeight, top);
    const int barColour = colour(left + 2, top - barHeight / 2);
    EXPECT_NE(barColour, 0x336699);
    const int buttons = 120;
    int textLeft = WIDTH, textRight = -1;
    for (int y = top - barHeight; y < top; ++y)
        for (int x = 0; x < WIDTH - buttons; ++x)
            if (colour(left + x, y) != barColour)
                textLeft = std::min(textLeft, x), textRight = std::max(textRight, x);
    EXPECT_LE(std::abs(textLeft + textRight - WIDTH), 40) << textLeft << ".." << textRight;  // centred
    EXPECT_GT(textRight - textLeft, 100);
    EXPECT_LT(textRight - textLeft, WIDTH - 2 * buttons);
}

}  // namespace
