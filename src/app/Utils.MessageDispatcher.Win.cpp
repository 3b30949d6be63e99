#include "app/Utils.MessageDispatcher.Win.h"

#include "core/Errors.h"
#include "platform/MessageHooks.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

namespace
{

struct DispatcherState {
    std::vector<pw::MessageHandler*> handlers;
    // The next position of every walk in progress, innermost last. A removal
    // before a walk's position moves that position back, so the handlers
    // after the removed one are neither skipped nor offered twice.
    std::vector<std::size_t*> walks;
    std::uintptr_t lastWnd = 0;
};

// Never destroyed: handlers with static storage may unregister at exit.
DispatcherState& state()
{
    static DispatcherState* s = new DispatcherState;
    return *s;
}

void report(std::uint32_t msg, const char* what)
{
    std::fprintf(stderr, "Pondwillow: error while handling window message 0x%04X: %s\n",
                 static_cast<unsigned>(msg), what);
    std::fflush(stderr);
}

// Offers the record to one handler; an error stays here, and the hooks learn
// that the message was not handled.
void offer(pw::MessageHandler& handler, TMessage& message)
{
    try {
        handler.dispatchMessage(message);
        return;
    } catch (const pw::Error& e) {
        report(message.Msg, e.message().toUtf8().constData());
    } catch (const std::exception& e) {
        report(message.Msg, e.what());
    } catch (...) {
        report(message.Msg, "unknown error");
    }
    pw::MessageHooks::handlerFailed();
}

struct WalkRegistration {
    explicit WalkRegistration(std::size_t* position) { state().walks.push_back(position); }
    ~WalkRegistration() { state().walks.pop_back(); }
    WalkRegistration(const WalkRegistration&) = delete;
    WalkRegistration& operator=(const WalkRegistration&) = delete;
};

} // namespace

namespace pw
{

const MessageMapEntry* MessageMap::find(std::uint16_t id) const
{
    for (const MessageMap* map = this; map; map = map->parent) {
        for (std::size_t i = 0; i < map->count; ++i) {
            if (map->entries[i].id == id)
                return &map->entries[i];
        }
    }
    return nullptr;
}

MessageHandler::~MessageHandler()
{
    TMessageDispatcherWin::UnregisterHandler(this);
}

const MessageMap& MessageHandler::staticMessageMap()
{
    static const MessageMap map{nullptr, nullptr, 0};
    return map;
}

void MessageHandler::defaultHandler(TMessage&) {}

void MessageHandler::dispatchMessage(TMessage& message)
{
    const auto id = static_cast<std::uint16_t>(message.Msg & 0xFFFFu);
    // 0 is no message; 0xC000 and above are ids registered at run time,
    // which no class can name in its table.
    if (id != 0 && id < 0xC000u) {
        if (const MessageMapEntry* entry = messageMap().find(id)) {
            entry->invoke(*this, message);
            return;
        }
    }
    defaultHandler(message);
}

MessageDispatcherFinalizer::~MessageDispatcherFinalizer()
{
    TMessageDispatcherWin::Finalize();
}

} // namespace pw

void TMessageDispatcherWin::RegisterHandler(pw::MessageHandler* AHandler)
{
    if (!AHandler)
        return;
    auto& handlers = state().handlers;
    if (std::find(handlers.begin(), handlers.end(), AHandler) == handlers.end())
        handlers.push_back(AHandler);
}

void TMessageDispatcherWin::UnregisterHandler(pw::MessageHandler* AHandler)
{
    auto& s = state();
    const auto it = std::find(s.handlers.begin(), s.handlers.end(), AHandler);
    if (it == s.handlers.end())
        return;
    const auto index = static_cast<std::size_t>(it - s.handlers.begin());
    s.handlers.erase(it);
    for (std::size_t* next : s.walks) {
        if (index < *next)
            --*next;
    }
}

std::uintptr_t TMessageDispatcherWin::GetWnd()
{
    return state().lastWnd;
}

void TMessageDispatcherWin::ProcessMessage(std::uintptr_t AWnd, std::uint32_t AMsg,
                                           std::uintptr_t AwParam, std::intptr_t AlParam)
{
    auto& s = state();
    s.lastWnd = AWnd;
    TMessage message{AMsg, AwParam, AlParam, 0};
    std::size_t next = 0;
    WalkRegistration walk(&next);
    // The length is read again at every step: handlers may register or
    // unregister (themselves or others) while the walk goes on.
    while (next < s.handlers.size()) {
        pw::MessageHandler* handler = s.handlers[next];
        ++next;
        offer(*handler, message);
    }
}

void TMessageDispatcherWin::Initialize()
{
    pw::MessageHooks::install(&TMessageDispatcherWin::ProcessMessage);
}

void TMessageDispatcherWin::AttachApplication()
{
    pw::MessageHooks::attachApplication();
}

void TMessageDispatcherWin::Finalize()
{
    pw::MessageHooks::remove();
    auto& handlers = state().handlers;
    handlers.clear();
    handlers.shrink_to_fit();
}
