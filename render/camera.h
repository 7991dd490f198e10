#pragma once
// The view state and its control by the left mouse button and the numeric keypad.

#include <windows.h>

const float CAMERA_START_DISTANCE = 3000.0f;
const float CAMERA_DISTANCE_STEP = 10.0f;

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
// keypad + or - is held, and shows (*) or hides (/) the axes.
void HandleInput();
