#include "designer/windows/PictureButton.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace lx {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::setPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover)
{
    normal_ = normal;
    pressed_ = pressed;
    hover_ = hover;
    update();
}

void PictureButton::setPictures(const QString& stem)
{
    setPictures(QPixmap(stem + QStringLiteral("_normal.png")), QPixmap(stem + QStringLiteral("_pressed.png")),
                QPixmap(stem + QStringLiteral("_hover.png")));
}

const QPixmap& PictureButton::currentPicture() const
{
    if (isDown() && !pressed_.isNull())
        return pressed_;
    if (hovered_ && isEnabled() && !hover_.isNull())
        return hover_;
    return normal_;
}

QSize PictureButton::sizeHint() const
{
    if (!normal_.isNull())
        return normal_.deviceIndependentSize().toSize();
    return fontMetrics().size(Qt::TextShowMnemonic, text()) + QSize(16, 10);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap& picture = currentPicture();
    if (picture.isNull()) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.text = text();
        option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
        return;
    }
    // The picture sits at the top, centred across (image above the text).
    const QSize size = picture.deviceIndependentSize().toSize();
    painter.drawPixmap((width() - size.width()) / 2, 0, picture);
    if (!isEnabled()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(rect(), QColor(255, 255, 255, 110));
    }
}

void PictureButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace lx
