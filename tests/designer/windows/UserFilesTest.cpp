// What the designer writes goes to the user's folders: papers added on a
// data folder nobody may write, a damaged registry store told about once,
// document dialogs starting in the documents folder.
#include "DesignerFixture.h"
#include "DialogTestSupport.h"
#include "support/SymbolImages.h"

#include "designer/model/LxLabelBarcode.h"
#include "designer/windows/ShippedData.h"
#include "platform/com/ComClient.h"
#include "symbol/control/MatrixelProIds.h"

#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/resource.h>

using namespace lx;
using lxtest::Click;
using lxtest::DesignerTest;
using lxtest::ItemTexts;
using lxtest::WhenModalShows;
namespace fs = std::filesystem;

namespace {

// Every file of a folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(fs::u8path(folder)))
        files[entry.path().string()] = entry.is_regular_file() ? ReadFileBytes(entry.path().string()) : "";
    return files;
}

void SetWritable(const std::string& folder, bool writable)
{
    const auto bits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const auto options = writable ? fs::perm_options::add : fs::perm_options::remove;
    for (const auto& entry : fs::recursive_directory_iterator(fs::u8path(folder)))
        fs::permissions(entry.path(), bits, options);
    fs::permissions(fs::u8path(folder), bits, options);
}

} // namespace

TEST_F(DesignerTest, UserPaperOnAReadOnlyDataFolderIsAddedUsedAndDeleted)
{
    const std::string data = temp.File("data");
    SetWritable(data, false);
    const auto before = Snapshot(data);
    ASSERT_TRUE(StartProgram());
    EXPECT_EQ(FormTopMenu->GetUserDataDir(), temp.File("userdata/tlxlabel") + "/");
    Click(FormTopMenu->PngBtnSelectPaper);
    FormSelectPaper->CBMaker->setCurrentText(QStringLiteral("ユーザ設定"));
    const QStringList shipped = ItemTexts(FormSelectPaper->LBPaperList);

    WhenModalShows<TFormAddPaper>([](TFormAddPaper* editor) {
        editor->EditPaperName->setText(QStringLiteral("私の棚ラベル"));
        for (auto [edit, text] : {std::pair{editor->EditLabelWidth, "50"},
                                  {editor->EditLabelHeight, "30"},
                                  {editor->EditCol, "2"},
                                  {editor->EditRow, "3"}})
            edit->setText(QString::fromLatin1(text));
        Click(editor->BtnAddPaper);
    });
    Click(FormSelectPaper->BtnAddPaper);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"用紙を追加しました。"});
    EXPECT_EQ(ItemTexts(FormSelectPaper->LBPaperList), shipped + QStringList{QStringLiteral("私の棚ラベル")});
    EXPECT_TRUE(fs::is_regular_file(fs::u8path(UserPath("14/私の棚ラベル.bv2"))));

    // Usable: a new design on it.
    FormSelectPaper->LBPaperList->setCurrentItem(
        FormSelectPaper->LBPaperList->findItems(QStringLiteral("私の棚ラベル"), Qt::MatchExactly).value(0));
    Click(FormSelectPaper->BtnNext);
    ASSERT_TRUE(FormDesign->isVisible());
    ASSERT_TRUE(Session().Layout());
    EXPECT_EQ(Session().Layout()->Paper.GetModelNumber(), Sjis("私の棚ラベル"));
    EXPECT_EQ(Session().Layout()->Cells.size(), 6u);

    // Deletable: the chooser anew, the paper selected and removed.
    FormDesign->hide();
    Click(FormTopMenu->PngBtnSelectPaper);
    FormSelectPaper->CBMaker->setCurrentText(QStringLiteral("ユーザ設定"));
    FormSelectPaper->LBPaperList->setCurrentItem(
        FormSelectPaper->LBPaperList->findItems(QStringLiteral("私の棚ラベル"), Qt::MatchExactly).value(0));
    messages.Answer(MessageAnswer::Yes);
    Click(FormSelectPaper->BtnDelPaper);
    EXPECT_EQ(ItemTexts(FormSelectPaper->LBPaperList), shipped);
    EXPECT_FALSE(fs::exists(fs::u8path(UserPath("14/私の棚ラベル.bv2"))));
    EXPECT_EQ(ReadFileBytes(UserPath("paper.cfg")).find(Sjis("私の棚ラベル")), std::string::npos);

    EXPECT_EQ(Snapshot(data), before) << "the shipped data folder was written";
    SetWritable(data, true);
}

TEST_F(DesignerTest, DamagedRegistryIsToldOnceAndItsControlStillDrawsSymbols)
{
    const std::string store = std::getenv("LX_REGISTRY_FILE");
    std::ofstream(store, std::ios::app | std::ios::binary) << "\nthis line is no registry line\n";
    const std::string damaged = ReadFileBytes(store);
    const std::string design = lxtest::SourcePath("designer/windows/shipped/テンプレート/差込QR会員証.bv2t");
    ASSERT_TRUE(StartProgram({design}));
    ASSERT_EQ(messages.Shown().size(), 1u) << "told once";
    EXPECT_NE(messages.Shown()[0].text.find("「" + store + "」が壊れています"), std::string::npos)
        << messages.Shown()[0].text;
    // The design with its QR symbol opened through the kept registration.
    EXPECT_TRUE(FormDesign->isVisible());
    EXPECT_FALSE(FormTopMenu->isVisible());
    EXPECT_EQ(ReadFileBytes(store), damaged) << "nothing rewrote the file unasked";
}

namespace {

// A full disk for the object's lifetime: every write of a byte fails.
class FullDisk {
public:
    FullDisk()
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit none{0, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &none);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, signal_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit saved_{};
    void (*signal_)(int) = nullptr;
};

} // namespace

// A configuration folder that cannot take the control's registration (here
// full) leaves symbols working for the run, on the control installed beside
// the program, and the user is told the registration was not stored.
TEST_F(DesignerTest, UnstorableRegistrationStillDrawsSymbolsWithTheInstalledControl)
{
    const std::string built = lxtest::BuildPath("symbol/control/libMatrixelPro.so");
    ASSERT_EQ(UnregisterServerLibrary(built), kOk);
    const std::string store = std::getenv("LX_REGISTRY_FILE");
    const std::string before = ReadFileBytes(store);
    fs::create_directories(temp.File("usr/bin"));
    fs::create_directories(temp.File("usr/lib"));
    fs::create_symlink(built, temp.File("usr/lib/libMatrixelPro.so"));
    std::string notice;
    {
        const FullDisk full;
        notice = RegisterInstalledControl(temp.File("usr/bin"));
    }
    EXPECT_EQ(notice,
              "シンボルコントロールの登録を保存できません（" + store +
                  "）。今回はプログラムと一緒に入っているコントロールを使います。");
    EXPECT_EQ(ReadFileBytes(store), before);

    // A design of merge QR symbols, drawn afresh from the control, opens
    // without a word, and a new symbol reads back.
    const std::string design = lxtest::SourcePath("designer/windows/shipped/テンプレート/差込QR会員証.bv2t");
    ASSERT_TRUE(StartProgram({design}));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{});
    EXPECT_TRUE(FormDesign->isVisible());
    TLxLabelObjectBarcode symbol;
    symbol.SetSymbolKind(SymbolQr);
    symbol.SetModel(2);
    symbol.SetEccLevel(2);
    symbol.SetData("FULL DISK");
    symbol.UpdateSymbol();
    const auto decoded =
        lxtest::DecodeSymbol(lxtest::PictureBitmap(symbol.GetRenderedPicture()), ZXing::BarcodeFormat::QRCode);
    EXPECT_EQ(decoded.text, "FULL DISK") << decoded.error;
    RegisterClassForRun(kMatrixelProClassId, {});
    EXPECT_THROW(TLxLabelObjectBarcode(), Error) << "registered for the run only";
}

TEST_F(DesignerTest, DesignDialogsStartInTheDocumentsFolderOrHomeWithoutOne)
{
    fs::create_directories(fs::u8path(temp.File("config")));
    std::ofstream(fs::u8path(temp.File("config/user-dirs.dirs"))) << "XDG_DOCUMENTS_DIR=\"$HOME/書類\"\n";
    UseOwnHome(temp.File("config"));
    // The dialogs the user opens, cancelled: the start menu's open button,
    // then the editor's save button.
    const auto dialogFolders = [this] {
        const std::size_t before = messages.FileRequests().size();
        Click(FormTopMenu->PngBtnOpenFile);
        Click(FormTopMenu->PngBtnSelectPaper);
        Click(FormSelectPaper->BtnNext);
        Click(FormDesign->BtnSave);
        std::vector<std::string> folders;
        for (std::size_t i = before; i < messages.FileRequests().size(); ++i)
            folders.push_back(messages.FileRequests()[i].folder);
        return folders;
    };
    ASSERT_TRUE(StartProgram());
    EXPECT_EQ(dialogFolders(), std::vector<std::string>(2, temp.File("home/"))) << "no 書類 folder: home";

    program.reset();
    fs::create_directories(fs::u8path(temp.File("home/書類")));
    ASSERT_TRUE(StartProgram());
    EXPECT_EQ(dialogFolders(), std::vector<std::string>(2, temp.File("home/書類/")));
}
