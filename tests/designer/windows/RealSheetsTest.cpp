// Real sheet products in the paper chooser, by clicks: a paper found by
// the number printed on its pack, and a printed sheet whose every text lies
// inside its label.
#include "DialogTestSupport.h"
#include "EditorFixture.h"
#include "PreviewTesting.h"
#include "support/Oracles.h"

#include "designer/windows/PictureView.h"
#include "designer/windows/UnitPreview.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest/QTest>
#include <map>

using namespace lx;
using namespace lxtest;

namespace {

std::map<std::string, PdfWord> WordsOfFirstPage(const std::string& pdf)
{
    std::map<std::string, PdfWord> words;
    for (const PdfWord& word : PdfWords(pdf, 1, 1))
        words[word.text] = word;
    return words;
}

class RealSheetsTest : public EditorTest {
protected:
    // The maker by the arrow keys, the pack's number typed into the search
    // box, then the one line it leaves.
    void FindPaper(int maker, const QString& model)
    {
        Click(FormTopMenu->PngBtnSelectPaper);
        ASSERT_TRUE(FormSelectPaper->isVisible());
        QComboBox* makers = FormSelectPaper->CBMaker;
        QTest::keyClick(makers, Qt::Key_Home);
        for (int i = 0; i < maker; ++i)
            QTest::keyClick(makers, Qt::Key_Down);
        ASSERT_EQ(makers->currentIndex(), maker);
        TypeText(FormSelectPaper->EditSearch, model);
        QListWidget* papers = FormSelectPaper->LBPaperList;
        ASSERT_EQ(papers->count(), 1) << model.toStdString();
        ClickItem(papers, papers->model()->index(0, 0));
    }
};

} // namespace

TEST_F(RealSheetsTest, AHisagoPaperFoundByThePackNumberMakesADesign)
{
    ASSERT_NO_FATAL_FAILURE(FindPaper(0, QStringLiteral("OP3001")));
    EXPECT_EQ(FormSelectPaper->CBMaker->currentText(), QStringLiteral("ヒサゴ"));
    EXPECT_EQ(FormSelectPaper->LBPaperList->item(0)->text(), QStringLiteral("OP3001【A4 12面 86.4×42.3mm】"));
    // Two columns of six labels drawn in the preview; the columns touch.
    const QImage preview = FormSelectPaper->ImageDesign->picture();
    ASSERT_FALSE(preview.isNull());
    const int middle = preview.height() * 60 / 297;
    int edges = 0;
    for (int x = 1; x < preview.width(); ++x)
        edges += qGray(preview.pixel(x, middle)) < 128 && qGray(preview.pixel(x - 1, middle)) >= 128;
    EXPECT_EQ(edges, 3);

    Click(FormSelectPaper->BtnNext);
    ASSERT_TRUE(FormDesign->isVisible());
    EXPECT_EQ(FormDesign->Paperlbl->text(), QStringLiteral("OP3001"));
    EXPECT_EQ(Session().Layout()->LabelCount, 12);
    EXPECT_DOUBLE_EQ(Session().Layout()->GetLabelWidth(0), 86.4);
    EXPECT_TRUE(Document().GetSingleMode());
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(RealSheetsTest, EveryNumberOfAnAveryL7160SheetPrintsInsideItsLabel)
{
    LX_NEED_TOOLS("pdftotext");
    ASSERT_NO_FATAL_FAILURE(FindPaper(1, QStringLiteral("L7160")));
    Click(FormSelectPaper->BtnNext);
    ASSERT_TRUE(FormDesign->isVisible());
    ASSERT_EQ(Session().Layout()->LabelCount, 21);
    // Serial numbers 1 to 21: one sheet, a number on every label.
    FillDesign([](TlxLabelManager& document) { AddSerial(document, 21); });
    const TlxLblInfo& sheet = *Session().Layout();

    const std::string pdf = temp.File("L7160.pdf");
    WhenModalShows<TFormPreview>([&](TFormPreview* preview) {
        messages.ChooseFileNext(FileDialogResult{pdf, 0});
        Click(preview->findChild<QWidget*>(QStringLiteral("BtnDoPrint")));
    });
    Click(FormDesign->BtnPrint);

    const std::map<std::string, PdfWord> words = WordsOfFirstPage(pdf);
    constexpr double kPointsPerMm = 72 / 25.4;
    for (int cell = 0; cell < 21; ++cell) {
        const auto found = words.find(std::to_string(cell + 1));
        ASSERT_NE(found, words.end()) << "number " << cell + 1;
        const PdfWord& w = found->second;
        SCOPED_TRACE("number " + std::to_string(cell + 1));
        EXPECT_GE(w.left, sheet.GetLabelLeft(cell) * kPointsPerMm);
        EXPECT_GE(w.top, sheet.GetLabelTop(cell) * kPointsPerMm);
        EXPECT_LE(w.right, (sheet.GetLabelLeft(cell) + sheet.GetLabelWidth(cell)) * kPointsPerMm);
        EXPECT_LE(w.bottom, (sheet.GetLabelTop(cell) + sheet.GetLabelHeight(cell)) * kPointsPerMm);
    }
    EXPECT_EQ(words.size(), 21u);
}
