#include "designer/windows/EditorShapes.h"

#include "designer/windows/QtBridge.h"

#include <QPainter>

namespace lx {

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setFixedSize(24, 20);
}

void ColorSwatch::setColor(std::uint32_t bgr)
{
    color_ = bgr & 0xFFFFFF;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(contentsRect(), toQColor(color_));
    painter.end();
    QFrame::paintEvent(event);
}

OutlineShape::OutlineShape(QWidget* parent) : QWidget(parent) {}

void OutlineShape::setPen(std::uint32_t bgr, Qt::PenStyle style)
{
    penColor_ = bgr & 0xFFFFFF;
    penStyle_ = style;
    update();
}

void OutlineShape::setFill(std::uint32_t bgr)
{
    filled_ = true;
    fillColor_ = bgr & 0xFFFFFF;
    update();
}

void OutlineShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (filled_)
        painter.fillRect(rect(), toQColor(fillColor_));
    painter.setPen(QPen(toQColor(penColor_), 1, penStyle_));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

EventHook::EventHook(Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler)) {}

bool EventHook::eventFilter(QObject* watched, QEvent* event)
{
    return handler_(watched, event) || QObject::eventFilter(watched, event);
}

} // namespace lx
