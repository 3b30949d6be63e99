#include "dock/DockAccessibility.h"

#include "core/EntryLine.h"
#include "dock/Unit1.h"
#include "ui_Unit1.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QGraphicsView>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace pw::access
{
namespace
{

// A caption as it is read: a single "&" marks a mnemonic and is not read,
// "&&" stands for "&".
QString readCaption(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (++i == caption.size())
                break;
        }
        out += caption[i];
    }
    return out;
}

QGraphicsView* viewOf(TForm1& dock)
{
    return dock.form().view;
}

// A weak reference to a dock that reads as null once the dock is being
// destroyed: Qt asks the interfaces about the row while the window's base
// destructor hides its children, when the object is a TForm1 no more.
class DockRef
{
public:
    DockRef(TForm1* dock) : object_(dock) {}
    TForm1* get() const { return qobject_cast<TForm1*>(object_.data()); }
    operator TForm1*() const { return get(); }
    TForm1* operator->() const { return get(); }

private:
    QPointer<QObject> object_;
};

// The dock whose row `object` is, if it is one.
TForm1* dockOfView(QObject* object)
{
    auto* view = qobject_cast<QGraphicsView*>(object);
    auto* dock = view ? qobject_cast<TForm1*>(view->window()) : nullptr;
    return dock && viewOf(*dock) == view ? dock : nullptr;
}

// The dock showing a scene item, if any.
TForm1* dockOfItem(const QGraphicsItem& item)
{
    if (!item.scene())
        return nullptr;
    for (QGraphicsView* view : item.scene()->views()) {
        if (TForm1* dock = dockOfView(view))
            return dock;
    }
    return nullptr;
}

// A scene item's rectangle in the view's viewport and on the screen.
QRect inViewport(QGraphicsView& view, const QGraphicsItem& item)
{
    return view.viewportTransform().mapRect(item.sceneBoundingRect()).toRect();
}

QRect onScreen(QGraphicsView& view, const QGraphicsItem& item)
{
    const QRect r = inViewport(view, item);
    return QRect(view.viewport()->mapToGlobal(r.topLeft()), r.size());
}

// Whether any of a scene item lies in the part of the row the window shows.
bool inSight(QGraphicsView& view, const QGraphicsItem& item)
{
    return view.isVisible() && item.isVisible() &&
           view.viewport()->rect().intersects(inViewport(view, item));
}

bool dropZoneShown(const TForm1& dock)
{
    return dock.DropTarget1 && dock.DropTarget1->isVisible();
}

// The dock's window: a frame holding the row alone (the hidden holder of
// the menus is no part of what is seen).
class WindowInterface : public QAccessibleWidget
{
public:
    explicit WindowInterface(TForm1* dock) : QAccessibleWidget(dock, QAccessible::Window) {}

    int childCount() const override { return view() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override
    {
        QGraphicsView* row = view();
        return index == 0 && row ? QAccessible::queryAccessibleInterface(row) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && view() && child->object() == view() ? 0 : -1;
    }

private:
    // None while the window is being destroyed.
    QGraphicsView* view() const
    {
        TForm1* dock = qobject_cast<TForm1*>(widget());
        return dock ? viewOf(*dock) : nullptr;
    }
};

// The row: a tool bar named after the shown group, holding the tiles in
// their order, then the drop zone while add mode shows it.
class RowInterface : public QAccessibleWidget
{
public:
    RowInterface(QGraphicsView* view, TForm1* dock)
        : QAccessibleWidget(view, QAccessible::ToolBar), dock_(dock)
    {
    }

    bool isValid() const override { return QAccessibleWidget::isValid() && dock_; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && dock_)
            return readCaption(dock_->groupItem(std::clamp(dock_->MenuIndex, 0, 4))->text());
        return QAccessibleWidget::text(t);
    }

    int childCount() const override
    {
        if (!dock_)
            return 0;
        return int(dock_->LaunchBtn.size()) + (dropZoneShown(*dock_) ? 1 : 0);
    }

    QAccessibleInterface* child(int index) const override
    {
        if (!dock_ || index < 0)
            return nullptr;
        const qsizetype tiles = dock_->LaunchBtn.size();
        if (index < tiles)
            return QAccessible::queryAccessibleInterface(dock_->LaunchBtn[index]);
        if (index == tiles && dropZoneShown(*dock_))
            return QAccessible::queryAccessibleInterface(dock_->DropTarget1);
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!dock_ || !child || !child->object())
            return -1;
        QObject* object = child->object();
        if (object == dock_->DropTarget1)
            return dropZoneShown(*dock_) ? int(dock_->LaunchBtn.size()) : -1;
        if (auto* tile = qobject_cast<TImage*>(object))
            return int(dock_->LaunchBtn.indexOf(tile));
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (!dock_)
            return nullptr;
        QGraphicsView* view = viewOf(*dock_);
        const QPoint at = view->viewport()->mapFromGlobal(QPoint(x, y));
        if (!view->viewport()->rect().contains(at))
            return nullptr;
        // The scene finds the item under the point; the topmost tile wins, then
        // the drop zone.
        for (QGraphicsItem* item : view->items(at)) {
            auto* object = item->toGraphicsObject();
            if (!object)
                continue;
            if (auto* tile = qobject_cast<TImage*>(object); tile && dock_->LaunchBtn.contains(tile))
                return QAccessible::queryAccessibleInterface(tile);
            if (object == dock_->DropTarget1 && dropZoneShown(*dock_))
                return QAccessible::queryAccessibleInterface(object);
        }
        return nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        if (!dock_ || !dock_->isActiveWindow())
            return nullptr;
        const int i = dock_->keyFocus();
        return i >= 0 && i < dock_->LaunchBtn.size()
                   ? QAccessible::queryAccessibleInterface(dock_->LaunchBtn[i])
                   : nullptr;
    }

private:
    DockRef dock_;
};

// What a scene item of the row shares: its dock, its parent (the row), its
// window and its place on the screen.
class RowItemInterface : public QAccessibleObject
{
public:
    RowItemInterface(QGraphicsObject* item, TForm1* dock) : QAccessibleObject(item), dock_(dock) {}

    QWindow* window() const override { return dock_ ? dock_->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return dock_ ? QAccessible::queryAccessibleInterface(viewOf(*dock_)) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QRect rect() const override
    {
        return dock_ && item() ? onScreen(*viewOf(*dock_), *item()) : QRect();
    }

protected:
    QGraphicsObject* item() const { return static_cast<QGraphicsObject*>(object()); }
    QAccessible::State sightState() const
    {
        QAccessible::State s;
        if (!dock_ || !item() || !inSight(*viewOf(*dock_), *item())) {
            // Scrolled out of the shown part of a long row, or not shown at all.
            s.invisible = true;
            s.offscreen = true;
        }
        return s;
    }

    DockRef dock_;
};

// A tile: a push button named by its hint (its file's name when it has
// none), described by the file it opens. Pressing it launches the entry as a
// click does; its menu is the tile menu.
class TileInterface : public RowItemInterface, public QAccessibleActionInterface
{
public:
    TileInterface(TImage* tile, TForm1* dock) : RowItemInterface(tile, dock) {}

    bool isValid() const override { return RowItemInterface::isValid() && index() >= 0; }
    QAccessible::Role role() const override { return QAccessible::Button; }

    QString text(QAccessible::Text t) const override
    {
        const std::optional<TRec> entry = this->entry();
        if (!entry)
            return {};
        switch (t) {
        case QAccessible::Name:
            return pw::tileHint(
                {entry->fname, entry->param,
                 entry->hint.isEmpty() ? pw::fileNamePart(entry->fname) : entry->hint});
        case QAccessible::Description:
            return entry->fname;
        default:
            return {};
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = sightState();
        s.focusable = true;
        s.focused = dock_ && dock_->isActiveWindow() && dock_->keyFocus() == index();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return RowItemInterface::interface_cast(t);
    }

    QStringList actionNames() const override { return {pressAction(), showMenuAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // Both run from the event loop: the request arrives inside a call from the
    // client, which waits for the answer, and the tile menu runs a loop of its
    // own until it closes.
    void doAction(const QString& name) override
    {
        if (!dock_ || index() < 0)
            return;
        QPointer<TForm1> dock = dock_.get();
        QPointer<TImage> tile = static_cast<TImage*>(item());
        if (name == pressAction()) {
            QMetaObject::invokeMethod(
                dock,
                [dock, tile] {
                    if (dock && tile && dock->LaunchBtn.contains(tile.data()))
                        dock->BtnClickEvent(tile);
                },
                Qt::QueuedConnection);
        } else if (name == showMenuAction()) {
            QMetaObject::invokeMethod(
                dock,
                [dock, tile] {
                    if (dock && tile)
                        dock->showTileMenu(int(dock->LaunchBtn.indexOf(tile.data())));
                },
                Qt::QueuedConnection);
        }
    }

private:
    int index() const
    {
        auto* tile = static_cast<TImage*>(item());
        return dock_ && tile ? int(dock_->LaunchBtn.indexOf(tile)) : -1;
    }

    std::optional<TRec> entry() const
    {
        const int i = index();
        if (i < 0)
            return std::nullopt;
        const TStringList& lines =
            *dock_->LaunchPath[std::size_t(std::clamp(dock_->MenuIndex, 0, 4))];
        return i < lines.size() ? pw::entryFromLine(lines.at(i)) : std::nullopt;
    }
};

// The drop zone of add mode, named by the word it shows.
class DropZoneInterface : public RowItemInterface
{
public:
    using RowItemInterface::RowItemInterface;

    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QString text(QAccessible::Text t) const override
    {
        auto* zone = static_cast<TDropTarget*>(item());
        return t == QAccessible::Name && zone ? zone->text() : QString();
    }
    QAccessible::State state() const override { return sightState(); }
};

QAccessibleInterface* describe(const QString& className, QObject* object)
{
    if (className == QLatin1String("TForm1")) {
        if (auto* dock = qobject_cast<TForm1*>(object))
            return new WindowInterface(dock);
    } else if (className == QLatin1String("QGraphicsView")) {
        if (TForm1* dock = dockOfView(object))
            return new RowInterface(viewOf(*dock), dock);
    } else if (className == QLatin1String("TImage")) {
        auto* tile = qobject_cast<TImage*>(object);
        if (TForm1* dock = tile ? dockOfItem(*tile) : nullptr)
            return new TileInterface(tile, dock);
    } else if (className == QLatin1String("TDropTarget")) {
        auto* zone = qobject_cast<TDropTarget*>(object);
        if (TForm1* dock = zone ? dockOfItem(*zone) : nullptr)
            return new DropZoneInterface(zone, dock);
    }
    return nullptr;
}

// Tells a client which tile the keyboard is on, when the dock is the active
// window; with the keyboard off the row, the window's focused widget.
void announceFocus(TForm1& dock)
{
    if (!QAccessible::isActive() || !dock.isActiveWindow())
        return;
    const int i = dock.keyFocus();
    QObject* focused = nullptr;
    if (i >= 0 && i < dock.LaunchBtn.size())
        focused = dock.LaunchBtn[i];
    else if (QWidget* w = QApplication::focusWidget(); w && w->window() == &dock)
        focused = w;
    QAccessibleInterface* iface =
        focused ? QAccessible::queryAccessibleInterface(focused) : nullptr;
    if (!iface)
        return;
    QAccessibleEvent e(iface, QAccessible::Focus);
    QAccessible::updateAccessibility(&e);
}

// One turn of the event loop later: Qt announces the focused widget itself
// after the key or the activation that moved the keyboard has been handled,
// and the tile's announcement must come after it to be the one that counts.
void announceFocusSoon(TForm1& dock)
{
    if (!QAccessible::isActive())
        return;
    QPointer<TForm1> guard(&dock);
    QTimer::singleShot(0, &dock, [guard] {
        if (guard)
            announceFocus(*guard);
    });
}

} // namespace

void install()
{
    // Qt keeps a factory once, however often it is installed.
    QAccessible::installFactory(&describe);
}

void attach(TForm1& dock)
{
    QObject::connect(&dock, &TForm1::keyFocusChanged, &dock,
                     [d = &dock] { announceFocusSoon(*d); });
    // The window's focus announcement names the window: the tile the keyboard
    // is on follows it. The signal comes only when the focus changes windows.
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &dock,
                     [d = &dock](QWindow* window) {
                         if (window && window == d->windowHandle() && d->keyFocus() >= 0)
                             announceFocusSoon(*d);
                     });
}

void rowChanged(TForm1& dock, RowChange change)
{
    if (!QAccessible::isActive())
        return;
    QGraphicsView* view = viewOf(dock);
    if (change == RowChange::Group) {
        QAccessibleEvent named(view, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
    }
    QAccessibleEvent children(view, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&children);
    // Qt 6.4's AT-SPI bridge passes no reorder on: the creation of each child
    // tells a client of it as a child of the row. A client is told of the
    // first kAnnouncedChildren; it finds the rest by asking.
    constexpr int kAnnouncedChildren = 1000;
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(view);
    const int n = row ? std::min(row->childCount(), kAnnouncedChildren) : 0;
    for (int i = 0; i < n; ++i) {
        if (QAccessibleInterface* child = row->child(i)) {
            QAccessibleEvent created(child, QAccessible::ObjectCreated);
            QAccessible::updateAccessibility(&created);
        }
    }
}

} // namespace pw::access
