#pragma once

namespace pw::platform
{

// Lets every thread of the program allocate from one heap, unless the user
// chose otherwise. Call it before any thread starts. A C library that gives
// each thread a heap of its own (glibc does) then keeps no memory apart for
// threads that allocate little and seldom, as the dock's do.
void shareOneHeap();

} // namespace pw::platform
