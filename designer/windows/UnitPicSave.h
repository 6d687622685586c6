#pragma once
// The picture export. Its pages come with the picture-export work.
#include <QDialog>

namespace lx {

class TFormPicSave : public QDialog {
    Q_OBJECT
public:
    explicit TFormPicSave(QWidget* parent = nullptr);
};

} // namespace lx
