#pragma once
// Keeps the mouse wheel from changing a setting the user did not pick: a
// drop-down, number box or slider takes the wheel only while it has the
// focus; otherwise the wheel goes on to what holds it (a page scrolls).
#include <QObject>

namespace lx {

class WheelGuard : public QObject {
public:
    using QObject::QObject;
    // Guards every widget of the application from now on.
    static void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace lx
