#include "storage/AtomicFile.h"

#include <utility>

namespace pw::platform
{

namespace
{
std::optional<detail::WriteFault>& pendingFault()
{
    static std::optional<detail::WriteFault> fault;
    return fault;
}
} // namespace

void failNextWriteForTesting(std::optional<WriteStep> step, int osError)
{
    if (step)
        pendingFault() = detail::WriteFault{*step, osError};
    else
        pendingFault().reset();
}

std::optional<detail::WriteFault> detail::takeWriteFault()
{
    return std::exchange(pendingFault(), std::nullopt);
}

} // namespace pw::platform
