// The message dispatcher: who is offered a message, in what order, with what
// record, and what happens when handlers change the list or fail.
#include "app/Utils.MessageDispatcher.Win.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{

constexpr std::uint32_t msgSize = 0x0005;

std::string hex(std::uint32_t v)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", v);
    return buffer;
}

// Records "name.method:MSG" for every message it is offered; an action may
// run on the query-end-session message.
class Recorder : public pw::MessageHandler
{
public:
    Recorder(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    PW_MESSAGE_MAP(Recorder, pw::MessageHandler,
                   PW_MESSAGE(pw::msgQueryEndSession, WMQueryEndSession),
                   PW_MESSAGE(msgSize, WMSize),
                   // Ids no class may handle: the dispatcher must not reach these.
                   PW_MESSAGE(0x0000, WMNever), PW_MESSAGE(0xC000, WMNever),
                   PW_MESSAGE(0xFFFF, WMNever))

    void WMQueryEndSession(TMessage& m)
    {
        record("query", m);
        if (onQuery)
            onQuery(m);
    }
    void WMSize(TMessage& m) { record("size", m); }
    void WMNever(TMessage& m) { record("never", m); }
    void defaultHandler(TMessage& m) override { record("default", m); }

    std::function<void(TMessage&)> onQuery;

protected:
    void record(const char* method, const TMessage& m)
    {
        log_.push_back(name_ + "." + method + ":" + hex(m.Msg));
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

// Inherits the query from Recorder's table and replaces the size handler.
class Derived : public Recorder
{
public:
    using Recorder::Recorder;
    PW_MESSAGE_MAP(Derived, Recorder, PW_MESSAGE(msgSize, WMSizeDerived))
    void WMSizeDerived(TMessage& m) { record("derivedSize", m); }
};

// No table of its own: its class's lookup is its parent's.
class NoTable : public Derived
{
public:
    using Derived::Derived;
};

class DispatcherTest : public ::testing::Test
{
protected:
    void TearDown() override { TMessageDispatcherWin::Finalize(); }

    static void send(std::uint32_t msg, std::uintptr_t wnd = 0x100)
    {
        TMessageDispatcherWin::ProcessMessage(wnd, msg, 0, 0);
    }

    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(DispatcherTest, RegisteringTwiceKeepsOneEntry)
{
    Recorder a("a", log), b("b", log);
    TMessageDispatcherWin::RegisterHandler(&a);
    TMessageDispatcherWin::RegisterHandler(&b);
    TMessageDispatcherWin::RegisterHandler(&a);
    send(0x11);
    EXPECT_EQ(log, (Log{"a.query:11", "b.query:11"}));

    // One unregistration removes it entirely; a second one does nothing.
    log.clear();
    TMessageDispatcherWin::UnregisterHandler(&a);
    TMessageDispatcherWin::UnregisterHandler(&a);
    send(0x11);
    EXPECT_EQ(log, (Log{"b.query:11"}));
}

TEST_F(DispatcherTest, OnlyTheLow16BitsSelectAMethod)
{
    struct Case {
        std::uint32_t msg;
        const char* method;
    } cases[] = {
        {0x0011, "query"},   {0x10011, "query"},  {0xFFFF0011u, "query"}, {0x0005, "size"},
        {0x0012, "default"}, {0xBFFF, "default"}, {0x0000, "default"},    {0x10000, "default"},
        {0xC000, "default"}, {0xC011, "default"}, {0xFFFF, "default"},    {0x1FFFF, "default"},
    };
    Recorder a("a", log);
    TMessageDispatcherWin::RegisterHandler(&a);
    for (const Case& c : cases) {
        SCOPED_TRACE(hex(c.msg));
        log.clear();
        send(c.msg);
        EXPECT_EQ(log, (Log{std::string("a.") + c.method + ":" + hex(c.msg)}));
    }
}

TEST_F(DispatcherTest, LookupWalksTheClassAndItsAncestors)
{
    Recorder base("base", log);
    Derived derived("derived", log);
    NoTable noTable("noTable", log);
    for (pw::MessageHandler* h :
         {static_cast<pw::MessageHandler*>(&base), static_cast<pw::MessageHandler*>(&derived),
          static_cast<pw::MessageHandler*>(&noTable)})
        TMessageDispatcherWin::RegisterHandler(h);

    send(msgSize);
    send(0x11);
    send(0x12);
    EXPECT_EQ(log, (Log{"base.size:5", "derived.derivedSize:5", "noTable.derivedSize:5",
                        "base.query:11", "derived.query:11", "noTable.query:11", "base.default:12",
                        "derived.default:12", "noTable.default:12"}));
}

TEST_F(DispatcherTest, ResultIsSharedWithinOneCallAndStartsAtZero)
{
    std::vector<std::intptr_t> seen;
    Recorder a("a", log), b("b", log);
    a.onQuery = [&](TMessage& m) {
        seen.push_back(m.Result);
        m.Result += 5;
    };
    b.onQuery = [&](TMessage& m) {
        seen.push_back(m.Result);
        EXPECT_EQ(m.WParam, 7u);
        EXPECT_EQ(m.LParam, -9);
    };
    TMessageDispatcherWin::RegisterHandler(&a);
    TMessageDispatcherWin::RegisterHandler(&b);
    TMessageDispatcherWin::ProcessMessage(1, 0x11, 7, -9);
    TMessageDispatcherWin::ProcessMessage(1, 0x11, 7, -9);
    EXPECT_EQ(seen, (std::vector<std::intptr_t>{0, 5, 0, 5}));
}

// Handlers a, b, c (and a spare d) registered in this order; a or b changes
// the list while the walk is at it.
TEST_F(DispatcherTest, ChangesToTheListDuringAWalk)
{
    struct Case {
        const char* name;
        const char* actor;
        std::function<void(Recorder& a, Recorder& b, std::unique_ptr<Recorder>& c, Recorder& d)>
            action;
        Log first;
        Log second;
    } cases[] = {
        {"a unregisters itself",
         "a",
         [](Recorder& a, Recorder&, std::unique_ptr<Recorder>&, Recorder&) {
             TMessageDispatcherWin::UnregisterHandler(&a);
         },
         {"a.query:11", "b.query:11", "c.query:11"},
         {"b.query:11", "c.query:11"}},
        {"b unregisters a, before it",
         "b",
         [](Recorder& a, Recorder&, std::unique_ptr<Recorder>&, Recorder&) {
             TMessageDispatcherWin::UnregisterHandler(&a);
         },
         {"a.query:11", "b.query:11", "c.query:11"},
         {"b.query:11", "c.query:11"}},
        {"a unregisters c, after it",
         "a",
         [](Recorder&, Recorder&, std::unique_ptr<Recorder>& c, Recorder&) {
             TMessageDispatcherWin::UnregisterHandler(c.get());
         },
         {"a.query:11", "b.query:11"},
         {"a.query:11", "b.query:11"}},
        {"b unregisters a and itself",
         "b",
         [](Recorder& a, Recorder& b, std::unique_ptr<Recorder>&, Recorder&) {
             TMessageDispatcherWin::UnregisterHandler(&a);
             TMessageDispatcherWin::UnregisterHandler(&b);
         },
         {"a.query:11", "b.query:11", "c.query:11"},
         {"c.query:11"}},
        {"a destroys c",
         "a",
         [](Recorder&, Recorder&, std::unique_ptr<Recorder>& c, Recorder&) { c.reset(); },
         {"a.query:11", "b.query:11"},
         {"a.query:11", "b.query:11"}},
        {"a registers d",
         "a",
         [](Recorder&, Recorder&, std::unique_ptr<Recorder>&, Recorder& d) {
             TMessageDispatcherWin::RegisterHandler(&d);
         },
         {"a.query:11", "b.query:11", "c.query:11", "d.query:11"},
         {"a.query:11", "b.query:11", "c.query:11", "d.query:11"}},
        {"b registers a again",
         "b",
         [](Recorder& a, Recorder&, std::unique_ptr<Recorder>&, Recorder&) {
             TMessageDispatcherWin::RegisterHandler(&a);
         },
         {"a.query:11", "b.query:11", "c.query:11"},
         {"a.query:11", "b.query:11", "c.query:11"}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        Recorder a("a", log), b("b", log), d("d", log);
        auto cHandler = std::make_unique<Recorder>("c", log);
        bool done = false;
        Recorder& actor = std::string(c.actor) == "a" ? a : b;
        actor.onQuery = [&](TMessage&) {
            if (!std::exchange(done, true))
                c.action(a, b, cHandler, d);
        };
        TMessageDispatcherWin::RegisterHandler(&a);
        TMessageDispatcherWin::RegisterHandler(&b);
        TMessageDispatcherWin::RegisterHandler(cHandler.get());
        send(0x11);
        EXPECT_EQ(log, c.first);
        log.clear();
        send(0x11);
        EXPECT_EQ(log, c.second);
        TMessageDispatcherWin::Finalize();
    }
}

TEST_F(DispatcherTest, ADestroyedHandlerIsNotOffered)
{
    Recorder a("a", log);
    TMessageDispatcherWin::RegisterHandler(&a);
    std::optional<Recorder> slot;
    slot.emplace("gone", log);
    TMessageDispatcherWin::RegisterHandler(&*slot);
    slot.reset();
    // The same storage, never registered: a stale entry would reach it.
    slot.emplace("unregistered", log);
    auto heap = std::make_unique<Recorder>("heap", log);
    TMessageDispatcherWin::RegisterHandler(heap.get());
    heap.reset();

    send(0x11);
    EXPECT_EQ(log, (Log{"a.query:11"}));
}

TEST_F(DispatcherTest, ADestroyedHandlerInANestedCallIsNotOfferedTheRest)
{
    // a sends a nested message whose handling destroys b; the outer walk
    // must go on with c and never touch b.
    Recorder a("a", log);
    auto b = std::make_unique<Recorder>("b", log);
    Recorder c("c", log);
    a.onQuery = [&](TMessage& m) {
        if (m.Msg == 0x11)
            TMessageDispatcherWin::ProcessMessage(2, 0x10011, 0, 0);
        else
            b.reset();
    };
    TMessageDispatcherWin::RegisterHandler(&a);
    TMessageDispatcherWin::RegisterHandler(b.get());
    TMessageDispatcherWin::RegisterHandler(&c);
    send(0x11);
    EXPECT_EQ(log, (Log{"a.query:11", "a.query:10011", "c.query:10011", "c.query:11"}));
}

TEST_F(DispatcherTest, GetWndIsZeroBeforeTheFirstMessage)
{
    // A fresh process: other tests in this one have offered messages already.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool zero = TMessageDispatcherWin::GetWnd() == 0;
            TMessageDispatcherWin::ProcessMessage(0x42, 0x11, 0, 0);
            std::_Exit(zero && TMessageDispatcherWin::GetWnd() == 0x42 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(DispatcherTest, GetWndKeepsTheLastWindowAlsoFromANestedCall)
{
    Recorder a("a", log);
    std::vector<std::uintptr_t> seen;
    a.onQuery = [&](TMessage& m) {
        seen.push_back(TMessageDispatcherWin::GetWnd());
        if (m.Msg == 0x11)
            TMessageDispatcherWin::ProcessMessage(0x2222, 0x10011, 0, 0);
        seen.push_back(TMessageDispatcherWin::GetWnd());
    };
    send(0x11, 0x1111); // no handler yet: the window is still recorded
    EXPECT_EQ(TMessageDispatcherWin::GetWnd(), 0x1111u);

    TMessageDispatcherWin::RegisterHandler(&a);
    send(0x11, 0x3333);
    EXPECT_EQ(seen, (std::vector<std::uintptr_t>{0x3333, 0x2222, 0x2222, 0x2222}));
    EXPECT_EQ(TMessageDispatcherWin::GetWnd(), 0x2222u);
}

TEST_F(DispatcherTest, AnErrorInAHandlerIsReportedAndTheNextHandlerStillRuns)
{
    struct Case {
        const char* name;
        std::function<void()> raise;
        const char* reported;
    } cases[] = {
        {"pw::Error", [] { throw pw::Error(QStringLiteral("設定ファイルに書けません")); },
         "設定ファイルに書けません"},
        {"std::exception", [] { throw std::runtime_error("disk full"); }, "disk full"},
        {"anything else", [] { throw 42; }, "unknown error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        Recorder a("a", log), b("b", log);
        a.onQuery = [&](TMessage& m) {
            m.Result = 3;
            c.raise();
        };
        std::intptr_t resultSeenByB = -1;
        b.onQuery = [&](TMessage& m) { resultSeenByB = m.Result; };
        TMessageDispatcherWin::RegisterHandler(&a);
        TMessageDispatcherWin::RegisterHandler(&b);

        ::testing::internal::CaptureStderr();
        EXPECT_NO_THROW(send(0x10011));
        const std::string err = ::testing::internal::GetCapturedStderr();

        EXPECT_EQ(log, (Log{"a.query:10011", "b.query:10011"}));
        EXPECT_EQ(resultSeenByB, 3);
        EXPECT_NE(err.find(c.reported), std::string::npos) << err;
        EXPECT_NE(err.find("0x10011"), std::string::npos) << err;
        TMessageDispatcherWin::Finalize();
    }
}

} // namespace
