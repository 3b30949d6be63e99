#include "platform/LayerShell.h"

#include "platform/GuiPlatform.h"
#include "platform/linux/WaylandModule.h"

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace pw::platform
{

namespace
{

// The Wayland module, loaded the first time it is asked for: only in a
// Wayland session, where the start asks the compositor about the layer
// shell. Null when it is not there or not this build's.
const WaylandModule* waylandModule()
{
    static const WaylandModule* const module = []() -> const WaylandModule* {
        std::error_code error;
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error)
            return nullptr;
        const std::filesystem::path dir = exe.parent_path();
        for (const std::filesystem::path& file :
             {dir / kWaylandModuleFile, dir / PW_MODULE_DIR / kWaylandModuleFile}) {
            if (!std::filesystem::exists(file, error))
                continue;
            void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!handle) {
                std::fprintf(stderr, "Pondwillow: %s\n", dlerror());
                return nullptr;
            }
            using Entry = const WaylandModule* (*)();
            const auto entry = reinterpret_cast<Entry>(dlsym(handle, "pw_wayland_module"));
            const WaylandModule* m = entry ? entry() : nullptr;
            if (!m || m->version != kWaylandModuleVersion) {
                std::fprintf(stderr, "Pondwillow: %s is not this version's Wayland module\n",
                             file.c_str());
                dlclose(handle);
                return nullptr;
            }
            return m;
        }
        std::fprintf(stderr, "Pondwillow: %s not found beside the program; no layer surfaces\n",
                     kWaylandModuleFile);
        return nullptr;
    }();
    return module;
}

} // namespace

bool compositorOffersLayerShell()
{
    const WaylandModule* module = waylandModule();
    return module && module->offersLayerShell();
}

void placeLayerSurface(QWidget& window, QRect rect, QRect screen)
{
    if (usesLayerShell())
        if (const WaylandModule* module = waylandModule())
            module->placeLayerSurface(window, rect, screen);
}

void makeLayerPopup(QWidget& popup)
{
    if (usesLayerShell())
        if (const WaylandModule* module = waylandModule())
            module->makeLayerPopup(popup);
}

} // namespace pw::platform
