#include "platform/MemoryArenas.h"

namespace pw::platform
{

// The Windows heap is shared by every thread already.
void shareOneHeap() {}

} // namespace pw::platform
