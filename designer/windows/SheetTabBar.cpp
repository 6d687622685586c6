#include "designer/windows/SheetTabBar.h"

#include <QMouseEvent>
#include <QPainter>

namespace lx {

void SheetTabBar::paintEvent(QPaintEvent* event)
{
    if (!painter_) {
        QTabBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    for (int i = 0; i < count(); ++i)
        painter_(painter, i, tabRect(i));
}

void SheetTabBar::mousePressEvent(QMouseEvent* event)
{
    // The right button is the editor's alone: the strip would otherwise
    // report a click on whatever tab lies under the mouse after the menu.
    if (onPress_ && event->button() == Qt::RightButton) {
        onPress_(*event);
        event->accept();
        return;
    }
    QTabBar::mousePressEvent(event);
}

} // namespace lx
