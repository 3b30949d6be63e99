// The window tests run inside the program's own application object, so an
// error escaping a handler takes the same path as in the program.
#include "Application.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

int g_argc = 1;
char g_arg0[] = "gui_tests";
char* g_argv[] = {g_arg0, nullptr};

class AppEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { app_ = std::make_unique<TApplication>(g_argc, g_argv); }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<TApplication> app_;
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);
    return RUN_ALL_TESTS();
}
