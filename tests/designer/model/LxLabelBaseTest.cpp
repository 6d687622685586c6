#include "designer/model/LxLabelBase.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include "LabelTestSupport.h"

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

} // namespace

TEST(LabelObjectBase, DefaultsAndTheCommonPartOf51Bytes)
{
    MemoryStream stream;
    SampleObject().SaveCommonPart(stream);
    // The name, the four doubles of the box, then the flags.
    EXPECT_EQ(lxtest::Hex(stream.Bytes()),
              "0A 00 00 00 " + lxtest::Hex(Sjis("文字シート")) +
                  " 00 00 00 00 00 00 14 40 00 00 00 00 00 00 14 40"
                  " 00 00 00 00 00 00 F0 3F 00 00 00 00 00 00 F0 3F 01 01 00 00 00");
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
