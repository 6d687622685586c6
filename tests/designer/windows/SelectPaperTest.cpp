#include "DesignerFixture.h"
#include "DialogTestSupport.h"

#include "designer/windows/PictureButton.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/text/Cp932.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace lx;

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

class PaperChooserTest : public lxtest::DesignerTest {
protected:
    // Adds a paper line to the catalogue and writes its layout file.
    void AddPaper(int category, const std::string& model, const std::string& size, double width, double height,
                  const std::string& layoutLines)
    {
        std::string line;
        for (const std::string& field : {std::to_string(category), model, std::string("A4"), size,
                                         std::to_string(width), std::to_string(height)}) {
            line += '"';
            line += field;
            line += "\"\t";
        }
        line += "\r\n";
        std::ofstream(temp.File("data/paper.cfg"), std::ios::app | std::ios::binary) << Sjis(line);
        WriteDataFile(std::to_string(category) + "/" + model + ".bv2", layoutLines);
    }

    void Start()
    {
        ASSERT_TRUE(StartProgram());
        FormTopMenu->PngBtnSelectPaper->click();
        ASSERT_TRUE(FormSelectPaper->isVisible());
    }

    TFormSelectPaper& Chooser() { return *FormSelectPaper; }

    QStringList Lines() { return lxtest::ItemTexts(Chooser().LBPaperList); }

    void ChooseMaker(const QString& name) { Chooser().CBMaker->setCurrentText(name); }
    void Select(const QString& line)
    {
        const auto found = Chooser().LBPaperList->findItems(line, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << line.toStdString();
        Chooser().LBPaperList->setCurrentItem(found[0]);
    }
    QImage Preview() { return Chooser().ImageDesign->picture(); }
};

// A square sheet of 100 mm gives a 250-pixel preview: 2.5 pixels per mm.
const char* kSquareLayout = "LBLBASE\r\n1.00\r\n3\r\n0\r\n0\r\n0\r\n"
                            "lxLineNomal\t10\t10\t20\t20\tlxLineNomal\t12\t12\t16\t16\r\n"
                            "lxLineDot\t40\t10\t20\t20\r\n"
                            "lxLineCircle\t70\t10\t20\t20\tlxLineCircle\t74\t14\t12\t12\r\n";

} // namespace

TEST_F(PaperChooserTest, MakersSearchAndTheSortedList)
{
    Start();
    EXPECT_EQ(Chooser().CBMaker->itemText(0), QStringLiteral("ヒサゴ"));
    EXPECT_EQ(Chooser().CBMaker->itemText(13), QStringLiteral("その他"));
    EXPECT_EQ(Chooser().CBMaker->itemText(14), QStringLiteral("ユーザ設定"));
    EXPECT_EQ(Chooser().CBMaker->currentIndex(), 0);
    const QStringList hisago = Lines();
    EXPECT_GT(hisago.size(), 100);
    EXPECT_TRUE(hisago.contains(QStringLiteral("OP3001【A4 12面 86.4×42.3mm】")));
    EXPECT_EQ(Chooser().LBPaperList->currentRow(), 0);
    EXPECT_EQ(Chooser().LBPaperList->item(3)->toolTip(), hisago[3]);

    // The list is sorted, whatever order the catalogue has.
    Chooser().EditSearch->setText(QStringLiteral("OP300"));
    const QStringList some = Lines();
    EXPECT_GT(some.size(), 3);
    EXPECT_TRUE(std::is_sorted(some.begin(), some.end())) << some.join(u' ').toStdString();
    // A size finds its kind.
    Chooser().EditSearch->setText(QStringLiteral("丸型"));
    EXPECT_FALSE(Lines().isEmpty());
    for (const QString& line : Lines())
        EXPECT_TRUE(line.contains(QStringLiteral("丸型"))) << line.toStdString();
    // The search text stays when the maker changes.
    Chooser().EditSearch->setText(QStringLiteral("L7160"));
    ChooseMaker(QStringLiteral("Avery"));
    EXPECT_EQ(Lines(), QStringList{"L7160【A4 21面 64×38.1mm】"});
    EXPECT_TRUE(Chooser().BtnNext->isEnabled());
    EXPECT_FALSE(Preview().isNull());

    Chooser().EditSearch->setText(QStringLiteral("該当なし"));
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_FALSE(Chooser().BtnNext->isEnabled());
    EXPECT_TRUE(Preview().isNull());
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(PaperChooserTest, ACatalogueOfTwoMakersListsThemBeforeTheUsersPapers)
{
    WriteDataFile("paper.cfg", "\"甲社\"\t\"乙社\"\t\r\n");
    AddPaper(1, "OT-2", "2面", 210, 297, kSquareLayout);
    AddPaper(14, "MY-1", "MY-1", 100, 100, kSquareLayout);
    Start();
    QStringList makers;
    for (int i = 0; i < Chooser().CBMaker->count(); ++i)
        makers << Chooser().CBMaker->itemText(i);
    EXPECT_EQ(makers, (QStringList{"甲社", "乙社", "ユーザ設定"}));
    EXPECT_TRUE(Lines().isEmpty());
    ChooseMaker(QStringLiteral("乙社"));
    EXPECT_EQ(Lines(), QStringList{"OT-2【2面】"});
    ChooseMaker(QStringLiteral("ユーザ設定"));
    EXPECT_EQ(Lines(), QStringList{"MY-1"});
    EXPECT_TRUE(Chooser().BtnAddPaper->isEnabled());
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(PaperChooserTest, NextWithoutASelectionAsksForOne)
{
    Start();
    Chooser().LBPaperList->setCurrentRow(-1);
    Chooser().BtnNext->setEnabled(true);
    Chooser().BtnNext->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"用紙の型番を選択してください。"});
    EXPECT_TRUE(Chooser().isVisible());
    EXPECT_FALSE(FormDesign->isVisible());
}

TEST_F(PaperChooserTest, BackReturnsToTheStartMenuKeepingTheChoices)
{
    Start();
    ChooseMaker(QStringLiteral("Herma"));
    Chooser().RBYoko->setChecked(true);
    Chooser().BtnBack->click();
    EXPECT_FALSE(Chooser().isVisible());
    EXPECT_TRUE(FormTopMenu->isVisible());
    FormTopMenu->PngBtnSelectPaper->click();
    EXPECT_EQ(Chooser().CBMaker->currentText(), QStringLiteral("Herma"));
    EXPECT_TRUE(Chooser().RBYoko->isChecked());
}

TEST_F(PaperChooserTest, PreviewDrawsEveryCellAndInnerShape)
{
    AddPaper(13, "SQ-100", "正方形", 100, 100, kSquareLayout);
    Start();
    ChooseMaker(QStringLiteral("その他"));
    Select(QStringLiteral("SQ-100【正方形】"));
    const QImage image = Preview();
    ASSERT_EQ(image.size(), QSize(250, 250));
    const auto at = [&](int x, int y) { return static_cast<std::uint32_t>(image.pixel(x, y)); };
    // Solid rectangle (25, 25)-(75, 75), right and bottom edges exclusive.
    EXPECT_EQ(at(25, 50), kBlack);
    EXPECT_EQ(at(74, 50), kBlack);
    EXPECT_EQ(at(75, 50), kWhite);
    EXPECT_EQ(at(50, 25), kBlack);
    EXPECT_EQ(at(50, 74), kBlack);
    // Its inner diagonal from (30, 30) to (70, 70).
    EXPECT_EQ(at(30, 30), kBlack);
    EXPECT_EQ(at(50, 50), kBlack);
    EXPECT_EQ(at(50, 49), kWhite);
    // Dotted rectangle (100, 25)-(150, 75): its top edge has gaps.
    int dark = 0;
    for (int x = 100; x < 150; ++x)
        dark += at(x, 25) == kBlack;
    EXPECT_GT(dark, 10);
    EXPECT_LT(dark, 40);
    // Ellipse (175, 25)-(225, 75): touches its box in the middle of each side, not at the corners.
    EXPECT_EQ(at(175, 50), kBlack);
    EXPECT_EQ(at(200, 25), kBlack);
    EXPECT_EQ(at(175, 25), kWhite);
    // Inner ellipse (185, 35)-(215, 65).
    EXPECT_EQ(at(185, 50), kBlack);
    EXPECT_EQ(at(190, 50), kWhite);
    // Nothing else is drawn.
    int drawn = 0;
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 250; ++x)
            drawn += at(x, y) != kWhite && (y < 25 || y >= 75);
    EXPECT_EQ(drawn, 0);
}

TEST_F(PaperChooserTest, LandscapeDrawsTheSheetTransposedAndKeepsItsProportions)
{
    Start();
    Select(QStringLiteral("OP3003【A4 24面 70×33.9mm】"));
    const QImage portrait = Preview();
    EXPECT_EQ(portrait.size(), QSize(177, 250)); // 210 x 297 mm: taller, fills the height
    Chooser().RBYoko->setChecked(true);
    const QImage landscape = Preview();
    ASSERT_EQ(landscape.size(), QSize(250, 177)); // wider: fills the width
    QImage transposed(177, 250, portrait.format());
    for (int y = 0; y < 177; ++y)
        for (int x = 0; x < 250; ++x)
            transposed.setPixel(y, x, landscape.pixel(x, y));
    EXPECT_EQ(transposed, portrait);
}

TEST_F(PaperChooserTest, UserPaperWithBracketsInItsNameIsFoundThroughItsLine)
{
    AddPaper(14, "私の【特注】ラベル", "私の【特注】ラベル", 100, 100, kSquareLayout);
    Start();
    ChooseMaker(QStringLiteral("ユーザ設定"));
    EXPECT_EQ(Lines(), QStringList{"私の【特注】ラベル"});
    EXPECT_EQ(Preview().size(), QSize(250, 250));
    Chooser().BtnNext->click();
    EXPECT_TRUE(messages.Shown().empty());
    ASSERT_TRUE(FormDesign->isVisible());
    EXPECT_EQ(Session().Layout()->Paper.GetModelNumber(), Sjis("私の【特注】ラベル"));
    EXPECT_EQ(Session().Layout()->LabelCount, 3);
}

TEST_F(PaperChooserTest, DamagedLayoutKeepsTheChooserOpenWithTheMessage)
{
    AddPaper(13, "BAD-1", "壊れた", 210, 297, "NOTBASE\r\n1.00\r\n0\r\n0\r\n0\r\n0\r\n");
    Start();
    ChooseMaker(QStringLiteral("その他"));
    Select(QStringLiteral("BAD-1【壊れた】"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"LblFileのヘッダが一致しません"});
    messages.Clear();
    Chooser().BtnNext->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"LblFileのヘッダが一致しません"});
    EXPECT_TRUE(Chooser().isVisible());
    EXPECT_FALSE(FormDesign->isVisible());
}

TEST_F(PaperChooserTest, UserPapersCanBeAddedAndDeleted)
{
    AddPaper(14, "ユーザ定義1", "ユーザ定義1", 100, 100, kSquareLayout);
    AddPaper(14, "ユーザ定義2", "ユーザ定義2", 100, 100, kSquareLayout);
    Start();
    EXPECT_FALSE(Chooser().BtnAddPaper->isEnabled());
    EXPECT_FALSE(Chooser().BtnDelPaper->isEnabled());
    ChooseMaker(QStringLiteral("ユーザ設定"));
    EXPECT_TRUE(Chooser().BtnAddPaper->isEnabled());
    EXPECT_TRUE(Chooser().BtnDelPaper->isEnabled());

    Select(QStringLiteral("ユーザ定義2"));
    Chooser().BtnDelPaper->click(); // answered No
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"選択中の用紙を削除しますか？"});
    EXPECT_EQ(Lines().size(), 2);

    messages.Answer(MessageAnswer::Yes);
    Select(QStringLiteral("ユーザ定義2"));
    Chooser().BtnDelPaper->click();
    EXPECT_EQ(Lines(), QStringList{"ユーザ定義1"});
    EXPECT_EQ(Chooser().LBPaperList->currentRow(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(DataPath("14/ユーザ定義2.bv2"))));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(DataPath("14/ユーザ定義1.bv2"))));

    messages.Answer(MessageAnswer::Yes);
    Chooser().BtnDelPaper->click();
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_TRUE(Chooser().BtnAddPaper->isEnabled());
    EXPECT_FALSE(Chooser().BtnDelPaper->isEnabled());

    // The user-paper editor is modal; the catalogue is read again after it.
    lxtest::WhenModalShows<QDialog>([this](QDialog* dialog) {
        EXPECT_EQ(dialog, static_cast<QDialog*>(FormAddPaper));
        AddPaper(14, "ユーザ定義3", "ユーザ定義3", 100, 100, kSquareLayout);
        dialog->reject();
    });
    Chooser().BtnAddPaper->click();
    EXPECT_EQ(Lines(), QStringList{"ユーザ定義3"});
}
