#pragma once
// The one road of every user message and every common dialog of the
// designer: message boxes captioned "確認" (OK, or Yes and No), the file,
// colour and text-input dialogs. Tests put a ScriptedMessages in its place
// to answer them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lx {

// The caption of every message box of the system.
inline constexpr std::string_view kMessageCaption = "確認";

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// An open or save dialog. Texts and paths are UTF-8.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string caption;
    // Start folder and proposed file name.
    std::string folder;
    std::string fileName;
    // Filters as "label (*.ext *.EXT)"; filterIndex is the one selected.
    std::vector<std::string> filters;
    int filterIndex = 0;
    // Added to a typed name without extension ("bv2", no dot).
    std::string defaultSuffix;
    // Save: an existing file is replaced only after the dialog has asked.
    bool overwritePrompt = true;
};

struct FileDialogResult {
    std::string path;
    int filterIndex = 0;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // A box captioned "確認" with the text (UTF-8) and the buttons.
    virtual MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) = 0;
    // Nothing when the user cancels.
    virtual std::optional<FileDialogResult> ChooseFile(const FileDialogRequest& request) = 0;
    // Colours are 0x00BBGGRR.
    virtual std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) = 0;
    virtual std::optional<std::string> InputText(std::string_view caption, std::string_view prompt,
                                                 std::string_view initial) = 0;
    // The printer setup dialog; the printer chosen in it becomes current.
    virtual void SetUpPrinter() = 0;
    // The scanner chooser: the index of the chosen name (UTF-8), starting on
    // `current`; nothing when the user cancels.
    virtual std::optional<std::size_t> ChooseScanner(const std::vector<std::string>& names, std::size_t current) = 0;
};

// The service in use: the real dialogs unless a test installed another.
MessageService& Messages();
// Installs a service (nullptr: the real dialogs again); returns the previous.
MessageService* SetMessageService(MessageService* service);

// Shorthands for the two kinds of message box.
void ShowInfo(std::string_view text);
bool AskYesNo(std::string_view text);

// The real dialogs, parented to the active window.
class DialogMessages : public MessageService {
public:
    MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) override;
    std::optional<FileDialogResult> ChooseFile(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override;
    std::optional<std::string> InputText(std::string_view caption, std::string_view prompt,
                                         std::string_view initial) override;
    void SetUpPrinter() override;
    std::optional<std::size_t> ChooseScanner(const std::vector<std::string>& names, std::size_t current) override;
};

// Answers from scripts, for headless tests; installs itself for its
// lifetime. Every request is recorded. OK boxes are answered OK; Yes/No boxes
// take the scripted answers in order, then No; unscripted dialogs cancel.
class ScriptedMessages : public MessageService {
public:
    struct Box {
        std::string text;
        MessageButtons buttons;
    };

    ScriptedMessages();
    ~ScriptedMessages() override;
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    // Answers for the next Yes/No boxes, in order.
    void Answer(MessageAnswer answer) { answers_.push_back(answer); }
    // Called for each box before the scripted answers are used; its result,
    // when it has one, is the answer (to look at the windows while a box is up).
    void OnMessage(std::function<std::optional<MessageAnswer>(const Box&)> handler) { handler_ = std::move(handler); }
    void ChooseFileNext(std::optional<FileDialogResult> result) { files_.push_back(std::move(result)); }
    void ChooseColorNext(std::optional<std::uint32_t> color) { colors_.push_back(color); }
    void InputTextNext(std::optional<std::string> text) { texts_.push_back(std::move(text)); }
    void ChooseScannerNext(std::optional<std::size_t> index) { scanners_.push_back(index); }

    const std::vector<Box>& Shown() const { return shown_; }
    const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }
    // What the user does in the printer setup dialog (nothing unless given).
    void OnPrinterSetup(std::function<void()> handler) { printerSetup_ = std::move(handler); }
    // How often the printer setup dialog was asked for.
    int PrinterSetups() const { return printerSetups_; }
    // The name lists the scanner chooser was shown with.
    const std::vector<std::vector<std::string>>& ScannerLists() const { return scannerLists_; }
    // The texts of the boxes shown so far; Clear forgets them.
    std::vector<std::string> Texts() const;
    void Clear() { shown_.clear(); }

    MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) override;
    std::optional<FileDialogResult> ChooseFile(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override;
    std::optional<std::string> InputText(std::string_view caption, std::string_view prompt,
                                         std::string_view initial) override;
    void SetUpPrinter() override
    {
        ++printerSetups_;
        if (printerSetup_)
            printerSetup_();
    }
    std::optional<std::size_t> ChooseScanner(const std::vector<std::string>& names, std::size_t current) override;

private:
    MessageService* previous_;
    std::function<std::optional<MessageAnswer>(const Box&)> handler_;
    std::function<void()> printerSetup_;
    std::vector<MessageAnswer> answers_;
    std::vector<std::optional<FileDialogResult>> files_;
    std::vector<std::optional<std::uint32_t>> colors_;
    std::vector<std::optional<std::string>> texts_;
    std::vector<std::optional<std::size_t>> scanners_;
    std::vector<std::vector<std::string>> scannerLists_;
    std::vector<Box> shown_;
    std::vector<FileDialogRequest> fileRequests_;
    int printerSetups_ = 0;
};

// Shows the message of the exception being handled in a "確認" box, as the
// application's default handler does; never throws. Call it in a catch block.
void ReportCurrentException() noexcept;
// The text for the user of the exception being handled: the message of our
// own errors, "メモリが不足しています。" when memory ran out, otherwise a
// general Japanese message. Call it in a catch block.
std::string CurrentExceptionMessage();

// Runs a window handler so that no exception leaves it: an exception shows
// its message and the program goes on. True when the handler finished.
template <typename Handler>
bool guarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

} // namespace lx
