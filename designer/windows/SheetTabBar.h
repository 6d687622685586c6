#pragma once
// The object tab strip of the editor: button-style tabs that the editor
// paints itself, and right-button presses that the editor handles alone.
#include <QTabBar>
#include <functional>

namespace lx {

class SheetTabBar : public QTabBar {
public:
    using TabPainter = std::function<void(QPainter&, int index, const QRect& rect)>;
    using PressHandler = std::function<void(QMouseEvent&)>; // right button

    explicit SheetTabBar(QWidget* parent = nullptr) : QTabBar(parent) {}

    void setTabPainter(TabPainter painter) { painter_ = std::move(painter); }
    void setPressHandler(PressHandler handler) { onPress_ = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TabPainter painter_;
    PressHandler onPress_;
};

} // namespace lx
