#pragma once
// The program's application object: an exception that a window handler let
// through is shown like any other and the event loop goes on.
#include <QApplication>

namespace lx {

class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace lx
