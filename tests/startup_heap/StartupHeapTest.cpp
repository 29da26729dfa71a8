// The heap start-up prepares: large blocks and other threads' blocks come from it, and it stays.

#include "app/StartupHeap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#if defined(__linux__) && defined(__GLIBC__)
#include <cstdint>
#include <unistd.h>

extern char end;  // the end of the program's data: the heap lies above it

namespace {

char* heapTop() { return static_cast<char*>(sbrk(0)); }

bool inHeap(const void* block) { return block > static_cast<const void*>(&end) && block < heapTop(); }

// The VmFlags line of the mapping that holds the address, from /proc/self/smaps.
std::string flagsOfMappingAt(const void* address)
{
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        unsigned long from = 0, to = 0;  // a mapping's first line begins with its range
        if (std::sscanf(line.c_str(), "%lx-%lx ", &from, &to) == 2)
            inside = from <= at && at < to;
        else if (inside && line.rfind("VmFlags:", 0) == 0)
            return line;
    }
    return {};
}

}  // namespace

TEST(StartupHeap, LargeAndOtherThreadsBlocksComeFromTheHeapItKeeps)
{
    const StartupHeap heap = PrepareStartupHeap();
    ASSERT_NE(heap.begin, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(heap.begin) % (2u << 20), 0u) << "starts on a huge page";
    EXPECT_GE(heap.end - heap.begin, 6 << 20);
    EXPECT_EQ(PrepareStartupHeap().begin, nullptr) << "a second call prepares nothing more";
    if (std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled")) {  // where the kernel has them
        EXPECT_NE(flagsOfMappingAt(heap.begin).find(" hg"), std::string::npos) << "asks for huge pages";
    }

    // New blocks are carved from the prepared stretch, those as large as a big window's backing store
    // too (not from mappings of their own).
    const auto prepared = [&heap](const void* block) { return block >= heap.begin && block < heap.end; };
    void* const first = std::malloc(1 << 20);
    EXPECT_TRUE(prepared(first));
    void* const large = std::malloc(3 << 20);
    EXPECT_TRUE(prepared(large));
    std::free(first);
    // Another thread's blocks too.
    void* fromThread = nullptr;
    std::thread([&fromThread] { fromThread = std::malloc(4096); }).join();
    EXPECT_TRUE(inHeap(fromThread));
    std::free(fromThread);
    std::free(large);
    // Freed, the memory stays with the program: the heap does not shrink back.
    EXPECT_GE(heapTop(), heap.end);
}

#else

TEST(StartupHeap, PreparesNothingWithoutTheGnuLibrary) { EXPECT_EQ(PrepareStartupHeap().begin, nullptr); }

#endif
