#pragma once
// The up-down arrows beside a numeric edit: two small arrow buttons, one
// above the other, that repeat while held. The edit keeps its own text; the
// handler reads Tag to know which edit the arrows step.
#include <QWidget>

class QToolButton;

namespace lx {

class UpDown : public QWidget {
    Q_OBJECT
public:
    // btNext is the up arrow, btPrev the down arrow.
    enum Button { btNext, btPrev };

    explicit UpDown(QWidget* parent = nullptr);
    // Arrows of 16 x 11 pixels each for a numeric edit of a panel.
    static UpDown* ForEdit(int tag);

    int Tag = 0;
    QToolButton* UpButton;
    QToolButton* DownButton;

signals:
    void clicked(lx::UpDown::Button button);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace lx
