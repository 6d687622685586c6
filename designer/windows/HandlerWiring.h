#pragma once
// Every connection from a component's signal to a handler, and every handler
// its mouse, key or drop events reach through an event filter, is noted on
// the component under the handler's name, so that the windows' component
// lists can be held against what was actually wired.
#include <QMetaMethod>
#include <QObject>
#include <QStringList>
#include <initializer_list>
#include <utility>

#include "platform/app/Messages.h"

namespace lx {

inline constexpr const char* kWiredHandlersProperty = "lxWiredHandlers";

// "signal:handler", one for each connection made with Wire, and
// "event:handler" for each handler noted with NoteEventHandlers.
inline QStringList WiredHandlers(const QObject& sender)
{
    return sender.property(kWiredHandlersProperty).toStringList();
}

inline void NoteWired(QObject& sender, const QString& wired)
{
    sender.setProperty(kWiredHandlersProperty, WiredHandlers(sender) << wired);
}

// connect(), noting that the signal reaches the named handler.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection Wire(const char* handler, Sender* sender, Signal signal, const Receiver* receiver, Slot&& slot)
{
    NoteWired(*sender, QString::fromLatin1(QMetaMethod::fromSignal(signal).name()) + u':' + QLatin1String(handler));
    return QObject::connect(sender, signal, receiver, std::forward<Slot>(slot));
}

// A button's clicks wired to a window's handler, run as every handler is:
// an error reaches the user as a message.
template <typename Window, typename Button>
QMetaObject::Connection WireClick(Window* window, Button* button, void (Window::*handler)(), const char* name)
{
    return Wire(name, button, &Button::clicked, window,
                [window, handler] { guarded([window, handler] { (window->*handler)(); }); });
}

// Notes the handlers that the component's events reach through the event
// filter installed beside this call.
inline void NoteEventHandlers(QObject* component, std::initializer_list<const char*> handlers)
{
    for (const char* handler : handlers)
        NoteWired(*component, QStringLiteral("event:") + QLatin1String(handler));
}

} // namespace lx

// A handler and its name, for helpers that take both: LX_HANDLER(TFormDesign, BtnSaveClick).
#define LX_HANDLER(Class, name) &Class::name, #name
