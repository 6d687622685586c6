#include "EditPanelsFixture.h"

#include "designer/model/LxLabelCSVString.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/PictureView.h"
#include "platform/text/Cp932.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStackedWidget>
#include <fstream>

using namespace lx;

namespace {

class DesignMergeTest : public lxtest::EditPanelsTest {
protected:
    // A CSV file written in CP932 from UTF-8 lines.
    std::string WriteCsv(const std::string& name, const std::string& utf8)
    {
        const std::string path = temp.File(name);
        std::ofstream(path, std::ios::binary) << Sjis(utf8);
        return path;
    }

    void ChangeCsvFile(const std::string& path)
    {
        messages.ChooseFileNext(FileDialogResult{path, 0});
        lxtest::ClickButton(FormDesign, "PngBtnChangeCsvFile");
    }
};

} // namespace

TEST_F(DesignMergeTest, EveryColumnListOffersTheTablesColumns)
{
    NewDesign();
    for (QComboBox* box : FormDesign->MergeColumnLists())
        EXPECT_EQ(box->count(), 1);
    ChangeCsvFile(WriteCsv("three.csv", "a,b,c\r\nd,e,f\r\n"));
    const QStringList expected{QStringLiteral("[列を選択してください]"), QStringLiteral("[1列目]"),
                               QStringLiteral("[2列目]"), QStringLiteral("[3列目]")};
    for (QComboBox* box : FormDesign->MergeColumnLists()) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        EXPECT_EQ(items, expected) << box->objectName().toStdString();
        EXPECT_EQ(box->currentIndex(), 0);
    }
    // Nothing was selected: nothing to record.
    EXPECT_FALSE(Session().CanUndo());
    EXPECT_FALSE(Session().IsSaved());
    ChangeCsvFile(WriteCsv("empty.csv", ""));
    for (QComboBox* box : FormDesign->MergeColumnLists())
        EXPECT_EQ(box->count(), 1);
}

// A table of a million and one columns: the lists share their items and
// make them when asked, so the change of file neither runs out of memory nor
// stalls, and the far end of the list is still there.
TEST_F(DesignMergeTest, AMillionColumnTableSharesOneListOfItems)
{
    NewDesign();
    ChangeCsvFile(WriteCsv("wide.csv", std::string(1000000, ',') + "\r\n"));
    EXPECT_TRUE(messages.Texts().empty());
    const auto boxes = FormDesign->MergeColumnLists();
    for (QComboBox* box : boxes) {
        EXPECT_EQ(box->model(), boxes.front()->model()) << box->objectName().toStdString();
        EXPECT_EQ(box->currentIndex(), 0);
    }
    ASSERT_EQ(boxes.front()->count(), 1000002);
    EXPECT_EQ(boxes.back()->itemText(1000001), QStringLiteral("[1000001列目]"));
    ChangeCsvFile(WriteCsv("two.csv", "a,b\r\n"));
    EXPECT_EQ(boxes.back()->count(), 3);
}

TEST_F(DesignMergeTest, AColumnBoundOnThePageShowsEachRecordsValue)
{
    NewDesign();
    messages.ChooseFileNext(FileDialogResult{WriteCsv("cities.csv", "1,東京,Tokyo\r\n2,大阪,Osaka\r\n"), 0});
    const auto& text = Add<TLxLabelObjectCsvString>(6);
    EXPECT_EQ(FormDesign->CBCsvCol->count(), 4);
    FormDesign->CBCsvCol->setCurrentIndex(2);
    EXPECT_EQ(text.GetColumn(), 2);
    EXPECT_TRUE(Draws(RenderedFace(0), QStringLiteral("東京")));
    auto second = CopyOf<TLxLabelObjectCsvString>(0);
    second->SetRecordIndex(1);
    EXPECT_EQ(Cp932ToUtf8(second->GetMergedText()), "大阪");

    // A new file: the lists keep the bound column, the object shows the new
    // rows, and undo and redo move between the two tables.
    ChangeCsvFile(WriteCsv("towns.csv", "1,札幌\r\n2,福岡\r\n"));
    EXPECT_EQ(FormDesign->CBCsvCol->count(), 3);
    EXPECT_EQ(FormDesign->CBCsvCol->currentIndex(), 2);
    EXPECT_EQ(text.GetCSV(), Session().MergeTable().get());
    EXPECT_TRUE(Draws(RenderedFace(0), QStringLiteral("札幌")));
    FormDesign->RefreshDesign();
    EXPECT_GT(lxtest::CountPixels(FormDesign->ImageDesign->picture(), qRgb(0, 0, 0)), 20);
    // The design's own table follows, so a save writes what is shown.
    FormDesign->BtnUndo->click();
    EXPECT_TRUE(Draws(RenderedFace(0), QStringLiteral("東京")));
    EXPECT_EQ(dynamic_cast<const TLxLabelObjectCsvString&>(*Session().Document()->GetObject(0, 0)).GetCSV(),
              Session().MergeTable().get());
    EXPECT_EQ(Session().MergeTable()->GetLines(),
              (std::vector<std::string>{Sjis("1,東京,Tokyo"), Sjis("2,大阪,Osaka")}));
    FormDesign->BtnRedo->click();
    EXPECT_TRUE(Draws(RenderedFace(0), QStringLiteral("札幌")));
    EXPECT_EQ(Session().MergeTable()->GetLines(), (std::vector<std::string>{Sjis("1,札幌"), Sjis("2,福岡")}));
}

TEST_F(DesignMergeTest, AFileThatCannotBeReadChangesNothing)
{
    NewDesign();
    messages.ChooseFileNext(FileDialogResult{WriteCsv("two.csv", "a,b\r\n"), 0});
    Add<TLxLabelObjectCsvString>(6);
    MarkSaved();
    const std::string missing = temp.File("missing.csv");
    ChangeCsvFile(missing);
    EXPECT_EQ(messages.Texts().back(), missing + "を開くことができません。");
    // A name from a Windows archive is told as the user knows it.
    ChangeCsvFile(temp.File(Sjis("住所録.csv")));
    EXPECT_EQ(messages.Texts().back(), temp.File("住所録.csv") + "を開くことができません。");
    EXPECT_EQ(FormDesign->CBCsvCol->count(), 3);
    EXPECT_EQ(Session().MergeTable()->GetColCount(), 2);
    EXPECT_TRUE(Session().IsSaved());
    // A cancelled dialog does nothing either.
    messages.ChooseFileNext(std::nullopt);
    lxtest::ClickButton(FormDesign, "PngBtnChangeCsvFile");
    EXPECT_TRUE(Session().IsSaved());
    // Nothing was recorded: undo takes back the addition.
    lxtest::ClickButton(FormDesign, "BtnUndo");
    EXPECT_EQ(Session().Document()->GetObjectCount(0), 0);
}

TEST_F(DesignMergeTest, SymbolKindsShowTheirOptionsPage)
{
    NewDesign();
    struct Case {
        int item;
        QWidget* TFormDesign::*page;
        bool checkDigit;
    };
    const Case cases[] = {{0, &TFormDesign::TabSheetCsvQr, false},      {1, &TFormDesign::TabSheetCsvEtc, false},
                          {4, &TFormDesign::TabSheetCsvEtc, false},     {5, &TFormDesign::TabSheetCsvCoda, true},
                          {6, &TFormDesign::TabSheetCsvItf, true},      {7, &TFormDesign::TabSheetCsvEtc, true},
                          {8, &TFormDesign::TabSheetCsvEtc, true},      {9, &TFormDesign::TabSheetCsvCode128, false},
                          {10, &TFormDesign::TabSheetCsvEan128, false}, {11, &TFormDesign::TabSheetCsvMaxi, false},
                          {12, &TFormDesign::TabSheetCsvPdf417, false}, {13, &TFormDesign::TabSheetCsvMatrix, false},
                          {14, &TFormDesign::TabSheetCsvCostom, false}};
    EXPECT_EQ(FormDesign->CBCsvBarType->count(), 15);
    for (const Case& c : cases) {
        FormDesign->CBCsvBarType->setCurrentIndex(c.item);
        EXPECT_EQ(FormDesign->PageControlCsvBarType->currentWidget(), FormDesign->*c.page) << c.item;
        EXPECT_EQ(FormDesign->CBCsvCheckDegi->isEnabled(), c.checkDigit) << c.item;
    }
}
