#pragma once
// A frameless button drawn from pictures: one for rest, one while pressed
// and one while the mouse is over it. Without pictures it draws a plain
// raised face with its text, so later windows can place it before their
// pictures exist.
#include <QAbstractButton>
#include <QPixmap>

namespace lx {

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover);
    // The three pictures stem + "_normal.png", "_pressed.png", "_hover.png".
    void setPictures(const QString& stem);
    // The picture that the button shows now.
    const QPixmap& currentPicture() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap normal_;
    QPixmap pressed_;
    QPixmap hover_;
    bool hovered_ = false;
};

} // namespace lx
