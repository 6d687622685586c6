#include "DesignerFixture.h"
#include "DialogTestSupport.h"
#include "PreviewTesting.h"
#include "support/Oracles.h"

#include "designer/model/LxLabelString.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "designer/windows/UnitTopMenu.h"
#include "designer/windows/UpDown.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/text/Numbers.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

using namespace lx;
using namespace lxtest;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

class PreviewTest : public ::testing::Test {
protected:
    void UseSheet(TlxLblInfo layout)
    {
        document.reset();
        sheet = std::move(layout);
        document = std::make_unique<TlxLabelManager>(sheet.LabelCount, sheet);
    }
    // A 100 mm square sheet previews at 500 x 500: 5 pixels a millimetre.
    std::uint32_t At(double xMm, double yMm) const
    {
        return ColorAt(form.PreviewBitmap(), static_cast<int>(xMm * 5), static_cast<int>(yMm * 5));
    }
    int SquaresIn(int i) const { return SquaresInCell(form.PreviewBitmap(), sheet, i, 5); }

    ScriptedMessages messages;
    TFormPreview form;
    std::shared_ptr<TLxCSV> table = std::make_shared<TLxCSV>();
    TlxLblInfo sheet = TenCellSheet();
    std::unique_ptr<TlxLabelManager> document = std::make_unique<TlxLabelManager>(sheet.LabelCount, sheet);
};

} // namespace

TEST_F(PreviewTest, SheetsAndLabelsFollowTheRecordsOfTheFirstCell)
{
    struct Case {
        const char* name;
        bool single;
        int rows; // merge rows; a merge object on the first cell when > 0 or `merge`
        bool merge;
        int serials; // serial records (0: no serial object)
        int pages; // 0: the merge print group is hidden
        std::int64_t items;
    } const cases[] = {
        {"multi mode", false, 0, false, 0, 0, 10},
        {"multi mode, merge object on the first cell", false, 25, true, 0, 0, 10},
        {"single mode without records", true, 0, false, 0, 0, 10},
        {"25 rows on 10 cells", true, 25, true, 0, 3, 25},
        {"an empty table", true, 0, true, 0, 1, 0},
        {"exactly one sheet of rows", true, 10, true, 0, 1, 10},
        {"serial records only, the rows still count", true, 50, false, 15, 2, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseSheet(TenCellSheet());
        document->SetSingleMode(c.single);
        *table = MakeTable(std::vector<std::string>(static_cast<std::size_t>(c.rows), "x"));
        if (c.merge)
            AddMergeText(*document, table);
        if (c.serials > 0)
            AddSerial(*document, c.serials);
        form.LoadPreview(*document, sheet, *table);
        EXPECT_EQ(form.Plan().ItemCount(), c.items);
        EXPECT_EQ(form.GBSashikomi->isVisibleTo(&form), c.pages > 0);
        EXPECT_EQ(form.SBtnNext->isVisibleTo(&form), c.pages > 1);
        if (c.pages == 0)
            continue;
        EXPECT_EQ(form.LblPageRange->text(), QString::number(c.pages) + QStringLiteral("ページ中"));
        EXPECT_EQ(form.SEPageTo->value(), c.pages);
        for (QSpinBox* box : {form.SEPageNo, form.SEPageFrom, form.SEPageTo})
            EXPECT_EQ(box->isEnabled(), c.pages > 1);
    }
    // No cells at all: one empty sheet.
    UseSheet(MakeSheet(100, 100, {}));
    form.LoadPreview(*document, sheet, *table);
    EXPECT_EQ(form.Plan().PageCount(), 1);
    EXPECT_EQ(At(50, 50), kWhite);
}

TEST_F(PreviewTest, EveryCellShowsItsDesignClippedToTheCellWithItsGuides)
{
    UseSheet(MakeSheet(100, 100,
                       {TLblPosition(lxLineNomal, 10, 10, 30, 20), TLblPosition(lxLineDot, 50, 10, 30, 20),
                        TLblPosition(lxLineCircle, 50, 50, 40, 30)}));
    // Each design spills 5 mm over every side of its cell.
    const std::uint32_t colors[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int face = 0; face < 3; ++face)
        FillFace(*document, face, colors[face], 5);
    form.LoadPreview(*document, sheet, *table);
    const Bitmap& preview = form.PreviewBitmap();
    ASSERT_EQ(preview.Width(), 500);
    // Rectangle cell 50..199 x 50..149: one pixel more to the right and below.
    EXPECT_EQ(ColorAt(preview, 200, 100), colors[0]);
    EXPECT_EQ(ColorAt(preview, 201, 100), kWhite);
    EXPECT_EQ(ColorAt(preview, 100, 150), colors[0]);
    EXPECT_EQ(ColorAt(preview, 100, 151), kWhite);
    EXPECT_EQ(ColorAt(preview, 100, 49), kWhite);
    EXPECT_EQ(ColorAt(preview, 50, 100), kBlack); // solid outline
    // Elliptic cell 250..449 x 250..399: the ellipse grown by 2 pixels, cut
    // by the rectangle plus one pixel; the corners stay empty.
    EXPECT_EQ(ColorAt(preview, 450, 325), colors[2]);
    EXPECT_EQ(ColorAt(preview, 451, 325), kWhite);
    EXPECT_EQ(ColorAt(preview, 255, 255), kWhite);
    EXPECT_EQ(ColorAt(preview, 350, 250), kBlack); // the outline's top point
    // Dotted outline: its gaps show the label.
    int dots = 0;
    for (int y = 55; y < 145; ++y)
        dots += ColorAt(preview, 250, y) == kBlack;
    EXPECT_GT(dots, 20);
    EXPECT_LT(dots, 80);
    EXPECT_EQ(At(65, 20), colors[1]);

    // Single mode repeats the first cell's design on every cell.
    document->SetSingleMode(true);
    form.LoadPreview(*document, sheet, *table);
    EXPECT_EQ(At(65, 20), colors[0]);
    EXPECT_EQ(At(70, 65), colors[0]);
}

TEST_F(PreviewTest, RecordByRecordCellsShowTheirRecordsPageByPage)
{
    document->SetSingleMode(true);
    TLxLabelObjectCsvString& text = AddSquareRecords(*document, table, 25);
    WhenModalShows<TFormPreview>([&](TFormPreview* shown) {
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(SquaresIn(i), i % 3 + 1) << "cell " << i;
        EXPECT_FALSE(shown->SBtnPrev->isEnabled());
        shown->SBtnNext->click();
        shown->SBtnNext->click();
        EXPECT_EQ(shown->SEPageNo->value(), 3);
        EXPECT_FALSE(shown->SBtnNext->isEnabled());
        // Records 20 to 24 in cells 0 to 4; cells 5 to 9 stay empty.
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(SquaresIn(i), i < 5 ? (20 + i) % 3 + 1 : 0) << "cell " << i;
        // The editor's design is back on its first record after every page.
        EXPECT_EQ(text.GetRecordIndex(), 0);
        shown->SEPageNo->setValue(2);
        EXPECT_EQ(SquaresIn(0), 10 % 3 + 1);
        shown->BtnClose->click();
    });
    form.ShowPreview(*document, sheet, *table);
    EXPECT_FALSE(form.isVisible());
    // Showing again starts on the first sheet.
    WhenModalShows<TFormPreview>([&](TFormPreview* shown) {
        EXPECT_EQ(shown->CurrentPage, 1);
        shown->close();
    });
    form.ShowPreview(*document, sheet, *table);
}

TEST_F(PreviewTest, OffsetArrowsStepByAFifthOfAMillimetre)
{
    form.UpDownLeft->UpButton->click();
    form.UpDownLeft->UpButton->click();
    form.UpDownLeft->UpButton->click();
    EXPECT_EQ(form.EditPrintPosLeft->text(), QStringLiteral("0.6"));
    form.UpDownTop->DownButton->click();
    EXPECT_EQ(form.EditPrintPosTop->text(), QStringLiteral("-0.2"));
    form.EditPrintPosLeft->setText(QStringLiteral("abc"));
    form.UpDownLeft->UpButton->click();
    EXPECT_EQ(form.EditPrintPosLeft->text(), QStringLiteral("abc"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"'abc' は有効な浮動小数点数値ではありません。"});
}

class EditorPrintTest : public DesignerTest {};

TEST_F(EditorPrintTest, TheEditorOpensThePreviewAndThePictureExportOnItsDesign)
{
    ASSERT_TRUE(StartProgram());
    NewDesignOnPaper("TEST-1",
                     "LBLBASE\r\n1.00\r\n2\r\n0\r\n0\r\n0\r\n"
                     "lxLineNomal\t10\t10\t90\t50.4\r\nlxLineNomal\t10\t70\t90\t50\r\n");
    FillDesign([](TlxLabelManager& document) { FillFace(document, 1, 0x00FF00); });
    WhenModalShows<TFormPreview>([](TFormPreview* shown) {
        // A4 previews 354 x 500: the second cell's middle at 55 x 95 mm.
        EXPECT_EQ(ColorAt(shown->PreviewBitmap(), 92, 160), 0x00FF00u);
        shown->close();
    });
    ClickButton(FormDesign, "BtnPrint");
    QSize exported;
    WhenModalShows<TFormPicSave>([&](TFormPicSave* shown) {
        exported = shown->ImagePreview->picture().size();
        shown->close();
    });
    ClickButton(FormDesign, "PngBtnPicOut");
    EXPECT_EQ(exported, QSize(595, 330)); // 90 x 50 mm
    EXPECT_EQ(FormPreview->Document, nullptr);
}

namespace {

// Darkness summed over a part of a bitmap, in whole white-to-black pixels.
double Ink(const Bitmap& bitmap, int left, int top, int right, int bottom)
{
    double ink = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, bitmap.Height()); ++y)
        for (int x = std::max(left, 0); x < std::min(right, bitmap.Width()); ++x) {
            const std::uint32_t p = bitmap.Pixel(x, y);
            ink += 1.0 - (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 765.0;
        }
    return ink;
}

} // namespace

TEST_F(PreviewTest, AJapaneseNameAtNinePointsKeepsItsInkOnAnA4Preview)
{
    // An A4 sheet previews at about 1.7 pixels a millimetre.
    UseSheet(MakeSheet(210, 297, {TLblPosition(lxLineNomal, 20, 20, 60, 20)}));
    document->AddObject(0, 0);
    auto& name = dynamic_cast<TLxLabelObjectString&>(*document->GetObject(0, 0));
    name.SetText(Sjis("山田 太郎"));
    name.SetFontSize(9);
    name.SetLeft(5);
    name.SetTop(5);

    // The oracle: the label printed at 600 dpi and averaged over the area
    // each preview pixel covers. Dropped strokes and strokes grown to whole
    // pixels both stray from it.
    const EnhMetafile printed = document->RenderFace(0, 1);
    constexpr double kFineDpmm = 600 / 25.4;
    Bitmap fine(RoundToInt(60 * kFineDpmm), RoundToInt(20 * kFineDpmm));
    {
        RasterDeviceContext dc(fine);
        PlayEnhMetafile(dc, printed, Rect{0, 0, fine.Width(), fine.Height()});
    }
    LX_NEED_ORACLE(Ink(fine, 0, 0, fine.Width(), fine.Height()) >= 50, "a font that draws the name");

    form.LoadPreview(*document, sheet, *table);
    const Bitmap& preview = form.PreviewBitmap();
    const double pixelsPerMm = preview.Height() / 297.0;
    const auto fineAt = [&](int px) { return static_cast<int>((px / pixelsPerMm - 20) * kFineDpmm); };
    double oracleInk = 0;
    double strayInk = 0;
    // Inside the cell's guides, which are no ink of the name.
    for (int y = RoundToInt(20 * pixelsPerMm) + 1; y < RoundToInt(40 * pixelsPerMm) - 1; ++y)
        for (int x = RoundToInt(20 * pixelsPerMm) + 1; x < RoundToInt(80 * pixelsPerMm) - 1; ++x) {
            const int area = (fineAt(x + 1) - fineAt(x)) * (fineAt(y + 1) - fineAt(y));
            const double oracle = Ink(fine, fineAt(x), fineAt(y), fineAt(x + 1), fineAt(y + 1)) / area;
            oracleInk += oracle;
            strayInk += std::abs(Ink(preview, x, y, x + 1, y + 1) - oracle);
        }
    // Averaged at its own resolution the name strays about 0.6; drawn at the
    // preview resolution it strays more than its whole ink.
    EXPECT_LT(strayInk / oracleInk, 0.85) << "stray ink " << strayInk << " of " << oracleInk;
}
