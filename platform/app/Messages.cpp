#include "platform/app/Messages.h"

#include "platform/io/Errors.h"
#include "platform/printing/Printer.h"
#include "platform/text/Cp932.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <exception>

namespace lx {

namespace {

MessageService* g_installed = nullptr;

MessageService& RealDialogs()
{
    static DialogMessages dialogs;
    return dialogs;
}

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// The extension of a filter's first pattern: "BMP (*.BMP *.bmp)" -> "BMP".
QString FirstExtension(const QString& filter)
{
    const auto match = QRegularExpression(QStringLiteral("\\*\\.([^ )]+)")).match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

template <typename T>
std::optional<T> TakeFirst(std::vector<std::optional<T>>& queue)
{
    if (queue.empty())
        return std::nullopt;
    std::optional<T> first = std::move(queue.front());
    queue.erase(queue.begin());
    return first;
}

} // namespace

MessageService& Messages() { return g_installed ? *g_installed : RealDialogs(); }

MessageService* SetMessageService(MessageService* service)
{
    MessageService* previous = g_installed;
    g_installed = service;
    return previous;
}

void ShowInfo(std::string_view text) { Messages().ShowMessage(text, MessageButtons::Ok); }

bool AskYesNo(std::string_view text)
{
    return Messages().ShowMessage(text, MessageButtons::YesNo) == MessageAnswer::Yes;
}

MessageAnswer DialogMessages::ShowMessage(std::string_view text, MessageButtons buttons)
{
    // A name in the text that is no UTF-8 shows its bytes rather than "�".
    QMessageBox box(QMessageBox::NoIcon, Q(kMessageCaption), Q(BytesShownVisibly(text)), QMessageBox::NoButton,
                    QApplication::activeWindow());
    // A dialog frame: no minimise or maximise button under any window manager.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Set the texts ourselves: without Qt's Japanese catalogue they would be English.
    if (buttons == MessageButtons::Ok) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return MessageAnswer::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<FileDialogResult> DialogMessages::ChooseFile(const FileDialogRequest& request)
{
    // Qt reads a name that is no UTF-8 as "\ufffd": the user sees the name as they know it.
    QFileDialog dialog(QApplication::activeWindow(), Q(request.caption), Q(ReadableFileName(request.folder)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (const auto& filter : request.filters)
        filters << Q(filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters[request.filterIndex]);
    if (!request.defaultSuffix.empty()) {
        dialog.setDefaultSuffix(Q(request.defaultSuffix));
        // Each filter brings its own extension for a name typed without one.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            if (const QString suffix = FirstExtension(filter); !suffix.isEmpty())
                dialog.setDefaultSuffix(suffix);
        });
    }
    if (!request.fileName.empty())
        dialog.selectFile(Q(ReadableFileName(request.fileName)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogResult{dialog.selectedFiles().front().toStdString(),
                            static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

std::optional<std::uint32_t> DialogMessages::ChooseColor(std::uint32_t initial)
{
    const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                       static_cast<int>((initial >> 16) & 0xFF));
    const QColor color =
        QColorDialog::getColor(start, QApplication::activeWindow(), QString(), QColorDialog::DontUseNativeDialog);
    if (!color.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
        static_cast<std::uint32_t>(color.blue()) << 16;
}

std::optional<std::string> DialogMessages::InputText(std::string_view caption, std::string_view prompt,
                                                     std::string_view initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), Q(caption), Q(prompt), QLineEdit::Normal, Q(initial), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

void DialogMessages::SetUpPrinter() { RunPrinterSetupDialog(); }

std::optional<std::size_t> DialogMessages::ChooseScanner(const std::vector<std::string>& names, std::size_t current)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("ソースの選択"));
    auto* list = new QListWidget(&dialog);
    for (const auto& name : names)
        list->addItem(Q(name));
    if (current < names.size())
        list->setCurrentRow(static_cast<int>(current));
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("選択"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0)
        return std::nullopt;
    return static_cast<std::size_t>(list->currentRow());
}

ScriptedMessages::ScriptedMessages() : previous_(SetMessageService(this)) {}

ScriptedMessages::~ScriptedMessages() { SetMessageService(previous_); }

std::vector<std::string> ScriptedMessages::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& box : shown_)
        texts.push_back(box.text);
    return texts;
}

MessageAnswer ScriptedMessages::ShowMessage(std::string_view text, MessageButtons buttons)
{
    shown_.push_back({std::string(text), buttons});
    if (handler_)
        if (const auto answer = handler_(shown_.back()))
            return *answer;
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (!answers_.empty()) {
        const MessageAnswer answer = answers_.front();
        answers_.erase(answers_.begin());
        return answer;
    }
    return MessageAnswer::No;
}

std::optional<FileDialogResult> ScriptedMessages::ChooseFile(const FileDialogRequest& request)
{
    fileRequests_.push_back(request);
    return TakeFirst(files_);
}

std::optional<std::uint32_t> ScriptedMessages::ChooseColor(std::uint32_t /*initial*/) { return TakeFirst(colors_); }

std::optional<std::string> ScriptedMessages::InputText(std::string_view, std::string_view, std::string_view)
{
    return TakeFirst(texts_);
}

std::optional<std::size_t> ScriptedMessages::ChooseScanner(const std::vector<std::string>& names, std::size_t)
{
    scannerLists_.push_back(names);
    return TakeFirst(scanners_);
}

void ReportCurrentException() noexcept
{
    try {
        ShowInfo(CurrentExceptionMessage());
    } catch (...) {
        // A failing message box must not take the program down with it.
    }
}

std::string CurrentExceptionMessage()
{
    // Only our own errors carry a message for the user; the library's texts
    // are English ("std::bad_alloc", "basic_string::_M_create").
    try {
        throw;
    } catch (const Error& error) {
        return error.what();
    } catch (const std::bad_alloc&) {
        return "メモリが不足しています。";
    } catch (const std::length_error&) {
        return "メモリが不足しています。";
    } catch (...) {
        return "予期しないエラーが発生しました。";
    }
}

} // namespace lx
