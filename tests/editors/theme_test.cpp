// The theme of the settings and parameter windows: every picture it names is
// there, text comes out light on dark parts, controls change their pictures
// with their state, and the dock and the desktop's dialogs keep their looks.
#include "editors/SettingsControls.h"
#include "editors/Unit2.h"
#include "editors/Unit3.h"
#include "editors/WindowTheme.h"
#include "support/DockFixture.h"
#include "ui_Unit2.h"
#include "ui_Unit3.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{

// How light a part of a picture is: the pixels as light as white text, and
// the median grey, which is the ground the text stands on.
struct Tones {
    int light = 0;
    int median = 0;
};

Tones tones(const QImage& image, const QRect& area)
{
    std::vector<int> greys;
    Tones t;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const int g = qGray(image.pixel(x, y));
            greys.push_back(g);
            if (g >= 200)
                ++t.light;
        }
    }
    if (!greys.empty()) {
        std::nth_element(greys.begin(), greys.begin() + greys.size() / 2, greys.end());
        t.median = greys[greys.size() / 2];
    }
    return t;
}

// A widget's area of its window's picture.
QRect areaIn(const QWidget* window, const QWidget* w)
{
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

void expectLightOnDark(const QImage& shot, const QRect& area, const char* what)
{
    SCOPED_TRACE(what);
    const Tones t = tones(shot, area);
    EXPECT_GE(t.light, 12) << "no white text";
    EXPECT_LE(t.median, 120) << "the ground is not dark";
}

class Theme : public DockFixture
{
protected:
    void SetUp() override
    {
        DockFixture::SetUp();
        writeFile("a.txt", "x");
        writeFile("PondwillowPath0.txt", (path("a.txt") + ",-x,A\r\n").toUtf8());
        Form1 = &create();
        settings = std::make_unique<TForm2>();
        Form2 = settings.get();
        parameters = std::make_unique<TForm3>();
        Form3 = parameters.get();
    }

    void TearDown() override
    {
        Form3 = nullptr;
        parameters.reset();
        Form2 = nullptr;
        settings.reset();
        Form1 = nullptr;
        DockFixture::TearDown();
    }

    std::unique_ptr<TForm2> settings;
    std::unique_ptr<TForm3> parameters;
};

TEST(ThemeResources, EveryPictureLoadsAndTheSheetNamesOnlyThem)
{
    QSet<QString> pictures;
    for (QDirIterator it(QLatin1String(pw::theme::folder)); it.hasNext();) {
        const QString file = it.next();
        if (!file.endsWith(QLatin1String(".png")))
            continue;
        SCOPED_TRACE(file.toStdString());
        EXPECT_FALSE(QImage(file).isNull());
        pictures << file;
    }
    // The window's background is not in the sheet: it is the window's own.
    EXPECT_TRUE(pictures.contains(QLatin1String(pw::theme::folder) + "/window.png"));

    const QString sheet = pw::theme::styleSheet();
    ASSERT_FALSE(sheet.isEmpty());
    const QRegularExpression url(QStringLiteral(R"(url\(([^)]+)\))"));
    QSet<QString> named;
    for (const QRegularExpressionMatch& m : url.globalMatch(sheet))
        named << m.captured(1);
    EXPECT_GE(named.size(), 20);
    for (const QString& file : std::as_const(named))
        EXPECT_TRUE(pictures.contains(file)) << file.toStdString() << " is missing";
}

TEST_F(Theme, TextIsWhiteOnDarkParts)
{
    settings->show();
    Ui::TForm2& s = settings->form();
    const QImage shot = settings->grab().toImage();
    expectLightOnDark(shot, areaIn(settings.get(), s.CloseBtn), "Close button");
    expectLightOnDark(shot, areaIn(settings.get(), s.Label5), "label on the window");
    // The title of a group box: the strip above its first control.
    const QRect box = areaIn(settings.get(), s.GroupBox3);
    expectLightOnDark(shot, QRect(box.left(), box.top(), 80, 20), "group box title");
    settings->reject();

    parameters->form().ParamEdit->setText(QStringLiteral("-x --y"));
    parameters->show();
    Ui::TForm3& p = parameters->form();
    const QImage small = parameters->grab().toImage();
    expectLightOnDark(small, areaIn(parameters.get(), p.Button1), "変更 button");
    expectLightOnDark(small, areaIn(parameters.get(), p.Label2), "label on the window");
    expectLightOnDark(small, areaIn(parameters.get(), p.ParamEdit), "parameter field");
    parameters->reject();
}

TEST_F(Theme, EveryCaptionFitsItsControl)
{
    settings->show();
    parameters->form().FileName->setText(QStringLiteral("/opt/a.txt"));
    parameters->show();
    for (QWidget* window : std::initializer_list<QWidget*>{settings.get(), parameters.get()}) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                      label->contentsRect().width());
        }
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            SCOPED_TRACE(button->text().toStdString());
            // Check boxes and radio buttons also hold their indicator.
            const int indicator = qobject_cast<const QPushButton*>(button) ? 0 : 22;
            EXPECT_LE(indicator + button->fontMetrics().horizontalAdvance(button->text()),
                      button->width());
        }
    }
    settings->reject();
    parameters->reject();
}

TEST_F(Theme, IndicatorsChangeTheirPictureWithTheirState)
{
    settings->show();
    Ui::TForm2& s = settings->form();
    const std::vector<std::pair<const char*, QAbstractButton*>> cases = {
        {"check box", s.ShowTaskBarCheck},
        {"radio button", s.ShadRadio},
    };
    for (const auto& [what, button] : cases) {
        SCOPED_TRACE(what);
        // The indicator, at the start of the control.
        const QRect indicator(areaIn(settings.get(), button).topLeft(),
                              QSize(18, button->height()));
        button->setChecked(false);
        const QImage off = settings->grab().toImage().copy(indicator);
        button->setChecked(true);
        const QImage on = settings->grab().toImage().copy(indicator);
        EXPECT_NE(off, on);
        // Checked, the indicator is lit by the accent: bright pixels appear.
        EXPECT_GT(tones(on, on.rect()).light, tones(off, off.rect()).light);
    }
    settings->reject();
}

TEST_F(Theme, TheTrackBarIsAThinGroove)
{
    settings->show();
    const TTrackBar* bar = settings->form().TrackBar1;
    const QImage shot = settings->grab().toImage().copy(areaIn(settings.get(), bar));
    // Far right of the knob, only the groove's rows differ from the ground
    // above it; a groove stretched over the whole bar squeezes the knob.
    const int x = shot.width() - 10;
    const int ground = qGray(shot.pixel(x, 0));
    int rows = 0;
    for (int y = 0; y < shot.height(); ++y) {
        if (std::abs(qGray(shot.pixel(x, y)) - ground) > 12)
            ++rows;
    }
    EXPECT_GE(rows, 4);
    EXPECT_LE(rows, 8);
    settings->reject();
}

TEST_F(Theme, TheTooltipIsLegible)
{
    settings->show();
    QCheckBox* box = settings->form().ShowTaskBarCheck;
    QToolTip::showText(box->mapToGlobal(QPoint(4, 4)), box->toolTip(), box);
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible())
            tip = w;
    }
    ASSERT_NE(tip, nullptr);
    const QImage shot = tip->grab().toImage();
    QToolTip::hideText();
    expectLightOnDark(shot, shot.rect(), "tooltip");
    settings->reject();
}

TEST_F(Theme, TheDockAndTheDesktopsDialogsKeepTheirLooks)
{
    const QString sheet = pw::theme::styleSheet();
    std::vector<QWidget*> dockWidgets = {dock.get()};
    for (QWidget* w : dock->findChildren<QWidget*>())
        dockWidgets.push_back(w);
    for (const QWidget* w : dockWidgets)
        EXPECT_NE(w->styleSheet(), sheet) << w->metaObject()->className();

    // A message box over either window, as the error report opens one. The
    // windows take their theme when first shown.
    settings->show();
    parameters->show();
    const std::vector<std::pair<const char*, QWidget*>> parents = {
        {"settings window", settings.get()}, {"parameter window", parameters.get()}};
    for (const auto& [what, parent] : parents) {
        SCOPED_TRACE(what);
        QMessageBox message(QMessageBox::Critical, QStringLiteral("Pondwillow"),
                            QStringLiteral("書き込めません"), QMessageBox::Ok, parent);
        const QImage shot = message.grab().toImage();
        EXPECT_GE(tones(shot, shot.rect()).median, 160) << "the box is not on a light ground";
        const QWidget* ok = message.button(QMessageBox::Ok);
        ASSERT_NE(ok, nullptr);
        const QImage button = shot.copy(areaIn(&message, ok));
        EXPECT_GE(tones(button, button.rect()).median, 160) << "the button is themed";
    }
}

TEST_F(Theme, TheClosedColourBoxShowsTheColourAndTheListNamesIt)
{
    settings->show();
    TComboColorBox* combo = settings->form().ComboColorBox1;
    const std::vector<QRgb> colours = {0xFFFF0000, 0xFF000080, 0xFF123456, 0xFFFFFFFF};
    for (const QRgb c : colours) {
        SCOPED_TRACE(QString::number(c, 16).toStdString());
        combo->SetColor(c);
        const QImage shot = combo->grab().toImage();
        // The middle of the field, left of the drop-down button, is the colour.
        const QPoint middle(combo->width() / 2 - 8, combo->height() / 2);
        EXPECT_EQ(shot.pixel(middle) & 0xFFFFFF, c & 0xFFFFFF);
        EXPECT_EQ(combo->toolTip(), combo->currentText());
    }

    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(list->isVisible());
    for (int i = 0; i < combo->count(); ++i) {
        SCOPED_TRACE(combo->itemText(i).toStdString());
        const QModelIndex index = list->model()->index(i, 0);
        // Swatch and name fit in the item.
        EXPECT_GE(list->viewport()->width(), list->sizeHintForIndex(index).width());
    }
    combo->hidePopup();
    settings->reject();
}

} // namespace
