#include "designer/windows/UnitPicSave.h"

#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/io/Files.h"
#include "platform/metafile/EnhMetafile.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace lx {

namespace {

// A bitmap larger than this on either axis is shown at its own size, so
// that the scroll box scrolls.
constexpr int kLargestAlignedSide = 656;

// The scroll box's medium grey (0x00BBGGRR).
constexpr std::uint32_t kMediumGrey = 0xA4A0A0;

constexpr int kJpegFilter = 0;
constexpr int kBmpFilter = 1;

} // namespace

void WheelScrollBox::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        QScrollArea::wheelEvent(event);
        return;
    }
    const auto scrolls = [](const QScrollBar* bar) { return bar->maximum() > bar->minimum(); };
    QScrollBar* bar = scrolls(verticalScrollBar()) ? verticalScrollBar() : horizontalScrollBar();
    if (scrolls(bar))
        bar->setValue(bar->value() + (delta < 0 ? bar->singleStep() : -bar->singleStep()));
    event->accept();
}

TFormPicSave::TFormPicSave(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormPicSave"));
    setWindowTitle(QStringLiteral("画像書出"));
    UseDialogFrame(this);
    setFixedSize(609, 652);
    BuildComponents();
    FormCreate();
}

TFormPicSave::~TFormPicSave() = default;

void TFormPicSave::BuildComponents()
{
    ScrollBox1 = PlaceWidget(new WheelScrollBox, this, "ScrollBox1", 5, 5, 600, 600);
    ScrollBox1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ScrollBox1->setLineWidth(2);
    ScrollBox1->setAlignment(Qt::AlignCenter);
    QPalette grey = ScrollBox1->viewport()->palette();
    grey.setColor(QPalette::Window, toQColor(kMediumGrey));
    ScrollBox1->viewport()->setPalette(grey);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    ImagePreview = new PictureView;
    ImagePreview->setObjectName(QStringLiteral("ImagePreview"));
    ScrollBox1->setWidget(ImagePreview);
    ScrollBox1->setWidgetResizable(true);

    GroupBox1 = PlaceWidget(new QGroupBox(QStringLiteral("画像のサイズ")), this, "GroupBox1", 9, 608, 240, 39);
    RBExtra = PlaceWidget(new QRadioButton(QStringLiteral("特大")), GroupBox1, "RBExtra", 8, 16, 52, 18);
    RBLarge = PlaceWidget(new QRadioButton(QStringLiteral("大")), GroupBox1, "RBLarge", 66, 16, 52, 18);
    RBMidium = PlaceWidget(new QRadioButton(QStringLiteral("中")), GroupBox1, "RBMidium", 124, 16, 52, 18);
    RBSmall = PlaceWidget(new QRadioButton(QStringLiteral("小")), GroupBox1, "RBSmall", 182, 16, 52, 18);
    BtnSave = PlaceWidget(new QPushButton(QStringLiteral("保存")), this, "BtnSave", 437, 612, 80, 32);
    BtnCancel = PlaceWidget(new QPushButton(QStringLiteral("閉じる")), this, "BtnCancel", 525, 612, 80, 32);

    SaveDialog1.mode = FileDialogRequest::Mode::Save;
    SaveDialog1.filters = {"JPEG画像ファイル (*.JPG *.jpg)", "BMP画像ファイル (*.BMP *.bmp)"};
    SaveDialog1.filterIndex = kJpegFilter;
    SaveDialog1.defaultSuffix = "JPG";
    SaveDialog1.overwritePrompt = true;

    // Only the button that becomes checked redraws, not the one let go.
    for (QRadioButton* button : {RBExtra, RBLarge, RBMidium, RBSmall})
        Wire("RBPicSizeClick", button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                guarded([this] { RBPicSizeClick(); });
        });
    Wire("BtnSaveClick", BtnSave, &QPushButton::clicked, this, [this] { guarded([this] { BtnSaveClick(); }); });
    Wire("BtnCancelClick", BtnCancel, &QPushButton::clicked, this, [this] { guarded([this] { BtnCancelClick(); }); });
}

void TFormPicSave::FormCreate() { RBLarge->setChecked(true); }

int TFormPicSave::ChosenLongSide() const
{
    if (RBExtra->isChecked())
        return 900;
    if (RBLarge->isChecked())
        return 595;
    if (RBMidium->isChecked())
        return 450;
    return 280;
}

void TFormPicSave::ShowPicSave(std::int32_t labelWidth, std::int32_t labelHeight, const EnhMetafile& picture)
{
    previewBitmap_ = Bitmap();
    labelWidth_ = labelWidth;
    labelHeight_ = labelHeight;
    labelPicture_ = &picture;
    RenderPicSavePreview();
    CentreOnDesktop(this);
    exec();
    labelPicture_ = nullptr;
}

void TFormPicSave::RenderPicSavePreview()
{
    // A label without size (or one no picture could have) leaves the preview as it was.
    if (labelWidth_ <= 0 || labelHeight_ <= 0 || !labelPicture_)
        return;
    const std::int64_t side = ChosenLongSide();
    // The shorter side rounds down, but a very slender label keeps one pixel.
    const auto shorter = [side](std::int64_t small, std::int64_t large) {
        return static_cast<int>(std::max<std::int64_t>(1, side * small / large));
    };
    const bool wide = labelHeight_ < labelWidth_;
    const int width = wide ? static_cast<int>(side) : shorter(labelWidth_, labelHeight_);
    const int height = wide ? shorter(labelHeight_, labelWidth_) : static_cast<int>(side);
    previewBitmap_ = Bitmap(width, height);
    {
        RasterDeviceContext canvas(previewBitmap_);
        PlayEnhMetafile(canvas, *labelPicture_, {0, 0, width, height});
    }
    FitPreviewControl();
    ImagePreview->setPicture(ToQImage(previewBitmap_));
}

void TFormPicSave::FitPreviewControl()
{
    const int width = previewBitmap_.Width();
    const int height = previewBitmap_.Height();
    if (width <= kLargestAlignedSide && height <= kLargestAlignedSide) {
        ScrollBox1->setWidgetResizable(true);
        return;
    }
    // The scroll box centres the control on an axis where the bitmap fits.
    ScrollBox1->setWidgetResizable(false);
    ImagePreview->resize(width, height);
}

void TFormPicSave::RBPicSizeClick() { RenderPicSavePreview(); }

void TFormPicSave::SaveChosenFile()
{
    const auto chosen = Messages().ChooseFile(SaveDialog1);
    if (!chosen)
        return;
    const std::string& path = chosen->path;
    if (chosen->filterIndex == kJpegFilter)
        WriteFileReplacing(path, EncodeJpeg(previewBitmap_, kDefaultJpegQuality));
    else if (chosen->filterIndex == kBmpFilter)
        WriteFileReplacing(path, EncodeBmp(previewBitmap_));
}

void TFormPicSave::BtnSaveClick()
{
    // Saved, cancelled or failed (the failure shown), the window closes.
    guarded([this] { SaveChosenFile(); });
    close();
}

void TFormPicSave::BtnCancelClick() { close(); }

void TFormPicSave::closeEvent(QCloseEvent* event)
{
    previewBitmap_ = Bitmap();
    ImagePreview->clearPicture();
    QDialog::closeEvent(event);
}

} // namespace lx
