#pragma once
// The picture chooser. Its thumbnails come with the picture work.
#include <QDialog>

namespace lx {

class TFormSelectPicture : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelectPicture(QWidget* parent = nullptr);
};

} // namespace lx
