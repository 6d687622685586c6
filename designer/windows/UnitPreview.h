#pragma once
// The print preview: one sheet of the open design as it will print, the
// printer, copies and a position correction, and for designs printed record
// by record the sheet to show and the range of sheets to print.
#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "designer/model/PagePlan.h"
#include "platform/image/Bitmap.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lx {

class DeviceContext;
class PictureView;
class PrintJob;
class TLxCSV;
class TlxLabelManager;
class TlxLblInfo;
class UpDown;

// How far printed labels move left (or up) from their sheet positions: the
// printable area's offset from the paper's corner in whole millimetres
// (halves to even), plus the user's correction in mm.
double PrintShiftMm(int physicalOffset, double dpi, double userOffset);

class TFormPreview : public QDialog {
    Q_OBJECT
public:
    explicit TFormPreview(QWidget* parent = nullptr);
    ~TFormPreview() override;

    // Shows the design modally. The three stay the caller's and are used only
    // while the window is up.
    void ShowPreview(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV& mergeTable);
    // Everything ShowPreview does before the window opens.
    void LoadPreview(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV& mergeTable);

    // What the shown design prints, page by page (while it is shown).
    const PagePlan& Plan() const { return *plan_; }
    // Draws a planned label on a sheet at dpiX x dpiY dots per inch, shifted
    // by (offsetX, offsetY) mm; the preview adds the cell's guides.
    void DrawLabelAt(DeviceContext& canvas, const PlannedLabel& label, bool preview, double offsetX, double offsetY,
                     double dpiX, double dpiY);

    void SetupMergePrintGroup();
    void UpdatePageButtons();
    void DrawPreviewPage();

    void FormCreate();
    void BtnPrinterConfigClick();
    void CBPrinterChange();
    void SEPageNoChange();
    void SBtnPrevClick();
    void SBtnNextClick();
    void UpDownLeftClick(UpDown* sender, int button);
    void BtnCloseClick();
    void BtnDoPrintClick();

    const Bitmap& PreviewBitmap() const { return previewBitmap_; }

    TlxLabelManager* Document = nullptr;
    const TlxLblInfo* SheetLayout = nullptr;
    const TLxCSV* MergeTable = nullptr;
    std::optional<PagePlan> plan_;
    std::int32_t CurrentPage = 1;

    QComboBox* CBPrinter;
    QPushButton* BtnPrinterConfig;
    QSpinBox* SEPrintNum;
    QGroupBox* GBPrintPosition;
    QLineEdit* EditPrintPosLeft;
    UpDown* UpDownLeft;
    QLineEdit* EditPrintPosTop;
    UpDown* UpDownTop;
    QGroupBox* GBSashikomi;
    QSpinBox* SEPageNo;
    QLabel* LblPageRange;
    QSpinBox* SEPageFrom;
    QSpinBox* SEPageTo;
    QPushButton* SBtnPrev;
    QPushButton* SBtnNext;
    QPushButton* BtnClose;
    QPushButton* BtnDoPrint;
    QFrame* PanelPreview;
    PictureView* ImagePreview;

private:
    void BuildComponents();
    void FillPrinterList();
    // The editor shows the first record again.
    void RewindRecords();
    void PreparePreviewBitmap();
    // The sheets to print, first and last.
    std::pair<std::int32_t, std::int32_t> PrintRange() const;
    // Sheets first to last on the job, every copy it needs drawn.
    void PrintSheets(PrintJob& job, std::int32_t first, std::int32_t last, double userLeft, double userTop);
    // The file a job goes to when the system has no printer; nothing when
    // the user cancels.
    std::optional<std::string> ChoosePdfFile() const;

    Bitmap previewBitmap_;
};

} // namespace lx
