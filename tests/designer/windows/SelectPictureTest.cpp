#include "DesignerFixture.h"
#include "DialogTestSupport.h"

#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitSelectPicture.h"
#include "platform/image/BitmapImage.h"
#include "platform/io/Files.h"

#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

using namespace lx;

namespace {

namespace fs = std::filesystem;

class PictureChooserTest : public lxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        // The user's folders live in the test's own home.
        fs::create_directories(fs::u8path(temp.File("home/書類")));
        fs::create_directories(fs::u8path(temp.File("home/机")));
        fs::create_directories(fs::u8path(temp.File("config")));
        std::ofstream(fs::u8path(temp.File("config/user-dirs.dirs")))
            << "XDG_DOCUMENTS_DIR=\"$HOME/書類\"\nXDG_DESKTOP_DIR=\"$HOME/机\"\n";
        UseOwnHome(temp.File("config"));
        ASSERT_TRUE(StartProgram());
        Chooser().MaterialFolder = temp.File("素材");
    }
    void TearDown() override
    {
        if (FormSelectPicture)
            FormSelectPicture->hide();
        DesignerTest::TearDown();
    }

    TFormSelectPicture& Chooser() { return *FormSelectPicture; }

    std::string Folder(const std::string& name)
    {
        fs::create_directories(fs::u8path(temp.File(name)));
        return temp.File(name);
    }
    static void Png(const std::string& path, int width, int height, std::uint32_t argb)
    {
        std::ofstream(fs::u8path(path), std::ios::binary) << SolidPng(width, height, argb);
    }
    static std::string SolidPng(int width, int height, std::uint32_t argb)
    {
        lxtest::PngSource source{width, height, 8, 2}; // RGB
        for (int i = 0; i < width * height; ++i)
            source.samples.insert(source.samples.end(),
                                  {std::uint8_t(argb >> 16), std::uint8_t(argb >> 8), std::uint8_t(argb)});
        return lxtest::WritePngWithLibpng(source);
    }
    static void Broken(const std::string& path) { std::ofstream(fs::u8path(path)) << "no picture"; }

    QStringList Captions()
    {
        QStringList captions;
        const QAbstractItemModel* model = Chooser().LVAttachFile->model();
        for (int i = 0; i < model->rowCount(); ++i)
            captions << model->index(i, 0).data().toString();
        return captions;
    }
    void ClickPicture(int row, bool twice = false)
    {
        lxtest::ClickItem(Chooser().LVAttachFile, Chooser().LVAttachFile->model()->index(row, 0), twice);
    }
};

} // namespace

TEST_F(PictureChooserTest, ListsThePictureFilesOfAFolderWithTheirThumbnails)
{
    const std::string folder = Folder("写真");
    Png(folder + "/b.png", 300, 150, 0xFF0000);
    lxtest::WriteSolidJpeg(folder + "/PHOTO.JPG", 90, 180, 0x00C000);
    std::ofstream(fs::u8path(folder + "/c.Bmp"), std::ios::binary) << EncodeBmp(Bitmap(20, 10, 0xFF0000FFu));
    Broken(folder + "/broken.jpeg");
    Broken(folder + "/photo.gif");
    Broken(folder + "/notes.txt");
    fs::create_directory(fs::u8path(folder + "/x.png"));
    Chooser().show();
    Chooser().SetDirectory(folder);

    EXPECT_EQ(Captions(), (QStringList{"b.png", "broken.jpeg", "c.Bmp", "PHOTO.JPG"}));
    ASSERT_EQ(Chooser().FilePaths.size(), 4u);
    EXPECT_EQ(Chooser().FilePaths[3], folder + "/PHOTO.JPG");
    ASSERT_EQ(Chooser().Thumbnails.size(), 4u);
    EXPECT_EQ(Chooser().Thumbnails[0]->size(), QSize(150, 75));
    EXPECT_FALSE(Chooser().Thumbnails[1].has_value());
    EXPECT_EQ(Chooser().Thumbnails[2]->size(), QSize(20, 10));
    EXPECT_EQ(Chooser().Thumbnails[3]->size(), QSize(75, 150));
    EXPECT_EQ(Chooser().ProgressBarStatus->value(), 0);
    EXPECT_EQ(Chooser().ProgressBarStatus->maximum(), 3);
    EXPECT_FALSE(Chooser().BtnOK->isEnabled());
}

TEST_F(PictureChooserTest, DrawsThumbnailsTypeIconsAndTheSelection)
{
    const std::string folder = Folder("描画");
    Png(folder + "/a.png", 150, 150, 0xFF0000);
    Broken(folder + "/b.png");
    Chooser().show();
    Chooser().SetDirectory(folder);
    ClickPicture(0);
    lxtest::ProcessEvents();
    QListView* list = Chooser().LVAttachFile;
    const QImage shot = list->viewport()->grab().toImage();
    const QRect first = list->visualRect(list->model()->index(0, 0));
    const QRect second = list->visualRect(list->model()->index(1, 0));
    const QPoint box(first.left() + (first.width() - 150) / 2, first.top() + 4);
    // The thumbnail fills its box; the selection outlines it.
    EXPECT_EQ(shot.pixelColor(box + QPoint(75, 75)), QColor(0xFF, 0, 0));
    for (const QPoint corner : {QPoint(0, 0), QPoint(1, 149), QPoint(149, 1)})
        EXPECT_EQ(shot.pixelColor(box + corner), list->palette().color(QPalette::Highlight));
    EXPECT_EQ(shot.pixelColor(box + QPoint(2, 2)), QColor(0xFF, 0, 0));
    // The unreadable file shows a small icon in the middle of a plain box.
    const QPoint other(second.left() + (second.width() - 150) / 2, second.top() + 4);
    const QColor window = list->palette().color(QPalette::Base);
    EXPECT_EQ(shot.pixelColor(other + QPoint(10, 10)), window);
    int drawn = 0;
    for (int y = 59; y < 91; ++y)
        for (int x = 59; x < 91; ++x)
            drawn += shot.pixelColor(other + QPoint(x, y)) != window;
    EXPECT_GT(drawn, 50);
}

TEST_F(PictureChooserTest, HandsBackTheChosenFile)
{
    const std::string folder = Folder("選択");
    Png(folder + "/a.png", 8, 8, 0x0000FF);
    Png(folder + "/花 の 絵.png", 8, 8, 0x00FF00);
    std::string path = "unchanged";
    lxtest::WhenModalShows<TFormSelectPicture>([&](TFormSelectPicture* chooser) {
        chooser->SetDirectory(folder);
        EXPECT_FALSE(chooser->BtnOK->isEnabled());
        ClickPicture(1);
        EXPECT_TRUE(chooser->BtnOK->isEnabled());
        chooser->BtnOK->click();
    });
    ASSERT_TRUE(Chooser().SelectPictureFile(path));
    EXPECT_EQ(path, folder + "/花 の 絵.png");

    lxtest::WhenModalShows<TFormSelectPicture>([&](TFormSelectPicture* chooser) {
        chooser->SetDirectory(folder);
        ClickPicture(0, true);
    });
    ASSERT_TRUE(Chooser().SelectPictureFile(path));
    EXPECT_EQ(path, folder + "/a.png");

    path = "unchanged";
    lxtest::WhenModalShows<TFormSelectPicture>([&](TFormSelectPicture* chooser) {
        chooser->SetDirectory(folder);
        // A double click with nothing selected asks for a file.
        lxtest::ClickView(chooser->LVAttachFile, QPoint(700, 300), true);
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"ファイルを選択してください。"});
        EXPECT_TRUE(chooser->isVisible());
        chooser->BtnCancel->click();
    });
    EXPECT_FALSE(Chooser().SelectPictureFile(path));
    EXPECT_EQ(path, "unchanged");
}

TEST_F(PictureChooserTest, StartsInTheDocumentsAndJumpsToTheDesktop)
{
    Png(temp.File("home/書類/文書の絵.png"), 4, 4, 0);
    Png(temp.File("home/机/机の絵.png"), 4, 4, 0);
    Chooser().show();
    EXPECT_EQ(Chooser().Directory(), temp.File("home/書類"));
    EXPECT_EQ(Captions(), QStringList{"文書の絵.png"});
    Chooser().PngBtnDesktop->click();
    EXPECT_EQ(Chooser().Directory(), temp.File("home/机"));
    EXPECT_EQ(Captions(), QStringList{"机の絵.png"});
    Chooser().PngBtnDocument->click();
    EXPECT_EQ(Captions(), QStringList{"文書の絵.png"});
}

TEST_F(PictureChooserTest, ClipArtMenuListsTheMaterialFoldersAndOpensOne)
{
    Folder("素材/A");
    Folder("素材/B & C");
    Png(temp.File("素材/B & C/星.png"), 4, 4, 0);
    Png(temp.File("素材/z.png"), 4, 4, 0);
    Chooser().show();
    ClickPicture(0); // nothing listed: no effect
    Chooser().PngBtnSozai->click();
    const QList<QAction*> items = Chooser().PopupMenu1->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("SozaiDir2"));
    EXPECT_EQ(items[1]->objectName(), QStringLiteral("SozaiDir3"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("B && C"));
    EXPECT_EQ(items[1]->data().toInt(), 1);
    items[1]->trigger();
    Chooser().PopupMenu1->close();
    EXPECT_EQ(Chooser().Directory(), temp.File("素材/B & C"));
    EXPECT_EQ(Captions(), QStringList{"星.png"});

    // A folder gone since the menu was made is reported; the list stays.
    Chooser().PngBtnSozai->click();
    Chooser().PopupMenu1->close();
    fs::remove_all(fs::u8path(temp.File("素材/A")));
    messages.Clear();
    Chooser().PopupMenu1->actions()[0]->trigger();
    EXPECT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(Chooser().Directory(), temp.File("素材/B & C"));
}

TEST_F(PictureChooserTest, AnEmptyFolderLeavesNothingToChoose)
{
    const std::string pictures = Folder("有り");
    Png(pictures + "/a.png", 4, 4, 0);
    Chooser().show();
    Chooser().SetDirectory(pictures);
    ClickPicture(0);
    ASSERT_TRUE(Chooser().BtnOK->isEnabled());
    Chooser().SetDirectory(Folder("空"));
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_FALSE(Chooser().BtnOK->isEnabled());
    EXPECT_EQ(Chooser().ProgressBarStatus->maximum(), 1);
}

// The folder list shows the current folder's sub-folders, each a click away,
// and the folders above it back to the volume's root.
TEST_F(PictureChooserTest, TheFolderListWalksDownAndUpByClicks)
{
    const std::string top = Folder("枝");
    QStringList names;
    for (int i = 0; i < 10; ++i) {
        names << QStringLiteral("フォルダ%1").arg(i);
        Folder("枝/" + names.back().toStdString());
    }
    Folder("枝/フォルダ3/二/三");
    Png(top + "/フォルダ3/二/三/奥の絵.png", 8, 8, 0x00FF00);
    QTreeView* list = Chooser().DirListBox;
    const auto subFolders = [&] {
        QStringList shown;
        const QModelIndex current = list->currentIndex();
        for (int row = 0; row < list->model()->rowCount(current); ++row)
            shown << list->model()->index(row, 0, current).data().toString();
        return shown;
    };
    const auto clickSubFolder = [&](const QString& name) {
        const QModelIndex current = list->currentIndex();
        for (int row = 0; row < list->model()->rowCount(current); ++row)
            if (list->model()->index(row, 0, current).data().toString() == name)
                return lxtest::ClickItem(list, list->model()->index(row, 0, current));
        ADD_FAILURE() << name.toStdString();
    };

    std::string path;
    lxtest::WhenModalShows<TFormSelectPicture>([&](TFormSelectPicture* chooser) {
        chooser->SetDirectory(top);
        QTRY_COMPARE(subFolders(), names);
        clickSubFolder(QStringLiteral("フォルダ3"));
        QTRY_COMPARE(QString::fromStdString(chooser->Directory()), QString::fromStdString(top + "/フォルダ3"));
        EXPECT_EQ(subFolders(), QStringList{"二"});
        clickSubFolder(QStringLiteral("二"));
        QTRY_COMPARE(subFolders(), QStringList{"三"});
        // Up by the folder above, and down again.
        lxtest::ClickItem(list, list->currentIndex().parent());
        QTRY_COMPARE(QString::fromStdString(chooser->Directory()), QString::fromStdString(top + "/フォルダ3"));
        clickSubFolder(QStringLiteral("二"));
        QTRY_COMPARE(subFolders(), QStringList{"三"});
        clickSubFolder(QStringLiteral("三"));
        QTRY_COMPARE(Captions(), QStringList{"奥の絵.png"});
        ClickPicture(0, true);
    });
    ASSERT_TRUE(Chooser().SelectPictureFile(path));
    EXPECT_EQ(path, top + "/フォルダ3/二/三/奥の絵.png");
}
