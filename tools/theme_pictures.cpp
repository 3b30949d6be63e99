// Draws the pictures of the settings and parameter windows' theme: a dark
// slate and deep blue look with glossy buttons, dark fields and a blue accent.
// The build runs it once and puts the pictures into the program's resources;
// the style sheet src/theme/theme.qss names them and says how each stretches.
//
//   theme_pictures OUTPUT_DIR NAME...
//
// writes OUTPUT_DIR/NAME.png for every NAME and fails on a name it cannot draw.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace
{

// The accent and the two ends of the window's gradient.
const QColor accent(0x4a, 0x90, 0xe2);
const QColor slate(0x33, 0x42, 0x5c);
const QColor deepBlue(0x0b, 0x15, 0x2e);

QColor alpha(QColor c, int a)
{
    c.setAlpha(a);
    return c;
}

QLinearGradient vertical(const QRectF& r, std::initializer_list<std::pair<qreal, QColor>> stops)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    return g;
}

QPainterPath rounded(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// The upper half of a rounded shape, brightened: the gloss of buttons and knobs.
void gloss(QPainter& p, const QRectF& r, qreal radius, int strength)
{
    QRectF upper = r.adjusted(1, 1, -1, 0);
    upper.setHeight(r.height() * 0.5);
    p.fillPath(rounded(upper, std::max<qreal>(0, radius - 1)),
               vertical(upper, {{0, QColor(255, 255, 255, strength)},
                                {1, QColor(255, 255, 255, strength / 4)}}));
}

struct Button {
    QColor top, middle, bottom, outline;
    int shine;
};

void button(QPainter& p, const QSize& size, const Button& b)
{
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = 5;
    p.fillPath(rounded(r, radius), vertical(r, {{0, b.top}, {0.5, b.middle}, {1, b.bottom}}));
    if (b.shine > 0)
        gloss(p, r, radius, b.shine);
    p.setPen(QPen(b.outline, 1));
    p.drawPath(rounded(r, radius));
}

void field(QPainter& p, const QSize& size, const QColor& outline, qreal width)
{
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    p.fillPath(rounded(r, 4), vertical(r, {{0, QColor(0x07, 0x0e, 0x1e)},
                                           {0.3, QColor(0x0e, 0x19, 0x33)},
                                           {1, QColor(0x13, 0x21, 0x40)}}));
    // The outline lies inside the picture however wide it is.
    const qreal inset = width / 2 - 0.5;
    p.setPen(QPen(outline, width));
    p.drawPath(rounded(r.adjusted(inset, inset, -inset, -inset), 4));
}

void arrow(QPainter& p, const QSize& size, bool up)
{
    const qreal w = size.width(), h = size.height();
    QPainterPath path;
    if (up) {
        path.moveTo(0, h);
        path.lineTo(w / 2, 0);
        path.lineTo(w, h);
    } else {
        path.moveTo(0, 0);
        path.lineTo(w / 2, h);
        path.lineTo(w, 0);
    }
    path.closeSubpath();
    p.fillPath(path, QColor(0xf0, 0xf4, 0xff));
}

void indicatorBox(QPainter& p, const QSize& size, bool checked, bool round)
{
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = round ? r.width() / 2 : 3;
    if (checked) {
        p.fillPath(rounded(r, radius),
                   vertical(r, {{0, accent.lighter(130)}, {1, accent.darker(160)}}));
        gloss(p, r, radius, 90);
        p.setPen(QPen(QColor(0xb8, 0xd4, 0xff), 1));
    } else {
        p.fillPath(rounded(r, radius),
                   vertical(r, {{0, QColor(0x07, 0x0e, 0x1e)}, {1, QColor(0x1a, 0x2a, 0x4c)}}));
        p.setPen(QPen(QColor(0x9a, 0xb2, 0xd8), 1));
    }
    p.drawPath(rounded(r, radius));
    if (!checked)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    if (round) {
        p.drawEllipse(r.center(), r.width() * 0.2, r.height() * 0.2);
        return;
    }
    // A tick.
    const qreal w = r.width(), h = r.height();
    QPainterPath tick;
    tick.moveTo(r.left() + w * 0.22, r.top() + h * 0.52);
    tick.lineTo(r.left() + w * 0.42, r.top() + h * 0.72);
    tick.lineTo(r.left() + w * 0.78, r.top() + h * 0.28);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

void knob(QPainter& p, const QSize& size, int lighten)
{
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1);
    QRadialGradient g(r.center() - QPointF(r.width() * 0.15, r.height() * 0.2), r.width() * 0.7);
    g.setColorAt(0, QColor(0xee, 0xf4, 0xff).lighter(lighten));
    g.setColorAt(0.5, accent.lighter(lighten));
    g.setColorAt(1, accent.darker(180));
    p.setBrush(g);
    p.setPen(QPen(QColor(0xd8, 0xe6, 0xff), 1));
    p.drawEllipse(r);
}

void filled(QPainter& p, const QSize& size, qreal radius, const QColor& top, const QColor& bottom,
            const QColor& outline)
{
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    p.fillPath(rounded(r, radius), vertical(r, {{0, top}, {1, bottom}}));
    if (outline.alpha() > 0) {
        p.setPen(QPen(outline, 1));
        p.drawPath(rounded(r, radius));
    }
}

struct Picture {
    QSize size;
    std::function<void(QPainter&, const QSize&)> draw;
};

const std::map<std::string, Picture>& pictures()
{
    static const std::map<std::string, Picture> all = {
        // The window: slate at the top deepening to blue, with a soft glow
        // from the upper left. Stretched over the whole window.
        {"window",
         {{96, 256},
          [](QPainter& p, const QSize& s) {
              const QRectF r(QPointF(0, 0), s);
              p.fillRect(
                  r, vertical(r, {{0, slate}, {0.55, QColor(0x18, 0x25, 0x44)}, {1, deepBlue}}));
              QRadialGradient glow(QPointF(0, 0), s.height() * 0.8);
              glow.setColorAt(0, QColor(255, 255, 255, 28));
              glow.setColorAt(1, QColor(255, 255, 255, 0));
              p.fillRect(r, glow);
          }}},
        // A group box: a faintly lit pane with a blue-grey outline.
        {"group",
         {{32, 32},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 6, QColor(255, 255, 255, 26), QColor(255, 255, 255, 8),
                     QColor(0x8c, 0xaa, 0xdc, 120));
              p.setPen(QPen(QColor(255, 255, 255, 40), 1));
              p.drawLine(QPointF(6, 1.5), QPointF(s.width() - 6, 1.5));
          }}},
        // The tab that carries a group box's title.
        {"title",
         {{24, 20},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 5, QColor(0x5b, 0x8f, 0xd6), QColor(0x23, 0x4f, 0x97),
                     QColor(0x9c, 0xc3, 0xff, 200));
          }}},
        {"button",
         {{32, 32},
          [](QPainter& p, const QSize& s) {
              button(p, s,
                     {QColor(0x55, 0x76, 0xa8), QColor(0x2a, 0x46, 0x75), QColor(0x1c, 0x31, 0x57),
                      QColor(0x8f, 0xb0, 0xe0, 200), 70});
          }}},
        {"button_hover",
         {{32, 32},
          [](QPainter& p, const QSize& s) {
              button(p, s,
                     {QColor(0x68, 0x92, 0xcf), QColor(0x33, 0x59, 0x97), QColor(0x24, 0x40, 0x70),
                      QColor(0xc4, 0xdc, 0xff), 90});
          }}},
        {"button_pressed",
         {{32, 32},
          [](QPainter& p, const QSize& s) {
              button(p, s,
                     {QColor(0x14, 0x25, 0x45), QColor(0x1d, 0x33, 0x5c), QColor(0x2e, 0x4b, 0x7e),
                      QColor(0x8f, 0xb0, 0xe0, 200), 0});
          }}},
        // The button that has the keyboard focus: a lit outline.
        {"button_focus",
         {{32, 32},
          [](QPainter& p, const QSize& s) {
              button(p, s,
                     {QColor(0x55, 0x76, 0xa8), QColor(0x2a, 0x46, 0x75), QColor(0x1c, 0x31, 0x57),
                      QColor(0x8c, 0xc8, 0xff), 70});
              p.setPen(QPen(alpha(QColor(0x8c, 0xc8, 0xff), 120), 1));
              p.drawPath(rounded(QRectF(QPointF(0, 0), s).adjusted(1.5, 1.5, -1.5, -1.5), 4));
          }}},
        {"field",
         {{24, 24}, [](QPainter& p, const QSize& s) { field(p, s, QColor(0x5d, 0x78, 0xa8), 1); }}},
        {"field_focus",
         {{24, 24}, [](QPainter& p, const QSize& s) { field(p, s, QColor(0x6f, 0xb0, 0xff), 2); }}},
        // A combo box's drop-down button: a glossy end cap.
        {"dropdown",
         {{20, 24},
          [](QPainter& p, const QSize& s) {
              const QRectF r = QRectF(QPointF(0, 0), s).adjusted(0.5, 0.5, -0.5, -0.5);
              QPainterPath cap = rounded(r, 4);
              QPainterPath square;
              square.addRect(r.adjusted(0, 0, -r.width() / 2, 0));
              cap = cap.united(square);
              p.fillPath(
                  cap, vertical(r, {{0, QColor(0x55, 0x76, 0xa8)}, {1, QColor(0x1c, 0x31, 0x57)}}));
              gloss(p, r, 4, 60);
              p.setPen(QPen(QColor(0x8f, 0xb0, 0xe0, 160), 1));
              p.drawPath(cap);
          }}},
        // A spin box's step buttons.
        {"step",
         {{16, 12},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 2, QColor(0x48, 0x68, 0x9c), QColor(0x20, 0x38, 0x62),
                     QColor(0x8f, 0xb0, 0xe0, 140));
          }}},
        {"step_pressed",
         {{16, 12},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 2, QColor(0x14, 0x25, 0x45), QColor(0x2e, 0x4b, 0x7e),
                     QColor(0x8f, 0xb0, 0xe0, 140));
          }}},
        {"arrow_down", {{9, 5}, [](QPainter& p, const QSize& s) { arrow(p, s, false); }}},
        {"arrow_up", {{9, 5}, [](QPainter& p, const QSize& s) { arrow(p, s, true); }}},
        {"check_off",
         {{16, 16}, [](QPainter& p, const QSize& s) { indicatorBox(p, s, false, false); }}},
        {"check_on",
         {{16, 16}, [](QPainter& p, const QSize& s) { indicatorBox(p, s, true, false); }}},
        {"radio_off",
         {{16, 16}, [](QPainter& p, const QSize& s) { indicatorBox(p, s, false, true); }}},
        {"radio_on",
         {{16, 16}, [](QPainter& p, const QSize& s) { indicatorBox(p, s, true, true); }}},
        // A track bar: a sunken groove, lit up to the knob.
        {"groove",
         {{16, 6},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 3, QColor(0x05, 0x0b, 0x18), QColor(0x16, 0x24, 0x44),
                     QColor(0x5d, 0x78, 0xa8));
          }}},
        {"groove_fill",
         {{16, 6},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 3, accent.lighter(120), accent.darker(150), QColor(0x9c, 0xc3, 0xff));
          }}},
        {"handle", {{16, 16}, [](QPainter& p, const QSize& s) { knob(p, s, 100); }}},
        {"handle_hover", {{16, 16}, [](QPainter& p, const QSize& s) { knob(p, s, 125); }}},
        // The chosen item of a list or an open drop-down.
        {"selection",
         {{16, 16},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 3, accent, accent.darker(170), QColor(0x9c, 0xc3, 0xff, 160));
          }}},
        // An open drop-down's list.
        {"popup",
         {{16, 16},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 3, QColor(0x12, 0x1f, 0x3b), QColor(0x0b, 0x15, 0x2e),
                     QColor(0x6f, 0x94, 0xd0));
          }}},
        // A scroll bar: a dark track and a lighter rounded handle.
        {"scroll_track",
         {{12, 12},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 5, QColor(0x05, 0x0b, 0x18), QColor(0x0e, 0x18, 0x30),
                     QColor(0x3c, 0x52, 0x7a));
          }}},
        {"scroll_handle",
         {{12, 12},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 5, QColor(0x6a, 0x86, 0xb6), QColor(0x3a, 0x56, 0x88),
                     QColor(0xa8, 0xc4, 0xf0));
          }}},
        {"scroll_handle_hover",
         {{12, 12},
          [](QPainter& p, const QSize& s) {
              filled(p, s, 5, QColor(0x86, 0xa6, 0xdc), QColor(0x4a, 0x6c, 0xa8),
                     QColor(0xd0, 0xe2, 0xff));
          }}},
    };
    return all;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: theme_pictures OUTPUT_DIR NAME...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "theme_pictures: cannot make %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const auto it = pictures().find(argv[i]);
        if (it == pictures().end()) {
            std::fprintf(stderr, "theme_pictures: no picture named %s\n", argv[i]);
            return 1;
        }
        QImage image(it->second.size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            it->second.draw(p, it->second.size);
        }
        const QString file = out.filePath(QString::fromLocal8Bit(argv[i]) + QStringLiteral(".png"));
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "theme_pictures: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
