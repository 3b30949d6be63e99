#pragma once

#include "core/Layout.h"

#include <QList>
#include <QPointF>

#include <functional>
#include <optional>

class TImage;

// The tiles of the group on show, one slot per entry, in the row's order.
//
// A slot keeps what the layout gave its entry's tile while the entry is off
// screen: its place in the row and its jump. The
// tile object itself is made when it is first asked for (the dock asks for
// the entries on screen; a handler may ask for any entry i) and given back
// when a scroll takes it off screen. So a row of thousands of entries holds
// tile objects for the few dozen the window shows, and every operation that
// addresses tile i keeps working: asking for tile i makes it.
//
// Reads as the list of the row's tiles: size(), row[i], indexOf(tile),
// move(), iteration (which makes every tile; for tests and small rows).
class TTileRow
{
public:
    // What an entry's tile has of the layout. Its file and hint are the
    // entry line's, which the dock holds beside the row in the same order.
    struct Slot {
        QPointF pos;
        std::optional<pw::layout::Jump> jump;
        TImage* tile = nullptr;
    };
    // Makes the tile of slot i; the row keeps it in the slot until it is
    // released or taken.
    using Maker = std::function<TImage*(qsizetype i, const Slot&)>;

    void setMaker(Maker maker) { maker_ = std::move(maker); }

    qsizetype size() const { return slots_.size(); }
    bool isEmpty() const { return slots_.isEmpty(); }
    void reserve(qsizetype n) { slots_.reserve(n); }

    // Tile i, made if it was not; i must be in range.
    TImage* at(qsizetype i) const;
    TImage* operator[](qsizetype i) const { return at(i); }
    // Tile i, or null when i is out of range.
    TImage* value(qsizetype i) const { return i >= 0 && i < size() ? at(i) : nullptr; }
    TImage* first() const { return at(0); }
    TImage* last() const { return at(size() - 1); }
    // Tile i if it is made, without making it.
    TImage* madeAt(qsizetype i) const { return slots_.at(i).tile; }
    // The index of a tile of this row, or -1 (null, or a tile given back).
    qsizetype indexOf(const TImage* tile) const;
    bool contains(const TImage* tile) const { return indexOf(tile) >= 0; }

    const Slot& slot(qsizetype i) const { return slots_.at(i); }
    Slot& slot(qsizetype i) { return slots_[i]; }
    void append(Slot slot) { slots_.append(std::move(slot)); }
    // As QList::move: the entry at `from` goes to index `to`.
    void move(qsizetype from, qsizetype to) { slots_.move(from, to); }
    // Takes slot i out of the row, with its tile if one is made.
    Slot takeAt(qsizetype i) { return slots_.takeAt(i); }
    // Takes the tile of slot i out of the slot (the slot stays); null if none.
    TImage* release(qsizetype i);
    // Empties the row; returns the tiles that were made, for the caller to
    // dispose of.
    QList<TImage*> clear();
    // The tiles made so far, in row order.
    QList<TImage*> madeTiles() const;

    class const_iterator
    {
    public:
        const_iterator(const TTileRow* row, qsizetype i) : row_(row), i_(i) {}
        TImage* operator*() const { return row_->at(i_); }
        const_iterator& operator++()
        {
            ++i_;
            return *this;
        }
        bool operator==(const const_iterator& o) const { return i_ == o.i_; }
        bool operator!=(const const_iterator& o) const { return i_ != o.i_; }

    private:
        const TTileRow* row_;
        qsizetype i_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    // Mutable: making a tile on demand changes no entry of the row.
    mutable QList<Slot> slots_;
    Maker maker_;
};
