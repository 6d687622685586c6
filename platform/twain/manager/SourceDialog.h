#pragma once
// The source's own window while it is enabled with its user interface: the
// device's scan source, colour mode and resolution, and the buttons that
// start the scan or close the source.
#include <sane/sane.h>

#include <QDialog>
#include <functional>
#include <vector>

class QComboBox;
class QPushButton;
class QSpinBox;

namespace lx::twain {

class SourceDialog : public QDialog {
public:
    SourceDialog(SANE_Handle device, const QString& title, QWidget* parent, std::function<void()> onScan,
                 std::function<void()> onClose);

    // Sets the device's options to what the window shows.
    void ApplySettings();
    void SetScanEnabled(bool enabled);

protected:
    // Escape and the window's close button ask to close the source.
    void reject() override;

private:
    // One option the window edits: a list of texts or numbers, or a range.
    struct Editor {
        SANE_Int index = 0;
        SANE_Value_Type type = SANE_TYPE_INT;
        QComboBox* list = nullptr;
        QSpinBox* range = nullptr;
    };

    void AddEditor(const char* name, const QString& label);
    void Apply(const Editor& editor);

    SANE_Handle device_;
    std::function<void()> onClose_;
    std::vector<Editor> editors_;
    QPushButton* scan_ = nullptr;
};

} // namespace lx::twain
