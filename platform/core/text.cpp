// Windows-1252, the system's single-byte texts, to what window systems and fonts expect.

#include "platform/core/backend.h"

namespace {

// 0x80 to 0x9F; the five unassigned bytes map to the C1 controls, as Windows converts them.
const unsigned short HIGH_CONTROL_RANGE[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int EncodeUtf8(unsigned codePoint, char* out)
{
    if (codePoint < 0x80) {
        out[0] = (char)codePoint;
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = (char)(0xC0 | (codePoint >> 6));
        out[1] = (char)(0x80 | (codePoint & 0x3F));
        return 2;
    }
    out[0] = (char)(0xE0 | (codePoint >> 12));
    out[1] = (char)(0x80 | ((codePoint >> 6) & 0x3F));
    out[2] = (char)(0x80 | (codePoint & 0x3F));
    return 3;
}

}  // namespace

unsigned Cp1252ToCodePoint(unsigned char c)
{
    if (c >= 0x80 && c < 0xA0)
        return HIGH_CONTROL_RANGE[c - 0x80];
    return c;
}

unsigned char CodePointToCp1252(unsigned codePoint)
{
    for (unsigned c = 1; c < 0x100; ++c)
        if (Cp1252ToCodePoint((unsigned char)c) == codePoint)
            return (unsigned char)c;
    return 0;
}

void Cp1252ToUtf8(const char* text, char* out, size_t outSize)
{
    size_t used = 0;
    for (; *text; ++text) {
        char encoded[3];
        const int length = EncodeUtf8(Cp1252ToCodePoint((unsigned char)*text), encoded);
        if (used + length >= outSize)
            break;
        for (int i = 0; i < length; ++i)
            out[used++] = encoded[i];
    }
    out[used] = '\0';
}

void Cp1252ToLatin1(const char* text, char* out, size_t outSize)
{
    size_t used = 0;
    for (; *text && used + 1 < outSize; ++text) {
        const unsigned codePoint = Cp1252ToCodePoint((unsigned char)*text);
        out[used++] = codePoint < 0x100 ? (char)codePoint : '?';
    }
    out[used] = '\0';
}
