#include "render/camera.h"

#include <cstdint>

Camera CameraState = {CAMERA_START_DISTANCE, 0.0f, 0.0f, 0, {0, 0}, {0, 0}};

namespace {

const SHORT KEY_DOWN = (SHORT)0x8000;

bool IsDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & KEY_DOWN) != 0;
}

// A 32-bit difference that wraps as the platform's integers do, rather than overflowing.
int32_t Difference(LONG now, LONG before)
{
    return (int32_t)((uint32_t)now - (uint32_t)before);
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
    if (IsDown(VK_ADD))
        CameraState.distance = (float)((double)CameraState.distance - CAMERA_DISTANCE_STEP);
    if (IsDown(VK_SUBTRACT))
        CameraState.distance = (float)((double)CameraState.distance + CAMERA_DISTANCE_STEP);
    if (IsDown(VK_MULTIPLY))
        CameraState.axesVisible = 1;
    if (IsDown(VK_DIVIDE))
        CameraState.axesVisible = 0;
}
