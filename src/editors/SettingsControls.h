#pragma once

#include <QComboBox>
#include <QSlider>
#include <QtGlobal>

// Two controls of the settings window that Qt has no direct match for.

// A drop-down of colours, each shown with a swatch and its name, ending with
// an item that opens a colour dialog for any ARGB colour, alpha included. A
// colour not in the list is shown as an item of its own. Setting a colour from
// code, like a choice of the user's, announces a change only when the colour
// differs. The closed box is narrow: it shows the colour itself, filling the
// field, and names it in its tooltip.
class TComboColorBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TComboColorBox(QWidget* parent = nullptr);

    QRgb Color() const { return color_; }
    void SetColor(QRgb argb);

    // The named colours of the list, in order.
    static const QList<QPair<QString, QRgb>>& namedColors();

    void showPopup() override;

signals:
    void colorChanged(QRgb argb);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void chosen(int index);
    int indexOf(QRgb argb) const;
    void addColorItem(int at, const QString& name, QRgb argb);

    QRgb color_ = 0xFFFFFFFF;
    int customIndex_ = -1;
};

// A horizontal track bar whose value moves without snapping to whole numbers
// (in tenths), as a dragged thumb does.
class TTrackBar : public QSlider
{
    Q_OBJECT
public:
    static constexpr int kScale = 10;

    explicit TTrackBar(QWidget* parent = nullptr);

    double Value() const { return value() / double(kScale); }
    // Kept within Min to Max; announces a change only when the value differs.
    void SetValue(double v);
    double Min() const { return minimum() / double(kScale); }
    double Max() const { return maximum() / double(kScale); }
    void SetRange(double min, double max);

signals:
    void valueChangedF(double value);
};
