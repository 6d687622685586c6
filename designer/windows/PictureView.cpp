#include "designer/windows/PictureView.h"

#include "designer/windows/QtBridge.h"

#include <QPainter>

namespace lx {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

QPoint PictureView::pictureOffset() const
{
    return {Div(width() - picture_.width(), 2), Div(height() - picture_.height(), 2)};
}

void PictureView::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(pictureOffset(), picture_);
}

} // namespace lx
