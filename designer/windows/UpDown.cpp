#include "designer/windows/UpDown.h"

#include <QToolButton>

namespace lx {

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow, const char* name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), UpButton(ArrowButton(this, Qt::UpArrow, "UpButton")),
      DownButton(ArrowButton(this, Qt::DownArrow, "DownButton"))
{
    connect(UpButton, &QToolButton::clicked, this, [this] { emit clicked(btNext); });
    connect(DownButton, &QToolButton::clicked, this, [this] { emit clicked(btPrev); });
}

UpDown* UpDown::ForEdit(int tag)
{
    auto* arrows = new UpDown;
    arrows->Tag = tag;
    arrows->setFixedSize(16, 22);
    return arrows;
}

void UpDown::resizeEvent(QResizeEvent* event)
{
    const int upper = height() / 2;
    UpButton->setGeometry(0, 0, width(), upper);
    DownButton->setGeometry(0, upper, width(), height() - upper);
    QWidget::resizeEvent(event);
}

} // namespace lx
