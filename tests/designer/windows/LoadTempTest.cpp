#include "DesignerFixture.h"
#include "DialogTestSupport.h"

#include "designer/windows/PictureView.h"
#include "designer/windows/UnitLoadTemp.h"
#include "platform/app/Program.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <fstream>

using namespace lx;

namespace {

namespace fs = std::filesystem;

class TemplateChooserTest : public lxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        ASSERT_TRUE(StartProgram());
        fs::create_directories(fs::u8path(Folder()));
        FormLoadTemp->TemplateFolder = Folder() + "/";
    }
    void TearDown() override
    {
        if (FormLoadTemp)
            FormLoadTemp->hide();
        DesignerTest::TearDown();
    }

    std::string Folder() const { return temp.File("テンプレート"); }
    void Touch(const std::string& name) const { std::ofstream(fs::u8path(Folder() + "/" + name)) << "x"; }
    void Jpeg(const std::string& name, int width, int height, std::uint32_t rgb) const
    {
        lxtest::WriteSolidJpeg(Folder() + "/" + name, width, height, rgb);
    }

    QStringList Lines() const { return lxtest::ItemTexts(FormLoadTemp->ListBox1); }
    void Choose(const QString& line)
    {
        const auto found = FormLoadTemp->ListBox1->findItems(line, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << line.toStdString();
        lxtest::ClickItem(FormLoadTemp->ListBox1, FormLoadTemp->ListBox1->indexFromItem(found[0]));
    }
    QImage Preview() const { return FormLoadTemp->Image1->picture(); }
};

} // namespace

TEST_F(TemplateChooserTest, ListsTheTemplatesByNameWithoutTheirExtension)
{
    for (const char* name :
         {"値札 24面.bv2t", "b.bv2t", "A.BV2T", "宛名ラベル.bv2t", "design.bv2", "notes.txt", "old.bv2t.bak"})
        Touch(name);
    fs::create_directory(fs::u8path(Folder() + "/folder.bv2t"));
    FormLoadTemp->show();
    EXPECT_EQ(Lines(), (QStringList{"A", "b", "宛名ラベル", "値札 24面"}));
    EXPECT_FALSE(FormLoadTemp->BtnOK->isEnabled());
    EXPECT_FALSE(FormLoadTemp->Image1->hasPicture());
    EXPECT_TRUE(FormLoadTemp->ChosenTemplatePath().empty());

    // Templates added while the program runs show at the next opening,
    // which starts again without a choice.
    Jpeg("NO_Preview.JPG", 40, 30, 0x808080);
    Choose("b");
    EXPECT_TRUE(FormLoadTemp->BtnOK->isEnabled());
    FormLoadTemp->hide();
    Touch("c.bv2t");
    FormLoadTemp->show();
    EXPECT_EQ(Lines(), (QStringList{"A", "b", "c", "宛名ラベル", "値札 24面"}));
    EXPECT_FALSE(FormLoadTemp->BtnOK->isEnabled());
    EXPECT_FALSE(FormLoadTemp->Image1->hasPicture());
}

TEST_F(TemplateChooserTest, ShowsTheTemplatesOwnPreviewOrTheCommonOne)
{
    Touch("宛名 ラベル.bv2t");
    Touch("小文字.bv2t");
    Touch("なし.bv2t");
    Jpeg("宛名 ラベル.JPG", 120, 90, 0xC00000);
    Jpeg("小文字.jpg", 60, 50, 0x00A000);
    Jpeg("NO_Preview.JPG", 200, 100, 0x0000C0);
    FormLoadTemp->show();
    struct Case {
        const char* line;
        QSize size;
        QRgb colour;
    };
    for (const Case& c : {Case{"宛名 ラベル", {120, 90}, qRgb(0xC0, 0, 0)}, Case{"小文字", {60, 50}, qRgb(0, 0xA0, 0)},
                          Case{"なし", {200, 100}, qRgb(0, 0, 0xC0)}}) {
        Choose(QString::fromUtf8(c.line));
        ASSERT_EQ(Preview().size(), c.size) << c.line;
        const QColor centre = Preview().pixelColor(c.size.width() / 2, c.size.height() / 2);
        EXPECT_NEAR(centre.red(), qRed(c.colour), 4) << c.line;
        EXPECT_NEAR(centre.green(), qGreen(c.colour), 4) << c.line;
        EXPECT_NEAR(centre.blue(), qBlue(c.colour), 4) << c.line;
        EXPECT_TRUE(FormLoadTemp->BtnOK->isEnabled());
    }
    // The picture sits unscaled in the middle of the image.
    EXPECT_EQ(FormLoadTemp->Image1->pictureOffset(), QPoint((296 - 200) / 2, (296 - 100) / 2));
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(TemplateChooserTest, UnreadablePreviewIsReportedAndChoosesNothing)
{
    Touch("壊れた.bv2t");
    Touch("絵なし.bv2t");
    Touch("良い.bv2t");
    std::ofstream(fs::u8path(Folder() + "/壊れた.JPG")) << "not a picture";
    Jpeg("良い.JPG", 30, 30, 0xFFFFFF);
    FormLoadTemp->show();

    Choose("壊れた");
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_FALSE(FormLoadTemp->BtnOK->isEnabled());
    EXPECT_FALSE(FormLoadTemp->Image1->hasPicture());
    // Without "NO_Preview.JPG" a template without a picture has none either.
    Choose("絵なし");
    EXPECT_EQ(messages.Shown().size(), 2u);
    EXPECT_FALSE(FormLoadTemp->BtnOK->isEnabled());

    // A good preview, then a bad one: the good picture does not stay to
    // stand for the other template.
    Choose("良い");
    EXPECT_TRUE(FormLoadTemp->Image1->hasPicture());
    Choose("壊れた");
    EXPECT_EQ(messages.Shown().size(), 3u);
    EXPECT_FALSE(FormLoadTemp->Image1->hasPicture());
}

TEST_F(TemplateChooserTest, DoubleClickChoosesAtOnceAndCancelChoosesNothing)
{
    Touch("名刺 10面.bv2t");
    Touch("値札.bv2t");
    Jpeg("NO_Preview.JPG", 20, 20, 0x808080);
    lxtest::WhenModalShows<TFormLoadTemp>([](TFormLoadTemp* chooser) {
        const auto found = chooser->ListBox1->findItems(QStringLiteral("名刺 10面"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        lxtest::ClickItem(chooser->ListBox1, chooser->ListBox1->indexFromItem(found[0]), true);
    });
    EXPECT_EQ(FormLoadTemp->exec(), 1);
    EXPECT_EQ(FormLoadTemp->ChosenTemplatePath(), FormLoadTemp->TemplateFolder + "名刺 10面.bv2t");
    EXPECT_TRUE(FileExists(FormLoadTemp->ChosenTemplatePath()));

    lxtest::WhenModalShows<TFormLoadTemp>([](TFormLoadTemp* chooser) {
        // A double click below the lines chooses nothing.
        lxtest::ClickView(chooser->ListBox1, QPoint(20, 300), true);
        EXPECT_TRUE(chooser->isVisible());
        chooser->BtnCancel->click();
    });
    EXPECT_EQ(FormLoadTemp->exec(), 2);
    EXPECT_TRUE(FormLoadTemp->ChosenTemplatePath().empty());
}

TEST_F(TemplateChooserTest, MissingFolderGivesAnEmptyList)
{
    FormLoadTemp->TemplateFolder = temp.File("どこにもない/");
    FormLoadTemp->show();
    EXPECT_EQ(FormLoadTemp->ListBox1->count(), 0);
    EXPECT_FALSE(FormLoadTemp->BtnOK->isEnabled());
    EXPECT_TRUE(FormLoadTemp->BtnCancel->isEnabled());
    EXPECT_TRUE(messages.Shown().empty());
}
