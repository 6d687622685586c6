#include "platform/app/GuardedApplication.h"

#include "platform/app/Messages.h"

namespace lx {

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        // A handler that fails again while its message is up is not shown twice.
        static bool reporting = false;
        if (!reporting) {
            reporting = true;
            ReportCurrentException();
            reporting = false;
        }
        return false;
    }
}

} // namespace lx
