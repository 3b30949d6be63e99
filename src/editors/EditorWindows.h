#pragma once

#include "dock/Unit1.h"

#include <memory>

class TForm2;
class TForm3;

namespace pw
{
// Owns the settings window and the parameter window. Each is made the first
// time the dock opens it and then lives, keeping its state from one showing
// to the next, until this owner goes: the dock starts without building two
// windows of controls (and without loading fonts for them) that most
// sessions never open.
class EditorWindows : public EditorOpener
{
public:
    EditorWindows();
    ~EditorWindows() override;
    EditorWindows(const EditorWindows&) = delete;
    EditorWindows& operator=(const EditorWindows&) = delete;

    // The windows, held in the globals Form2 and Form3 once made. A window a
    // test has put into the global is used as it is.
    TForm2* settings();
    TForm3* parameters();

    void openSettings() override;
    void openParameters(const QString& line) override;

private:
    std::unique_ptr<TForm2> settings_;
    std::unique_ptr<TForm3> parameters_;
};
} // namespace pw
