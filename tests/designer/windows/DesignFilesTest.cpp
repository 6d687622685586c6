#include "EditorFixture.h"
#include "support/ChildProcess.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lx;

namespace {

constexpr const char* kDiscardQuestion = "現在のデザインの変更は保存されていません。作業を続行してよろしいですか？";

class DesignFilesTest : public lxtest::EditorTest {
protected:
    void SaveThroughButton(const std::string& path)
    {
        messages.ChooseFileNext(FileDialogResult{path, 0});
        FormDesign->BtnSave->click();
    }
    void OpenThroughButton(const std::string& path)
    {
        messages.ChooseFileNext(FileDialogResult{path, 0});
        FormDesign->BtnLoad->click();
    }
};

} // namespace

TEST_F(DesignFilesTest, SaveButtonWritesTheDesignAndNamesTheWindow)
{
    NewMultiDesign();
    AddText("一面目");
    Session().ChooseFace(3);
    AddText("四面目");
    AddText("四面目の二");
    const std::string first = temp.File("宛名 ラベル.bv2");
    SaveThroughButton(first);
    EXPECT_TRUE(Session().IsSaved());
    EXPECT_EQ(FormDesign->windowTitle(), QStringLiteral("デザイン画面 -宛名 ラベル.bv2-"));
    const std::string saved = ReadFileBytes(first);
    EXPECT_EQ(saved, DesignBytes());
    // The save dialog is the design files' own.
    ASSERT_EQ(messages.FileRequests().size(), 1u);
    EXPECT_EQ(messages.FileRequests()[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(messages.FileRequests()[0].defaultSuffix, "bv2");
    EXPECT_TRUE(messages.FileRequests()[0].overwritePrompt);
    FormDesign->close();
    EXPECT_TRUE(messages.Shown().empty()); // saved: closing asks nothing
}

TEST_F(DesignFilesTest, OpenButtonAsksCancelsAndLoads)
{
    const std::string other = WriteDesign("別.bv2", 0, "OP3004", [](TlxLabelManager& document) {
        document.AddObject(KindFigure, 0);
        document.SetSingleMode(true);
    });
    NewMultiDesign();
    Session().ChooseFace(2);
    AddText("編集中");

    // No to the prompt: no dialog, nothing changes.
    FormDesign->BtnLoad->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{kDiscardQuestion});
    EXPECT_TRUE(messages.FileRequests().empty());
    // Yes, then the dialog cancelled: nothing changes either.
    messages.Answer(MessageAnswer::Yes);
    FormDesign->BtnLoad->click();
    EXPECT_EQ(messages.FileRequests().size(), 1u);
    EXPECT_EQ(Session().CurrentFace(), 2);
    EXPECT_FALSE(Session().IsSaved());
    EXPECT_TRUE(Session().CanUndo());

    messages.Answer(MessageAnswer::Yes);
    OpenThroughButton(other);
    EXPECT_EQ(Session().CurrentFace(), 0);
    EXPECT_TRUE(Session().IsSaved());
    EXPECT_FALSE(Session().IsNewDesign());
    EXPECT_FALSE(Session().CanUndo());
    EXPECT_TRUE(Document().GetSingleMode());
    EXPECT_EQ(Document().GetObjectCount(0), 1);
    EXPECT_EQ(FormDesign->windowTitle(), QStringLiteral("デザイン画面 -別.bv2-"));

    // Unchanged: no prompt before the dialog.
    messages.Clear();
    OpenThroughButton(other);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(DesignFilesTest, FailedOpenOrSaveKeepsTheDesignAndItsState)
{
    NewMultiDesign();
    Session().ChooseFace(4);
    AddText("残す");
    const std::string before = DesignBytes();

    // A cut file; one of zeros, whose layout has a sheet of 0 x 0 mm and no
    // labels; and one whose layout has an A4 sheet and no labels.
    lx::MemoryStream noLabels;
    TLxCSV().SaveToStream(noLabels);
    TlxLblInfo layout;
    layout.Paper.SetPaperSize({lxPaperA4, 210, 297});
    layout.WriteLayoutBlock(noLabels);
    noLabels.WriteUInt8(0);
    const std::pair<std::string, std::string> files[] = {
        {"壊れ.bv2", "\x01\x02"}, {"零.bv2", std::string(61, '\0')}, {"空.bv2", std::string(noLabels.Bytes())}};
    std::vector<std::string> failures;
    for (const auto& [name, bytes] : files) {
        WriteFileReplacing(temp.File(name), bytes);
        messages.Clear();
        messages.Answer(MessageAnswer::Yes);
        OpenThroughButton(temp.File(name));
        EXPECT_EQ(messages.Shown().size(), 2u) << name; // the prompt, then the failure
        EXPECT_EQ(DesignBytes(), before);
        EXPECT_EQ(Session().CurrentFace(), 4);
        EXPECT_FALSE(Session().IsSaved());
        EXPECT_TRUE(Session().CanUndo());
        EXPECT_EQ(FormDesign->windowTitle(), QStringLiteral("デザイン画面"));
        failures.push_back(messages.Texts().back());
    }
    EXPECT_EQ(failures[1], "用紙の寸法が正しくありません。");
    EXPECT_EQ(failures[2], "レイアウトにラベルがありません。");
    ExpectPanelsWrite();

    // A save into a missing folder reports, names nothing and stays unsaved.
    messages.Clear();
    SaveThroughButton(temp.File("無い/保存.bv2"));
    EXPECT_EQ(messages.Shown().size(), 1u);
    EXPECT_FALSE(Session().IsSaved());
    EXPECT_TRUE(Session().FileName().empty());
    // Closing still asks, so nothing is lost.
    FormDesign->close();
    EXPECT_TRUE(FormDesign->isVisible());
}

// A sanitizer's shadow memory does not fit under a capped address space.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define LX_CAPPED_ADDRESS_SPACE_UNSUPPORTED 1
#endif
#endif
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__) && !defined(LX_CAPPED_ADDRESS_SPACE_UNSUPPORTED)
namespace {

// The process's address space now, in bytes.
rlim_t AddressSpaceInUse()
{
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

} // namespace

// Memory running out while a design is read is an error like any other: a
// Japanese message, the open design as it was, and the editor goes on.
TEST_F(DesignFilesTest, RunningOutOfMemoryWhileOpeningKeepsTheDesign)
{
    NewMultiDesign();
    AddText("残す");
    const std::string before = DesignBytes();
    // 900 MB of nothing (a sparse file): under the size limit, over the memory left.
    const std::string big = temp.File("大きい.bv2");
    std::ofstream(big).close();
    std::filesystem::resize_file(big, 900u << 20);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = AddressSpaceInUse() + (256u << 20);
    if (saved.rlim_max != RLIM_INFINITY && tight.rlim_cur > saved.rlim_max)
        GTEST_SKIP() << "the address space is capped below what the test needs";
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &tight), 0);
    messages.Answer(MessageAnswer::Yes);
    OpenThroughButton(big);
    ::setrlimit(RLIMIT_AS, &saved);
    EXPECT_EQ(messages.Texts().back(), "メモリが不足しています。");
    EXPECT_EQ(DesignBytes(), before);
    ExpectPanelsWrite();
}
#endif

TEST_F(DesignFilesTest, RealSaveDialogAddsTheExtensionAndAsksBeforeReplacing)
{
    NewMultiDesign();
    AddText("本物");
    SetMessageService(nullptr);
    const auto saveAs = [this](const QString& name, QMessageBox::StandardButton replace) {
        lxtest::WhenModalShows<QFileDialog>([=](QFileDialog* dialog) {
            if (replace != QMessageBox::NoButton)
                lxtest::WhenModalShows<QMessageBox>([=](QMessageBox* box) { box->button(replace)->click(); });
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
            if (dialog->isVisible())
                dialog->reject();
        });
        FormDesign->BtnSave->click();
    };
    const std::string path = temp.File("data/本物.bv2");
    saveAs(QString::fromStdString(path).chopped(4), QMessageBox::NoButton);
    ASSERT_TRUE(FileExists(path));
    const std::string saved = ReadFileBytes(path);
    EXPECT_TRUE(Session().IsSaved());

    // Refusing to replace the existing file leaves it and the unsaved state.
    AddText("追加");
    saveAs(QString::fromStdString(path), QMessageBox::No);
    SetMessageService(&messages);
    EXPECT_EQ(ReadFileBytes(path), saved);
    EXPECT_FALSE(Session().IsSaved());
}

// A save over a FIFO, a device or a link to a FIFO is refused and leaves
// them as they were; a name longer than the system allows is told as such.
// The design stays unsaved, so closing still asks.
TEST_F(DesignFilesTest, SavingOverWhatIsNoFileOrUnderATooLongNameIsRefusedWithItsReason)
{
    NewMultiDesign();
    AddText("守る");
    const std::string fifo = temp.File("pipe.bv2");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string link = temp.File("to pipe.bv2");
    std::filesystem::create_symlink(fifo, link);
    const std::string tooLong = temp.File(std::string(252, 'n') + ".bv2");
    for (const std::string& path : {fifo, std::string("/dev/null"), link})
        SaveThroughButton(path);
    SaveThroughButton(tooLong);
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"通常のファイルではないため書き込めません: " + fifo,
                                        "通常のファイルではないため書き込めません: /dev/null",
                                        "通常のファイルではないため書き込めません: " + link,
                                        "ファイル名が長すぎます: " + tooLong}));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_FALSE(Session().IsSaved());
}

// A disk that fills up during the save (here the file-size limit, which
// gives the same error) leaves the design saved before byte for byte.
TEST_F(DesignFilesTest, AFullDiskLeavesTheSavedDesignAndSaysWhy)
{
    NewMultiDesign();
    AddText("一度目");
    const std::string path = temp.File("保存.bv2");
    SaveThroughButton(path);
    const std::string saved = ReadFileBytes(path);
    AddText(std::string(4000, 'x'));
    {
        const lxtest::FileSizeLimit full(saved.size());
        SaveThroughButton(path);
    }
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"ファイルが大きすぎるため書き込めません: " + path});
    EXPECT_EQ(ReadFileBytes(path), saved);
    EXPECT_FALSE(Session().IsSaved());
    EXPECT_EQ(lxtest::FolderNames(temp.Path()).back(), "保存.bv2");
}

// A design file the user may not write (mode 0444) is refused, as writing
// it in place would be, though its folder would let a new file take its
// name. Run as an ordinary user, as file modes do not bind root.
TEST_F(DesignFilesTest, AReadOnlyDesignIsRefusedAndStaysAsItWas)
{
    NewMultiDesign();
    AddText("読むだけ");
    const std::string path = temp.File("読むだけ.bv2");
    WriteFileReplacing(path, "kept");
    ASSERT_EQ(::chown(temp.Path().c_str(), lxtest::OrdinaryUid(), lxtest::OrdinaryGid()), 0);
    ASSERT_EQ(::chown(path.c_str(), lxtest::OrdinaryUid(), lxtest::OrdinaryGid()), 0);
    std::filesystem::permissions(path, static_cast<std::filesystem::perms>(0444));
    const int result = lxtest::RunAsOrdinaryUser([&] {
        SaveThroughButton(path);
        const bool refused =
            messages.Texts() == std::vector<std::string>{"ファイルを作成できません: " + path} && !Session().IsSaved();
        return refused ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFileBytes(path), "kept");
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              static_cast<std::filesystem::perms>(0444));
}

TEST_F(DesignFilesTest, PaperChangeAsksOnceAndOpensTheChooserNotTheMenu)
{
    NewMultiDesign();
    AddText("捨てる");
    FormDesign->BtnPaperConfig->click(); // No
    EXPECT_TRUE(FormDesign->isVisible());
    messages.Answer(MessageAnswer::Yes);
    FormDesign->BtnPaperConfig->click();
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kDiscardQuestion, kDiscardQuestion}));
    EXPECT_FALSE(FormDesign->isVisible());
    EXPECT_EQ(Session().Document(), nullptr);
    EXPECT_TRUE(FormSelectPaper->isVisible());
    EXPECT_FALSE(FormTopMenu->isVisible());
    FormSelectPaper->BtnNext->click();
    ASSERT_TRUE(FormDesign->isVisible());
    EXPECT_EQ(FormDesign->windowTitle(), QStringLiteral("デザイン画面"));
}
