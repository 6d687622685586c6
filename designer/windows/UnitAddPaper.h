#pragma once
// The user-paper editor: a paper size, a name, and either a regular grid of
// equal labels or a free list of labels of their own sizes; it previews the
// sheet, checks the fields and adds the paper to the catalogue (category 14)
// with its layout file. The paper chooser opens it modally.
#include <QDialog>
#include <string>
#include <vector>

#include "designer/model/LxLblInfo.h"
#include "designer/windows/DataFolders.h"
#include "platform/image/Bitmap.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabBar;

namespace lx {

class PictureView;

class TFormAddPaper : public QDialog {
    Q_OBJECT
public:
    // The user's papers go to the folders' user folder; the window opens
    // centred on `over`.
    TFormAddPaper(DataFolders folders, const QWidget* over, QWidget* parent = nullptr);
    ~TFormAddPaper() override;

    QComboBox* CBMakeType;
    QGroupBox* GBPaperSize;
    QRadioButton* RadioButtonA4Size;
    QRadioButton* RadioButtonHagakiSize;
    QRadioButton* RadioButtonB5Size;
    QLineEdit* EditPaperName;
    QStackedWidget* PGMakeType;
    QWidget* TabSheetLblType1;
    QWidget* TabSheetLblType2;
    // The grid.
    QLineEdit* EditLabelWidth;
    QLineEdit* EditLabelHeight;
    QLineEdit* EditOffsetUpper;
    QLineEdit* EditOffsetLower;
    QLineEdit* EditOffsetLeft;
    QLineEdit* EditOffsetRight;
    QLineEdit* EditCol;
    QLineEdit* EditRow;
    QComboBox* CBLabelType;
    // The free list.
    QSpinBox* SELblCount;
    QTabBar* TCLblConfig;
    QLineEdit* EditLblWidth;
    QLineEdit* EditLblHeigh;
    QLineEdit* EditPosX;
    QLineEdit* EditPosY;
    QComboBox* CBLblType;
    QFrame* PanelPreview;
    PictureView* ImageDesign;
    QPushButton* BtnPreview;
    QPushButton* BtnAddPaper;
    QPushButton* BtnCancel;

    void FormShow();
    void CBMakeTypeChange();
    void SELblCountChange();
    void TCLblConfigChange();
    // Whether the current label's fields allow leaving its tab; shows the
    // reason when not.
    bool TCLblConfigChanging();
    void EditEtcLblChange();
    void BtnPreviewClick();
    void BtnAddPaperClick();
    void BtnCancelClick();

    // "ユーザ定義" + the first n from 1 whose layout file is not yet in the
    // data folder's user category (CP932).
    std::string NextUserPaperName() const;

    // The labels of the free list being edited.
    const std::vector<TLblPosition>& EditedCells() const { return cells_; }
    const Bitmap& PreviewBitmap() const { return preview_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildComponents();
    QWidget* BuildGridPage();
    QWidget* BuildFreeListPage();
    void SetDefaults();
    // Where the user's papers are written (CP932, with its delimiter).
    std::string DataFolder() const { return Folders.user; }
    const DataFolders Folders;
    const QWidget* Over;
    std::string PaperName() const;
    bool IsGrid() const;
    // Check the fields; the first failure is shown and gives false.
    bool ValidateFields();
    bool ValidateGrid();
    bool ValidateFreeCell();
    void BuildLayout();
    std::vector<TLblPosition> GridCells(double paperWidth, double paperHeight) const;
    void DrawPreview();
    void FillCellFields();

    TlxLblInfo layout_;
    std::vector<TLblPosition> cells_;
    Bitmap preview_;
    // The free-list label whose fields the edits show.
    int currentCell_ = 0;
    bool filling_ = false;
    bool revertingTab_ = false;
};

} // namespace lx
