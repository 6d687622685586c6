#pragma once
// The paper chooser: a maker, one of its papers (narrowed by a search
// text) and the orientation, with a drawing of the sheet's label cells.
// "次へ" starts a new design on the chosen paper in the design editor.
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "designer/model/LxPaper.h"
#include "designer/windows/DataFolders.h"
#include "platform/image/Bitmap.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace lx {

class PictureView;
class TFormAddPaper;
class TFormDesign;
class TlxLblInfo;

// The windows the paper chooser opens or goes back to.
struct PaperChooserWindows {
    QWidget* menu = nullptr;
    TFormDesign* editor = nullptr;
    TFormAddPaper* paperEditor = nullptr;
};

class TFormSelectPaper : public QDialog {
    Q_OBJECT
public:
    // Reads the catalogue of the data folders.
    explicit TFormSelectPaper(DataFolders folders, QWidget* parent = nullptr);
    ~TFormSelectPaper() override;
    void SetWindows(const PaperChooserWindows& windows) { Windows = windows; }

    QLabel* LblMaker;
    QLabel* LblPaperList;
    QLabel* LblSearch;
    QLabel* LblPreview;
    QComboBox* CBMaker;
    QListWidget* LBPaperList;
    QLineEdit* EditSearch;
    QGroupBox* GBPaperMuki;
    QRadioButton* RBTate;
    QRadioButton* RBYoko;
    QFrame* PanelPreview;
    PictureView* ImageDesign;
    QPushButton* BtnNext;
    QPushButton* BtnBack;
    QPushButton* BtnAddPaper;
    QPushButton* BtnDelPaper;

    void LoadPaperChooser();
    // Lists the papers of a category whose model number or size name holds
    // the filter, sorted, and selects the first.
    void ShowPaperList(std::int32_t category, const std::string& filter);
    void CBMakerChange();
    void EditSearchChange();
    void RefreshPreview();
    void BtnNextClick();
    void BtnBackClick();
    void reject() override;
    void BtnAddPaperClick();
    void BtnDelPaperClick();

    // The catalogue category of the maker box's selection: the makers of the
    // catalogue in order, then "ユーザ設定" for the user's own papers.
    std::int32_t SelectedCategory() const;
    // The paper of the selected line, or nullptr.
    const TlxPaperObject* SelectedPaper() const;
    const Bitmap& PreviewBitmap() const { return previewBitmap_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The shipped catalogue with the user's papers.
    std::unique_ptr<TlxPaper> ReadCatalogue() const;
    void BuildComponents();
    std::unique_ptr<TlxLblInfo> ReadSelectedLayout() const;
    std::string SearchText() const;

    const DataFolders Folders;
    PaperChooserWindows Windows;
    std::unique_ptr<TlxPaper> catalogue_;
    // The category of each line of the maker box.
    std::vector<std::int32_t> categories_;
    Bitmap previewBitmap_;
};

} // namespace lx
