// The user's road through the shipped program, by clicks and keys alone:
// a merge template filled from a CSV file, printed, exported as pictures,
// saved and opened again. Dialogs are answered through the message service.
#include "DesignerFixture.h"
#include "DialogTestSupport.h"
#include "EditorFixture.h"
#include "PreviewTesting.h"
#include "support/Oracles.h"

#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "platform/printing/Printer.h"
#include "support/Decoders.h"
#include "support/TextEncodings.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QtTest/QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

using namespace lx;
using namespace lxtest;

namespace {

constexpr int kMembers = 14; // a full sheet of 12 and two on the next

std::string MemberUrl(int row)
{
    char url[40];
    std::snprintf(url, sizeof url, "https://example.jp/m/%04d", row + 1);
    return url;
}

// Steps a drop-down list from its first item to `item` with the arrow key.
void ChooseItem(QComboBox* box, int item)
{
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < item; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    ASSERT_EQ(box->currentIndex(), item) << box->objectName().toStdString();
}

// The symbols zbarimg finds in a picture file, one entry each.
std::multiset<std::string> ZbarSymbols(const std::string& png)
{
    std::multiset<std::string> symbols;
    FILE* out = popen(("zbarimg -q --raw '" + png + "' 2>/dev/null").c_str(), "r");
    if (!out)
        return symbols;
    char line[512];
    while (std::fgets(line, sizeof line, out)) {
        std::string symbol(line);
        while (!symbol.empty() && (symbol.back() == '\n' || symbol.back() == '\r'))
            symbol.pop_back();
        symbols.insert(symbol);
    }
    pclose(out);
    return symbols;
}

GreyImage Grey(const QImage& picture)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    GreyImage image{grey.width(), grey.height(), {}};
    for (int y = 0; y < grey.height(); ++y)
        image.pixels.insert(image.pixels.end(), grey.constScanLine(y), grey.constScanLine(y) + grey.width());
    return image;
}

class UserRoadTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        // The templates as shipped beside the program.
        FormLoadTemp->TemplateFolder = SourcePath("designer/windows/shipped/テンプレート") + "/";
    }

    // A CP932 CSV of the members: name, number, QR payload.
    std::string WriteMembers()
    {
        std::string text;
        for (int row = 0; row < kMembers; ++row)
            text +=
                "会員 " + std::to_string(row + 1) + "号,No." + std::to_string(row + 1) + "," + MemberUrl(row) + "\r\n";
        const std::string path = temp.File("members.csv");
        std::ofstream(path, std::ios::binary) << Sjis(text);
        return path;
    }

    // Start menu, テンプレート, the member card, its paper, then the members'
    // CSV (or another of three columns) through 差込シート with every merge
    // object bound to its column.
    void OpenMemberCardWithMembers(std::string csv = {})
    {
        WhenModalShows<TFormLoadTemp>([](TFormLoadTemp* chooser) {
            const auto lines = chooser->ListBox1->findItems(QStringLiteral("差込QR会員証"), Qt::MatchExactly);
            ASSERT_EQ(lines.size(), 1);
            ClickItem(chooser->ListBox1, chooser->ListBox1->indexFromItem(lines[0]));
            WhenModalShows<QDialog>([](QDialog* paperChooser) {
                ChooseItem(Find<QComboBox>(paperChooser, "CBMaker"), 0); // ヒサゴ
                auto* papers = Find<QListWidget>(paperChooser, "LBPaperList");
                const auto found = papers->findItems(QStringLiteral("CJH861S"), Qt::MatchStartsWith);
                ASSERT_EQ(found.size(), 1);
                ClickItem(papers, papers->indexFromItem(found[0]));
                Click(Find(paperChooser, "BtnNext"));
            });
            Click(chooser->BtnOK);
        });
        Click(Find(FormTopMenu, "PngBtnTemplate"));
        ASSERT_TRUE(FormDesign->isVisible());
        ASSERT_EQ(Paperlbl()->text(), QStringLiteral("CJH861S"));

        messages.ChooseFileNext(FileDialogResult{csv.empty() ? WriteMembers() : csv, 0});
        Click(Find(FormDesign, "BtnCsvSheet"));
        // The new merge text shows the member's number below the name.
        ChooseItem(Find<QComboBox>(FormDesign, "CBCsvCol"), 2);
        TypeInto("EditSheetPosLeft", "4");
        TypeInto("EditSheetPosTop", "24");
        ClickTabOf<TLxLabelObjectCsvString>([](const TLxLabelObjectCsvString& text) { return text.GetColumn() == 0; });
        ChooseItem(Find<QComboBox>(FormDesign, "CBCsvCol"), 1);
        ClickTabOf<TLxLabelObjectCsvBarcode>([](const TLxLabelObjectCsvBarcode&) { return true; });
        ChooseItem(Find<QComboBox>(FormDesign, "CBCsvQr"), 3);
        ASSERT_TRUE(messages.Shown().empty()) << messages.Texts().front();
    }

    QLabel* Paperlbl() { return Find<QLabel>(FormDesign, "Paperlbl"); }

    void TypeInto(const char* name, const QString& text)
    {
        auto* edit = Find<QLineEdit>(FormDesign, name);
        QTest::keyClick(edit, Qt::Key_End);
        while (!edit->text().isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    // Clicks the tab of the first object of type T that `which` accepts.
    template <typename T>
    void ClickTabOf(const std::function<bool(const T&)>& which)
    {
        auto* tabs = Find<QTabBar>(FormDesign, "TABSheet");
        for (std::int32_t i = 0; i < Document().GetObjectCount(0); ++i)
            if (const auto* object = dynamic_cast<const T*>(Document().GetObject(i, 0)); object && which(*object)) {
                ClickTab(tabs, i);
                ASSERT_EQ(Document().GetSelectedIndex(0), i);
                return;
            }
        FAIL() << "no such object";
    }

    // Clicks the picture-export button and saves at 特大 with the filter.
    void ExportPicture(const std::string& path, int filter)
    {
        WhenModalShows<TFormPicSave>([&](TFormPicSave* shown) {
            Click(Find(shown, "RBExtra"));
            messages.ChooseFileNext(FileDialogResult{path, filter});
            Click(Find(shown, "BtnSave"));
        });
        Click(Find(FormDesign, "PngBtnPicOut"));
    }
};

} // namespace

TEST_F(UserRoadTest, MergeTemplatePrintsOneQrCodePerCsvRow)
{
    LX_NEED_TOOLS("pdftoppm", "zbarimg");
    ASSERT_NO_FATAL_FAILURE(OpenMemberCardWithMembers());
    const std::string pdf = temp.File("members.pdf");
    QString caption;
    WhenModalShows<TFormPreview>([&](TFormPreview* preview) {
        caption = preview->windowTitle();
        EXPECT_EQ(Find<QLabel>(preview, "LblPageRange")->text(), QStringLiteral("2ページ中"));
        messages.ChooseFileNext(FileDialogResult{pdf, 0});
        Click(Find(preview, "BtnDoPrint"));
    });
    Click(Find(FormDesign, "BtnPrint"));
    EXPECT_EQ(caption, QStringLiteral("印刷プレビュー"));

    const std::vector<QImage> pages = Rasterise(pdf, 150);
    ASSERT_EQ(pages.size(), 2u);
    std::multiset<std::string> first;
    std::multiset<std::string> last;
    for (int row = 0; row < kMembers; ++row)
        (row < 12 ? first : last).insert(MemberUrl(row));
    EXPECT_EQ(ZbarSymbols(pdf + "-1.png"), first);
    EXPECT_EQ(ZbarSymbols(pdf + "-2.png"), last);
}

TEST_F(UserRoadTest, PictureExportWritesJpegAndBmpFilesOfTheLabel)
{
    ASSERT_NO_FATAL_FAILURE(OpenMemberCardWithMembers());
    const std::string jpeg = temp.File("card.JPG");
    const std::string bmp = temp.File("card.BMP");
    ExportPicture(jpeg, 0);
    ExportPicture(bmp, 1);

    const JpegFacts facts = ReadJpegWithLibjpeg(ReadFileBytes(jpeg));
    ASSERT_TRUE(facts.ok);
    // 83.8 x 42.3 mm go over in whole millimetres, 84 x 42: 900 x 450 pixels.
    EXPECT_EQ(QSize(facts.width, facts.height), QSize(900, 450));
    const QImage fromJpeg(reinterpret_cast<const uchar*>(facts.argb.data()), facts.width, facts.height,
                          QImage::Format_ARGB32);
    const QImage fromBmp(QString::fromStdString(bmp), "BMP");
    ASSERT_EQ(fromBmp.size(), QSize(900, 450));
    // The first member's QR code, in both files.
    for (const QImage* picture : {&fromJpeg, &fromBmp}) {
        const Decoded symbol = ZxingDecode(Grey(*picture), ZXing::BarcodeFormat::QRCode, false);
        ASSERT_TRUE(symbol.ok) << symbol.error;
        EXPECT_EQ(symbol.bytes, MemberUrl(0));
    }
}

// Files of Linux programs in a folder whose name has no CP932 form.
class LinuxFilesTest : public UserRoadTest {
protected:
    void SetUp() override
    {
        UserRoadTest::SetUp();
        std::filesystem::create_directory(std::filesystem::u8path(folder));
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder + "/" + name;
        std::ofstream(std::filesystem::u8path(path), std::ios::binary) << bytes;
        return path;
    }

    void ChangeCsvFile(const std::string& path)
    {
        messages.ChooseFileNext(FileDialogResult{path, 0});
        Click(Find(FormDesign, "PngBtnChangeCsvFile"));
    }

    // The table's cells, row by row, back in UTF-8.
    std::vector<std::string> Cells()
    {
        std::vector<std::string> cells;
        for (std::int32_t row = 0; row < Session().MergeTable()->GetRowCount(); ++row)
            for (std::int32_t column = 1; column <= Session().MergeTable()->GetColCount(); ++column)
                cells.push_back(Cp932ToUtf8(Session().MergeTable()->CsvCell(column, row)));
        return cells;
    }

    const std::string folder = temp.File("Café 〜");
    const std::string lines =
        "山田 太郎,東京都千代田区,https://example.jp/1\r\n佐藤 花子,大阪府〜堺市,https://example.jp/2\r\n";
};

TEST_F(LinuxFilesTest, CsvInUtf8OrUtf16MergesAsThreeColumnsAndBadFilesChangeNothing)
{
    ASSERT_NO_FATAL_FAILURE(OpenMemberCardWithMembers(Write("会員.csv", lines)));
    const std::vector<std::string> cells{"山田 太郎", "東京都千代田区", "https://example.jp/1",
                                         "佐藤 花子", "大阪府～堺市",   "https://example.jp/2"};
    EXPECT_EQ(Cells(), cells);
    EXPECT_EQ(Find<QComboBox>(FormDesign, "CBCsvQr")->count(), 4);
    // The wave dash typed on Linux is CP932's own.
    EXPECT_EQ(Session().MergeTable()->CsvCell(2, 1), Iconv("大阪府〜堺市", "CP932"));

    const std::pair<const char*, std::string> files[] = {
        {"bom.csv", "\xEF\xBB\xBF" + lines},
        {"le.csv", "\xFF\xFE" + Iconv(lines, "UTF-16LE")},
        {"be.csv", "\xFE\xFF" + Iconv(lines, "UTF-16BE")},
        {"cp932.csv", Iconv(lines, "CP932")},
    };
    for (const auto& [name, bytes] : files) {
        ChangeCsvFile(Write(name, bytes));
        EXPECT_EQ(Cells(), cells) << name;
    }
    ASSERT_TRUE(messages.Shown().empty()) << messages.Texts().front();

    // Refused files are named with the reason; the table stays.
    const std::string foreign = Write("foreign.csv", "a,東,c\nd,e,f\ng,Café,h\n");
    ChangeCsvFile(foreign);
    const std::string binary =
        Write("picture.csv", ReadFileBytes(SourcePath("designer/windows/shipped/テンプレート/NO_Preview.JPG")));
    ChangeCsvFile(binary);
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{foreign + "\n3行目の文字「é」はこのプログラムでは扱えません。",
                                        binary + "\nテキストファイルではないため、差込データとして読み込めません。"}));
    EXPECT_EQ(Cells(), cells);
}

TEST_F(LinuxFilesTest, DesignSavesReopensAndExportsWhereNamesHaveNoCp932Form)
{
    ASSERT_NO_FATAL_FAILURE(OpenMemberCardWithMembers(Write("会員 ü.csv", lines)));
    const std::string design = DesignBytes();
    const std::string path = folder + "/会員証 〜 ü.bv2";
    messages.ChooseFileNext(FileDialogResult{path, 0});
    Click(Find(FormDesign, "BtnSave"));
    EXPECT_EQ(FormDesign->windowTitle(), QStringLiteral("デザイン画面 -会員証 〜 ü.bv2-"));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::u8path(path)));
    const std::string jpeg = folder + "/カード ü.JPG";
    ExportPicture(jpeg, 0);
    EXPECT_TRUE(ReadJpegWithLibjpeg(ReadFileBytes(jpeg)).ok);
    FormDesign->close();

    // The start menu's open button.
    messages.ChooseFileNext(FileDialogResult{path, 0});
    Click(Find(FormTopMenu, "PngBtnOpenFile"));
    ASSERT_TRUE(FormDesign->isVisible());
    EXPECT_EQ(DesignBytes(), design);
    FormDesign->close();
    ASSERT_TRUE(messages.Shown().empty()) << messages.Texts().front();

    // The command line.
    program.reset();
    ASSERT_TRUE(StartProgram({path}));
    ASSERT_TRUE(FormDesign->isVisible());
    EXPECT_EQ(DesignBytes(), design);
    EXPECT_TRUE(messages.Shown().empty()) << messages.Texts().front();
}
