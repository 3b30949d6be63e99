// The thread hooks on the main thread's messages: what they offer, how often,
// and that the system's hook chain and the windows' answers stay untouched.
#include <windows.h>

#include "TestSupport.h"
#include "platform/MessageHooks.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace
{

constexpr UINT kPosted = WM_APP + 1;
constexpr UINT kSent = WM_APP + 2;
constexpr LRESULT kAnswer = 42;

struct Offer {
    std::uintptr_t wnd;
    std::uint32_t msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// What the window procedure and the witness hooks saw.
struct Seen {
    int windowProcedure = 0;
    int getMessageWitness = 0;
    int callWndProcWitness = 0;
};
Seen seen;

LRESULT CALLBACK testWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kPosted || msg == kSent) {
        ++seen.windowProcedure;
        return kAnswer;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// Hooks installed before the ones under test, so that they come after them in
// the chain: they see a message only if the hooks under test pass it on.
LRESULT CALLBACK getMessageWitness(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && wParam == PM_REMOVE &&
        reinterpret_cast<const MSG*>(lParam)->message == kPosted)
        ++seen.getMessageWitness;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK callWndProcWitness(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == kSent)
        ++seen.callWndProcWitness;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A message-only window of the calling thread: it takes posted and sent
// messages like any other and needs no display.
HWND createWindow()
{
    return pw::win32::test::createWindow(
        {L"PwHooksTestWindow", testWindowProc, 0, 0, HWND_MESSAGE});
}

class Hooks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        seen = {};
        wnd = createWindow();
        ASSERT_NE(wnd, nullptr);
        const DWORD thread = GetCurrentThreadId();
        witnesses[0] = SetWindowsHookExW(WH_GETMESSAGE, getMessageWitness, nullptr, thread);
        witnesses[1] = SetWindowsHookExW(WH_CALLWNDPROC, callWndProcWitness, nullptr, thread);
        ASSERT_NE(witnesses[0], nullptr);
        ASSERT_NE(witnesses[1], nullptr);
        install();
    }

    void TearDown() override
    {
        pw::MessageHooks::remove();
        for (HHOOK h : witnesses)
            UnhookWindowsHookEx(h);
        DestroyWindow(wnd);
        // Nothing posted by a test is left for the next one.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_APP, WM_APP + 0x100, PM_REMOVE)) {
        }
    }

    void install()
    {
        pw::MessageHooks::install(
            [this](std::uintptr_t w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
                if (m == kPosted || m == kSent)
                    offers.push_back({w, m, wp, lp});
            });
    }

    std::uintptr_t handle() const { return reinterpret_cast<std::uintptr_t>(wnd); }

    HWND wnd = nullptr;
    HHOOK witnesses[2] = {};
    std::vector<Offer> offers;
};

void expectOffer(const std::vector<Offer>& offers, std::uintptr_t wnd, std::uint32_t msg,
                 std::uintptr_t wParam, std::intptr_t lParam)
{
    ASSERT_EQ(offers.size(), 1u);
    EXPECT_EQ(offers[0].wnd, wnd);
    EXPECT_EQ(offers[0].msg, msg);
    EXPECT_EQ(offers[0].wParam, wParam);
    EXPECT_EQ(offers[0].lParam, lParam);
}

// How a posted message is looked at before it is taken off the queue.
struct PostedCase {
    const char* name;
    int peeksFirst;  // PeekMessage with PM_NOREMOVE before the removal
    bool getMessage; // removed by GetMessage, else by PeekMessage with PM_REMOVE
};

class PostedMessage : public Hooks, public ::testing::WithParamInterface<PostedCase>
{
};

TEST_P(PostedMessage, IsOfferedOnceWhenRemovedAndDispatched)
{
    const PostedCase& c = GetParam();
    ASSERT_TRUE(PostMessageW(wnd, kPosted, 7, -3));
    MSG msg{};
    for (int i = 0; i < c.peeksFirst; ++i) {
        ASSERT_TRUE(PeekMessageW(&msg, wnd, kPosted, kPosted, PM_NOREMOVE));
        EXPECT_TRUE(offers.empty()) << "offered while only peeked at";
    }
    if (c.getMessage)
        ASSERT_GT(GetMessageW(&msg, wnd, kPosted, kPosted), 0);
    else
        ASSERT_TRUE(PeekMessageW(&msg, wnd, kPosted, kPosted, PM_REMOVE));
    // Dispatching calls the window procedure directly, past the hook on sent
    // messages: no second offer.
    EXPECT_EQ(DispatchMessageW(&msg), kAnswer);

    expectOffer(offers, handle(), kPosted, 7, -3);
    EXPECT_EQ(seen.windowProcedure, 1);
    EXPECT_EQ(seen.getMessageWitness, 1);
}

INSTANTIATE_TEST_SUITE_P(Hooks, PostedMessage,
                         ::testing::Values(PostedCase{"Removed", 0, false},
                                           PostedCase{"PeekedThenRemoved", 1, false},
                                           PostedCase{"PeekedTwiceThenRemoved", 2, false},
                                           PostedCase{"PeekedThenGotten", 1, true}),
                         [](const ::testing::TestParamInfo<PostedCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Hooks, SentMessageIsOfferedOnceAndAnsweredByTheWindowAlone)
{
    EXPECT_EQ(SendMessageW(wnd, kSent, 5, -6), kAnswer);
    expectOffer(offers, handle(), kSent, 5, -6);
    EXPECT_EQ(seen.windowProcedure, 1);
    EXPECT_EQ(seen.callWndProcWitness, 1);
}

// A callback that fails reports the error; the message still reaches the
// rest of the chain and its window, and the hooks go on working.
struct ThrowCase {
    const char* name;
    void (*fail)();
};

class FailingCallback : public Hooks, public ::testing::WithParamInterface<ThrowCase>
{
};

TEST_P(FailingCallback, LeavesTheChainAndLaterMessagesIntact)
{
    int calls = 0;
    pw::MessageHooks::install(
        [&calls](std::uintptr_t, std::uint32_t m, std::uintptr_t, std::intptr_t) {
            if (m != kPosted && m != kSent)
                return;
            ++calls;
            if (calls <= 2)
                GetParam().fail();
        });

    EXPECT_EQ(SendMessageW(wnd, kSent, 0, 0), kAnswer);
    ASSERT_TRUE(PostMessageW(wnd, kPosted, 0, 0));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, wnd, kPosted, kPosted, PM_REMOVE));
    DispatchMessageW(&msg);
    EXPECT_EQ(seen.callWndProcWitness, 1);
    EXPECT_EQ(seen.getMessageWitness, 1);
    EXPECT_EQ(seen.windowProcedure, 2);

    // The third message is handled normally.
    EXPECT_EQ(SendMessageW(wnd, kSent, 0, 0), kAnswer);
    EXPECT_EQ(calls, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Hooks, FailingCallback,
    ::testing::Values(ThrowCase{"StandardException", [] { throw std::runtime_error("handler"); }},
                      ThrowCase{"OtherException", [] { throw 42; }}),
    [](const ::testing::TestParamInfo<ThrowCase>& info) { return std::string(info.param.name); });

TEST_F(Hooks, RemovedHooksOfferNothingAndCanBeInstalledAgain)
{
    pw::MessageHooks::remove();
    EXPECT_EQ(SendMessageW(wnd, kSent, 1, 1), kAnswer);
    EXPECT_TRUE(offers.empty());
    // The witnesses, installed before, still see the message: only our hooks
    // left the chain.
    EXPECT_EQ(seen.callWndProcWitness, 1);

    install();
    EXPECT_EQ(SendMessageW(wnd, kSent, 2, 2), kAnswer);
    expectOffer(offers, handle(), kSent, 2, 2);
}

TEST_F(Hooks, MessagesOfOtherThreadsAreNotSeen)
{
    std::thread other([] {
        const HWND own = createWindow();
        SendMessageW(own, kSent, 0, 0);
        PostMessageW(own, kPosted, 0, 0);
        MSG msg{};
        while (PeekMessageW(&msg, own, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        DestroyWindow(own);
    });
    other.join();
    EXPECT_TRUE(offers.empty());
}

} // namespace
