#pragma once
// Start-up touches several megabytes of fresh memory: the controls, the unit list, the table, the
// window's backing store. Taken a 4 KiB page at a time, each first touch is a page fault, and on a
// virtual machine one costs 5 to 15 µs: together more than a tenth of the wait for the first paint.
// PrepareStartupHeap() grows the heap once, far enough for start-up, and asks the kernel for
// transparent huge pages there (one fault per 2 MiB). Blocks come from the heap's free top before any
// is mapped on its own, so the large ones (the backing store, the table) land there too; threads
// share the one heap.
// Call it first in main(). Elsewhere than on Linux with the GNU C library, and where the allocator is
// not the library's own (sanitizers, valgrind), it does nothing.

struct StartupHeap {
    char* begin = nullptr;  // the part of the heap set aside for start-up; empty if none was
    char* end = nullptr;
};

StartupHeap PrepareStartupHeap();
