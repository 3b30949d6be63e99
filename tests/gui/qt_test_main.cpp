// One main for the test programs that need Qt's GUI: the QApplication is made
// in a GoogleTest environment, so listing the tests needs no display.
#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace
{

int g_argc = 1;
char g_arg0[] = "tests";
char* g_argv[] = {g_arg0, nullptr};

class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { app_ = std::make_unique<QApplication>(g_argc, g_argv); }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
    return RUN_ALL_TESTS();
}
