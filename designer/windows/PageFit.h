#pragma once
// Property pages exactly as tall as what they show, so that the scroll
// area around them scrolls no further than their last box.
#include <QLayout>
#include <QList>

class QStackedWidget;

namespace lx {

// The layout of a page whose widgets are placed by hand: it moves none of
// them, and asks for the room down to its lowest shown widget. A stack or
// tab widget on the page is given the height of the page it shows and the
// page's width to its right edge.
class PlacedLayout : public QLayout {
public:
    explicit PlacedLayout(QWidget* page);
    ~PlacedLayout() override;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QSize sizeHint() const override;
    QSize minimumSize() const override { return sizeHint(); }
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect& rect) override;

private:
    QList<QLayoutItem*> items_;
};

// The stack, and every stack and tab widget inside it, is as tall as the
// page it shows rather than as its tallest page; pages placed by hand are
// held by a PlacedLayout. Call once the pages are built.
void FitPagesToContent(QStackedWidget* stack);

} // namespace lx
