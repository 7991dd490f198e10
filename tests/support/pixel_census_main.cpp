// pixel-census < PICTURE.ppm: the census of a binary PPM (P6, 8 bits a channel) as lines of
// name=value, which a shell can eval and JavaScript split.
#include "tests/support/pixel_census.h"

#include <cstdio>
#include <vector>

int main()
{
    int width = 0, height = 0, maximum = 0;
    std::vector<unsigned char> rgb;
    if (std::scanf("P6 %d %d %d", &width, &height, &maximum) == 3 && width > 0 && height > 0 &&
        maximum == 255 && std::fgetc(stdin) != EOF)
        rgb.resize((size_t)width * height * 3);
    if (rgb.empty() || std::fread(rgb.data(), 1, rgb.size(), stdin) != rgb.size()) {
        std::fputs("pixel-census: not a whole PPM of 8-bit channels\n", stderr);
        return 1;
    }
    const PixelCensus c = CountPixels({rgb.data(), 3L * width, 3, 0, 1, 2}, 0, 0, width, height);
    std::printf("pixels=%ld\nnonBlack=%ld\nblue=%ld\nredOrGreen=%ld\nred=%ld\ngreen=%ld\n"
                "pureRed=%ld\npureGreen=%ld\nplainRed=%ld\nredWidth=%ld\ngreenWidth=%ld\n"
                "greenHeight=%.17g\n",
                c.pixels, c.nonBlack, c.blue, c.redOrGreen, c.red, c.green, c.pureRed, c.pureGreen,
                c.plainRed, c.redWidth, c.greenWidth, c.greenHeight);
}
