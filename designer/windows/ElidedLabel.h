#pragma once
// A caption of one line that gives way to its neighbours: it asks only for
// the room of a "…" and takes the room its layout gives it. When that is
// narrower than its text it shows the text cut short with "…", and the
// whole text as its tool tip. text() stays the whole text.
#include <QLabel>

namespace lx {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The text as drawn in the room the label has.
    QString shownText() const;
    QSize sizeHint() const override { return minimumSizeHint(); }
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

} // namespace lx
