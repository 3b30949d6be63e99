#pragma once

#include "editors/ToolDialog.h"

#include <memory>

namespace Ui
{
class TForm3;
}

// The parameter window: edits the parameter string and the hint of one entry
// of the dock's shown group. Closing it only hides it; after a change the
// close rebuilds the dock from the group file.
class TForm3 : public TToolDialog
{
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    Ui::TForm3& form() { return *ui; }

    // Fills the fields from an entry line and shows the window modally;
    // returns once it has closed.
    void editEntry(const QString& line);

    // "変更": writes the edited entry to the group and closes.
    void Button1Click();
    // "破棄": drops the edits and closes.
    void Button2Click();
    // "ファイル選択": the parameter becomes a file chosen in a dialog.
    void Button3Click();
    // Runs at every close, by a button, the close box or Escape.
    void FormClose();

    // The entry was changed: the dock is rebuilt when the window closes. Kept
    // from one showing to the next.
    bool isChange = false;

    void done(int result) override;

private:
    std::unique_ptr<Ui::TForm3> ui;
};

extern TForm3* Form3;
