#pragma once

#include <QDialog>

// The settings and parameter windows: a tool window with a small caption bar
// and a close box, fixed at the size its form declares, dressed in the
// windows' theme when first shown and centred on the screen at every showing.
class TToolDialog : public QDialog
{
public:
    explicit TToolDialog(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool dressed_ = false;
};
