#include "editors/Unit2.h"

#include "app/Prompter.h"
#include "core/EntryLine.h"
#include "core/Errors.h"
#include "core/Rounding.h"
#include "dock/Unit1.h"
#include "ui_Unit1.h"
#include "ui_Unit2.h"

TForm2* Form2 = nullptr;

namespace
{

QString sizeText(std::int32_t size)
{
    return TForm2::tr("大きさ=%1").arg(size);
}

TStringList& shownGroup()
{
    return *Form1->LaunchPath[std::size_t(Form1->MenuIndex)];
}

} // namespace

TForm2::TForm2(QWidget* parent) : TToolDialog(parent), ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
    // Return in a field presses no button: otherwise the dialog would make the
    // first button in the focus chain, "画像選択", the default one, and Return
    // in the icon size field would open the picture dialog.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    ui->Label6->setText(QStringLiteral("Pondwillow %1").arg(QStringLiteral(PONDWILLOW_VERSION)));
    wireControls();
}

TForm2::~TForm2() = default;

void TForm2::wireControls()
{
    Ui::TForm2& u = *ui;
    const auto spin = [this](QSpinBox* box, void (TForm2::*handler)(double)) {
        connect(box, &QSpinBox::valueChanged, this,
                [this, handler](int v) { (this->*handler)(v); });
    };
    const auto decimal = [this](QDoubleSpinBox* box, void (TForm2::*handler)(double)) {
        connect(box, &QDoubleSpinBox::valueChanged, this, handler);
    };
    decimal(u.BackOpa, &TForm2::BackOpaChange);
    decimal(u.RefOpaSpin, &TForm2::RefOpaSpinChange);
    decimal(u.RefLengthSpin, &TForm2::RefLengthSpinChange);
    spin(u.HGap, &TForm2::HGapChange);
    spin(u.IconWidth, &TForm2::IconWidthChange);
    spin(u.JumpSpin, &TForm2::JumpSpinChange);
    spin(u.xySpin, &TForm2::xySpinChange);
    connect(u.FlowPosition, &QSpinBox::valueChanged, this, &TForm2::FlowPositionChange);
    connect(u.ComboBox1, &QComboBox::currentIndexChanged, this, &TForm2::ComboBox1Change);
    connect(u.ComboBox2, &QComboBox::currentIndexChanged, this, &TForm2::ComboBox2Change);
    connect(u.ComboColorBox1, &TComboColorBox::colorChanged, this, &TForm2::ComboColorBox1Change);
    connect(u.ComboColorBox2, &TComboColorBox::colorChanged, this, &TForm2::ComboColorBox2Change);
    connect(u.DisInterpolationCheck, &QCheckBox::toggled, this,
            &TForm2::DisInterpolationCheckChange);
    connect(u.ImageCheck, &QCheckBox::toggled, this, &TForm2::ImageCheckChange);
    connect(u.RefRadio, &QRadioButton::toggled, this, &TForm2::RefRadioChange);
    connect(u.TrackBar1, &TTrackBar::valueChangedF, this, &TForm2::TrackBar1Change);
    connect(u.VerticalCheck, &QCheckBox::toggled, this, &TForm2::VerticalCheckChange);
    connect(u.VerticalCheck, &QCheckBox::clicked, this, &TForm2::VerticalCheckClick);
    connect(u.FileSelectBtn, &QPushButton::clicked, this, &TForm2::FileSelectBtnClick);
    connect(u.CloseBtn, &QPushButton::clicked, this, &TForm2::CloseBtnClick);
    connect(u.UpBtn, &QPushButton::clicked, this, &TForm2::UpBtnClick);
    connect(u.DownBtn, &QPushButton::clicked, this, &TForm2::DownBtnClick);
    connect(u.DelBtn, &QPushButton::clicked, this, &TForm2::DelBtnClick);
    connect(u.ConfirmBtn, &QPushButton::clicked, this, &TForm2::ConfirmBtnClick);
}

void TForm2::showEvent(QShowEvent* e)
{
    TToolDialog::showEvent(e);
    FormShow();
}

// Fills every control from the dock. Setting a control runs its change
// handler when the value changes, so the fill can write a value that a
// control had to bring within its range back to the dock.
void TForm2::FormShow()
{
    if (!Form1)
        return;
    TForm1& f = *Form1;
    Ui::TForm2& u = *ui;
    u.ListBox1->clear();
    if (shownGroup().isEmpty())
        f.SetTransparency(false);
    isChange = false;
    u.GradCheck->setChecked(f.isGradient);
    (f.isTop ? u.Top : u.Normal)->setChecked(true);
    u.VerticalCheck->setChecked(f.isVertical);
    u.ComboColorBox1->SetColor(QRgb(f.Color0));
    u.ComboColorBox2->SetColor(QRgb(f.Color1));
    u.HGap->setValue(pw::roundHalfEven(f.Gp));
    // A direction no item stands for shows no item.
    u.ComboBox1->setCurrentIndex(
        f.Direction >= 0 && f.Direction < u.ComboBox1->count() ? f.Direction : -1);
    u.BackOpa->setValue(f.Rectangle1->opacity());
    u.IconWidth->setValue(f.bw);
    u.Label15->setText(sizeText(f.BackSize));
    u.FlowPosition->setValue(f.RefOff);
    u.ImageCheck->setChecked(f.isGazou);
    u.xySpin->setValue(f.xyoffset);
    for (const QString& line : std::as_const(shownGroup())) {
        const TRec entry = pw::entryFromLine(line).value_or(TRec{});
        const std::optional<QString> text = pw::listedFileName(entry.fname);
        if (!text)
            throw pw::Error(tr("パスに無効な文字が含まれています"));
        u.ListBox1->addItem(*text);
    }
    QLineEdit* const names[] = {u.Edit1, u.Edit2, u.Edit3, u.Edit4, u.Edit5};
    for (int i = 0; i < 5; ++i)
        names[i]->setText(f.groupItem(i)->text());
    (f.isRefr ? u.RefRadio : u.ShadRadio)->setChecked(true);
    u.RefOpaSpin->setValue(f.RefOpa);
    u.RefLengthSpin->setValue(f.RefLength);
    u.DisInterpolationCheck->setChecked(f.isDisInterpolation);
    u.ShowHint->setChecked(f.isShowHint);
    u.ShowTaskBarCheck->setChecked(f.isShowTaskBar);
    u.TrackBar1->SetValue(f.BackSize);
    u.JumpSpin->setValue(f.PopLength);
    fillEdgeList(u.VerticalCheck->isChecked());
    const bool first = f.RefrectMode == TRefrectMode::mleft || f.RefrectMode == TRefrectMode::mtop;
    u.ComboBox2->setCurrentIndex(first ? 0 : 1);
}

void TForm2::fillEdgeList(bool vertical)
{
    ui->ComboBox2->clear();
    if (vertical)
        ui->ComboBox2->addItems({tr("左"), tr("右")});
    else
        ui->ComboBox2->addItems({tr("上"), tr("下")});
    // Adding to an empty list selects nothing: the user has not chosen an edge.
    ui->ComboBox2->setCurrentIndex(-1);
}

void TForm2::done(int result)
{
    // The window closes even when saving fails; the failure is still reported.
    try {
        FormClose();
    } catch (...) {
        QDialog::done(result);
        throw;
    }
    QDialog::done(result);
}

void TForm2::FormClose()
{
    if (!Form1)
        return;
    TForm1& f = *Form1;
    Ui::TForm2& u = *ui;
    f.isTop = u.Top->isChecked();
    f.SetStayOnTop(f.isTop);
    f.isRefr = u.RefRadio->isChecked();
    f.isGradient = u.GradCheck->isChecked();
    if (!shownGroup().isEmpty())
        f.SetTransparency(true);
    f.form().AddMenu->setChecked(false);
    f.DropTarget1->setVisible(false);
    f.isShowHint = u.ShowHint->isChecked();
    f.isShowTaskBar = u.ShowTaskBarCheck->isChecked();
    f.isVertical = u.VerticalCheck->isChecked();
    f.RefOff = pw::roundHalfEven(u.FlowPosition->value());
    const bool vertical = u.VerticalCheck->isChecked();
    if (u.ComboBox2->currentIndex() == 0)
        f.RefrectMode = vertical ? TRefrectMode::mleft : TRefrectMode::mtop;
    else
        f.RefrectMode = vertical ? TRefrectMode::mright : TRefrectMode::mbottom;
    if (isChange) {
        f.clearTiles();
        shownGroup().clear();
        f.FormShow();
    }
    QLineEdit* const names[] = {u.Edit1, u.Edit2, u.Edit3, u.Edit4, u.Edit5};
    for (int i = 0; i < 5; ++i)
        f.groupItem(i)->setText(names[i]->text());
    f.WriteIniFile();
    f.SetBackColor();
}

void TForm2::CloseBtnClick()
{
    if (Form1)
        Form1->WriteIniFile();
    close();
}

// ---- live controls ------------------------------------------------------------------

void TForm2::BackOpaChange(double value)
{
    // The one value the dock shows while the window is open.
    if (Form1)
        Form1->Rectangle1->setOpacity(value);
}

void TForm2::ComboBox1Change(int index)
{
    // With no item selected the direction is kept.
    if (Form1 && index >= 0)
        Form1->Direction = index;
}

void TForm2::ComboBox2Change()
{
    isChange = true;
}

void TForm2::ComboColorBox1Change(QRgb color)
{
    if (Form1)
        Form1->Color0 = std::int32_t(color);
}

void TForm2::ComboColorBox2Change(QRgb color)
{
    if (Form1)
        Form1->Color1 = std::int32_t(color);
}

void TForm2::DisInterpolationCheckChange(bool checked)
{
    if (Form1)
        Form1->isDisInterpolation = checked;
    isChange = true;
}

void TForm2::FileSelectBtnClick()
{
    const QString file = pw::prompt::openFileName(this, tr("Image (*.bmp *.jpg *.png)"));
    if (!file.isEmpty() && Form1)
        Form1->GazouFile = file;
}

void TForm2::FlowPositionChange()
{
    isChange = true;
}

void TForm2::HGapChange(double value)
{
    if (Form1)
        Form1->Gp = float(pw::roundHalfEven(value));
    isChange = true;
}

void TForm2::IconWidthChange(double value)
{
    if (Form1)
        Form1->bw = pw::roundHalfEven(value);
    isChange = true;
}

void TForm2::ImageCheckChange(bool checked)
{
    if (Form1)
        Form1->isGazou = checked;
    isChange = true;
}

void TForm2::JumpSpinChange(double value)
{
    if (Form1)
        Form1->PopLength = pw::roundHalfEven(value);
    isChange = true;
}

void TForm2::RefLengthSpinChange(double value)
{
    if (Form1)
        Form1->RefLength = float(value);
    isChange = true;
}

void TForm2::RefOpaSpinChange(double value)
{
    if (Form1)
        Form1->RefOpa = float(value);
    isChange = true;
}

void TForm2::RefRadioChange()
{
    isChange = true;
}

void TForm2::TrackBar1Change(double value)
{
    const std::int32_t size = pw::roundHalfEven(value);
    if (Form1)
        Form1->BackSize = size;
    ui->Label15->setText(sizeText(size));
    isChange = true;
}

void TForm2::VerticalCheckChange(bool checked)
{
    ui->ComboBox2->setCurrentIndex(-1);
    fillEdgeList(checked);
    if (Form1)
        Form1->isVertical = checked;
    isChange = true;
}

void TForm2::xySpinChange(double value)
{
    if (Form1)
        Form1->xyoffset = pw::roundHalfEven(value);
    isChange = true;
}

// ---- entry order ---------------------------------------------------------------------

// Each step changes the dock's list of shown lines at once, through the dock,
// so that the lines its group keeps without showing them move along; 確定
// writes the group, and the close rebuilds the dock from the file.

void TForm2::UpBtnClick()
{
    const int i = ui->ListBox1->currentRow();
    if (i < 1 || !Form1)
        return;
    Form1->moveEntry(i, i - 1);
    ui->ListBox1->insertItem(i - 1, ui->ListBox1->takeItem(i));
    ui->ListBox1->setCurrentRow(i - 1);
}

void TForm2::DownBtnClick()
{
    const int i = ui->ListBox1->currentRow();
    if (i < 0 || i > ui->ListBox1->count() - 2 || !Form1)
        return;
    Form1->moveEntry(i, i + 1);
    ui->ListBox1->insertItem(i + 1, ui->ListBox1->takeItem(i));
    ui->ListBox1->setCurrentRow(i + 1);
}

void TForm2::DelBtnClick()
{
    const int i = ui->ListBox1->currentRow();
    if (i < 0 || !Form1)
        return;
    Form1->removeEntry(i);
    delete ui->ListBox1->takeItem(i);
    ui->ListBox1->setCurrentRow(-1);
}

void TForm2::ConfirmBtnClick()
{
    if (!Form1)
        return;
    Form1->saveGroup();
    isChange = true;
}
