#include "tests/support/frame_count.h"

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

FrameCount::FrameCount(const char* shimPath) : shim(shimPath)
{
    char name[] = "/tmp/boulles-frames-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        return;
    path = name;
    if (ftruncate(fd, sizeof(int64_t)) == 0) {
        void* mapped = mmap(nullptr, sizeof(int64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        count = mapped == MAP_FAILED ? nullptr : (int64_t*)mapped;
    }
    close(fd);
}

FrameCount::~FrameCount()
{
    if (count != nullptr)
        munmap(count, sizeof(int64_t));
    if (!path.empty())
        unlink(path.c_str());
}

Environment PreloadEnvironment(const std::string& preloads)
{
    // A sanitizer build refuses libraries loaded before its runtime; the shims allocate nothing
    // it needs to see.
    const char* asanOptions = std::getenv("ASAN_OPTIONS");
    return {{"LD_PRELOAD", preloads},
            {"ASAN_OPTIONS",
             std::string(asanOptions != nullptr ? asanOptions : "") + ":verify_asan_link_order=0"}};
}

Environment FrameCount::ProgramEnvironment(const std::string& otherPreloads) const
{
    Environment environment =
        PreloadEnvironment(otherPreloads.empty() ? shim : otherPreloads + ":" + shim);
    environment.emplace_back("FRAME_COUNT_FILE", path);
    return environment;
}

long FrameCount::Frames() const
{
    return count != nullptr ? (long)__atomic_load_n(count, __ATOMIC_ACQUIRE) : 0;
}

bool FrameCount::WaitForMore(long more) const
{
    const long target = Frames() + more;
    return WaitUntil([&] { return Frames() >= target; });
}
