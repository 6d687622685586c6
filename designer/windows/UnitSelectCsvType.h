#pragma once
// The merge-sheet type chooser; the program creates it and never shows it.
#include <QDialog>

namespace lx {

class TFormSelectCsvType : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelectCsvType(QWidget* parent = nullptr);
};

} // namespace lx
