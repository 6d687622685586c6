#include "platform/app/WheelGuard.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>

namespace lx {

namespace {

bool TakesWheelAsValue(const QObject* object)
{
    return qobject_cast<const QComboBox*>(object) || qobject_cast<const QAbstractSpinBox*>(object) ||
        qobject_cast<const QAbstractSlider*>(object);
}

// A scroll bar is a slider whose wheel scrolls: it keeps it.
bool IsValueWidget(const QObject* object)
{
    if (!TakesWheelAsValue(object))
        return false;
    const auto* slider = qobject_cast<const QAbstractSlider*>(object);
    return !slider || !slider->inherits("QScrollBar");
}

} // namespace

void WheelGuard::Install()
{
    static WheelGuard* guard = nullptr;
    if (!guard && qApp) {
        guard = new WheelGuard(qApp);
        qApp->installEventFilter(guard);
    }
}

bool WheelGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsValueWidget(watched))
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    // The wheel would give focus first and then turn the value: focus comes
    // from a click or the keyboard only.
    if (event->type() == QEvent::Polish && widget->focusPolicy() == Qt::WheelFocus)
        widget->setFocusPolicy(Qt::StrongFocus);
    if (event->type() != QEvent::Wheel || widget->hasFocus())
        return false;
    // Handled here but not accepted: Qt hands the wheel on to the parents.
    event->ignore();
    return true;
}

} // namespace lx
