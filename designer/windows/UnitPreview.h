#pragma once
// The print preview. Its pages and printing come with the printing work.
#include <QDialog>

namespace lx {

class TFormPreview : public QDialog {
    Q_OBJECT
public:
    explicit TFormPreview(QWidget* parent = nullptr);
};

} // namespace lx
