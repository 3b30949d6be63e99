#pragma once

// The Windows shell services the dock uses, in Win32 terms and standard C++
// types only: UTF-16 strings in and out, window handles as integers, icon
// pictures as plain pixel buffers. The Qt side (the other files of this
// folder) converts to and from Qt's types; these functions know nothing of Qt,
// so they build and are tested with any Windows C++ toolchain.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::win32
{

// ---- launching ----------------------------------------------------------------------

// The path with every "/" turned into "\": the shell takes forward slashes
// in some places and not in others, and paths that come from a drop or a file
// dialog may carry them.
std::wstring nativeSeparators(std::wstring path);

// Opens or starts file through the shell: its default verb, the parameter
// string as given, dir as the working directory (empty: the caller's),
// shown normally. owner is the window that any message of the shell belongs
// to (0: none). file and dir get native separators; the parameters are left
// alone, since "/" starts an option there. Initialises COM on the calling
// thread for the call (single-threaded apartment, as the shell's extensions
// expect) and leaves the thread's COM state as it found it. Returns whether
// the shell reported success.
bool shellOpen(std::uintptr_t owner, const std::wstring& file, const std::wstring& params,
               const std::wstring& dir);

// ---- icons --------------------------------------------------------------------------

// An icon's picture: width x height pixels, rows top to bottom, each pixel
// 0xAARRGGBB with straight (not premultiplied) alpha. On a little-endian
// machine the bytes of a pixel are B, G, R, A.
struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// The first icon (index 0) of a program, library or icon file, extracted at
// size x size from the file itself. nullopt when the file has none, cannot be
// read or size is below 1.
std::optional<IconPixels> extractFileIcon(const std::wstring& path, int size);

// The shell's large icon for the file's type, found from the name alone: the
// file is not opened and need not exist. nullopt when the shell has none.
std::optional<IconPixels> fileTypeIcon(const std::wstring& path);

// ---- keyboard and taskbar -----------------------------------------------------------

// Whether a Shift key is held down at this moment.
bool isShiftDown();

// Gives the top-level window no taskbar button (and no place in the task
// switcher). A window that is shown at the time is hidden for the change and
// shown again, since the taskbar reads the style only when a window appears.
void hideTaskbarButton(std::uintptr_t window);

// ---- the ANSI code page -------------------------------------------------------------

// The code page that stands for the system's ANSI code page.
inline constexpr unsigned activeCodePage = 0;

// Text in a code page to UTF-16 and back. Bytes that are no character of the
// code page become U+FFFD or the code page's default character, characters it
// lacks its default character ("?"), as the system converts them.
std::wstring decodeCodePage(std::string_view bytes, unsigned codePage = activeCodePage);
std::string encodeCodePage(std::wstring_view text, unsigned codePage = activeCodePage);

// The text in the code page when each of its characters has a form of its
// own there, one that reads back as the same character; nullopt when one has
// none, where encodeCodePage puts the default character or a best-fit
// look-alike ("a" for "ā", "A" for a full-width "Ａ"), and for an unpaired
// surrogate. A UTF-8 code page takes any text, as encodeCodePage converts it
// (an unpaired surrogate becoming U+FFFD).
std::optional<std::string> encodeCodePageExactly(std::wstring_view text,
                                                 unsigned codePage = activeCodePage);

// ---- the user's language -----------------------------------------------------------

// The user's display language as a locale name ("ja-JP", "en-US"): the
// language Windows shows its own texts in. Empty when the system names none.
std::wstring userUiLanguage();

} // namespace pw::win32
