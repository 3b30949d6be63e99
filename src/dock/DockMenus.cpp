#include "dock/DockMenus.h"

#include "platform/LayerShell.h"

#include <QActionEvent>
#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QVariantAnimation>

#include <cmath>
#include <numbers>
#include <vector>

namespace pw::menus
{
namespace look
{
QFont captionFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("Meiryo"), QStringLiteral("IPAGothic")});
    f.setPixelSize(fontPixelSize);
    return f;
}

QFont shortcutFont()
{
    QFont f(QStringLiteral("Helvetica"));
    f.setPixelSize(fontPixelSize);
    return f;
}

QPointF shadowOffset()
{
    const qreal a = shadowDirection * std::numbers::pi / 180;
    return {shadowDistance * std::cos(a), shadowDistance * std::sin(a)};
}

int shadowBlur()
{
    return int(std::lround(shadowSoftness * blurPerSoftness));
}

QMargins shadowMargins()
{
    // The blur spreads the shadow on every side; the offset moves it.
    const QPointF o = shadowOffset();
    const auto room = [](qreal r) { return std::max(0, int(std::ceil(r))); };
    const qreal b = shadowBlur();
    return {room(b - o.x()), room(b - o.y()), room(b + o.x()), room(b + o.y())};
}
} // namespace look

namespace
{
// The caption and the shortcut of an item: QMenu hands them over as one
// text with a tab between them.
struct Texts {
    QString caption;
    QString shortcut;
};

Texts splitText(const QString& text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return {text, {}};
    return {text.left(tab), text.mid(tab + 1)};
}

int rowHeight(const QFontMetrics& caption)
{
    return std::max(look::glyphColumn, caption.height() + 2 * look::textSpace);
}

// Measures the rows for QMenu, which places them and tracks the mouse over
// them; the menu paints them itself.
class MenuStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        switch (metric) {
        case PM_MenuPanelWidth:
        case PM_MenuHMargin:
        case PM_MenuDesktopFrameWidth:
        case PM_MenuTearoffHeight:
            return 0;
        case PM_MenuVMargin:
            return look::itemAreaPadding;
        case PM_SmallIconSize:
            return look::glyphColumn - 2 * look::iconInset;
        case PM_SubMenuOverlap:
            // The submenu's panel stands just right of the parent's panel.
            return look::padding.right() - look::shadowMargins().left();
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        switch (hint) {
        case SH_Menu_Mask:
        case SH_Menu_FlashTriggeredItem:
            return 0;
        default:
            return QProxyStyle::styleHint(hint, option, widget, data);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuItem || !item)
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        if (item->menuItemType == QStyleOptionMenuItem::Separator)
            return {look::glyphColumn, look::separatorHeight + 2 * look::separatorSpace};
        const Texts texts = splitText(item->text);
        int width = look::glyphColumn + look::captionSpace +
                    item->fontMetrics.horizontalAdvance(texts.caption) + look::captionSpace;
        if (!texts.shortcut.isEmpty()) {
            // QMenu adds the widest shortcut in the menu's own font to every
            // row; the rest of the shortcut's room is asked for here.
            width += look::shortcutBefore +
                     QFontMetrics(look::shortcutFont()).horizontalAdvance(texts.shortcut) +
                     look::shortcutAfter - item->fontMetrics.horizontalAdvance(texts.shortcut);
        }
        if (item->menuItemType == QStyleOptionMenuItem::SubMenu)
            width += look::arrowSize.width() + look::arrowAfter;
        return {width, rowHeight(item->fontMetrics)};
    }
};

QStyle* menuStyle()
{
    // One for all menus; the application owns it.
    static QPointer<MenuStyle> style;
    if (!style) {
        style = new MenuStyle;
        style->setParent(qApp);
    }
    return style;
}

QPainterPath panelPath(const QRectF& r)
{
    QPainterPath path;
    path.addRoundedRect(r, look::cornerRadius, look::cornerRadius);
    return path;
}

// Three passes of a box blur over the alpha of a black image: close to a
// Gaussian blur that spreads `radius` pixels.
void blurBlack(QImage& image, int radius)
{
    const int w = image.width();
    const int h = image.height();
    std::vector<int> alpha(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[std::size_t(y * w + x)] = qAlpha(line[x]);
    }
    const int box = std::max(1, radius / 3);
    std::vector<int> out(alpha.size());
    const auto pass = [&](int count, int length, int stride, int lineStride) {
        for (int l = 0; l < count; ++l) {
            const int base = l * lineStride;
            for (int i = 0; i < length; ++i) {
                int sum = 0;
                for (int k = i - box; k <= i + box; ++k)
                    if (k >= 0 && k < length)
                        sum += alpha[std::size_t(base + k * stride)];
                out[std::size_t(base + i * stride)] = sum / (2 * box + 1);
            }
        }
        alpha.swap(out);
    };
    for (int i = 0; i < 3; ++i) {
        pass(h, w, 1, w);
        pass(w, h, w, 1);
    }
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgba(0, 0, 0, alpha[std::size_t(y * w + x)]);
    }
}

void paintTick(QPainter& p, const QRect& box, const QColor& colour)
{
    const qreal s = box.width() / 11.0;
    const QPointF o = box.topLeft();
    const QPointF points[] = {o + QPointF(1.5, 6) * s, o + QPointF(4.5, 9) * s,
                              o + QPointF(9.5, 2) * s};
    p.setPen(QPen(colour, 2 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(points, 3);
}

void paintArrow(QPainter& p, const QRect& box, const QColor& colour)
{
    const QPointF points[] = {box.topLeft(),
                              QPointF(box.left() + box.width(), box.center().y() + 0.5),
                              QPointF(box.left(), box.top() + box.height())};
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(points, 3);
}

void paintRow(QPainter& p, const QStyleOptionMenuItem& item, qreal tickOpacity)
{
    const Row row = layoutRow(item);
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        p.fillRect(row.separator, QColor::fromRgb(look::outline));
        return;
    }
    const bool enabled = item.state.testFlag(QStyle::State_Enabled);
    const QColor mark = QColor::fromRgb(
        item.state.testFlag(QStyle::State_Selected) ? look::hoveredText : look::text);
    const QColor text = enabled ? mark : QColor::fromRgb(look::disabledText);

    if (!item.icon.isNull())
        item.icon.paint(&p, row.icon, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
    if (item.checked && tickOpacity > 0) {
        p.save();
        p.setOpacity(tickOpacity);
        paintTick(p, row.tick, mark);
        p.restore();
    }
    const Texts texts = splitText(item.text);
    p.setPen(text);
    p.setFont(item.font);
    p.drawText(row.caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, texts.caption);
    if (!texts.shortcut.isEmpty()) {
        p.setFont(look::shortcutFont());
        p.drawText(row.shortcut, Qt::AlignRight | Qt::AlignVCenter, texts.shortcut);
    }
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu)
        paintArrow(p, row.arrow, mark);
}
} // namespace

Row layoutRow(const QStyleOptionMenuItem& item)
{
    const QRect r = item.rect;
    Row row;
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        row.separator =
            QRect(r.left(), r.top() + look::separatorSpace, r.width(), look::separatorHeight);
        return row;
    }
    row.glyph = QRect(r.left(), r.top(), look::glyphColumn, r.height());
    const QRect inset =
        row.glyph.adjusted(look::iconInset, look::iconInset, -look::iconInset, -look::iconInset);
    const int side = std::min(inset.width(), inset.height());
    row.icon = QRect(0, 0, side, side);
    row.icon.moveCenter(inset.center());
    row.tick = QRect(0, 0, look::tickSize, look::tickSize);
    row.tick.moveCenter(row.glyph.center());

    // From the right edge: the arrow, then the shortcut, then the caption's room.
    int right = r.left() + r.width();
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
        right -= look::arrowAfter + look::arrowSize.width();
        row.arrow = QRect(QPoint(right, r.top() + (r.height() - look::arrowSize.height()) / 2),
                          look::arrowSize);
    }
    const Texts texts = splitText(item.text);
    if (!texts.shortcut.isEmpty()) {
        const int w = QFontMetrics(look::shortcutFont()).horizontalAdvance(texts.shortcut);
        right -= look::shortcutAfter + w;
        row.shortcut = QRect(right, r.top(), w, r.height());
        right -= look::shortcutBefore;
    }
    const int left = row.glyph.left() + row.glyph.width() + look::captionSpace;
    row.caption = QRect(left, r.top(), right - look::captionSpace - left, r.height());
    return row;
}

DockMenu::DockMenu(QWidget* parent) : DockMenu(QString(), parent) {}

DockMenu::DockMenu(const QString& title, QWidget* parent) : QMenu(title, parent)
{
    // The panel has round corners and a shadow around it: the window is
    // transparent outside the panel, and its margins leave room for the shadow.
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlag(Qt::NoDropShadowWindowHint);
    setStyle(menuStyle());
    setFont(look::captionFont());
    setContentsMargins(look::shadowMargins() + look::padding);
    // Behind a dock that is a layer surface, the menu is one too.
    pw::platform::makeLayerPopup(*this);
    // An item run while its menu is still open (a screen reader's press on
    // it, which Qt runs without closing anything) closes the open menus
    // first, as a click on it does. A click has closed them already.
    connect(this, &QMenu::triggered, this, [this](QAction* action) {
        if (isVisible() && !action->menu())
            closeOpenMenus();
    });

    tickFade_ = new QVariantAnimation(this);
    tickFade_->setStartValue(0.0);
    tickFade_->setEndValue(1.0);
    tickFade_->setDuration(look::tickFadeMs);
    connect(tickFade_, &QVariantAnimation::valueChanged, this, [this] { update(); });
    connect(tickFade_, &QVariantAnimation::finished, this, [this] {
        fading_.clear();
        update();
    });
}

QRect DockMenu::panelRect() const
{
    return rect().marginsRemoved(look::shadowMargins());
}

Row DockMenu::row(QAction* action) const
{
    QStyleOptionMenuItem item;
    initStyleOption(&item, action);
    item.rect = actionGeometry(action);
    return layoutRow(item);
}

// ---- keys ------------------------------------------------------------------------------------

QList<QAction*> DockMenu::windowActions() const
{
    // The window is the window of the first ancestor that is not a menu.
    QWidget* w = parentWidget();
    while (w && qobject_cast<QMenu*>(w))
        w = w->parentWidget();
    QList<QAction*> all = actions();
    if (w)
        all += w->window()->actions();
    return all;
}

QAction* DockMenu::shortcutAction(const QKeyEvent& e) const
{
    const QKeySequence pressed(
        QKeyCombination(e.modifiers() & ~Qt::KeypadModifier, Qt::Key(e.key())));
    for (QAction* a : windowActions()) {
        if (!a->isEnabled() || a->menu())
            continue;
        for (const QKeySequence& s : a->shortcuts())
            if (s.matches(pressed) == QKeySequence::ExactMatch)
                return a;
    }
    return nullptr;
}

bool DockMenu::event(QEvent* e)
{
    // Claiming the key keeps Qt's shortcut handling from running the action
    // as well (or instead, with the menu left open): keyPressEvent runs it.
    if (e->type() == QEvent::ShortcutOverride && shortcutAction(*static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    return QMenu::event(e);
}

void DockMenu::keyPressEvent(QKeyEvent* e)
{
    QAction* action = shortcutAction(*e);
    if (!action) {
        QMenu::keyPressEvent(e);
        return;
    }
    e->accept();
    // As a click on the item does: every open menu closes, then the action runs.
    closeOpenMenus();
    action->trigger();
}

void DockMenu::closeOpenMenus()
{
    QWidget* last = nullptr;
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (popup == last || !qobject_cast<QMenu*>(popup))
            break;
        last = popup;
        popup->close();
    }
}

// ---- check marks -------------------------------------------------------------------------

void DockMenu::showEvent(QShowEvent* e)
{
    QMenu::showEvent(e);
    checked_.clear();
    for (QAction* a : actions())
        if (a->isChecked())
            checked_.insert(a);
    fading_.clear();
    fadeIn(checked_);
}

void DockMenu::hideEvent(QHideEvent* e)
{
    tickFade_->stop();
    fading_.clear();
    QMenu::hideEvent(e);
}

void DockMenu::actionEvent(QActionEvent* e)
{
    QMenu::actionEvent(e);
    const QAction* a = e->action();
    if (e->type() == QEvent::ActionRemoved) {
        checked_.remove(a);
        fading_.remove(a);
    } else if (e->type() == QEvent::ActionChanged && isVisible()) {
        if (!a->isChecked())
            checked_.remove(a);
        else if (!checked_.contains(a)) {
            checked_.insert(a);
            fadeIn({a});
        }
    }
}

void DockMenu::fadeIn(const QSet<const QAction*>& items)
{
    if (items.isEmpty())
        return;
    fading_.unite(items);
    tickFade_->stop();
    tickFade_->start();
}

qreal DockMenu::tickOpacity(const QAction* action) const
{
    return fading_.contains(action) ? tickFade_->currentValue().toReal() : 1.0;
}

// ---- painting ------------------------------------------------------------------------------

void DockMenu::paintShadow(QPainter& p, const QRect& panel)
{
    const int blur = look::shadowBlur();
    const QSize size = panel.size() + QSize(2 * blur, 2 * blur);
    if (shadow_.size() != size) {
        shadow_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        shadow_.fill(Qt::transparent);
        QPainter sp(&shadow_);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.fillPath(panelPath(QRectF(QPointF(blur, blur), panel.size())), Qt::black);
        sp.end();
        blurBlack(shadow_, blur);
    }
    p.save();
    p.setOpacity(look::shadowOpacity);
    p.drawImage(QPointF(panel.topLeft()) + look::shadowOffset() - QPointF(blur, blur), shadow_);
    p.restore();
}

void DockMenu::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    const QRect panel = panelRect();
    paintShadow(p, panel);

    p.save();
    p.setOpacity(look::panelOpacity);
    // The outline's centre line lies half a pixel inside the panel's edge.
    const QPainterPath path = panelPath(QRectF(panel).adjusted(0.5, 0.5, -0.5, -0.5));
    p.fillPath(path, QColor::fromRgb(look::fill));
    p.strokePath(path, QPen(QColor::fromRgb(look::outline), 1));
    p.restore();

    for (QAction* a : actions()) {
        const QRect r = actionGeometry(a);
        if (!a->isVisible() || r.isEmpty() || !e->rect().intersects(r))
            continue;
        QStyleOptionMenuItem item;
        initStyleOption(&item, a);
        item.rect = r;
        paintRow(p, item, tickOpacity(a));
    }
}
} // namespace pw::menus
