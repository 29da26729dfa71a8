#include "app/StartupHeap.h"

#include <cstdlib>  // defines __GLIBC__ where the library is the GNU one

#if defined(__linux__) && defined(__GLIBC__)
#include <cstdint>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

StartupHeap PrepareStartupHeap()
{
    StartupHeap heap;
#if defined(__linux__) && defined(__GLIBC__)
    static bool prepared = false;
    if (prepared)
        return heap;
    prepared = true;

    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    constexpr int kLargestHeapBlock = 4 << 20;
    constexpr std::size_t kReserve = std::size_t(10) << 20;
    // These settings hold for the program's life: threads share the one heap; it gives memory back to
    // the system only once 32 MiB lie free at its top; and when it must grow, blocks of up to 4 MiB
    // grow it rather than get mappings of their own, to be mapped and unmapped each time (the
    // library's own adjustment of that bound, which would raise it likewise, stops once any of these
    // is set).
    if (!mallopt(M_ARENA_MAX, 1) || !mallopt(M_TRIM_THRESHOLD, 32 << 20) || !mallopt(M_MMAP_THRESHOLD, 16 << 20))
        return heap;
    // The heap grows by one block as large as the reserve. The allocator writes only at a block's two
    // ends, so the stretch between is still untouched when huge pages are asked for it.
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* const block = std::malloc(kReserve);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    if (!block || before == std::uintptr_t(-1) || after <= before || start < before - kHugePage
        || start + kReserve > after) {
        std::free(block);
        return heap;  // the allocator is not the library's, or its heap could not grow
    }
    // Huge pages cover whole aligned 2 MiB stretches. The block shrinks to fill the heap up to the
    // first boundary and is kept (only its first page is ever touched); the rest is the heap's free
    // top, where start-up's blocks are carved from the boundary up.
    constexpr std::uintptr_t kChunkHeader = 2 * sizeof(std::size_t);
    std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (first - start < 4 * kChunkHeader)
        first += kHugePage;
    static void* filler = nullptr;
    filler = std::realloc(block, first - start - kChunkHeader);
    const std::uintptr_t last = (start + kReserve) & ~(kHugePage - 1);
    if (reinterpret_cast<std::uintptr_t>(filler) != start || first >= last)
        return heap;  // shrunk elsewhere: the top is not where it was
    madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    heap.begin = reinterpret_cast<char*>(first);
    heap.end = reinterpret_cast<char*>(start + kReserve);
#endif
    return heap;
}
