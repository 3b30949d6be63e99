// One main for the test programs that need Qt's GUI: the application object
// is made in a GoogleTest environment, so listing the tests needs no display.
// Programs that link the windows run inside the program's own application
// object (PW_TEST_PROGRAM_APPLICATION), so an error escaping a handler takes
// the same path as in the program.
#include <gtest/gtest.h>

#include <memory>

#ifdef PW_TEST_PROGRAM_APPLICATION
#include "app/Application.h"
using TestApplication = TApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif

namespace
{

int g_argc = 1;
char g_arg0[] = "tests";
char* g_argv[] = {g_arg0, nullptr};

class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { app_ = std::make_unique<TestApplication>(g_argc, g_argv); }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<TestApplication> app_;
};

} // namespace

int main(int argc, char** argv)
{
    // Window tests run on Qt's offscreen platform unless told otherwise.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
    return RUN_ALL_TESTS();
}
