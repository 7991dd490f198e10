#include "render/camera.h"

#include <cstdint>

Camera CameraState = {CAMERA_START_DISTANCE, 0.0f, 0.0f, 0, {0, 0}, {0, 0}};

namespace {

const SHORT KEY_DOWN = (SHORT)0x8000;
const int NO_AXES_CHANGE = -1;

// Input that arrived as messages since the latest tick.
struct PendingInput {
    int wheel;
    int axesVisible;  // as the latest typed * or / asks, or NO_AXES_CHANGE
};

PendingInput pending = {0, NO_AXES_CHANGE};

bool IsDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & KEY_DOWN) != 0;
}

// A 32-bit difference that wraps as the platform's integers do, rather than overflowing.
int32_t Difference(LONG now, LONG before)
{
    return (int32_t)((uint32_t)now - (uint32_t)before);
}

void ApplyPendingInput()
{
    CameraState.distance = (float)((double)CameraState.distance -
                                   (double)pending.wheel * CAMERA_DISTANCE_PER_WHEEL_UNIT);
    if (pending.axesVisible != NO_AXES_CHANGE)
        CameraState.axesVisible = pending.axesVisible;
    pending = PendingInput{0, NO_AXES_CHANGE};
}

}  // namespace

void HandleInput()
{
    if (IsDown(VK_LBUTTON)) {
        GetCursorPos(&CameraState.cursorNow);
        CameraState.yaw = (float)((double)CameraState.yaw +
                                  Difference(CameraState.cursorNow.x, CameraState.cursorPrevious.x));
        CameraState.pitch = (float)((double)CameraState.pitch +
                                    Difference(CameraState.cursorNow.y, CameraState.cursorPrevious.y));
    }
    // A fresh reading, not a copy: moving with the button up and then pressing makes no jump.
    GetCursorPos(&CameraState.cursorPrevious);
    // Both + keys held act as one.
    if (IsDown(VK_ADD) || IsDown(VK_OEM_PLUS))
        CameraState.distance = (float)((double)CameraState.distance - CAMERA_DISTANCE_STEP);
    if (IsDown(VK_SUBTRACT) || IsDown(VK_OEM_MINUS))
        CameraState.distance = (float)((double)CameraState.distance + CAMERA_DISTANCE_STEP);
    // Before the keypad's * and /, which keep the last word while held, as they always had.
    ApplyPendingInput();
    if (IsDown(VK_MULTIPLY))
        CameraState.axesVisible = 1;
    if (IsDown(VK_DIVIDE))
        CameraState.axesVisible = 0;
}

void WheelTurned(int delta)
{
    pending.wheel += delta;
}

// The keypad's * and / type these characters too; a tap too short for any tick to see the key
// held still counts.
void CharacterTyped(WPARAM character)
{
    if (character == '*')
        pending.axesVisible = 1;
    else if (character == '/')
        pending.axesVisible = 0;
}
