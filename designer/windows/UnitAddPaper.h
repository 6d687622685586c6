#pragma once
// The user-paper editor. Its fields come with the user-paper work; until then it only closes.
#include <QDialog>

namespace lx {

class TFormAddPaper : public QDialog {
    Q_OBJECT
public:
    explicit TFormAddPaper(QWidget* parent = nullptr);
};

} // namespace lx
