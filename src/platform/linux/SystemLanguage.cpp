#include "platform/SystemLanguage.h"

namespace pw::platform
{

// The locale variables are all there is.
QString systemDisplayLanguage()
{
    return {};
}

} // namespace pw::platform
