#include "platform/MemoryArenas.h"

#include <cstdlib>
#include <malloc.h>

namespace pw::platform
{

void shareOneHeap()
{
    // glibc reads MALLOC_ARENA_MAX itself; a value the user set is kept.
    if (!std::getenv("MALLOC_ARENA_MAX"))
        mallopt(M_ARENA_MAX, 1);
}

} // namespace pw::platform
