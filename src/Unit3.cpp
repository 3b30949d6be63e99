#include "Unit3.h"

#include "ui_Unit3.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm3>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::Tool);
    setFixedSize(size());
}

TForm3::~TForm3() = default;

void TForm3::editEntry() {}
