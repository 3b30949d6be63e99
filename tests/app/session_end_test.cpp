// The end of the desktop session on Linux: a termination signal offers the
// query-end-session message once per top-level window, even when a handler
// fails, and then ends the event loop: status 0, or 1 when a handler failed.
#include "app/Utils.MessageDispatcher.Win.h"

#include "core/Errors.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{

class WindowRecorder : public pw::MessageHandler
{
public:
    PW_MESSAGE_MAP(WindowRecorder, pw::MessageHandler,
                   PW_MESSAGE(pw::msgQueryEndSession, WMQueryEndSession))
    void WMQueryEndSession(TMessage&)
    {
        windows.push_back(TMessageDispatcherWin::GetWnd());
        if (fail)
            throw pw::Error(QStringLiteral("save failed"));
    }
    void defaultHandler(TMessage& m) override { others.push_back(m.Msg); }

    std::vector<std::uintptr_t> windows;
    std::vector<std::uint32_t> others;
    bool fail = false;
};

class SessionEndTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QApplication::topLevelWidgets().isEmpty());
        ::sigaction(GetParam(), nullptr, &before_);
        shown_ = std::make_unique<QWidget>();
        shown_->show();
        hidden_ = std::make_unique<QWidget>();
        // The application exists already, so this connects everything at once.
        TMessageDispatcherWin::Initialize();
        TMessageDispatcherWin::RegisterHandler(&recorder_);
    }
    void TearDown() override
    {
        TMessageDispatcherWin::Finalize();
        struct sigaction after = {};
        ::sigaction(GetParam(), nullptr, &after);
        EXPECT_EQ(after.sa_handler, before_.sa_handler) << "signal disposition not restored";
    }

    // Runs the application's loop until something ends it; a stuck loop
    // ends with 99 after five seconds.
    static int runLoop()
    {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(5000);
        return QCoreApplication::exec();
    }

    std::set<std::uintptr_t> expectedWindows() const
    {
        return {static_cast<std::uintptr_t>(shown_->internalWinId()),
                static_cast<std::uintptr_t>(hidden_->internalWinId())};
    }

    WindowRecorder recorder_;
    std::unique_ptr<QWidget> shown_;
    std::unique_ptr<QWidget> hidden_;
    struct sigaction before_ = {};
};

TEST_P(SessionEndTest, OffersTheQueryOncePerTopLevelWindowAndEndsTheLoop)
{
    // Two signals before the loop runs are one end of the session.
    ASSERT_EQ(std::raise(GetParam()), 0);
    ASSERT_EQ(std::raise(GetParam()), 0);
    EXPECT_TRUE(recorder_.windows.empty()) << "offered from the signal handler itself";

    EXPECT_EQ(runLoop(), 0);
    EXPECT_EQ(recorder_.windows.size(), 2u);
    EXPECT_EQ(std::set<std::uintptr_t>(recorder_.windows.begin(), recorder_.windows.end()),
              expectedWindows());
    EXPECT_NE(shown_->internalWinId(), 0u);
    EXPECT_TRUE(recorder_.others.empty());
}

TEST_P(SessionEndTest, AFailingHandlerIsReportedAndTheLoopEndsWithStatusOne)
{
    recorder_.fail = true;
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(std::raise(GetParam()), 0);
    const int rc = runLoop();
    const std::string err = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(rc, 1);
    EXPECT_EQ(recorder_.windows.size(), 2u);
    EXPECT_NE(err.find("save failed"), std::string::npos) << err;
}

TEST_P(SessionEndTest, AWindowClosedByAnEarlierOfferIsSkipped)
{
    // The first offer destroys whichever other window is still there.
    bool closedOne = false;
    TMessageDispatcherWin::UnregisterHandler(&recorder_);
    class Destroyer : public pw::MessageHandler
    {
    public:
        explicit Destroyer(std::function<void()> f) : f_(std::move(f)) {}
        void defaultHandler(TMessage&) override { f_(); }

    private:
        std::function<void()> f_;
    } destroyer([&] {
        if (closedOne)
            return;
        closedOne = true;
        if (TMessageDispatcherWin::GetWnd() == static_cast<std::uintptr_t>(shown_->internalWinId()))
            hidden_.reset();
        else
            shown_.reset();
    });
    TMessageDispatcherWin::RegisterHandler(&destroyer);
    TMessageDispatcherWin::RegisterHandler(&recorder_);

    ASSERT_EQ(std::raise(GetParam()), 0);
    EXPECT_EQ(runLoop(), 0);
    EXPECT_EQ(recorder_.windows.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEndTest, ::testing::Values(SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGHUP");
                         });

TEST(SessionEndSignals, AnIgnoredSignalStaysIgnored)
{
    struct sigaction ignore = {}, previous = {}, during = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGHUP, &ignore, &previous);
    TMessageDispatcherWin::Initialize();
    ::sigaction(SIGHUP, nullptr, &during);
    TMessageDispatcherWin::Finalize();
    ::sigaction(SIGHUP, &previous, nullptr);
    EXPECT_EQ(during.sa_handler, SIG_IGN);
}

} // namespace
