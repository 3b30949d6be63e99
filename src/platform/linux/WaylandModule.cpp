// The Wayland half of the platform layer: layer surfaces for the dock and
// its menus. Built as a module of its own, which the dock loads only in a
// Wayland session, so that a dock under X neither links nor maps the
// Wayland client library.
#include "platform/linux/WaylandModule.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

// The protocol names an argument "namespace", a C++ keyword.
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#include "xdg-shell-client-protocol.h"

namespace pw::platform
{
namespace
{

// The layer shell's version that brought keyboard focus on demand.
constexpr std::uint32_t kOnDemandVersion = 4;

wl_display* waylandDisplay()
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!native || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return nullptr;
    return static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
}

// The compositor's layer shell, bound on an event queue of our own: Qt reads
// the display's socket, and our objects' events wait in this queue until we
// dispatch it, on the GUI thread, when we change something.
struct Shell {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;
    zwlr_layer_shell_v1* shell = nullptr;
    std::uint32_t version = 0;
    // Menus are xdg popups of the dock's layer surface, which the compositor
    // closes on a click outside the program's surfaces.
    xdg_wm_base* wmBase = nullptr;
};

void onGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version)
{
    auto* s = static_cast<Shell*>(data);
    if (std::strcmp(interface, xdg_wm_base_interface.name) == 0 && !s->wmBase) {
        s->wmBase =
            static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 2));
        static const xdg_wm_base_listener pong = {
            [](void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }};
        xdg_wm_base_add_listener(s->wmBase, &pong, nullptr);
        return;
    }
    if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) != 0 || s->shell)
        return;
    s->version = std::min<std::uint32_t>(version, kOnDemandVersion);
    s->shell = static_cast<zwlr_layer_shell_v1*>(
        wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, s->version));
}

void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

// Asked once, the first time it is needed; null when there is none.
Shell* shell()
{
    static Shell* const s = []() -> Shell* {
        wl_display* display = waylandDisplay();
        if (!display)
            return nullptr;
        auto* found = new Shell;
        found->display = display;
        found->queue = wl_display_create_queue(display);
        auto* wrapped = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapped), found->queue);
        wl_registry* registry = wl_display_get_registry(wrapped);
        wl_proxy_wrapper_destroy(wrapped);
        wl_registry_add_listener(registry, &kRegistryListener, found);
        wl_display_roundtrip_queue(display, found->queue);
        wl_registry_destroy(registry);
        if (!found->shell) {
            wl_event_queue_destroy(found->queue);
            delete found;
            return nullptr;
        }
        return found;
    }();
    return s;
}

// One window's layer surface: follows the window's surfaces and the place the
// dock gives it; a popup's follows the place Qt gives the popup.
class LayerSurface : public QObject
{
public:
    LayerSurface(QWidget& widget, bool popup) : QObject(&widget), widget_(widget), popup_(popup)
    {
        setObjectName(QStringLiteral("pw_layer_surface"));
        widget.installEventFilter(this);
        watchWindow();
    }
    ~LayerSurface() override { release(); }

    // The layer surface of a window, if it has one.
    static LayerSurface* of(QWidget* w)
    {
        return w ? w->findChild<LayerSurface*>(QStringLiteral("pw_layer_surface"),
                                               Qt::FindDirectChildrenOnly)
                 : nullptr;
    }

    void place(QRect rect, QRect screen)
    {
        const bool same = rect == rect_ && screen == screen_ && layer() == placedLayer_;
        rect_ = rect;
        screen_ = screen;
        watchWindow();
        // A menu's popup stays where it opened (the dock's menus do not move
        // while open).
        if (xdgPopup_)
            return;
        if (!surface_) {
            // The compositor took the role back; the dock has moved since
            // (to the monitor it stands in on).
            if (closed_)
                reshow();
            return;
        }
        if (same)
            return;
        if (output_ != outputFor(screen)) {
            // A layer surface stays on the output it was made for.
            reshow();
            return;
        }
        applyState();
        wl_surface_commit(wlSurface_);
        wl_display_flush(shell()->display);
        wl_display_dispatch_queue_pending(shell()->display, shell()->queue);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // The widget hears of its show before its native window is shown.
        // Qt made the first surface with the native window, before anyone
        // could watch it: that one gets its role here, before it shows.
        if (watched == &widget_ && e->type() == QEvent::Show) {
            watchWindow();
            if (popup_)
                followWidget();
            if (window_ && !surface_ && !xdgPopup_)
                giveRole();
        }
        if (popup_ && watched == &widget_ &&
            (e->type() == QEvent::Move || e->type() == QEvent::Resize))
            followWidget();
        if (watched == window_ && e->type() == QEvent::PlatformSurface) {
            const auto type = static_cast<QPlatformSurfaceEvent*>(e)->surfaceEventType();
            if (type == QPlatformSurfaceEvent::SurfaceCreated)
                giveRole();
            else
                release();
        }
        return false;
    }

private:
    // Shows the window again, so that Qt's new surface gets a layer surface
    // on the monitor the window now stands on. Not from within the event
    // that moved it.
    void reshow()
    {
        // A menu that changed monitors while open keeps its surface: hiding
        // it would close it.
        if (reshowing_ || popup_)
            return;
        reshowing_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                reshowing_ = false;
                closed_ = false;
                if (widget_.isVisible() && (!surface_ || output_ != outputFor(screen_))) {
                    widget_.hide();
                    widget_.show();
                }
            },
            Qt::QueuedConnection);
    }

    // How far the window truly stands from where Qt believes it stands. Qt's
    // Wayland platform believes every top-level window without a parent
    // stands at its screen's top-left corner (it cannot know better of an
    // ordinary window): a popup it places from the dock's coordinates is off
    // by the dock's place on its monitor, and so are its own submenus.
    QPoint believedOffset() const
    {
        return window_ && (surface_ || xdgPopup_) ? rect_.topLeft() - window_->geometry().topLeft()
                                                  : QPoint();
    }

    // A popup stands where Qt put it, moved by its owner's offset and kept
    // on the monitor it then stands on.
    void followWidget()
    {
        QRect rect = widget_.geometry();
        QWidget* parent = widget_.parentWidget();
        if (LayerSurface* owner = of(parent ? parent->window() : nullptr))
            rect.translate(owner->believedOffset());
        QScreen* screen = QGuiApplication::screenAt(rect.topLeft());
        if (!screen)
            screen = widget_.screen();
        if (!screen)
            return;
        const QRect bounds = screen->geometry();
        rect.moveLeft(
            std::max(bounds.left(), std::min(rect.left(), bounds.right() + 1 - rect.width())));
        rect.moveTop(
            std::max(bounds.top(), std::min(rect.top(), bounds.bottom() + 1 - rect.height())));
        place(rect, bounds);
    }

    void watchWindow()
    {
        QWindow* w = widget_.windowHandle();
        if (w == window_)
            return;
        if (window_)
            window_->removeEventFilter(this);
        release();
        window_ = w;
        if (window_)
            window_->installEventFilter(this);
    }

    static wl_output* outputFor(QRect screen)
    {
        QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
        for (QScreen* s : QGuiApplication::screens()) {
            if (s->geometry() == screen)
                return static_cast<wl_output*>(native->nativeResourceForScreen("output", s));
        }
        return nullptr;
    }

    void giveRole()
    {
        Shell* s = shell();
        auto* surface = static_cast<wl_surface*>(
            QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface",
                                                                                window_));
        if (!s || !surface)
            return;
        release();
        if (popup_ && givePopupRole(*s, surface))
            return;
        wlSurface_ = surface;
        output_ = outputFor(screen_);
        surface_ = zwlr_layer_shell_v1_get_layer_surface(s->shell, surface, output_, layer(),
                                                         "pondwillow");
        static const zwlr_layer_surface_v1_listener listener = {
            [](void* data, zwlr_layer_surface_v1* ls, std::uint32_t serial, std::uint32_t,
               std::uint32_t) {
                zwlr_layer_surface_v1_ack_configure(ls, serial);
                static_cast<LayerSurface*>(data)->configured_ = true;
            },
            [](void* data, zwlr_layer_surface_v1*) {
                // The compositor took the role back (its output went away):
                // the window gets a new one where it stands next.
                auto* self = static_cast<LayerSurface*>(data);
                self->release();
                self->closed_ = true;
            }};
        zwlr_layer_surface_v1_add_listener(surface_, &listener, this);
        zwlr_layer_surface_v1_set_anchor(surface_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                       ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
        zwlr_layer_surface_v1_set_exclusive_zone(surface_, 0);
        // Keys reach the dock once it is clicked. Before version 4 there is
        // only "never" or "always": a dock that took every key from every
        // program would be worse than one without keys. A popup takes no
        // keys itself: Qt hands it the keys the dock gets while it is open,
        // and the dock keeps them once it closes.
        zwlr_layer_surface_v1_set_keyboard_interactivity(
            surface_, !popup_ && s->version >= kOnDemandVersion
                          ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND
                          : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
        applyState();
        // The first commit carries no picture; the compositor answers with a
        // configure, which is acknowledged before Qt draws.
        configured_ = false;
        wl_surface_commit(surface);
        while (surface_ && !configured_) {
            if (wl_display_roundtrip_queue(s->display, s->queue) < 0)
                break;
        }
    }

    // Makes the menu an xdg popup of its owner (the dock's layer surface, or
    // the menu a submenu opens from), grabbing the pointer so that the
    // compositor says when a click lands outside. False when that cannot be
    // (no xdg shell, an owner without a role): the menu is then a layer
    // surface of its own.
    bool givePopupRole(Shell& s, wl_surface* surface)
    {
        QWidget* parent = widget_.parentWidget();
        LayerSurface* owner = of(parent ? parent->window() : nullptr);
        auto* seat = static_cast<wl_seat*>(
            QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("wl_seat"));
        if (!s.wmBase || !owner || !seat || !(owner->surface_ || owner->xdgSurface_))
            return false;
        wlSurface_ = surface;
        xdgSurface_ = xdg_wm_base_get_xdg_surface(s.wmBase, surface);
        static const xdg_surface_listener surfaceListener = {
            [](void* data, xdg_surface* xs, std::uint32_t serial) {
                xdg_surface_ack_configure(xs, serial);
                static_cast<LayerSurface*>(data)->configured_ = true;
            }};
        xdg_surface_add_listener(xdgSurface_, &surfaceListener, this);
        // Placed as followWidget placed it, counted from the owner's corner.
        const QSize size = rect_.size().expandedTo(QSize(1, 1));
        const QPoint at = rect_.topLeft() - owner->rect_.topLeft();
        xdg_positioner* positioner = xdg_wm_base_create_positioner(s.wmBase);
        xdg_positioner_set_size(positioner, size.width(), size.height());
        xdg_positioner_set_anchor_rect(positioner, at.x(), at.y(), 1, 1);
        xdg_positioner_set_anchor(positioner, XDG_POSITIONER_ANCHOR_TOP_LEFT);
        xdg_positioner_set_gravity(positioner, XDG_POSITIONER_GRAVITY_BOTTOM_RIGHT);
        xdgPopup_ = xdg_surface_get_popup(xdgSurface_, owner->xdgSurface_, positioner);
        xdg_positioner_destroy(positioner);
        if (!owner->xdgSurface_)
            zwlr_layer_surface_v1_get_popup(owner->surface_, xdgPopup_);
        static const xdg_popup_listener popupListener = {
            [](void*, xdg_popup*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
            [](void* data, xdg_popup*) {
                // A click outside: the compositor closed the popup, and the
                // menu follows, from the event loop.
                auto* self = static_cast<LayerSurface*>(data);
                QMetaObject::invokeMethod(
                    self, [self] { self->widget_.close(); }, Qt::QueuedConnection);
            },
            [](void*, xdg_popup*, std::uint32_t) {}};
        xdg_popup_add_listener(xdgPopup_, &popupListener, this);
        // The grab needs the serial of the input that opened the menu, which
        // Qt keeps to itself; compositors of the wlr family take any.
        xdg_popup_grab(xdgPopup_, seat, 0);
        configured_ = false;
        wl_surface_commit(surface);
        while (xdgSurface_ && !configured_) {
            if (wl_display_roundtrip_queue(s.display, s.queue) < 0)
                break;
        }
        // Qt reads the connection and leaves our events in our queue: while
        // the menu is open, they are handed out here (the compositor's word
        // that a click landed outside among them).
        if (!events_) {
            events_ = new QTimer(this);
            events_->setInterval(50);
            connect(events_, &QTimer::timeout, this, [] {
                if (Shell* sh = shell())
                    wl_display_dispatch_queue_pending(sh->display, sh->queue);
            });
        }
        events_->start();
        return true;
    }

    zwlr_layer_shell_v1_layer layer() const
    {
        if (popup_)
            return ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY;
        return widget_.windowFlags().testFlag(Qt::WindowStaysOnTopHint)
                   ? ZWLR_LAYER_SHELL_V1_LAYER_TOP
                   : ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM;
    }

    void applyState()
    {
        const QSize size = rect_.size().expandedTo(QSize(1, 1));
        zwlr_layer_surface_v1_set_size(surface_, std::uint32_t(size.width()),
                                       std::uint32_t(size.height()));
        // Anchored to the top-left corner: the margins are the window's place
        // on its monitor.
        const QPoint at = rect_.topLeft() - screen_.topLeft();
        zwlr_layer_surface_v1_set_margin(surface_, at.y(), 0, 0, at.x());
        placedLayer_ = layer();
        if (shell()->version >= ZWLR_LAYER_SURFACE_V1_SET_LAYER_SINCE_VERSION)
            zwlr_layer_surface_v1_set_layer(surface_, placedLayer_);
    }

    void release()
    {
        if (events_)
            events_->stop();
        if (xdgPopup_)
            xdg_popup_destroy(xdgPopup_);
        if (xdgSurface_)
            xdg_surface_destroy(xdgSurface_);
        xdgPopup_ = nullptr;
        xdgSurface_ = nullptr;
        if (surface_)
            zwlr_layer_surface_v1_destroy(surface_);
        surface_ = nullptr;
        wlSurface_ = nullptr;
        output_ = nullptr;
    }

    QWidget& widget_;
    const bool popup_;
    QWindow* window_ = nullptr;
    wl_surface* wlSurface_ = nullptr;
    wl_output* output_ = nullptr;
    zwlr_layer_surface_v1* surface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_popup* xdgPopup_ = nullptr;
    QTimer* events_ = nullptr;
    bool configured_ = false;
    bool reshowing_ = false;
    bool closed_ = false;
    QRect rect_;
    QRect screen_;
    zwlr_layer_shell_v1_layer placedLayer_ = ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM;
};

// Whether the compositor of the session announces the wlr layer shell: one
// connection of our own, one round trip for the list of globals, closed
// again before Qt makes its own.
bool compositorOffersLayerShell()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    bool offered = false;
    static const wl_registry_listener listener = {
        [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
                *static_cast<bool*>(data) = true;
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &offered);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offered;
}

// The loader calls these only when the start chose the layer shell; the
// compositor Qt is connected to must have it too.
void placeLayerSurface(QWidget& window, QRect rect, QRect screen)
{
    if (!shell())
        return;
    LayerSurface* layer = LayerSurface::of(&window);
    if (!layer) {
        // With QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT (set at start), Qt's
        // Wayland platform gives a window that bypasses the window manager
        // no shell role of its own.
        if (!window.windowFlags().testFlag(Qt::BypassWindowManagerHint))
            window.setWindowFlag(Qt::BypassWindowManagerHint, true);
        layer = new LayerSurface(window, false);
    }
    layer->place(rect, screen);
}

void makeLayerPopup(QWidget& popup)
{
    if (!shell() || LayerSurface::of(&popup))
        return;
    popup.setWindowFlag(Qt::BypassWindowManagerHint, true);
    new LayerSurface(popup, true);
}

const WaylandModule kModule = {kWaylandModuleVersion, compositorOffersLayerShell, placeLayerSurface,
                               makeLayerPopup};

} // namespace
} // namespace pw::platform

extern "C" __attribute__((visibility("default"))) const pw::platform::WaylandModule*
pw_wayland_module()
{
    return &pw::platform::kModule;
}
