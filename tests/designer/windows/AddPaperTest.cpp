#include "DesignerFixture.h"
#include "DialogTestSupport.h"
#include "support/TextEncodings.h"

#include "designer/model/LxLblInfo.h"
#include "designer/model/LxPaper.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>

using namespace lx;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

class UserPaperTest : public lxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        ASSERT_TRUE(StartProgram());
        Editor().show();
    }
    void TearDown() override
    {
        if (FormAddPaper)
            FormAddPaper->hide();
        DesignerTest::TearDown();
    }

    TFormAddPaper& Editor() { return *FormAddPaper; }

    // A grid every check passes: 2 x 2 labels of 50 x 30 mm.
    void FillValidGrid(const QString& name = QStringLiteral("棚ラベル"))
    {
        Editor().EditPaperName->setText(name);
        for (auto [edit, text] : {std::pair{Editor().EditLabelWidth, "50"},
                                  {Editor().EditLabelHeight, "30"},
                                  {Editor().EditOffsetUpper, "10"},
                                  {Editor().EditOffsetLower, "10"},
                                  {Editor().EditOffsetLeft, "10"},
                                  {Editor().EditOffsetRight, "10"},
                                  {Editor().EditCol, "2"},
                                  {Editor().EditRow, "2"}})
            edit->setText(QString::fromLatin1(text));
    }

    // The user's catalogue, where added papers go ("" while there is none).
    std::string Catalogue() const
    {
        const std::string path = UserPath("paper.cfg");
        return FileExists(path) ? ReadFileBytes(path) : std::string();
    }

    // The paper as the chooser will read it back: catalogue line and layout file.
    TlxLblInfo ReadBack(const std::string& utf8Name) const
    {
        const TlxPaper catalogue(CatalogueFilePath(DataFolder()), CatalogueFilePath(UserFolder()));
        const TlxPaperObject* paper = catalogue.FindPaper(kUserPaperCategory, Sjis(utf8Name));
        EXPECT_NE(paper, nullptr) << utf8Name;
        return paper ? TlxLblInfo(catalogue.LayoutFolder(*paper), true, *paper) : TlxLblInfo();
    }
};

} // namespace

TEST_F(UserPaperTest, StartsFromTheDefaultsWithTheNextFreeName)
{
    WriteUserFile("14/ユーザ定義1.bv2", "LBLBASE\r\n");
    WriteUserFile("14/ユーザ定義2.bv2", "LBLBASE\r\n");
    Editor().hide();
    Editor().show();
    EXPECT_EQ(Editor().EditPaperName->text(), QStringLiteral("ユーザ定義3"));
    EXPECT_EQ(Editor().PGMakeType->currentIndex(), 0);
    // An empty A4 sheet fills the preview's height.
    EXPECT_EQ(Editor().PreviewBitmap().Width(), 225);
    EXPECT_EQ(Editor().PreviewBitmap().Height(), 318);

    // Choosing the kind starts again from the defaults on its own page.
    Editor().EditPaperName->setText(QStringLiteral("途中"));
    Editor().RadioButtonB5Size->setChecked(true);
    Editor().CBMakeType->setCurrentIndex(1);
    EXPECT_EQ(Editor().PGMakeType->currentIndex(), 1);
    EXPECT_EQ(Editor().EditPaperName->text(), QStringLiteral("ユーザ定義3"));
    EXPECT_TRUE(Editor().RadioButtonA4Size->isChecked());
    EXPECT_EQ(Editor().EditLblWidth->text(), QStringLiteral("10"));
    EXPECT_EQ(Editor().EditPosX->text(), QStringLiteral("0"));
}

TEST_F(UserPaperTest, GridPaperReachesTheChooserThroughTheCatalogue)
{
    Editor().hide();
    FormTopMenu->PngBtnSelectPaper->click();
    FormSelectPaper->CBMaker->setCurrentText(QStringLiteral("ユーザ設定"));
    ASSERT_TRUE(FormSelectPaper->BtnAddPaper->isEnabled());
    lxtest::WhenModalShows<TFormAddPaper>([this](TFormAddPaper* editor) {
        FillValidGrid(QStringLiteral("棚 ラベル"));
        // Three columns of 60 mm between margins of 10 mm: a pitch of 65 mm.
        editor->EditLabelWidth->setText(QStringLiteral("60"));
        editor->EditCol->setText(QStringLiteral("3"));
        editor->CBLabelType->setCurrentIndex(1);
        editor->BtnAddPaper->click();
    });
    FormSelectPaper->BtnAddPaper->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"用紙を追加しました。"});
    EXPECT_FALSE(Editor().isVisible());
    const auto found = FormSelectPaper->LBPaperList->findItems(QStringLiteral("棚 ラベル"), Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1);

    const TlxLblInfo layout = ReadBack("棚 ラベル");
    EXPECT_EQ(layout.Paper.GetPaperSize(), (PaperSize{lxPaperA4, 210, 297}));
    EXPECT_TRUE(layout.SingleMode);
    ASSERT_EQ(layout.Cells.size(), 6u);
    const double lefts[] = {10, 75, 140};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(layout.Cells[i].GetLeft(), lefts[i % 3]) << i;
        EXPECT_EQ(layout.Cells[i].GetTop(), i < 3 ? 10 : 257) << i; // 297 - 10 - 30
        EXPECT_EQ(layout.Cells[i].GetWidth(), 60);
        EXPECT_EQ(layout.Cells[i].GetLineKind(), lxLineCircle);
    }
}

TEST_F(UserPaperTest, OneColumnAndOneRowGiveOneLabelAtTheMargins)
{
    FillValidGrid(QStringLiteral("一枚"));
    Editor().EditCol->setText(QStringLiteral("1"));
    Editor().EditRow->setText(QStringLiteral(" 1 "));
    Editor().RadioButtonHagakiSize->setChecked(true);
    Editor().BtnAddPaper->click();
    const TlxLblInfo layout = ReadBack("一枚");
    EXPECT_EQ(layout.Paper.GetPaperSize(), (PaperSize{lxPaperHagaki, 100, 148}));
    ASSERT_EQ(layout.Cells.size(), 1u);
    EXPECT_EQ(layout.Cells[0], TLblPosition(lxLineNomal, 10, 10, 50, 30));
}

TEST_F(UserPaperTest, ChecksStopAtTheFirstFailureAndWriteNothing)
{
    struct Case {
        const char* field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"EditPaperName", " 　", "用紙名が未入力です。"},
        {"EditLabelWidth", "", "幅が未入力です。"},
        {"EditRow", "  ", "段数が未入力です。"},
        {"EditOffsetLeft", "abc", "左余白は数値で入力してください。"},
        {"EditLabelHeight", "0.5", "高さは1以上の数値を入力してください。"},
        {"EditCol", "2.5", "列数は整数で入力してください。"},
        {"EditRow", "0", "段数は1以上の数値を入力してください。"},
        {"EditCol", "100", "列数は99以下の数値を入力してください。"},
        {"EditLabelWidth", "1e999", "幅は数値で入力してください。"},
    };
    const std::string before = Catalogue();
    for (const Case& c : cases) {
        Editor().FormShow();
        FillValidGrid();
        Editor().findChild<QLineEdit*>(c.field)->setText(QString::fromUtf8(c.text));
        messages.Clear();
        Editor().BtnAddPaper->click();
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{c.message}) << c.field << " " << c.text;
        Editor().BtnPreview->click();
        EXPECT_EQ(messages.Texts().size(), 2u);
        EXPECT_TRUE(Editor().isVisible());
    }
    EXPECT_EQ(Catalogue(), before);

    // Several faults: the first empty field wins over an earlier bad number.
    FillValidGrid();
    Editor().EditLabelWidth->setText(QStringLiteral("x"));
    Editor().EditRow->setText(QString());
    messages.Clear();
    Editor().BtnPreview->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"段数が未入力です。"});
    // Margins have no range.
    FillValidGrid(QStringLiteral("余白負"));
    Editor().EditOffsetUpper->setText(QStringLiteral("-5"));
    messages.Clear();
    Editor().BtnAddPaper->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"用紙を追加しました。"});
}

TEST_F(UserPaperTest, FreeListKeepsEachLabelAndRefusesToLeaveABadOne)
{
    Editor().CBMakeType->setCurrentIndex(1);
    Editor().EditPaperName->setText(QStringLiteral("混在"));
    Editor().SELblCount->setValue(5);
    ASSERT_EQ(Editor().TCLblConfig->count(), 5);
    EXPECT_EQ(Editor().TCLblConfig->tabText(4), QStringLiteral("5番目"));

    Editor().TCLblConfig->setCurrentIndex(1);
    Editor().EditLblWidth->setText(QStringLiteral("20"));
    Editor().EditLblHeigh->setText(QStringLiteral("15.5"));
    Editor().EditPosX->setText(QStringLiteral("30"));
    Editor().EditPosY->setText(QStringLiteral("40"));
    Editor().CBLblType->setCurrentIndex(1);
    Editor().TCLblConfig->setCurrentIndex(2);
    EXPECT_EQ(Editor().EditLblWidth->text(), QStringLiteral("10"));
    EXPECT_EQ(Editor().CBLblType->currentIndex(), 0);
    Editor().TCLblConfig->setCurrentIndex(1);
    EXPECT_EQ(Editor().EditLblHeigh->text(), QStringLiteral("15.5"));
    EXPECT_EQ(Editor().EditPosY->text(), QStringLiteral("40"));
    EXPECT_EQ(Editor().CBLblType->currentIndex(), 1);

    // A field that does not parse keeps the label's value; leaving the tab
    // is refused until it is mended.
    Editor().EditPosY->setText(QStringLiteral("abc"));
    EXPECT_EQ(Editor().EditedCells()[1].GetTop(), 40);
    Editor().TCLblConfig->setCurrentIndex(3);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"上からの位置は数値で入力してください。"});
    EXPECT_EQ(Editor().TCLblConfig->currentIndex(), 1);
    Editor().EditPosY->setText(QStringLiteral("40"));
    Editor().EditLblWidth->setText(QStringLiteral("0.5"));
    messages.Clear();
    Editor().TCLblConfig->setCurrentIndex(3);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"幅は1以上の数値を入力してください。"});
    EXPECT_EQ(Editor().TCLblConfig->currentIndex(), 1);
    Editor().EditLblWidth->setText(QStringLiteral("20"));

    // Fewer labels keep the first ones.
    Editor().SELblCount->setValue(3);
    EXPECT_EQ(Editor().TCLblConfig->count(), 3);
    ASSERT_EQ(Editor().EditedCells().size(), 3u);
    messages.Clear();
    Editor().BtnAddPaper->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"用紙を追加しました。"});
    const TlxLblInfo layout = ReadBack("混在");
    EXPECT_FALSE(layout.SingleMode);
    ASSERT_EQ(layout.Cells.size(), 3u);
    EXPECT_EQ(layout.Cells[0], TLblPosition(lxLineNomal, 0, 0, 10, 10));
    EXPECT_EQ(layout.Cells[1], TLblPosition(lxLineCircle, 30, 40, 20, 15.5));
    EXPECT_EQ(layout.Cells[2], TLblPosition(lxLineNomal, 0, 0, 10, 10));
}

TEST_F(UserPaperTest, PaperNameDropsWhatAFileNameCannotHold)
{
    QLineEdit* name = Editor().EditPaperName;
    name->clear();
    lxtest::TypeText(name, QStringLiteral("棚/ラ\\ベ:ル*?\"<>|#{}%&~1"));
    EXPECT_EQ(name->text(), QStringLiteral("棚ラベル1"));
    // Pasted text is cleaned too, characters without a CP932 form included.
    name->clear();
    name->insert(QStringLiteral("a/b\tc") + QString::fromUtf8("\xF0\x9F\x98\x80") + QStringLiteral("d"));
    EXPECT_EQ(name->text(), QStringLiteral("abcd"));
}

// The wave dash Linux input methods type (U+301C) stays in the name, typed or
// pasted, and is stored as the CP932 wave dash, as a text box stores it.
TEST_F(UserPaperTest, PaperNameKeepsTheWaveDash)
{
    QLineEdit* name = Editor().EditPaperName;
    name->clear();
    lxtest::TypeText(name, QStringLiteral("棚〜A"));
    name->insert(QStringLiteral("〜B"));
    EXPECT_EQ(name->text(), QStringLiteral("棚〜A〜B"));
    FillValidGrid(name->text());
    Editor().BtnAddPaper->click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"用紙を追加しました。"});
    const std::string stored = lxtest::Iconv("棚～A～B", "CP932");
    ASSERT_EQ(stored.substr(2, 2), "\x81\x60");
    EXPECT_NE(Catalogue().find(stored), std::string::npos);
    const TlxPaper catalogue(CatalogueFilePath(DataFolder()), CatalogueFilePath(UserFolder()));
    ASSERT_NE(catalogue.FindPaper(kUserPaperCategory, stored), nullptr);
}

TEST_F(UserPaperTest, PreviewKeepsThePapersProportionsAndDrawsEachLabel)
{
    // A postcard at 2.15 pixels per mm across: one rectangle from 20 mm
    // (43 px) to 60 mm (129 px), one ellipse beside it.
    Editor().CBMakeType->setCurrentIndex(1);
    Editor().RadioButtonHagakiSize->setChecked(true);
    Editor().SELblCount->setValue(2);
    Editor().EditLblWidth->setText(QStringLiteral("40"));
    Editor().EditLblHeigh->setText(QStringLiteral("40"));
    Editor().EditPosX->setText(QStringLiteral("20"));
    Editor().EditPosY->setText(QStringLiteral("20"));
    Editor().TCLblConfig->setCurrentIndex(1);
    Editor().EditLblWidth->setText(QStringLiteral("20"));
    Editor().EditLblHeigh->setText(QStringLiteral("40"));
    Editor().EditPosX->setText(QStringLiteral("70"));
    Editor().EditPosY->setText(QStringLiteral("20"));
    Editor().CBLblType->setCurrentIndex(1);
    Editor().BtnPreview->click();
    const Bitmap& preview = Editor().PreviewBitmap();
    ASSERT_EQ(preview.Width(), 215);
    EXPECT_EQ(preview.Height(), 318);
    EXPECT_TRUE(messages.Shown().empty());
    const int middle = 86; // 40 mm down
    EXPECT_EQ(preview.Pixel(43, middle), kBlack);
    EXPECT_EQ(preview.Pixel(128, middle), kBlack);
    EXPECT_EQ(preview.Pixel(43, 43), kBlack); // the rectangle's corner
    EXPECT_EQ(preview.Pixel(151, 43), kWhite); // not the ellipse's
    const auto blackAcross = [&](int x0, int x1, int y) {
        for (int x = x0; x <= x1; ++x)
            if (preview.Pixel(x, y) == kBlack)
                return true;
        return false;
    };
    EXPECT_TRUE(blackAcross(149, 152, middle)); // its left end
    // Each label's number in its middle: ink near the centre, none in the
    // empty space between the two.
    const auto inkAround = [&](int cx, int cy) {
        int ink = 0;
        for (int y = cy - 6; y <= cy + 6; ++y)
            for (int x = cx - 6; x <= cx + 6; ++x)
                ink += preview.Pixel(x, y) != kWhite;
        return ink;
    };
    EXPECT_GT(inkAround(86, middle), 3);
    EXPECT_GT(inkAround(172, middle), 3);
    EXPECT_EQ(inkAround(140, middle), 0);
}

TEST_F(UserPaperTest, SameNameReplacesTheOldPaperOnlyWhenTheUserSaysSo)
{
    WriteUserFile("14/既存.bv2", "LBLBASE\r\n1.00\r\n0\r\n0\r\n0\r\n0\r\n");
    const std::string old = ReadFileBytes(UserPath("14/既存.bv2"));
    FillValidGrid(QStringLiteral("既存"));
    messages.Answer(MessageAnswer::No);
    Editor().BtnAddPaper->click();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ReadFileBytes(UserPath("14/既存.bv2")), old);
    EXPECT_TRUE(Editor().isVisible());

    messages.Answer(MessageAnswer::Yes);
    Editor().BtnAddPaper->click();
    EXPECT_EQ(messages.Texts().back(), "用紙を追加しました。");
    EXPECT_EQ(ReadBack("既存").Cells.size(), 4u);
}
