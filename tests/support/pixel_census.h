#pragma once
// The census that every harness takes of a picture, defined once: the demo's tests link it, the
// page's and the Windows program's run it as pixel-census (pixel_census_main.cpp).

// `first` is the top-left pixel's first byte; rows are `rowBytes` apart, pixels `pixelBytes`;
// red, green and blue are the bytes at these offsets in a pixel.
struct PixelLayout {
    const unsigned char* first;
    long rowBytes;
    int pixelBytes;
    int red, green, blue;
};

// The demo draws on black: blue balls, and axes of red alone (X), green alone (Z) and blue alone
// (Y). The Windows message box adds grey and a shaded red icon.
struct PixelCensus {
    long pixels = 0;
    long nonBlack = 0;
    long blue = 0;        // blue alone
    long redOrGreen = 0;  // any red or green: all that is lit but blue
    long red = 0;         // any red
    long green = 0;       // any green
    long pureRed = 0;     // red alone
    long pureGreen = 0;   // green alone
    long plainRed = 0;    // red at least half bright, green and blue under a quarter
    // Columns from the leftmost pixel with red to the rightmost (0 without red), and with green.
    long redWidth = 0;
    long greenWidth = 0;
    // The mean height of the pixels with green, at their centres: 0 at the top, 1 at the bottom.
    double greenHeight = 0;
};

// The census of the columns [left, right) and rows [top, bottom) of `picture`.
PixelCensus CountPixels(const PixelLayout& picture, int left, int top, int right, int bottom);
