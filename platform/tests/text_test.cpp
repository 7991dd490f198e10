// Windows-1252 texts as window systems and fonts want them.

#include <gtest/gtest.h>

#include "platform/core/backend.h"

namespace {

struct TextCase {
    const char* cp1252;
    const char* utf8;
    const char* latin1;
};

TEST(Cp1252Text, ConvertsToUtf8AndLatin1)
{
    const TextCase cases[] = {
        {"De belles boulles bleus", "De belles boulles bleus", "De belles boulles bleus"},
        {"Mode graphique non support\xe9.", "Mode graphique non support\xc3\xa9.",
         "Mode graphique non support\xe9."},
        {"Probl\xe8me", "Probl\xc3\xa8me", "Probl\xe8me"},
        {"\x80\x9c\x9f\xff", "\xe2\x82\xac\xc5\x93\xc5\xb8\xc3\xbf", "???\xff"},  // € œ Ÿ ÿ
        {"\x81", "\xc2\x81", "\x81"},  // unassigned: the C1 control, as Windows converts it
        {"", "", ""},
    };
    for (const TextCase& c : cases) {
        char out[64];
        Cp1252ToUtf8(c.cp1252, out, sizeof out);
        EXPECT_STREQ(out, c.utf8);
        Cp1252ToLatin1(c.cp1252, out, sizeof out);
        EXPECT_STREQ(out, c.latin1);
    }
}

TEST(Cp1252Text, StopsAtTheBufferWithoutSplittingACharacter)
{
    char out[4];
    Cp1252ToUtf8("a\xe9\x80", out, sizeof out);  // a (1) + é (2) fit, € (3) does not
    EXPECT_STREQ(out, "a\xc3\xa9");
    Cp1252ToLatin1("abcdef", out, sizeof out);
    EXPECT_STREQ(out, "abc");
}

}  // namespace
