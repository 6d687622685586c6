#include "platform/fonts/FaceList.h"
#include "platform/fonts/FontEngine.h"
#include "platform/text/Cp932.h"

#include <QFont>
#include <QFontInfo>
#include <gtest/gtest.h>

#include <algorithm>

using namespace lx;

namespace {

bool Listed(const std::string& entry)
{
    const auto& list = TrueTypeFaceList();
    return std::find(list.begin(), list.end(), entry) != list.end();
}

} // namespace

// Qt sees the shipped aliases too.
TEST(Font, SystemFaceNamesMapToTheInstalledMetricFaces)
{
    struct Case {
        const char* face;
        const char* family;
    };
    for (const Case& c :
         {Case{"ＭＳ ゴシック", "IPAGothic"}, Case{"ＭＳ Ｐゴシック", "IPAPGothic"}, Case{"ＭＳ 明朝", "IPAMincho"},
          Case{"ＭＳ Ｐ明朝", "IPAPMincho"}, Case{"Arial", "Liberation Sans"}}) {
        EXPECT_EQ(ResolvedFamily(c.face), c.family) << c.face;
        EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8(c.face))).family().toStdString(), c.family) << c.face;
    }
}

TEST(Font, FaceListIsSortedWithoutCaseAndHasVerticalTwins)
{
    const auto& list = TrueTypeFaceList();
    ASSERT_FALSE(list.empty());
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_TRUE(FaceNameLess(list[i - 1], list[i])) << list[i - 1] << " / " << list[i];
    for (const char* entry : {"ＭＳ ゴシック:128", "@ＭＳ ゴシック:128", "ＭＳ Ｐ明朝:128", "@ＭＳ Ｐ明朝:128"})
        EXPECT_TRUE(Listed(Sjis(entry))) << entry;
    EXPECT_TRUE(Listed("Arial:0"));
    EXPECT_TRUE(Listed("Liberation Sans:0"));
    EXPECT_FALSE(Listed("@Liberation Sans:0"));
    EXPECT_TRUE(Listed(Sjis("IPAゴシック:128")));
    for (const std::string& entry : list)
        EXPECT_LE(entry.find(':'), 32u) << entry;
}

TEST(Font, NamesCompareWithoutCaseOnlyForSingleBytes)
{
    EXPECT_FALSE(FaceNameLess("arial", "ARIAL"));
    EXPECT_FALSE(FaceNameLess("ARIAL", "arial"));
    EXPECT_TRUE(FaceNameLess("abc", "ABD"));
    // 0x83 0x61 and 0x83 0x41 are different characters, not a case pair.
    EXPECT_TRUE(FaceNameLess("\x83\x41", "\x83\x61"));
}
