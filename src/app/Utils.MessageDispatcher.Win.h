#pragma once

// Lets ordinary objects receive the main thread's window messages through
// their own handler methods, without owning a window procedure. The
// dispatcher only observes: nothing a handler does reaches the system.

#include <cstddef>
#include <cstdint>
#include <iterator>

// One message as offered to the handlers. Made once per ProcessMessage call
// and shared by all handlers of that call.
struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

namespace pw
{

// Asks whether the session may end (log-off or shutdown).
inline constexpr std::uint32_t msgQueryEndSession = 0x0011;

class MessageHandler;

struct MessageMapEntry {
    std::uint16_t id;
    void (*invoke)(MessageHandler& handler, TMessage& message);
};

// One class's message table; parent is the nearest ancestor's table.
struct MessageMap {
    const MessageMap* parent;
    const MessageMapEntry* entries;
    std::size_t count;

    // The entry for id in this table or an ancestor's, the most derived first.
    const MessageMapEntry* find(std::uint16_t id) const;
};

template <auto Method> struct MessageMethod;

template <class Class, void (Class::*Method)(TMessage&)> struct MessageMethod<Method> {
    static void invoke(MessageHandler& handler, TMessage& message)
    {
        (static_cast<Class&>(handler).*Method)(message);
    }
};

template <auto Method> constexpr MessageMapEntry messageEntry(std::uint16_t id)
{
    return {id, &MessageMethod<Method>::invoke};
}

// Base of every object that can be registered with the dispatcher. Its
// destructor unregisters the object, so a destroyed handler is never offered
// a message. Derive from it after QWidget (or any other base that owns a
// native window): bases are destroyed in reverse order, so the object leaves
// the dispatcher before its window goes away.
class MessageHandler
{
public:
    MessageHandler() = default;
    MessageHandler(const MessageHandler&) = delete;
    MessageHandler& operator=(const MessageHandler&) = delete;
    virtual ~MessageHandler();

    static const MessageMap& staticMessageMap();
    virtual const MessageMap& messageMap() const { return staticMessageMap(); }

    // Receives every message for which the class has no handler method, and
    // every message whose low 16 bits are 0 or 0xC000 and above. Does nothing
    // unless overridden.
    virtual void defaultHandler(TMessage& message);

    // Offers one message to this object: only the low 16 bits of Msg count.
    void dispatchMessage(TMessage& message);
};

// Keeps the dispatcher's hooks until it goes out of scope. Declare it after
// the application object and before the windows, so it ends after the
// windows are destroyed and before the application.
class MessageDispatcherFinalizer
{
public:
    MessageDispatcherFinalizer() = default;
    MessageDispatcherFinalizer(const MessageDispatcherFinalizer&) = delete;
    MessageDispatcherFinalizer& operator=(const MessageDispatcherFinalizer&) = delete;
    ~MessageDispatcherFinalizer();
};

} // namespace pw

// Declares a class's message table, in a public section of the class:
//   PW_MESSAGE_MAP(TForm1, pw::MessageHandler,
//                  PW_MESSAGE(pw::msgQueryEndSession, WMQueryEndSession))
// Each method has the form void Name(TMessage&). Ids not in the table are
// looked up in Parent's table, and so on up to pw::MessageHandler.
#define PW_MESSAGE(id, method) ::pw::messageEntry<&PwMessageMapClass::method>(id)
#define PW_MESSAGE_MAP(Class, Parent, ...)                                                         \
    static const ::pw::MessageMap& staticMessageMap()                                              \
    {                                                                                              \
        using PwMessageMapClass = Class;                                                           \
        static constexpr ::pw::MessageMapEntry entries[] = {__VA_ARGS__};                          \
        static const ::pw::MessageMap map{&Parent::staticMessageMap(), entries,                    \
                                          std::size(entries)};                                     \
        return map;                                                                                \
    }                                                                                              \
    const ::pw::MessageMap& messageMap() const override                                            \
    {                                                                                              \
        return staticMessageMap();                                                                 \
    }

// The dispatcher: class-level operations only, on the state of this unit.
// Used from the GUI thread alone.
class TMessageDispatcherWin
{
public:
    TMessageDispatcherWin() = delete;

    // Appends the handler unless that very object is registered already.
    static void RegisterHandler(pw::MessageHandler* AHandler);
    // Removes the handler if registered; the ones after it move up.
    static void UnregisterHandler(pw::MessageHandler* AHandler);
    // The window of the message most recently passed to ProcessMessage; 0
    // before the first.
    static std::uintptr_t GetWnd();
    // Offers one message to every registered handler, in order of
    // registration. An error raised by a handler is reported on standard
    // error and the next handler still gets the message.
    static void ProcessMessage(std::uintptr_t AWnd, std::uint32_t AMsg, std::uintptr_t AwParam,
                               std::intptr_t AlParam);

    // Starts watching the main thread's messages. Call once on the main
    // thread, before any window exists (the application object may not exist
    // yet).
    static void Initialize();
    // Connects what needs the application object; call right after it is
    // made. Does nothing where the hooks need no application.
    static void AttachApplication();
    // Stops watching and empties the handler list. Call after the windows are
    // destroyed and before the application object.
    static void Finalize();
};
