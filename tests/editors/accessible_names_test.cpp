// The settings and parameter windows as a screen reader sees them: every
// control is named by the caption the window shows for it, and the track bar
// tells the value it stands for.
#include "editors/SettingsControls.h"
#include "editors/Unit2.h"
#include "editors/Unit3.h"
#include "support/DockFixture.h"
#include "ui_Unit2.h"
#include "ui_Unit3.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace
{

class AccessibleNames : public DockFixture
{
protected:
    void TearDown() override
    {
        Form2 = nullptr;
        Form3 = nullptr;
        settings.reset();
        parameters.reset();
        Form1 = nullptr;
        DockFixture::TearDown();
    }

    static QString name(QWidget* w)
    {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
    }

    // Every control a user works with in the window has a name.
    static void expectEveryControlNamed(QWidget& window)
    {
        const QList<QWidget*> all = window.findChildren<QWidget*>();
        int controls = 0;
        for (QWidget* w : all) {
            const bool control =
                qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                qobject_cast<QAbstractSlider*>(w) || qobject_cast<QAbstractItemView*>(w);
            // The parts of compound controls (a spin box's editor, a combo
            // box's list, a list's scroll bars) are named by their owners.
            if (!control || !w->parentWidget() || w->window() != &window ||
                qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                qobject_cast<QComboBox*>(w->parentWidget()) ||
                w->parentWidget()->objectName().startsWith(QLatin1String("qt_")))
                continue;
            ++controls;
            EXPECT_FALSE(name(w).isEmpty()) << w->objectName().toStdString();
        }
        EXPECT_GT(controls, 0);
    }

    std::unique_ptr<TForm2> settings;
    std::unique_ptr<TForm3> parameters;
};

struct Labelled {
    const char* control;
    const char* label;
};

TEST_F(AccessibleNames, SettingsControlsCarryTheirCaptions)
{
    Form1 = &create();
    settings = std::make_unique<TForm2>();
    Form2 = settings.get();
    settings->show();
    Ui::TForm2& ui = settings->form();

    // Each control beside a caption is named by it, as the window shows it now.
    const Labelled labelled[] = {
        {"RefOpaSpin", "Label1"}, {"RefLengthSpin", "Label2"}, {"FlowPosition", "Label3"},
        {"BackOpa", "Label4"},    {"TrackBar1", "Label15"},    {"IconWidth", "Label5"},
        {"HGap", "Label7"},       {"xySpin", "Label8"},        {"JumpSpin", "Label9"},
        {"ComboBox2", "Label10"}, {"Edit1", "Label11"},        {"Edit2", "Label12"},
        {"Edit3", "Label13"},     {"Edit4", "Label14"},        {"Edit5", "Label16"},
    };
    for (const Labelled& l : labelled) {
        SCOPED_TRACE(l.control);
        auto* control = settings->findChild<QWidget*>(QLatin1String(l.control));
        auto* label = settings->findChild<QLabel*>(QLatin1String(l.label));
        ASSERT_TRUE(control);
        ASSERT_TRUE(label);
        ASSERT_FALSE(label->text().isEmpty());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
        // Qt names a combo box on Linux by its current item and tells its
        // caption as the label that labels it; other controls are named by it.
        if (iface->role() != QAccessible::ComboBox) {
            EXPECT_EQ(name(control), label->text());
        }
        const auto labels = iface->relations(QAccessible::Label);
        EXPECT_TRUE(std::any_of(labels.cbegin(), labels.cend(), [label](const auto& r) {
            return r.first->object() == label;
        })) << "labelled by its caption";
    }
    // Buttons, boxes and radios by their own captions.
    for (QAbstractButton* b : settings->findChildren<QAbstractButton*>()) {
        if (b->text().isEmpty())
            continue;
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_EQ(name(b), b->text());
    }
    // The two colours and the gradient's direction, which no caption stands beside.
    EXPECT_FALSE(name(ui.ComboColorBox1).isEmpty());
    EXPECT_FALSE(name(ui.ComboColorBox2).isEmpty());
    EXPECT_NE(name(ui.ComboColorBox1), name(ui.ComboColorBox2));
    EXPECT_NE(name(ui.ComboColorBox1), ui.GroupBox6->title()) << "more than the group's title";
    QAccessibleInterface* colour = QAccessible::queryAccessibleInterface(ui.ComboColorBox1);
    EXPECT_EQ(colour->role(), QAccessible::ComboBox);
    EXPECT_EQ(colour->text(QAccessible::Value), ui.ComboColorBox1->currentText());
    ASSERT_TRUE(colour->actionInterface());
    EXPECT_TRUE(colour->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::showMenuAction()));
    // The entry list, named by its group.
    EXPECT_EQ(name(ui.ListBox1), ui.GroupBox4->title());
    expectEveryControlNamed(*settings);

    // The track bar: a slider that reads, and takes, the value it stands for.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(ui.TrackBar1);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->role(), QAccessible::Slider);
    ui.TrackBar1->SetValue(81);
    EXPECT_EQ(bar->text(QAccessible::Value), "81");
    QAccessibleValueInterface* value = bar->valueInterface();
    ASSERT_TRUE(value);
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 81);
    EXPECT_DOUBLE_EQ(value->minimumValue().toDouble(), ui.TrackBar1->Min());
    EXPECT_DOUBLE_EQ(value->maximumValue().toDouble(), ui.TrackBar1->Max());
    value->setCurrentValue(120.5);
    EXPECT_DOUBLE_EQ(ui.TrackBar1->Value(), 120.5);
    EXPECT_TRUE(ui.Label15->text().contains("120")) << "changed as by the thumb";
}

TEST_F(AccessibleNames, ParameterControlsCarryTheirCaptions)
{
    Form1 = &create();
    parameters = std::make_unique<TForm3>();
    Form3 = parameters.get();
    Ui::TForm3& ui = parameters->form();
    EXPECT_EQ(name(ui.ParamEdit), ui.Label2->text());
    EXPECT_EQ(name(ui.HintEdit), ui.Label1->text());
    for (QAbstractButton* b : parameters->findChildren<QAbstractButton*>())
        EXPECT_EQ(name(b), b->text());
    expectEveryControlNamed(*parameters);
}

} // namespace
