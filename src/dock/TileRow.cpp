#include "dock/TileRow.h"

TImage* TTileRow::at(qsizetype i) const
{
    Slot& s = slots_[i];
    if (!s.tile && maker_)
        s.tile = maker_(i, s);
    return s.tile;
}

qsizetype TTileRow::indexOf(const TImage* tile) const
{
    if (!tile)
        return -1;
    for (qsizetype i = 0; i < slots_.size(); ++i) {
        if (slots_.at(i).tile == tile)
            return i;
    }
    return -1;
}

TImage* TTileRow::release(qsizetype i)
{
    return std::exchange(slots_[i].tile, nullptr);
}

QList<TImage*> TTileRow::clear()
{
    QList<TImage*> made = madeTiles();
    slots_.clear();
    return made;
}

QList<TImage*> TTileRow::madeTiles() const
{
    QList<TImage*> made;
    for (const Slot& s : std::as_const(slots_)) {
        if (s.tile)
            made << s.tile;
    }
    return made;
}
