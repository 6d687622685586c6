#include "DesignerFixture.h"
#include "PreviewTesting.h"
#include "support/Oracles.h"

#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/windows/UnitPreview.h"
#include "platform/com/ComClient.h"
#include "platform/printing/Printer.h"

#include "platform/io/Files.h"
#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"

#include <QClipboard>
#include <QGuiApplication>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

using namespace lx;
using namespace lxtest;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// Whether pdffonts finds fonts in the PDF and every one embedded as a subset
// whose name carries its tag ("ABCDEF+").
bool FontsTaggedAsSubsets(const std::string& pdf)
{
    const std::vector<std::string> fonts = OutputLines("pdffonts '" + pdf + "'");
    return fonts.size() > 2 && std::all_of(fonts.begin() + 2, fonts.end(), [](const std::string& line) {
               return line.size() > 7 && line[6] == '+' && line.find(" yes yes ") != std::string::npos;
           });
}

// The page count pdfinfo reads from the file; -1 when it cannot.
int PdfPageCount(const std::string& pdf)
{
    int pages = -1;
    for (const std::string& line : OutputLines("pdfinfo '" + pdf + "'"))
        std::sscanf(line.c_str(), "Pages: %d", &pages);
    return pages;
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override { LX_NEED_TOOLS("pdftoppm", "pdfinfo"); }
    // Shows the preview and runs `act` while it is up; closes it if printing did not.
    bool Show(const std::function<void(TFormPreview&)>& act)
    {
        bool closedByPrinting = false;
        WhenModalShows<TFormPreview>([&](TFormPreview* shown) {
            act(*shown);
            closedByPrinting = !shown->isVisible();
            shown->close();
        });
        form.ShowPreview(*document, sheet, *table);
        return closedByPrinting;
    }
    void PrintToPdf(TFormPreview& shown)
    {
        messages.ChooseFileNext(FileDialogResult{pdf, 0});
        shown.BtnDoPrint->click();
    }
    // 印刷する, naming `path` in the file dialog; true when the job was printed.
    bool PrintTo(const std::string& path)
    {
        return Show([&](TFormPreview& shown) {
            messages.ChooseFileNext(FileDialogResult{path, 0});
            shown.BtnDoPrint->click();
        });
    }

    // The boxes shown, without the notice that comes before each file
    // dialog of 印刷する when there is no printer.
    std::vector<std::string> Told() const
    {
        std::vector<std::string> told;
        for (const std::string& text : messages.Texts())
            if (text != kNoPrinterWritesPdf)
                told.push_back(text);
        return told;
    }

    ScriptedMessages messages;
    TempDir temp;
    std::string pdf = temp.File("sheet.pdf");
    TFormPreview form;
    std::shared_ptr<TLxCSV> table = std::make_shared<TLxCSV>();
    TlxLblInfo sheet = TenCellSheet();
    std::unique_ptr<TlxLabelManager> document = std::make_unique<TlxLabelManager>(sheet.LabelCount, sheet);
};

} // namespace

TEST_F(PrintingTest, LabelsLandAtTheirMillimetrePositionsMovedByTheUsersOffsets)
{
    sheet = MakeSheet(100, 100,
                      {TLblPosition(lxLineNomal, 10, 10, 30, 20), TLblPosition(lxLineDot, 55, 12, 35, 25),
                       TLblPosition(lxLineNomal, 20, 60, 25, 30)});
    document = std::make_unique<TlxLabelManager>(3, sheet);
    const std::uint32_t colors[] = {0x0000FF, 0x00C000};
    FillFace(*document, 0, colors[0]);
    FillFace(*document, 1, colors[1]);
    // Cell 2 has no design: nothing of it is printed, not even its outline.
    EXPECT_TRUE(Show([&](TFormPreview& shown) {
        shown.EditPrintPosLeft->setText(QStringLiteral("1.5"));
        shown.EditPrintPosTop->setText(QStringLiteral("-2.0"));
        PrintToPdf(shown);
    }));
    const std::vector<QImage> pages = Rasterise(pdf, 254); // 10 pixels a millimetre
    ASSERT_EQ(pages.size(), 1u);
    const QImage& page = pages[0];
    // 1.5 mm to the left, 2 mm down.
    ExpectFilledCellsAt(page, sheet, colors, -1.5, 2, 0.3);
    for (double y = 58; y < 92; y += 0.5)
        for (double x = 18; x < 47; x += 0.5)
            ASSERT_EQ(ColorAt(page, static_cast<int>(x * 10), static_cast<int>(y * 10)), kWhite) << x << ", " << y;
}

TEST_F(PrintingTest, ARangeOfRecordSheetsPrintsAsOneJob)
{
    document->SetSingleMode(true);
    TLxLabelObjectCsvString& text = AddSquareRecords(*document, table, 25);
    EXPECT_TRUE(Show([&](TFormPreview& shown) {
        shown.SEPrintNum->setValue(3);
        shown.SEPageFrom->setValue(2);
        shown.SEPageTo->setValue(3);
        PrintToPdf(shown);
    }));
    EXPECT_EQ(text.GetRecordIndex(), 0);
    // A PDF cannot ask for copies: it holds all three, collated.
    EXPECT_EQ(PdfPageCount(pdf), 6);
    // Sheet 2 holds records 10 to 19, sheet 3 records 20 to 24.
    const std::vector<QImage> pages = Rasterise(pdf, 127);
    ASSERT_EQ(pages.size(), 6u);
    for (std::size_t copy = 0; copy < 6; copy += 2) {
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(SquaresInCell(pages[copy], sheet, i, 5), (10 + i) % 3 + 1) << "cell " << i;
            EXPECT_EQ(SquaresInCell(pages[copy + 1], sheet, i, 5), i < 5 ? (20 + i) % 3 + 1 : 0) << "cell " << i;
        }
    }
}

TEST_F(PrintingTest, NothingIsPrintedForABadOffsetACancelledFileOrAnEmptyRange)
{
    AddSerial(*document, 30);
    document->SetSingleMode(true);
    EXPECT_FALSE(Show([&](TFormPreview& shown) {
        shown.EditPrintPosTop->setText(QStringLiteral("1,5"));
        shown.BtnDoPrint->click(); // fails before any file is asked for
    }));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"'1,5' は有効な浮動小数点数値ではありません。"});
    EXPECT_FALSE(Show([&](TFormPreview& shown) {
        shown.EditPrintPosTop->setText(QStringLiteral("0.0"));
        shown.BtnDoPrint->click(); // the file dialog is cancelled
    }));
    // An empty range is told, and the preview stays for the user to mend it.
    messages.Clear();
    EXPECT_FALSE(Show([&](TFormPreview& shown) {
        shown.SEPageFrom->setValue(3);
        shown.SEPageTo->setValue(2);
        shown.BtnDoPrint->click();
    }));
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"印刷範囲が正しくありません。開始ページを終了ページ以前にしてください。"});
    EXPECT_EQ(messages.FileRequests().size(), 1u) << "only the cancelled one";
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

// Without a printer 印刷する writes the PDF the user names, in the file
// dialog or in the printer setup (then asking no more), or says why not.
TEST_F(PrintingTest, WithoutAPrinterTheJobGoesToThePdfTheUserNamed)
{
    AddSerial(*document, 3);
    const auto button = [](TFormPreview& shown, const char* name) {
        return shown.findChild<QPushButton*>(QString::fromLatin1(name));
    };
    const auto printers = [](TFormPreview& shown) {
        QStringList names;
        const auto* box = shown.findChild<QComboBox*>(QStringLiteral("CBPrinter"));
        for (int i = 0; i < box->count(); ++i)
            names << box->itemText(i) + (i == box->currentIndex() ? QStringLiteral(" *") : QString());
        return names;
    };
    struct ForgetPdf {
        ~ForgetPdf() { SetPdfOutputPath({}); }
    } forget;

    // Before the setup: the user is told why a file is asked for, then the
    // file dialog asks, the job goes there.
    std::size_t asked = 99;
    messages.OnMessage([&](const ScriptedMessages::Box&) {
        asked = messages.FileRequests().size();
        return std::nullopt;
    });
    EXPECT_TRUE(Show([&](TFormPreview& shown) {
        EXPECT_EQ(printers(shown), QStringList{});
        messages.ChooseFileNext(FileDialogResult{pdf, 0});
        button(shown, "BtnDoPrint")->click();
    }));
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{kNoPrinterWritesPdf});
    EXPECT_EQ(asked, 0u) << "told before the dialog";
    ASSERT_EQ(messages.FileRequests().size(), 1u);
    EXPECT_EQ(messages.FileRequests()[0].caption, "印刷 - PDFファイルに出力");
    messages.Clear();

    // A setup that is cancelled still leaves the list filled as it was.
    const std::string chosen = temp.File("設定で選んだ.pdf");
    EXPECT_TRUE(Show([&](TFormPreview& shown) {
        button(shown, "BtnPrinterConfig")->click();
        EXPECT_EQ(printers(shown), QStringList{});
        // The user picks a PDF file in the setup: it is the current printer
        // now, and 印刷する asks no more.
        messages.OnPrinterSetup([&] { SetPdfOutputPath(chosen); });
        button(shown, "BtnPrinterConfig")->click();
        EXPECT_EQ(printers(shown), QStringList{QStringLiteral("PDFファイル（設定で選んだ.pdf） *")});
        button(shown, "BtnDoPrint")->click();
    }));
    EXPECT_EQ(messages.PrinterSetups(), 2);
    EXPECT_EQ(messages.FileRequests().size(), 1u) << "not asked again";
    EXPECT_EQ(PdfPageCount(chosen), 1);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{}) << "a PDF chosen in the setup needs no notice";

    // A PDF that cannot be made is told, and the preview stays.
    const std::string nowhere = temp.File("no such folder/x.pdf");
    SetPdfOutputPath(nowhere);
    EXPECT_FALSE(Show([&](TFormPreview& shown) { button(shown, "BtnDoPrint")->click(); }));
    EXPECT_EQ(Told(), std::vector<std::string>{"ファイルを作成できません: " + nowhere});
}

// Printing over a PDF the user has keeps what guards it: its permission
// bits, a link to it, and names planted beside it, which are never
// followed; its fonts are tagged as subsets however long its name.
TEST_F(PrintingTest, PrintingOverAPdfKeepsItsModeItsLinkAndFollowsNoPlantedName)
{
    namespace fs = std::filesystem;
    LX_NEED_TOOLS("pdffonts");
    AddSerial(*document, 3);
    ASSERT_TRUE(PrintTo(pdf));
    fs::permissions(pdf, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(PrintTo(pdf));
    EXPECT_EQ(fs::status(pdf).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(FontsTaggedAsSubsets(pdf));

    fs::create_directory(temp.File("real"));
    const std::string target = temp.File("real/target.pdf");
    WriteFileReplacing(target, "old");
    const std::string link = temp.File("link.pdf");
    fs::create_symlink("real/target.pdf", link);
    ASSERT_TRUE(PrintTo(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(FontsTaggedAsSubsets(target));

    const std::string victim = temp.File("victim.txt");
    WriteFileReplacing(victim, "someone else's");
    for (const std::string& planted : {pdf + ".tagging", temp.File(TemporaryStem(pdf))})
        fs::create_symlink(victim, planted);
    ASSERT_TRUE(PrintTo(pdf));
    EXPECT_EQ(ReadFileBytes(victim), "someone else's");
    EXPECT_TRUE(FontsTaggedAsSubsets(pdf));

    const std::string longest = temp.File(std::string(250, 'p') + ".pdf");
    ASSERT_TRUE(PrintTo(longest));
    EXPECT_TRUE(FontsTaggedAsSubsets(longest));
    EXPECT_EQ(Told(), std::vector<std::string>{});
    EXPECT_EQ(FolderNames(temp.Path()).size(), 7u)
        << "two PDFs, the folder and the link, the victim, the planted links";
}

// A disk that fills up while the job is written (here the file-size limit,
// which gives the same error), a PDF path that names no regular file and a
// name longer than the system allows: each is told, and what was there
// stays as it was.
TEST_F(PrintingTest, AFullDiskOrAPathThatIsNoFileLeavesWhatWasThereAndSaysWhy)
{
    AddSerial(*document, 3);
    ASSERT_TRUE(PrintTo(pdf));
    const std::string old = ReadFileBytes(pdf);
    {
        const FileSizeLimit full(old.size() / 2);
        EXPECT_FALSE(PrintTo(pdf));
    }
    EXPECT_EQ(ReadFileBytes(pdf), old);

    const std::string fifo = temp.File("pipe.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(PrintTo(fifo));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    const std::string tooLong = temp.File(std::string(252, 'p') + ".pdf");
    EXPECT_FALSE(PrintTo(tooLong));
    EXPECT_EQ(Told(),
              (std::vector<std::string>{"ファイルに書き込めません: " + pdf,
                                        "通常のファイルではないため書き込めません: " + fifo,
                                        "ファイル名が長すぎます: " + tooLong}));
    EXPECT_EQ(FolderNames(temp.Path()), (std::vector<std::string>{"pipe.pdf", "sheet.pdf"}));
}

// A merge sheet as the user prints it: the names as text in an embedded
// font, each QR Code as shapes (no image, nothing lossy) scanning to its own
// record, and whatever the user had copied still on the clipboard.
TEST_F(PrintingTest, MergedTextAndSymbolsReachThePdfAsTextAndShapes)
{
    LX_NEED_TOOLS("zbarimg", "pdfimages");
    const ScopedEnv registry("LX_REGISTRY_FILE", temp.File("registry.txt"));
    ASSERT_EQ(RegisterServerLibrary(BuildPath("symbol/control/libMatrixelPro.so")), kOk);
    QGuiApplication::clipboard()->setText(QStringLiteral("コピーした文字"));
    std::vector<std::string> lines;
    for (int r = 1; r <= 13; ++r)
        lines.push_back("名前" + std::to_string(100 + r) + ",https://example.jp/r/" + std::to_string(r));
    *table = MakeTable(lines);
    document->SetSingleMode(true);
    document->AddMergeObject(KindCsvBarcode, 0, table);
    auto& qr = dynamic_cast<TLxLabelObjectCsvBarcode&>(*document->GetObject(0, 0));
    qr.SetModel(2);
    qr.SetDataColumn(2);
    qr.SetLeft(24);
    qr.SetTop(1);
    qr.SetWidth(14);
    qr.SetHeight(14);
    AddMergeText(*document, table).SetFontSize(10);
    EXPECT_TRUE(Show([&](TFormPreview& shown) { PrintToPdf(shown); }));

    EXPECT_EQ(OutputLines("pdfimages -list '" + pdf + "'").size(), 2u); // the heading only
    const std::vector<std::string> fonts = OutputLines("pdffonts '" + pdf + "'");
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_NE(fonts[2].find(" yes "), std::string::npos) << fonts[2]; // embedded
    const std::vector<std::string> text = OutputLines("pdftotext -f 1 -l 1 '" + pdf + "' -");
    EXPECT_NE(std::find(text.begin(), text.end(), "名前101"), text.end());
    ASSERT_EQ(Rasterise(pdf, 300).size(), 2u);
    for (int page = 1; page <= 2; ++page) {
        std::vector<std::string> scanned = OutputLines("zbarimg -q '" + pdf + "-" + std::to_string(page) + ".png'");
        std::vector<std::string> expected;
        for (int r = page * 10 - 9; r <= std::min(page * 10, 13); ++r)
            expected.push_back("QR-Code:https://example.jp/r/" + std::to_string(r));
        std::sort(scanned.begin(), scanned.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(scanned, expected) << "page " << page;
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("コピーした文字"));
}
