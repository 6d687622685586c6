// The editor's merge file, chosen by clicks, when its bytes read both as
// CP932 and as UTF-8: read as meant without a word, or the user is asked in a
// "確認" box showing the first differing line both ways and the file is read
// as answered. And a merge file over the size limit is refused saying so.
#include "DialogTestSupport.h"
#include "EditPanelsFixture.h"

#include "designer/windows/PictureButton.h"
#include "platform/text/Cp932.h"
#include "support/MergeCorpora.h"
#include "support/TextEncodings.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>

using namespace lx;
using lxtest::Reading;

namespace {

class MergeEncodingTest : public lxtest::EditPanelsTest {
protected:
    void SetUp() override
    {
        EditPanelsTest::SetUp();
        NewDesign();
        // The first merge text asks for the design's merge file.
        Write("a,b\r\n");
        messages.ChooseFileNext(FileDialogResult{path, 0});
        Click("BtnCsvSheet");
        ASSERT_EQ(Session().Document()->GetObjectCount(0), 1);
        ASSERT_TRUE(messages.Shown().empty());
        auto* column = Find<QComboBox>("CBCsvCol");
        QTest::keyClick(column, Qt::Key_Down);
        ASSERT_EQ(column->currentIndex(), 1);
    }

    template <typename T = QWidget>
    T* Find(const char* name)
    {
        return lxtest::Find<T>(FormDesign, name);
    }
    void Click(const char* name) { lxtest::Click(Find(name)); }

    // Written over and cut to size, which the file system does quickly.
    void Write(const std::string& bytes)
    {
        if (!std::filesystem::exists(path))
            std::ofstream(path, std::ios::binary) << "";
        std::fstream(path, std::ios::binary | std::ios::in | std::ios::out) << bytes;
        std::filesystem::resize_file(path, bytes.size());
    }

    // The file chosen through CSVファイルを変更, any question answered with
    // `answer`: the merge table's lines, or the message shown instead.
    Reading ChangeFile(const std::string& bytes, TextEncoding answer)
    {
        Write(bytes);
        messages.Clear();
        Reading reading;
        messages.OnMessage([&](const ScriptedMessages::Box& box) -> std::optional<MessageAnswer> {
            if (box.buttons != MessageButtons::YesNo)
                return std::nullopt;
            ++reading.questions;
            reading.shown.AsUtf8 = box.text;
            return answer == TextEncoding::Utf8 ? MessageAnswer::Yes : MessageAnswer::No;
        });
        messages.ChooseFileNext(FileDialogResult{path, 0});
        Click("PngBtnChangeCsvFile");
        messages.OnMessage(nullptr);
        for (const auto& box : messages.Shown())
            if (box.buttons == MessageButtons::Ok)
                return {box.text, reading.questions, reading.shown};
        for (const std::string& line : Session().MergeTable()->GetLines())
            reading.text += line + "\r\n";
        return reading;
    }

    lxtest::Reader ByClicks()
    {
        return [this](const std::string& bytes, TextEncoding answer) { return ChangeFile(bytes, answer); };
    }

    // The lines of the bound column's preview.
    QStringList Preview()
    {
        return Find<QPlainTextEdit>("MemoCSVContent")
            ->toPlainText()
            .split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    }

    const std::string path = temp.File("差込 データ.csv");
};

} // namespace

TEST_F(MergeEncodingTest, TheQuestionShowsBothReadingsAndTheFileIsReadAsAnswered)
{
    const std::string bytes = "1,2\r\n" + lxtest::Iconv("ﾂｰ,ﾎｱ", "CP932") + "\r\n";
    const Reading kana = ChangeFile(bytes, TextEncoding::Cp932);
    ASSERT_EQ(kana.questions, 1);
    EXPECT_EQ(kana.shown.AsUtf8,
              path +
                  "\nこのファイルは、シフトJISとしてもUTF-8としても読めます。\n\n2行目\nシフトJIS: "
                  "ﾂｰ,ﾎｱ\nUTF-8: °,α\n\nUTF-8として読み込みますか？\n"
                  "（「いいえ」でシフトJISとして読み込みます）");
    EXPECT_EQ(Preview(), (QStringList{QStringLiteral("1"), QStringLiteral("ﾂｰ")}));
    EXPECT_EQ(FormDesign->CBCsvCol->count(), 3);

    const Reading western = ChangeFile(bytes, TextEncoding::Utf8);
    ASSERT_EQ(western.questions, 1);
    EXPECT_EQ(Preview(), (QStringList{QStringLiteral("1"), QStringLiteral("°")}));
}

TEST_F(MergeEncodingTest, FilesTheirCharactersTellAreReadWithoutAQuestion)
{
    const std::pair<std::string, QString> files[] = {
        {lxtest::Iconv("ﾅｲﾄｳ ﾏｻﾄｼ,ﾐｶ\r\n", "CP932"), QStringLiteral("ﾅｲﾄｳ ﾏｻﾄｼ")},
        {lxtest::Iconv("窶拭,1\r\n", "CP932"), QStringLiteral("窶拭")},
        {"25°C,Θ\r\n", QStringLiteral("25°C")},
        {"あい,東京\r\n", QStringLiteral("あい")},
    };
    for (const auto& [bytes, shown] : files) {
        const Reading reading = ChangeFile(bytes, TextEncoding::Cp932);
        EXPECT_EQ(reading.questions, 0) << bytes;
        EXPECT_EQ(Preview(), QStringList{shown});
    }
    EXPECT_TRUE(messages.Shown().empty());
}

// Every few of the files valid both ways (the text file's and the merge
// table's own tests read every file; a click costs more).
TEST_F(MergeEncodingTest, CorporaChosenByClicksAreReadAsMeantOrAsAnswered)
{
    using lxtest::CheckCorpus;
    const std::vector<std::string> pairs = lxtest::HalfWidthKanaPairs();
    EXPECT_EQ(CheckCorpus(ByClicks(), pairs, "CP932", TextEncoding::Cp932, "kana pairs, by clicks", {1, false, 5}).utf8,
              0);
    std::vector<std::string> lines;
    for (const std::string& pair : pairs)
        for (const std::string& line : lxtest::LinesAround(pair))
            lines.push_back(line);
    EXPECT_EQ(CheckCorpus(ByClicks(), lines, "CP932", TextEncoding::Cp932, "kana pairs in lines, by clicks",
                          {lines.size() / pairs.size(), false, 5})
                  .utf8,
              0);
    const auto names = CheckCorpus(ByClicks(), lxtest::KanaNameAndAddressLines(), "CP932", TextEncoding::Cp932,
                                   "kana names and addresses, by clicks", {1, false, 2});
    EXPECT_EQ(names.asked + names.utf8, 0);
    EXPECT_EQ(CheckCorpus(ByClicks(), lxtest::WesternLines(), "UTF-8", TextEncoding::Utf8, "Western UTF-8, by clicks",
                          {1, false, 2})
                  .cp932,
              0);
    const auto japanese =
        CheckCorpus(ByClicks(), lxtest::JapaneseLines(), "UTF-8", TextEncoding::Utf8, "Japanese UTF-8, by clicks");
    EXPECT_EQ(japanese.asked + japanese.cp932, 0);
    const auto cp932 =
        CheckCorpus(ByClicks(), lxtest::JapaneseLines(), "CP932", TextEncoding::Cp932, "Japanese CP932, by clicks");
    EXPECT_EQ(cp932.asked + cp932.utf8, 0);
}

TEST_F(MergeEncodingTest, AFileOverTheLimitIsRefusedSayingSoAndTheTableStays)
{
    Write("kept,1\r\n");
    messages.ChooseFileNext(FileDialogResult{path, 0});
    Click("PngBtnChangeCsvFile");
    std::filesystem::resize_file(path, (64u << 20) + 1);
    messages.Clear();
    messages.ChooseFileNext(FileDialogResult{path, 0});
    Click("PngBtnChangeCsvFile");
    EXPECT_EQ(
        messages.Texts(),
        std::vector<std::string>{path + "\nファイルが大きすぎます。差込データとして読み込めるのは64MiBまでです。"});
    EXPECT_EQ(Session().MergeTable()->GetLines(), std::vector<std::string>{"kept,1"});
    EXPECT_EQ(Preview(), QStringList{QStringLiteral("kept")});
}
