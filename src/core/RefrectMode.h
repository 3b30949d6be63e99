#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// The screen edge the dock lies against, and so the side its reflections face.
enum class TRefrectMode : std::uint8_t { mleft = 0, mright = 1, mtop = 2, mbottom = 3 };

namespace pw
{

QString refrectModeName(TRefrectMode mode);
// Case-insensitive; nullopt for anything that names none of the four edges.
std::optional<TRefrectMode> refrectModeFromName(QStringView name);

inline bool isVerticalEdge(TRefrectMode m)
{
    return m == TRefrectMode::mleft || m == TRefrectMode::mright;
}

} // namespace pw
