#pragma once

#include <QDialog>
#include <memory>

namespace Ui
{
class TForm3;
}

// The parameter window: edits the parameter string and the hint of one entry.
class TForm3 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // Opens the window for the entry of the dock's selected tile.
    void editEntry();

    bool isChange = false;

private:
    std::unique_ptr<Ui::TForm3> ui;
};

extern TForm3* Form3;
