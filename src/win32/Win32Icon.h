#pragma once

// Icon handles and their pictures, for the icon functions of Win32.h and
// their tests.
#include <windows.h>

#include "win32/Win32.h"

#include <optional>
#include <utility>

namespace pw::win32
{

// Owns one icon handle and destroys it with itself, whatever path the code
// that received it takes.
class UniqueIcon
{
public:
    UniqueIcon() = default;
    explicit UniqueIcon(HICON icon) : icon_(icon) {}
    ~UniqueIcon() { reset(); }
    UniqueIcon(UniqueIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    UniqueIcon& operator=(UniqueIcon&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.icon_, nullptr));
        return *this;
    }
    UniqueIcon(const UniqueIcon&) = delete;
    UniqueIcon& operator=(const UniqueIcon&) = delete;

    HICON get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    // Destroys the icon held so far and holds icon instead.
    void reset(HICON icon = nullptr)
    {
        if (icon_ != nullptr)
            DestroyIcon(icon_);
        icon_ = icon;
    }

private:
    HICON icon_ = nullptr;
};

// The icon's picture at its own size, with its transparent parts
// transparent: the colour bitmap's alpha channel, or the icon's mask where the
// colour bitmap has none (icons of 24 bits or fewer, and 32-bit icons whose
// alpha is all zero). nullopt for a null or broken handle.
std::optional<IconPixels> iconPixels(HICON icon);

} // namespace pw::win32
