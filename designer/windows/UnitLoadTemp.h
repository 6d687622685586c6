#pragma once
// The template chooser. Its list of templates and their previews come with
// the template work; until then the list stays empty and only "キャンセル"
// closes it. The start menu reads the chosen line from ListBox1.
#include <QDialog>

class QListWidget;

namespace lx {

class TFormLoadTemp : public QDialog {
    Q_OBJECT
public:
    explicit TFormLoadTemp(QWidget* parent = nullptr);

    QListWidget* ListBox1;
};

} // namespace lx
