#pragma once
// The print preview: one sheet of the open design as it will print, the
// printer, copies and a position correction, and for designs printed record
// by record the sheet to show and the range of sheets to print. The design
// is printed, and its sheet drawn, by the model's DesignPrinter.
#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "designer/model/DesignPrinter.h"
#include "platform/image/Bitmap.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lx {

class PictureView;
class TLxCSV;
class TlxLabelManager;
class TlxLblInfo;
class UpDown;

// Told before 印刷する asks for a PDF file because no printer was found.
inline constexpr const char* kNoPrinterWritesPdf =
    "プリンタが見つかりません（印刷サーバーに接続できないか、プリンタがありません）。\n"
    "シートはPDFファイルに書き出します。保存するファイルを指定してください。";

class TFormPreview : public QDialog {
    Q_OBJECT
public:
    explicit TFormPreview(QWidget* parent = nullptr);
    ~TFormPreview() override;

    // Shows the design modally. The three stay the caller's and are only
    // read, while the window is up.
    void ShowPreview(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV& mergeTable);
    // Everything ShowPreview does before the window opens.
    void LoadPreview(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV& mergeTable);

    // What the shown design prints, page by page (while it is shown).
    const PagePlan& Plan() const { return printer_->Plan(); }

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

    const TlxLabelManager* Document = nullptr;
    const TlxLblInfo* SheetLayout = nullptr;
    const TLxCSV* MergeTable = nullptr;
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
    void PreparePreviewBitmap();
    // The sheets to print, first and last.
    std::pair<std::int32_t, std::int32_t> PrintRange() const;
    // The file a job goes to when the system has no printer; nothing when
    // the user cancels.
    std::optional<std::string> ChoosePdfFile() const;

    std::optional<DesignPrinter> printer_;
    Bitmap previewBitmap_;
};

} // namespace lx
