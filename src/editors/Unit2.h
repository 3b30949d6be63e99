#pragma once

#include "editors/ToolDialog.h"

#include <QRgb>
#include <memory>

namespace Ui
{
class TForm2;
}

// The settings window. It keeps no copy of the settings: every showing fills
// the controls from the dock, some controls write the dock at once, and every
// close (there is no cancel) applies the rest, rebuilds the dock and saves.
class TForm2 : public TToolDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    Ui::TForm2& form() { return *ui; }

    // The dock's tiles and layout must be rebuilt when the window closes.
    bool isChange = false;

    void FormShow();
    void FormClose();
    void CloseBtnClick();

    // ---- live controls ----------------------------------------------------------
    void BackOpaChange(double value);
    void ComboBox1Change(int index);
    void ComboBox2Change();
    void ComboColorBox1Change(QRgb color);
    void ComboColorBox2Change(QRgb color);
    void DisInterpolationCheckChange(bool checked);
    void FileSelectBtnClick();
    void FlowPositionChange();
    void HGapChange(double value);
    void IconWidthChange(double value);
    void ImageCheckChange(bool checked);
    void JumpSpinChange(double value);
    void RefLengthSpinChange(double value);
    void RefOpaSpinChange(double value);
    void RefRadioChange();
    void TrackBar1Change(double value);
    void VerticalCheckChange(bool checked);
    void VerticalCheckClick() {}
    void xySpinChange(double value);

    // ---- entry order -----------------------------------------------------------------
    void UpBtnClick();
    void DownBtnClick();
    void DelBtnClick();
    void ConfirmBtnClick();

    // Every way of closing (the button, the close box, Escape) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void wireControls();
    void fillEdgeList(bool vertical);

    std::unique_ptr<Ui::TForm2> ui;
};

extern TForm2* Form2;
