#pragma once
// The template chooser: the design templates (".bv2t") of the folder
// "テンプレート" beside the program, each with its preview picture. The
// start menu shows it modally and reads the chosen line from ListBox1.
#include <QDialog>
#include <string>
#include <vector>

class QFrame;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace lx {

class PictureView;

class TFormLoadTemp : public QDialog {
    Q_OBJECT
public:
    explicit TFormLoadTemp(QWidget* parent = nullptr);

    // The template folder (with its trailing "/"): the program's folder +
    // "テンプレート/".
    std::string TemplateFolder;

    QListWidget* ListBox1;
    QFrame* Panel1;
    PictureView* Image1;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

    void FormShow();
    void ListBox1Click();
    void ListBox1DblClick();

    // A template of the folder: its name (the file name without its
    // extension) and its file name.
    struct TemplateFile {
        std::string name;
        std::string fileName;
    };
    // The folder's templates ("*.bv2t" in any letter case) sorted by name;
    // what the hidden file list supplies.
    std::vector<TemplateFile> TemplateFiles() const;
    // The full path of the chosen line's template; empty without a choice.
    std::string ChosenTemplatePath() const;
    // The preview file of a template: its ".JPG" (any letter case), else
    // the folder's "NO_Preview.JPG"; the exact spelling is tried first.
    std::string PreviewPath(const std::string& name) const;

    // The chosen line, or nullptr.
    QListWidgetItem* SelectedItem() const;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace lx
