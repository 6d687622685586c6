#pragma once
// The picture chooser: the picture files of one folder as thumbnails, with
// quick jumps to the desktop, the documents folder and the program's
// clip-art folders "素材". The editor's picture command asks it for a file.
#include <QDialog>
#include <QImage>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QStandardItemModel;
class QListView;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTreeView;

namespace lx {

class PictureButton;
class PictureListModel;

class TFormSelectPicture : public QDialog {
    Q_OBJECT
public:
    // The chooser opens centred on `over` while it is shown, else on the
    // desktop.
    explicit TFormSelectPicture(const QWidget* over = nullptr, QWidget* parent = nullptr);
    ~TFormSelectPicture() override;

    // Shows the chooser modally; on "決定" with a picture selected, path
    // becomes its full path and the result is true.
    bool SelectPictureFile(std::string& path);

    PictureButton* PngBtnDesktop;
    PictureButton* PngBtnDocument;
    PictureButton* PngBtnSozai;
    QComboBox* DriveCB;
    QTreeView* DirListBox;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;
    QListView* LVAttachFile;
    QStatusBar* StatusBar1;
    QProgressBar* ProgressBarStatus;
    QMenu* PopupMenu1;

    // Full paths of the listed pictures, in the order found.
    std::vector<std::string> FilePaths;
    // The thumbnail of each listed picture; none when the file gave none.
    std::vector<std::optional<QImage>> Thumbnails;
    // The clip-art folder (UTF-8): the program's folder + "/素材".
    std::string MaterialFolder;

    // The folder the folder list shows (UTF-8), and choosing another one,
    // which lists its pictures.
    std::string Directory() const { return directory_; }
    void SetDirectory(const std::string& folder);

    void ShowFolder(const std::string& folder);
    void FillFileList(const std::string& folder);
    // ".bmp", ".jpg", ".jpeg" or ".png" in any letter case.
    static bool IsPictureFile(std::string_view name);
    void BuildThumbnails();

    void FormShow();
    void DirListBoxChange();
    void PngBtnDesktopClick();
    void PngBtnDocumentClick();
    void PngBtnSozaiClick();
    void PUItemClick(int tag);
    void LVAttachFileDblClick();

    // The row of the selected picture, or -1.
    int SelectedIndex() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget* Over;
    void BuildComponents();
    QWidget* BuildFolderPanel();
    void FillDriveBox();
    // The drive box's volume holding the folder; its root path.
    QString ShowDriveOf(const QString& folder);
    // The folders from the volume's root down to `folder`, then its
    // sub-folders, each a click away.
    void FillFolderList(const QString& root, const QString& folder);
    void UpdateOkButton();

    PictureListModel* model_;
    QStandardItemModel* folders_;
    std::string directory_;
    // The names of the clip-art menu's items, by their tag.
    std::vector<std::string> materialNames_;
};

} // namespace lx
