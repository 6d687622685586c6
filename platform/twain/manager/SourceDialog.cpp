#include "platform/twain/manager/SourceDialog.h"

#include <sane/saneopts.h>

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <cstring>

#include "platform/twain/manager/SaneDevice.h"

namespace lx::twain {

namespace {

int ToInt(SANE_Word word, SANE_Value_Type type)
{
    return type == SANE_TYPE_FIXED ? static_cast<int>(std::lrint(SANE_UNFIX(word))) : word;
}

SANE_Word FromInt(int value, SANE_Value_Type type) { return type == SANE_TYPE_FIXED ? SANE_FIX(value) : value; }

QString NumberText(SANE_Word word, SANE_Value_Type type)
{
    return type == SANE_TYPE_FIXED ? QString::number(SANE_UNFIX(word)) : QString::number(word);
}

} // namespace

SourceDialog::SourceDialog(SANE_Handle device, const QString& title, QWidget* parent, std::function<void()> onScan,
                           std::function<void()> onClose)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      device_(device), onClose_(std::move(onClose))
{
    setObjectName(QStringLiteral("TwainSourceDialog"));
    setWindowTitle(title);
    auto* form = new QFormLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    AddEditor(SANE_NAME_SCAN_SOURCE, QStringLiteral("読み取り元"));
    AddEditor(SANE_NAME_SCAN_MODE, QStringLiteral("カラーモード"));
    AddEditor(SANE_NAME_SCAN_RESOLUTION, QStringLiteral("解像度 (dpi)"));
    for (const Editor& editor : editors_) {
        QWidget* field = editor.list ? static_cast<QWidget*>(editor.list) : editor.range;
        form->addRow(field->property("label").toString(), field);
    }
    scan_ = new QPushButton(QStringLiteral("スキャン"), this);
    scan_->setObjectName(QStringLiteral("scan"));
    scan_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(scan_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(scan_, &QPushButton::clicked, this, [onScan = std::move(onScan)] { onScan(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

void SourceDialog::AddEditor(const char* name, const QString& label)
{
    const auto option = FindOption(device_, name);
    if (!option || !SANE_OPTION_IS_SETTABLE(option->descriptor->cap))
        return;
    const SANE_Option_Descriptor& d = *option->descriptor;
    Editor editor{option->index, d.type, nullptr, nullptr};
    if (d.type == SANE_TYPE_STRING && d.constraint_type == SANE_CONSTRAINT_STRING_LIST) {
        editor.list = new QComboBox(this);
        for (const SANE_String_Const* item = d.constraint.string_list; item && *item; ++item)
            editor.list->addItem(QString::fromUtf8(*item));
        if (const auto current = StringOption(device_, name))
            editor.list->setCurrentText(QString::fromStdString(*current));
    } else if ((d.type == SANE_TYPE_INT || d.type == SANE_TYPE_FIXED) && d.size == sizeof(SANE_Word)) {
        const auto current = NumberOption(device_, name).value_or(0);
        if (d.constraint_type == SANE_CONSTRAINT_WORD_LIST && d.constraint.word_list) {
            editor.list = new QComboBox(this);
            const SANE_Word* words = d.constraint.word_list;
            for (SANE_Word i = 1; i <= words[0]; ++i)
                editor.list->addItem(NumberText(words[i], d.type), words[i]);
            editor.list->setCurrentText(QString::number(current));
        } else if (d.constraint_type == SANE_CONSTRAINT_RANGE && d.constraint.range) {
            editor.range = new QSpinBox(this);
            editor.range->setRange(ToInt(d.constraint.range->min, d.type), ToInt(d.constraint.range->max, d.type));
            editor.range->setValue(static_cast<int>(std::lrint(current)));
        }
    }
    QWidget* field = editor.list ? static_cast<QWidget*>(editor.list) : editor.range;
    if (!field)
        return;
    field->setObjectName(QString::fromUtf8(name));
    field->setProperty("label", label);
    editors_.push_back(editor);
}

void SourceDialog::ApplySettings()
{
    for (const Editor& editor : editors_)
        Apply(editor);
}

void SourceDialog::Apply(const Editor& editor)
{
    // Setting one option may change the others; each is looked at afresh and
    // a value the device refuses leaves its own.
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(device_, editor.index);
    if (!d || !SANE_OPTION_IS_ACTIVE(d->cap) || d->type != editor.type)
        return;
    if (editor.type == SANE_TYPE_STRING) {
        if (d->size <= 0)
            return;
        const QByteArray text = editor.list->currentText().toUtf8();
        std::vector<char> value(static_cast<std::size_t>(d->size), '\0');
        std::memcpy(value.data(), text.constData(), std::min(value.size() - 1, static_cast<std::size_t>(text.size())));
        sane_control_option(device_, editor.index, SANE_ACTION_SET_VALUE, value.data(), nullptr);
        return;
    }
    SANE_Word word = editor.list ? editor.list->currentData().toInt() : FromInt(editor.range->value(), editor.type);
    sane_control_option(device_, editor.index, SANE_ACTION_SET_VALUE, &word, nullptr);
}

void SourceDialog::SetScanEnabled(bool enabled) { scan_->setEnabled(enabled); }

void SourceDialog::reject() { onClose_(); }

} // namespace lx::twain
