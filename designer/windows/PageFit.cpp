#include "designer/windows/PageFit.h"

#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>

namespace lx {

namespace {

// Space under the lowest widget of a page placed by hand.
constexpr int kBottomMargin = 6;

// A stack or tab widget takes the height of the page it shows.
bool FollowsItsPage(const QWidget* widget)
{
    return qobject_cast<const QStackedWidget*>(widget) || qobject_cast<const QTabWidget*>(widget);
}

// The room a widget takes on a page placed by hand: a stack or tab widget
// the smallest size that holds the page it shows (a tab widget's size hint
// holds its tallest tab), any other widget the size it was placed with.
QSize PlacedSize(const QWidget* widget) { return FollowsItsPage(widget) ? widget->minimumSizeHint() : widget->size(); }

void SizeToCurrentPage(QStackedWidget* stack)
{
    for (int i = 0; i < stack->count(); ++i) {
        QWidget* page = stack->widget(i);
        QSizePolicy policy = page->sizePolicy();
        policy.setVerticalPolicy(page == stack->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored);
        page->setSizePolicy(policy);
    }
}

} // namespace

PlacedLayout::PlacedLayout(QWidget* page) : QLayout(page) { setContentsMargins(0, 0, 0, kBottomMargin); }

PlacedLayout::~PlacedLayout() { qDeleteAll(items_); }

void PlacedLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* PlacedLayout::itemAt(int index) const
{
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* PlacedLayout::takeAt(int index)
{
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

QSize PlacedLayout::sizeHint() const
{
    int right = 0;
    int bottom = 0;
    for (const QLayoutItem* item : items_) {
        const QWidget* widget = item->widget();
        if (!widget || item->isEmpty())
            continue;
        const QSize size = PlacedSize(widget);
        right = std::max(right, widget->x() + size.width());
        bottom = std::max(bottom, widget->y() + size.height());
    }
    if (bottom == 0)
        return {0, 0};
    const QMargins margins = contentsMargins();
    return {right + margins.right(), bottom + margins.bottom()};
}

void PlacedLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    for (QLayoutItem* item : items_) {
        QWidget* widget = item->widget();
        if (widget && FollowsItsPage(widget))
            widget->setGeometry(widget->x(), widget->y(), std::max(rect.right() + 1 - widget->x(), 0),
                                PlacedSize(widget).height());
    }
}

void FitPagesToContent(QStackedWidget* stack)
{
    QList<QStackedWidget*> stacks = stack->findChildren<QStackedWidget*>();
    stacks.prepend(stack);
    for (QStackedWidget* each : stacks) {
        for (int i = 0; i < each->count(); ++i) {
            QWidget* page = each->widget(i);
            if (page->layout())
                continue;
            auto* layout = new PlacedLayout(page);
            for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child->isWindow())
                    continue;
                // Showing sizes a widget placed without a size to its content,
                // but only on a page without a layout.
                if (!child->testAttribute(Qt::WA_Resized))
                    child->adjustSize();
                layout->addWidget(child);
            }
        }
        SizeToCurrentPage(each);
        QObject::connect(each, &QStackedWidget::currentChanged, each, [each] { SizeToCurrentPage(each); });
    }
}

} // namespace lx
