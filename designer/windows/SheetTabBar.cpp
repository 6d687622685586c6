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
    if (onPress_)
        onPress_(*event);
    QTabBar::mousePressEvent(event);
}

} // namespace lx
