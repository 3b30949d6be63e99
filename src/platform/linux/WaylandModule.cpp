// The Wayland half of the platform layer: layer surfaces for the dock, its
// menus and its tooltips. Built as a module of its own, which the dock loads
// only in a Wayland session, so that a dock under X neither links nor maps
// the Wayland client library.
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
    // Menus and tooltips are xdg popups of the dock's layer surface; the
    // compositor closes a menu on a click outside the program's surfaces.
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

// What a window is to the compositor: the dock's own layer surface, a menu
// (a popup that grabs the pointer) or a tooltip (a popup that takes no
// input).
enum class Role { Window, Menu, Hint };

// One window's layer surface: follows the window's surfaces and the place the
// dock gives it; a popup's follows the place Qt gives the popup.
class LayerSurface : public QObject
{
public:
    LayerSurface(QWidget& widget, Role role)
        : QObject(&widget), widget_(widget), role_(role), popup_(role != Role::Window)
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
        // while open); a tooltip moves with the pointer to the next tile.
        if (xdgPopup_) {
            if (!same && role_ == Role::Hint)
                reshow();
            return;
        }
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
            // A tooltip shown again lost its surface as it hid: Qt would make
            // the next one as the window shows and draw on it at once, before
            // it could get its role. The native window is made anew instead,
            // and its surface gets the role as it is made.
            if (role_ == Role::Hint && window_ && window_->handle() && !nativeSurface())
                window_->destroy();
            else if (window_ && !surface_ && !xdgPopup_)
                giveRole();
        }
        // A tooltip's popup goes as Qt closes it, before Qt takes its surface
        // (the window hears of its hide only after).
        if (role_ == Role::Hint && ((watched == &widget_ && e->type() == QEvent::Close) ||
                                    (watched == window_ && e->type() == QEvent::Hide)))
            release();
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
    // Shows the window again, so that Qt's new surface gets its role where
    // the window now stands: a layer surface on the monitor it now stands
    // on, or a tooltip's popup where Qt moved it (to the next tile, with that
    // tile's text; the xdg shell's version 2 cannot move a shown popup). Not
    // from within the event that moved it; once for a move and a resize
    // together.
    void reshow()
    {
        // A menu that changed monitors while open keeps its surface: hiding
        // it would close it.
        if (reshowing_ || role_ == Role::Menu)
            return;
        reshowing_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                reshowing_ = false;
                closed_ = false;
                if (widget_.isVisible() &&
                    (xdgPopup_ || !surface_ || output_ != outputFor(screen_))) {
                    // A popup's role goes before Qt takes its surface.
                    if (xdgPopup_)
                        release();
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

    // The window a popup opens from: the dock, or the menu of a submenu.
    LayerSurface* owner() const
    {
        QWidget* parent = widget_.parentWidget();
        return of(parent ? parent->window() : nullptr);
    }

    // A popup stands where Qt put it, moved by its owner's offset and kept
    // on the monitor it then stands on.
    void followWidget()
    {
        QRect rect = widget_.geometry();
        if (LayerSurface* owner = this->owner())
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

    wl_surface* nativeSurface() const
    {
        return static_cast<wl_surface*>(
            QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface",
                                                                                window_));
    }

    void giveRole()
    {
        Shell* s = shell();
        wl_surface* surface = nativeSurface();
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
        LayerSurface* owner = this->owner();
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
        // Qt keeps to itself; compositors of the wlr family take any. A
        // tooltip takes no grab: the pointer stays with the dock, which
        // would otherwise hear it leave and hide the tooltip at once.
        if (role_ == Role::Menu)
            xdg_popup_grab(xdgPopup_, seat, 0);
        configured_ = false;
        wl_surface_commit(surface);
        while (xdgSurface_ && !configured_) {
            if (wl_display_roundtrip_queue(s.display, s.queue) < 0)
                break;
        }
        // A tooltip has nothing more to hear of: only a menu hands out events.
        if (role_ != Role::Menu)
            return true;
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
    const Role role_;
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

// Makes the tooltips of layer-surface windows popups of theirs. Qt's Wayland
// platform makes a tooltip an xdg popup of the nearest window with an xdg
// surface of Qt's own; a layer surface is none, and the tooltip becomes an
// ordinary top-level window, which a tiling compositor lays over the whole
// output: the pointer leaves the dock, and Qt hides the tooltip at once. Qt
// makes each tooltip a new widget, a child of the widget it describes; it is
// told apart as Qt polishes it, before its native window is made.
class HintWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::Polish || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        QWidget* parent = w->parentWidget();
        if (w->windowType() == Qt::ToolTip && parent && LayerSurface::of(parent->window()) &&
            !LayerSurface::of(w)) {
            w->setWindowFlag(Qt::BypassWindowManagerHint, true);
            new LayerSurface(*w, Role::Hint);
        }
        return false;
    }
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
        layer = new LayerSurface(window, Role::Window);
        // Qt shows tooltips only over the active window, and the compositor
        // never makes a layer surface Qt's active window.
        window.setAttribute(Qt::WA_AlwaysShowToolTips, true);
        const QString watcherName = QStringLiteral("pw_hint_watcher");
        if (!qApp->findChild<QObject*>(watcherName, Qt::FindDirectChildrenOnly)) {
            auto* watcher = new HintWatcher(qApp);
            watcher->setObjectName(watcherName);
            qApp->installEventFilter(watcher);
        }
    }
    layer->place(rect, screen);
}

void makeLayerPopup(QWidget& popup)
{
    if (!shell() || LayerSurface::of(&popup))
        return;
    popup.setWindowFlag(Qt::BypassWindowManagerHint, true);
    new LayerSurface(popup, Role::Menu);
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
