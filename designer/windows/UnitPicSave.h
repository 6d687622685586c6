#pragma once
// The picture export: the label shown in the editor saved as a JPEG or BMP
// file at one of four fixed sizes, with a preview of the very bitmap that is
// saved.
#include <QDialog>
#include <QScrollArea>
#include <cstdint>

#include "platform/app/Messages.h"
#include "platform/image/Bitmap.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace lx {

class EnhMetafile;
class PictureView;

// A scroll box whose wheel steps the vertical bar one increment when it can
// scroll, else the horizontal one.
class WheelScrollBox : public QScrollArea {
    Q_OBJECT
public:
    using QScrollArea::QScrollArea;

protected:
    void wheelEvent(QWheelEvent* event) override;
};

class TFormPicSave : public QDialog {
    Q_OBJECT
public:
    explicit TFormPicSave(QWidget* parent = nullptr);
    ~TFormPicSave() override;

    // Shows the label (width and height in whole mm; only their ratio
    // counts) modally. The picture stays the caller's and is used only while
    // the window is up.
    void ShowPicSave(std::int32_t labelWidth, std::int32_t labelHeight, const EnhMetafile& picture);

    void FormCreate();
    void RenderPicSavePreview();
    void RBPicSizeClick();
    void BtnSaveClick();
    void BtnCancelClick();

    // The length in pixels of the saved picture's longer side.
    int ChosenLongSide() const;
    const Bitmap& PreviewBitmap() const { return previewBitmap_; }

    WheelScrollBox* ScrollBox1;
    PictureView* ImagePreview;
    QGroupBox* GroupBox1;
    QRadioButton* RBExtra;
    QRadioButton* RBLarge;
    QRadioButton* RBMidium;
    QRadioButton* RBSmall;
    QPushButton* BtnSave;
    QPushButton* BtnCancel;
    FileDialogRequest SaveDialog1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildComponents();
    // Fits the image control to the bitmap: aligned to the scroll box, or
    // as large as the bitmap on each axis where it is too big to show whole.
    void FitPreviewControl();
    void SaveChosenFile();

    Bitmap previewBitmap_;
    std::int32_t labelWidth_ = 0;
    std::int32_t labelHeight_ = 0;
    const EnhMetafile* labelPicture_ = nullptr;
};

} // namespace lx
