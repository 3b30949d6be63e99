#include "editors/SettingsControls.h"

#include "app/Prompter.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

namespace
{

// A colour over a checkerboard, which shows through a colour that is not
// opaque, in a grey outline that stands out on light and dark ground alike.
void paintSwatch(QPainter& p, const QRect& r, QRgb argb)
{
    constexpr int cell = 4;
    p.save();
    p.setClipRect(r);
    for (int y = r.top(); y <= r.bottom(); y += cell) {
        for (int x = r.left(); x <= r.right(); x += cell) {
            const bool light = ((x - r.left()) / cell + (y - r.top()) / cell) % 2 == 0;
            p.fillRect(x, y, cell, cell, light ? Qt::white : Qt::lightGray);
        }
    }
    p.fillRect(r, QColor::fromRgba(argb));
    p.setPen(QColor(0x90, 0x90, 0x90));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

QIcon swatch(QRgb argb)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    paintSwatch(p, pixmap.rect(), argb);
    return QIcon(pixmap);
}

QString hexName(QRgb argb)
{
    return QStringLiteral("#%1").arg(argb, 8, 16, QLatin1Char('0')).toUpper();
}

// A track bar as a screen reader sees it: a slider whose value is the one
// the bar stands for, in its own units (the slider beneath counts tenths).
class TrackBarInterface : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit TrackBarInterface(TTrackBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? QString::number(bar()->Value())
                                       : QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return bar()->Value(); }
    // As a move of the thumb: the change is announced.
    void setCurrentValue(const QVariant& value) override { bar()->SetValue(value.toDouble()); }
    QVariant maximumValue() const override { return bar()->Max(); }
    QVariant minimumValue() const override { return bar()->Min(); }
    QVariant minimumStepSize() const override
    {
        return bar()->singleStep() / double(TTrackBar::kScale);
    }

private:
    TTrackBar* bar() const { return static_cast<TTrackBar*>(widget()); }
};

// A colour box as a screen reader sees it: a combo box named by its own
// name (no caption stands beside it; Qt would name a combo box on Linux by
// its current item), whose value is the colour's name, and which opens.
class ColorBoxInterface : public QAccessibleWidget
{
public:
    explicit ColorBoxInterface(TComboColorBox* box) : QAccessibleWidget(box, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TComboColorBox* box() const { return static_cast<TComboColorBox*>(widget()); }
};

QAccessibleInterface* describeControl(const QString& className, QObject* object)
{
    if (className == QLatin1String("TTrackBar")) {
        if (auto* bar = qobject_cast<TTrackBar*>(object))
            return new TrackBarInterface(bar);
    } else if (className == QLatin1String("TComboColorBox")) {
        if (auto* box = qobject_cast<TComboColorBox*>(object))
            return new ColorBoxInterface(box);
    }
    return nullptr;
}

} // namespace

// ---- TComboColorBox ---------------------------------------------------------------

// The names as written, marked for the translations; the list shows them
// translated.
const QList<QPair<QString, QRgb>>& TComboColorBox::namedColors()
{
    static const QList<QPair<QString, QRgb>> colors = {
        {QStringLiteral(QT_TR_NOOP("White")), 0xFFFFFFFF},
        {QStringLiteral(QT_TR_NOOP("Black")), 0xFF000000},
        {QStringLiteral(QT_TR_NOOP("Silver")), 0xFFC0C0C0},
        {QStringLiteral(QT_TR_NOOP("Gray")), 0xFF808080},
        {QStringLiteral(QT_TR_NOOP("Red")), 0xFFFF0000},
        {QStringLiteral(QT_TR_NOOP("Maroon")), 0xFF800000},
        {QStringLiteral(QT_TR_NOOP("Orange")), 0xFFFFA500},
        {QStringLiteral(QT_TR_NOOP("Yellow")), 0xFFFFFF00},
        {QStringLiteral(QT_TR_NOOP("Olive")), 0xFF808000},
        {QStringLiteral(QT_TR_NOOP("Lime")), 0xFF00FF00},
        {QStringLiteral(QT_TR_NOOP("Green")), 0xFF008000},
        {QStringLiteral(QT_TR_NOOP("Aqua")), 0xFF00FFFF},
        {QStringLiteral(QT_TR_NOOP("Teal")), 0xFF008080},
        {QStringLiteral(QT_TR_NOOP("Blue")), 0xFF0000FF},
        {QStringLiteral(QT_TR_NOOP("Navy")), 0xFF000080},
        {QStringLiteral(QT_TR_NOOP("Fuchsia")), 0xFFFF00FF},
        {QStringLiteral(QT_TR_NOOP("Purple")), 0xFF800080},
        {QStringLiteral(QT_TR_NOOP("SteelBlue")), 0xFF4682B4},
        {QStringLiteral(QT_TR_NOOP("SkyBlue")), 0xFF87CEEB},
        {QStringLiteral(QT_TR_NOOP("Transparent")), 0x00FFFFFF},
    };
    return colors;
}

TComboColorBox::TComboColorBox(QWidget* parent) : QComboBox(parent)
{
    // A screen reader names the box by its own name.
    QAccessible::installFactory(&describeControl);
    for (const auto& [name, argb] : namedColors())
        addColorItem(count(), tr(qPrintable(name)), argb);
    addItem(tr("その他の色..."));
    setCurrentIndex(indexOf(color_));
    setToolTip(currentText());
    connect(this, &QComboBox::activated, this, &TComboColorBox::chosen);
}

void TComboColorBox::addColorItem(int at, const QString& name, QRgb argb)
{
    insertItem(at, swatch(argb), name, QVariant::fromValue(quint32(argb)));
}

int TComboColorBox::indexOf(QRgb argb) const
{
    for (int i = 0; i < count(); ++i) {
        const QVariant v = itemData(i);
        if (v.isValid() && v.value<quint32>() == argb)
            return i;
    }
    return -1;
}

void TComboColorBox::SetColor(QRgb argb)
{
    int i = indexOf(argb);
    if (i < 0) {
        // One item stands for a colour outside the list: the latest one.
        if (customIndex_ >= 0)
            removeItem(customIndex_);
        customIndex_ = count() - 1;
        addColorItem(customIndex_, hexName(argb), argb);
        i = customIndex_;
    }
    setCurrentIndex(i);
    setToolTip(itemText(i));
    if (argb == color_)
        return;
    color_ = argb;
    emit colorChanged(argb);
}

void TComboColorBox::chosen(int index)
{
    const QVariant v = itemData(index);
    if (v.isValid()) {
        SetColor(v.value<quint32>());
        return;
    }
    // The last item: any colour, from the dialog; a cancel keeps the colour.
    const std::optional<QRgb> picked = pw::prompt::pickColor(window(), color_);
    SetColor(picked.value_or(color_));
}

void TComboColorBox::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    paintSwatch(p, field.adjusted(1, 2, -2, -2), color_);
}

void TComboColorBox::showPopup()
{
    // The open list is as wide as its widest item, swatch and name, however
    // narrow the box.
    QAbstractItemView* list = view();
    int width = list->sizeHintForColumn(0) + 2 * list->frameWidth();
    if (count() > maxVisibleItems())
        width += list->verticalScrollBar()->sizeHint().width();
    list->setMinimumWidth(width);
    QComboBox::showPopup();
}

// ---- TTrackBar --------------------------------------------------------------------

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    // A screen reader reads the value the bar stands for, not its tenths.
    QAccessible::installFactory(&describeControl);
    SetRange(60, 240);
    setValue(minimum());
    connect(this, &QSlider::valueChanged, this, [this] { emit valueChangedF(Value()); });
}

void TTrackBar::SetRange(double min, double max)
{
    setRange(int(std::lround(min * kScale)), int(std::lround(max * kScale)));
}

void TTrackBar::SetValue(double v)
{
    if (std::isnan(v))
        return;
    setValue(int(std::lround(std::clamp(v, Min(), Max()) * kScale)));
}
