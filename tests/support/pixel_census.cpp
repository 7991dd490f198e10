#include "tests/support/pixel_census.h"

#include <algorithm>
#include <climits>

namespace {

// The columns that a class of pixels spans.
struct Span {
    int left = INT_MAX, right = INT_MIN;

    void Add(int x) { left = std::min(left, x), right = std::max(right, x); }
    long Width() const { return right < left ? 0 : right - left + 1; }
};

}  // namespace

PixelCensus CountPixels(const PixelLayout& picture, int left, int top, int right, int bottom)
{
    PixelCensus census;
    Span redSpan, greenSpan;
    double greenHeights = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const unsigned char* pixel =
                picture.first + y * picture.rowBytes + x * picture.pixelBytes;
            const int r = pixel[picture.red], g = pixel[picture.green], b = pixel[picture.blue];
            ++census.pixels;
            census.nonBlack += r + g + b > 0;
            census.blue += r + g == 0 && b > 0;
            census.redOrGreen += r + g > 0;
            census.pureRed += r > 0 && g + b == 0;
            census.pureGreen += g > 0 && r + b == 0;
            census.plainRed += r >= 128 && g < 64 && b < 64;
            if (r > 0)
                ++census.red, redSpan.Add(x);
            if (g > 0) {
                ++census.green, greenSpan.Add(x);
                greenHeights += (y - top + 0.5) / (bottom - top);
            }
        }
    census.redWidth = redSpan.Width();
    census.greenWidth = greenSpan.Width();
    census.greenHeight = census.green > 0 ? greenHeights / census.green : 0;
    return census;
}
