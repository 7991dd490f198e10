// Makes the one allocation its argument names, for the allocation counter's
// own test: the counter must call those made by this program ours, also when
// they pass through libc or libstdc++, and those made inside GLU theirs.

#include <GL/glu.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// Kept past main, so the compiler cannot drop an allocation nobody frees.
void* volatile kept;

bool Allocate(std::string_view what)
{
    if (what == "malloc")
        kept = std::malloc(64);
    else if (what == "calloc")
        kept = std::calloc(4, 16);
    else if (what == "realloc")
        kept = std::realloc(std::malloc(16), 4096);  // two: the first block, then its growth
    else if (what == "aligned_alloc")
        kept = std::aligned_alloc(64, 64);
    else if (what == "posix_memalign") {
        void* block = nullptr;
        if (posix_memalign(&block, 64, 64) != 0)
            return false;
        kept = block;
    } else if (what == "new")
        kept = new int[16];
    else if (what == "strdup")
        kept = strdup("through libc");
    else if (what == "glu")
        kept = gluNewQuadric();
    else if (what != "none")
        return false;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    return argc == 2 && Allocate(argv[1]) ? 0 : 2;
}
