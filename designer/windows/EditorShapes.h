#pragma once
// Small widgets of the design editor: the colour samples beside the "変更"
// buttons, the outlined shapes laid over the design surface (selection
// frame, corner handles, multi-selection frame), the up-down button pair
// beside a number box, and an event hook that hands events to a function.
#include <QFrame>
#include <QObject>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace lx {

// A sample of one colour; the colour (0x00BBGGRR) lives in the widget.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);
    std::uint32_t color() const { return color_; }
    void setColor(std::uint32_t bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t color_ = 0;
};

// A rectangle outline with an optional fill, drawn over the surface.
class OutlineShape : public QWidget {
    Q_OBJECT
public:
    explicit OutlineShape(QWidget* parent = nullptr);
    void setPen(std::uint32_t bgr, Qt::PenStyle style);
    std::uint32_t penColor() const { return penColor_; }
    // No fill when not set.
    void setFill(std::uint32_t bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t penColor_ = 0;
    Qt::PenStyle penStyle_ = Qt::SolidLine;
    bool filled_ = false;
    std::uint32_t fillColor_ = 0xFFFFFF;
};

// Hands every event of the objects it is installed on to a function; the
// function's true result consumes the event.
class EventHook : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(QObject*, QEvent*)>;
    EventHook(Handler handler, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler handler_;
};

} // namespace lx
