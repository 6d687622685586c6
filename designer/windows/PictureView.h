#pragma once
// An image control that shows its picture unscaled and centred: the
// picture's top-left corner lies at ((width - picture width) div 2,
// (height - picture height) div 2), which mouse hit tests rely on.
#include <QImage>
#include <QWidget>

namespace lx {

class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void clearPicture() { setPicture({}); }
    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    QPoint pictureOffset() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace lx
