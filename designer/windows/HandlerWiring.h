#pragma once
// Every connection from a component's signal to a handler is noted on the
// component under the handler's name, so that the windows' component lists
// can be held against what was actually wired.
#include <QMetaMethod>
#include <QObject>
#include <QStringList>
#include <utility>

namespace lx {

inline constexpr const char* kWiredHandlersProperty = "lxWiredHandlers";

// "signal:handler", one for each connection made with Wire.
inline QStringList WiredHandlers(const QObject& sender) { return sender.property(kWiredHandlersProperty).toStringList(); }

// connect(), noting that the signal reaches the named handler.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection Wire(const char* handler, Sender* sender, Signal signal, const Receiver* receiver, Slot&& slot)
{
    const QString wired = QString::fromLatin1(QMetaMethod::fromSignal(signal).name()) + u':' + QLatin1String(handler);
    sender->setProperty(kWiredHandlersProperty, WiredHandlers(*sender) << wired);
    return QObject::connect(sender, signal, receiver, std::forward<Slot>(slot));
}

} // namespace lx

// A handler and its name, for helpers that take both: LX_HANDLER(TFormDesign, BtnSaveClick).
#define LX_HANDLER(Class, name) &Class::name, #name
