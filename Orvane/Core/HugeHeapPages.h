#pragma once
// The allocator's heap on huge pages where the system gives them on request.
// A conversion fills megabytes of memory (notes, events, a sound's samples);
// on 4 KiB pages each first touch is a page fault, and on a virtual machine a
// page fault costs more than the work done on the page.

// Call once, first thing in main, before the heap has grown. Leaves the heap
// as it is under a limit on the address space or on data (ulimit -v, -d),
// where the room it sets aside could cost a later allocation, and where the
// allocator is not the system's.
void PreferHugeHeapPages();
