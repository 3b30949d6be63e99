#include "core/RefrectMode.h"

#include <array>

namespace pw
{

namespace
{
constexpr std::array<const char*, 4> kNames{"mleft", "mright", "mtop", "mbottom"};
}

QString refrectModeName(TRefrectMode mode)
{
    const auto i = static_cast<std::size_t>(mode);
    return i < kNames.size() ? QString::fromLatin1(kNames[i]) : QString();
}

std::optional<TRefrectMode> refrectModeFromName(QStringView name)
{
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (name.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0)
            return static_cast<TRefrectMode>(i);
    }
    return std::nullopt;
}

} // namespace pw
