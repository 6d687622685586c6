#include "designer/model/LxLabelBase.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {

// The smallest object a kind class can be: a font and a picture of its own,
// stored through the forwarders after the common part.
class SampleObject : public TLxLableObjectBase {
public:
    explicit SampleObject(std::uint8_t kind = KindString) : TLxLableObjectBase(kind) {}

    std::unique_ptr<TLxLableObjectBase> Clone() const override
    {
        auto copy = std::make_unique<SampleObject>();
        copy->font = font;
        copy->picture = picture;
        copy->AssignCommonPart(*this);
        return copy;
    }
    void SaveToStream(Stream& stream) const override
    {
        SaveCommonPart(stream);
        WriteFont(font, stream);
        WriteFont2(font, stream);
        WritePicture(picture, stream);
        WriteString("end", stream);
    }
    void LoadFromStream(Stream& stream) override
    {
        LoadCommonPart(stream);
        ReadFont(font, stream);
        ReadFont2(font, stream);
        ReadPicture(picture, stream);
        ReadString(stream, tail);
    }

    FontValue font;
    Picture picture;
    std::string tail;
};

class BaseDefaults : public TLxLableObjectBase {
public:
    std::unique_ptr<TLxLableObjectBase> Clone() const override { return nullptr; }
    void SaveToStream(Stream&) const override {}
    void LoadFromStream(Stream&) override {}
};

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

} // namespace

TEST(LabelObjectKinds, TableGivesDefaultNamesAndRecordBinding)
{
    const char* names[] = {"文字シート",     "図形シート",     "画像シート",           "QRコードシート",
                           "携帯QRシート",   "差込文字シート", "差込バーコードシート", "差込携帯QRシート",
                           "連番シート",     "格子模様シート", "特殊文字シート"};
    for (int kind = 0; kind < kLabelObjectKindCount; ++kind) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(DefaultObjectName(std::uint8_t(kind)), Sjis(names[kind]));
        EXPECT_EQ(IsRecordBoundKind(std::uint8_t(kind)), kind >= 5 && kind <= 8);
        EXPECT_EQ(IsMergeKind(std::uint8_t(kind)), kind >= 5 && kind <= 7);
        ASSERT_NE(FindLabelObjectKind(std::uint8_t(kind)), nullptr);
    }
    EXPECT_EQ(FindLabelObjectKind(KindGrid)->className, "TLxLabelObjectGrid");
    EXPECT_EQ(FindLabelObjectKind(11), nullptr);
    EXPECT_EQ(DefaultObjectName(200), Sjis("デフォルトシート名"));
    EXPECT_FALSE(IsRecordBoundKind(200));
}

TEST(LabelObjectBase, DefaultsAndTheCommonPartOf51Bytes)
{
    EXPECT_EQ(BaseDefaults().GetName(), Sjis("デフォルトシート名"));
    const SampleObject object;
    EXPECT_EQ(object.GetName(), Sjis("文字シート"));
    EXPECT_EQ(object.GetLeft(), 1.0);
    EXPECT_EQ(object.GetTop(), 1.0);
    EXPECT_EQ(object.GetWidth(), 5.0);
    EXPECT_EQ(object.GetHeight(), 5.0);
    EXPECT_EQ(object.GetCanDisplay(), 1);
    EXPECT_EQ(object.GetCanMove(), 1);
    EXPECT_EQ(object.GetNotPrint(), 0);
    EXPECT_EQ(object.GetSelected(), 0);

    MemoryStream stream;
    object.SaveCommonPart(stream);
    ASSERT_EQ(stream.Size(), 51u);
    EXPECT_EQ(Hex(stream.Bytes()), "0A000000" + Hex(Sjis("文字シート")) +
                                       "0000000000001440" "0000000000001440"
                                       "000000000000F03F" "000000000000F03F"
                                       "0101000000");
}

TEST(LabelObjectBase, LoadKeepsTheKindInsideTheRecord)
{
    SampleObject grid(KindGrid);
    grid.SetName("g");
    grid.SetLeft(12.5);
    grid.SetTop(-3);
    grid.SetWidth(40.25);
    grid.SetHeight(0.2);
    grid.SetCanDisplay(0);
    grid.SetCanMove(0);
    grid.SetNotPrint(1);
    grid.SetSelected(1);
    MemoryStream stream;
    grid.SaveToStream(stream);

    stream.Seek(0);
    SampleObject text(KindString); // the outer kind byte chose another class
    text.LoadFromStream(stream);
    EXPECT_EQ(text.GetKind(), KindGrid);
    EXPECT_EQ(text.tail, "end");
    EXPECT_EQ(stream.Remaining(), 0u);
    MemoryStream again;
    text.SaveToStream(again);
    EXPECT_EQ(again.Bytes(), stream.Bytes()); // every field came back
}

TEST(LabelObjectBase, CloneCopiesTheCommonPartAndOwnFields)
{
    SampleObject source(KindImage);
    source.SetNotPrint(1);
    source.SetSelected(1);
    source.SetLeft(7);
    source.font.Style = kFontItalic;
    source.picture.SetBitmap(Bitmap(2, 2));
    const auto clone = source.Clone();
    const auto& copy = dynamic_cast<const SampleObject&>(*clone);
    EXPECT_EQ(copy.GetNotPrint(), 1);
    EXPECT_EQ(copy.GetSelected(), 1);
    EXPECT_EQ(copy.GetKind(), KindImage);
    EXPECT_EQ(copy.GetName(), Sjis("画像シート"));
    EXPECT_EQ(copy.GetLeft(), 7.0);
    EXPECT_EQ(copy.font.Style, kFontItalic);
    EXPECT_EQ(copy.picture.Width(), 2);
    EXPECT_NE(copy.picture.GetGraphic(), source.picture.GetGraphic());
}

TEST(LabelObjectBase, CloneForRecordIsAnErrorForKindsWithoutIt)
{
    try {
        SampleObject(KindFigure).CloneForRecord(3);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("種類 1"), std::string::npos);
    }
}

TEST(LabelObjectBase, ACutRecordIsAReadErrorAndKeepsWhatWasRead)
{
    SampleObject source;
    source.SetName("abc");
    MemoryStream full;
    source.SaveCommonPart(full);
    ASSERT_EQ(full.Size(), 44u);
    for (std::size_t cut : {0u, 3u, 6u, 7u, 20u, 42u}) { // 42: all but the kind and selection bytes
        SCOPED_TRACE(cut);
        MemoryStream stream(full.Bytes().substr(0, cut));
        SampleObject target(KindGrid);
        EXPECT_THROW(target.LoadCommonPart(stream), ReadError);
        EXPECT_EQ(target.GetName(), cut >= 7 ? "abc" : Sjis("格子模様シート"));
        EXPECT_EQ(target.GetKind(), KindGrid);
    }
}
