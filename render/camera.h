#pragma once
// The view state and its control by the left mouse button, the keypad or the main keys, the
// wheel and the typed characters * and /.

#include <windows.h>

const float CAMERA_START_DISTANCE = 3000.0f;
const float CAMERA_DISTANCE_STEP = 10.0f;
// One scene unit per wheel unit: a notch (WHEEL_DELTA) moves the camera 120 units, as twelve
// ticks of keypad + do, and parts of a notch add up exactly.
const float CAMERA_DISTANCE_PER_WHEEL_UNIT = 1.0f;

struct Camera {
    float distance;  // eye on the positive X axis, scene units; may reach zero and go below
    float yaw;       // degrees about the scene's Y axis; grows as the cursor moves right
    float pitch;     // degrees about the Z axis; grows as the cursor moves down
    int axesVisible;
    POINT cursorNow;       // screen pixels, read in the latest tick with the button down
    POINT cursorPrevious;  // screen pixels, read at the end of the latest tick
};

extern Camera CameraState;

// Once per tick, after drawing: turns by the drag since the previous tick, moves the camera while
// + or - (keypad or main keys) is held and by the wheel turned since, and shows (*) or hides (/)
// the axes as typed since or held on the keypad.
void HandleInput();

// From the window procedure, between ticks: the next HandleInput applies them.
void WheelTurned(int delta);  // WHEEL_DELTA per notch, positive away from the user
void CharacterTyped(WPARAM character);
