#pragma once
// The merge-sheet type chooser; the program creates it and never shows it.
#include <QDialog>

class QComboBox;
class QLabel;

namespace lx {

class PictureButton;

class TFormSelectCsvType : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelectCsvType(QWidget* parent = nullptr);

    void PNGBtnOKClick();
    void PNGBtnCancelClick();

    // The chosen type (0 text, 1 symbol, 2 mobile QR), -1 when cancelled.
    int ChosenType = -1;

    QLabel* Label1;
    QComboBox* CBCsvSheetType;
    PictureButton* PNGBtnOK;
    PictureButton* PNGBtnCancel;
};

} // namespace lx
