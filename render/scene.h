#pragma once
// One frame of the scene: the axes when shown and every ball as a lit sphere.
// Drawing only reads the ball table and the view state.

// Clears, places the camera from CameraState, draws axes and balls.
void DrawScene();

// A sphere of the given colour and radius centred on (x, y, z); leaves the
// current colour white and the modelview matrix as it found it, up to rounding.
void DrawSphere(float x, float y, float z, float r, float g, float b, float radius);
