#include "DesignerFixture.h"
#include "DialogTestSupport.h"

#include "designer/model/LxDesignFile.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <set>

using namespace lx;

namespace {

namespace fs = std::filesystem;

std::string Shipped(const std::string& relative) { return lxtest::SourcePath("designer/windows/shipped/" + relative); }

// Every file of a shipped folder (UTF-8 names), sub-folders included.
std::vector<fs::path> FilesUnder(const std::string& folder)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(folder)))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    return files;
}

class ShippedTemplatesTest : public lxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        ASSERT_TRUE(StartProgram());
        FormLoadTemp->TemplateFolder = Shipped("テンプレート") + "/";
    }
};

} // namespace

TEST_F(ShippedTemplatesTest, EveryTemplateHasItsOwnPreviewAndOpensInTheEditor)
{
    FormLoadTemp->show();
    const int count = FormLoadTemp->ListBox1->count();
    FormLoadTemp->hide();
    ASSERT_GE(count, 3);
    for (int line = 0; line < count; ++line) {
        const std::string name = FormLoadTemp->ListBox1->item(line)->text().toStdString();
        const Design design = LoadDesignFile(FormLoadTemp->TemplateFolder + name + ".bv2t");
        ASSERT_GT(design.Document->GetObjectCount(0), 0) << name;

        lxtest::WhenModalShows<TFormLoadTemp>([&](TFormLoadTemp* chooser) {
            lxtest::ClickItem(chooser->ListBox1, chooser->ListBox1->model()->index(line, 0));
            EXPECT_EQ(chooser->PreviewPath(name), chooser->TemplateFolder + name + ".JPG");
            EXPECT_TRUE(chooser->Image1->hasPicture());
            EXPECT_LE(chooser->Image1->picture().width(), 296);
            EXPECT_LE(chooser->Image1->picture().height(), 296);
            lxtest::WhenModalShows<QDialog>([this](QDialog* dialog) {
                ASSERT_EQ(dialog, static_cast<QDialog*>(FormSelectPaper));
                FormSelectPaper->BtnNext->click();
            });
            chooser->BtnOK->click();
        });
        FormTopMenu->PngBtnTemplate->click();
        ASSERT_TRUE(FormDesign->isVisible()) << name;
        EXPECT_EQ(Session().Document()->GetObjectCount(0), design.Document->GetObjectCount(0));
        EXPECT_TRUE(messages.Shown().empty()) << name;
        FormDesign->close();
        ASSERT_TRUE(FormTopMenu->isVisible());
    }
}

// Qt's own decoders read what our code drew.
TEST_F(ShippedTemplatesTest, MaterialPicturesAreReadableInEveryFormat)
{
    std::set<std::string> formats;
    for (const fs::path& file : FilesUnder(Shipped("素材"))) {
        const QImage picture(QString::fromStdString(file.string()));
        EXPECT_GE(picture.width(), 32) << file;
        EXPECT_GE(picture.height(), 32) << file;
        formats.insert(QString::fromStdString(file.extension().string()).toLower().toStdString());
    }
    EXPECT_EQ(formats, (std::set<std::string>{".bmp", ".jpg", ".png"}));
}
