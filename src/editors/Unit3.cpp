#include "editors/Unit3.h"

#include "app/Prompter.h"
#include "core/EntryLine.h"
#include "dock/Unit1.h"
#include "ui_Unit1.h"
#include "ui_Unit3.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : TToolDialog(parent), ui(std::make_unique<Ui::TForm3>())
{
    ui->setupUi(this);
    // A path is shown as it is, never read as markup.
    ui->FileName->setTextFormat(Qt::PlainText);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
}

TForm3::~TForm3() = default;

void TForm3::editEntry(const QString& line)
{
    // A line of fewer than three fields shows the missing ones empty.
    const TRec entry = pw::entryFromLine(line).value_or(TRec{});
    ui->FileName->setText(entry.fname);
    ui->ParamEdit->setText(entry.param);
    ui->HintEdit->setText(entry.hint);
    ui->ParamEdit->setFocus();
    exec();
}

void TForm3::Button1Click()
{
    if (!Form1)
        return;
    // A field holding a comma, or beginning with a quote, is written quoted,
    // so the line reads back as the same three fields.
    const QString line = pw::composeEntryLine(
        TRec{ui->FileName->text(), ui->ParamEdit->text(), ui->HintEdit->text()});
    TStringList& list = *Form1->LaunchPath[std::size_t(Form1->MenuIndex)];
    if (Form1->selectIndex < 0 || Form1->selectIndex >= list.size())
        return;
    list[Form1->selectIndex] = line;
    Form1->form().AddMenu->setChecked(false);
    Form1->DropTarget1->setVisible(false);
    // A failed write raises: the window stays open and the change is not
    // marked, so closing it does not rebuild the dock from the old file.
    Form1->saveGroup();
    isChange = true;
    close();
}

void TForm3::Button2Click()
{
    if (Form1) {
        Form1->form().AddMenu->setChecked(false);
        Form1->DropTarget1->setVisible(false);
    }
    isChange = false;
    close();
}

void TForm3::Button3Click()
{
    const QString file = pw::prompt::openFileName(this);
    if (!file.isEmpty())
        ui->ParamEdit->setText(file);
}

void TForm3::done(int result)
{
    // Every way of closing a dialog (close(), the close box, Escape) ends here.
    FormClose();
    QDialog::done(result);
}

void TForm3::FormClose()
{
    if (!isChange || !Form1)
        return;
    Form1->clearTiles();
    Form1->LaunchPath[std::size_t(Form1->MenuIndex)]->clear();
    Form1->FormShow();
}
