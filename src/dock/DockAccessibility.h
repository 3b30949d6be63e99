#pragma once

class TForm1;

// The dock as assistive technologies (a screen reader, through Qt's
// accessibility and AT-SPI on Linux) see it: the window, holding the shown
// group as a tool bar named after the group, holding one push button per
// tile (and the drop zone in add mode). The tiles are scene items, which Qt
// describes to nobody by itself.
//
// Nothing here costs anything while no assistive technology is listening:
// the descriptions are made only when a client asks for them, and the
// announcements below return at once while Qt's accessibility is off.
namespace pw::access
{
// Makes Qt ask the dock for the descriptions of its window, its row and its
// tiles. Qt asks the newest factory first and installs its own with the
// application object, so this must run after the application object exists
// (the dock's constructor does it). Once is enough; more calls do nothing.
void install();

// Wires the announcements of one dock: the tile the keyboard is on, as it
// changes and as the dock's window becomes the active one again.
void attach(TForm1& dock);

// What changed in the row.
enum class RowChange {
    // Tiles came, went or moved, or the drop zone showed or hid.
    Children,
    // Another group is shown, or the shown one was loaded again (its name may
    // have changed too).
    Group,
};
// Tells a listening client about a change of the row.
void rowChanged(TForm1& dock, RowChange change);
} // namespace pw::access
