#include "render/camera.h"

#include "render/tests/fake_input.h"
#include "tests/support/float_bits.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

// Read before any test runs: the global is constant-initialised, this copy dynamically.
const Camera PROCESS_START = CameraState;

class HandleInputWithFakeInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFakeInput();
        CameraState = PROCESS_START;
    }

    static void Hold(std::initializer_list<int> keys)
    {
        for (int key : keys)
            fakeInput.down[key] = true;
    }

    static void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            HandleInput();
    }
};

TEST(CameraStateAtProcessStart, HoldsTheStartValues)
{
    EXPECT_SAME_BITS(PROCESS_START.distance, 3000.0f);
    EXPECT_SAME_BITS(PROCESS_START.yaw, 0.0f);
    EXPECT_SAME_BITS(PROCESS_START.pitch, 0.0f);
    EXPECT_EQ(PROCESS_START.axesVisible, 0);
    EXPECT_EQ(PROCESS_START.cursorNow.x | PROCESS_START.cursorNow.y, 0);
    EXPECT_EQ(PROCESS_START.cursorPrevious.x | PROCESS_START.cursorPrevious.y, 0);
}

struct KeyCase {
    const char* name;
    std::initializer_list<int> held;
    float distance;
    int axesVisible;
};

TEST_F(HandleInputWithFakeInput, KeypadKeysActOncePerTickInTheirOrder)
{
    const KeyCase cases[] = {
        {"nothing", {}, 3000.0f, 0},
        {"plus moves nearer", {VK_ADD}, 2990.0f, 0},
        {"minus moves farther", {VK_SUBTRACT}, 3010.0f, 0},
        {"plus and minus cancel", {VK_ADD, VK_SUBTRACT}, 3000.0f, 0},
        {"multiply shows the axes", {VK_MULTIPLY}, 3000.0f, 1},
        {"divide wins over multiply", {VK_MULTIPLY, VK_DIVIDE}, 3000.0f, 0},
        {"all four", {VK_ADD, VK_SUBTRACT, VK_MULTIPLY, VK_DIVIDE}, 3000.0f, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Hold(c.held);
        Tick();
        EXPECT_SAME_BITS(CameraState.distance, c.distance);
        EXPECT_EQ(CameraState.axesVisible, c.axesVisible);
        EXPECT_SAME_BITS(CameraState.yaw, 0.0f);
        EXPECT_SAME_BITS(CameraState.pitch, 0.0f);
    }
}

TEST_F(HandleInputWithFakeInput, DivideAloneHidesShownAxes)
{
    Hold({VK_MULTIPLY});
    Tick();
    ResetFakeInput();
    Tick();
    EXPECT_EQ(CameraState.axesVisible, 1);  // stays shown once the key is let go
    Hold({VK_DIVIDE});
    Tick();
    EXPECT_EQ(CameraState.axesVisible, 0);
}

TEST_F(HandleInputWithFakeInput, DistanceReachesZeroAfter300TicksAndGoesNegative)
{
    Hold({VK_ADD});
    Tick(300);
    EXPECT_SAME_BITS(CameraState.distance, 0.0f);
    Tick(5);
    EXPECT_SAME_BITS(CameraState.distance, -50.0f);
}

// The distance after every tick of a script that holds + and - alone, together and neither.
std::vector<float> DistancesAlongScript(std::initializer_list<int> plusKeys,
                                        std::initializer_list<int> minusKeys)
{
    CameraState = PROCESS_START;
    std::vector<float> distances;
    for (int tick = 0; tick < 400; ++tick) {
        ResetFakeInput();
        for (int key : plusKeys)
            fakeInput.down[key] = tick % 4 != 0;
        for (int key : minusKeys)
            fakeInput.down[key] = tick % 5 == 0;
        HandleInput();
        distances.push_back(CameraState.distance);
    }
    return distances;
}

TEST_F(HandleInputWithFakeInput, MainKeyboardPlusAndMinusFollowTheKeypadTickForTick)
{
    const std::vector<float> keypad = DistancesAlongScript({VK_ADD}, {VK_SUBTRACT});
    EXPECT_SAME_BITS(keypad.back(), 800.0f);  // 300 ticks nearer, 80 farther
    EXPECT_EQ(DistancesAlongScript({VK_OEM_PLUS}, {VK_OEM_MINUS}), keypad);
    // Both keys of a kind held act as one.
    EXPECT_EQ(DistancesAlongScript({VK_ADD, VK_OEM_PLUS}, {VK_SUBTRACT, VK_OEM_MINUS}), keypad);
}

TEST_F(HandleInputWithFakeInput, WheelNotchMovesAsFarAsTwelveKeypadTicksAndPartsAddUp)
{
    WheelTurned(WHEEL_DELTA);
    EXPECT_SAME_BITS(CameraState.distance, 3000.0f);  // only the tick moves the camera
    Tick();
    EXPECT_SAME_BITS(CameraState.distance, 2880.0f);  // as after twelve ticks of keypad +
    for (int i = 0; i < 24; ++i) {  // a high-resolution wheel's small steps, over many ticks
        WheelTurned(WHEEL_DELTA / 24);
        Tick();
    }
    WheelTurned(-2 * WHEEL_DELTA);
    Tick();
    EXPECT_SAME_BITS(CameraState.distance, 3000.0f);
}

TEST_F(HandleInputWithFakeInput, ButtonDownAtTheFirstTickJumpsByTheCursorPosition)
{
    Hold({VK_LBUTTON});
    fakeInput.cursor = {300, 200};
    Tick();
    EXPECT_SAME_BITS(CameraState.yaw, 300.0f);
    EXPECT_SAME_BITS(CameraState.pitch, 200.0f);
    EXPECT_EQ(CameraState.cursorNow.x, 300);
    EXPECT_EQ(CameraState.cursorPrevious.y, 200);
}

TEST_F(HandleInputWithFakeInput, PressingAfterMovingMakesNoJump)
{
    fakeInput.cursor = {300, 200};
    Tick();  // button up: only the previous position follows the cursor
    EXPECT_SAME_BITS(CameraState.yaw, 0.0f);
    EXPECT_EQ(CameraState.cursorNow.x, 0);
    EXPECT_EQ(CameraState.cursorPrevious.x, 300);
    Hold({VK_LBUTTON});
    Tick();
    EXPECT_SAME_BITS(CameraState.yaw, 0.0f);
    EXPECT_SAME_BITS(CameraState.pitch, 0.0f);
    fakeInput.cursor = {290, 215};
    Tick();
    EXPECT_SAME_BITS(CameraState.yaw, -10.0f);
    EXPECT_SAME_BITS(CameraState.pitch, 15.0f);
}

TEST_F(HandleInputWithFakeInput, DragAccumulatesWithoutWrapping)
{
    Hold({VK_LBUTTON});
    for (int x = 0; x <= 720; x += 90) {
        fakeInput.cursor = {x, -x};  // screen positions leave the window and the screen alike
        Tick();
    }
    EXPECT_SAME_BITS(CameraState.yaw, 720.0f);
    EXPECT_SAME_BITS(CameraState.pitch, -720.0f);
}

TEST_F(HandleInputWithFakeInput, ReadsTheCursorTwiceWithTheButtonDownAndOnceWithout)
{
    Tick();
    EXPECT_EQ(fakeInput.cursorReadings, 1);
    Hold({VK_LBUTTON});
    Tick();
    EXPECT_EQ(fakeInput.cursorReadings, 3);
}

TEST_F(HandleInputWithFakeInput, AngleSumIsRoundedToFloatOnlyWhenStored)
{
    // 1 + 16777217 = 16777218 exactly in double; converting the difference to float first would
    // give 16777216 and a sum that rounds back to 16777216.
    CameraState.yaw = 1.0f;
    Hold({VK_LBUTTON});
    fakeInput.cursor = {16777217, 0};
    Tick();
    EXPECT_SAME_BITS(CameraState.yaw, 16777218.0f);
}

TEST_F(HandleInputWithFakeInput, CursorDifferenceWrapsInThirtyTwoBits)
{
    CameraState.cursorPrevious = {-2147483647 - 1, 0};
    Hold({VK_LBUTTON});
    fakeInput.cursor = {2147483647, 0};
    Tick();
    EXPECT_SAME_BITS(CameraState.yaw, -1.0f);
}

}  // namespace
