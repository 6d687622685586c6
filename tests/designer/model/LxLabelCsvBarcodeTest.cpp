// The merge symbol objects: a fresh render for the current record at every
// request of the picture, what the record's cells send to the control,
// tables shared by clones, and their records.
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"

#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"
#include "SymbolTesting.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {

std::string InputOf(const lxtest::ControlCalls& calls)
{
    std::string input;
    for (const std::string& call : calls)
        if (call.starts_with("InputData="))
            input = call.substr(10);
    return input;
}

} // namespace

TEST(MergeSymbolObject, EveryRequestRendersTheCurrentRecord)
{
    const auto csv = lxtest::MakeCsv({"r0,x", ",x", "r2,x"});
    lxtest::ControlRecorder recorder;
    TLxLabelObjectCsvBarcode symbol(csv, 0);
    symbol.SetDataColumn(1);
    symbol.SetData("stored");
    const std::pair<std::int32_t, std::string> records[] = {
        {0, "r0"}, {2, "r2"}, {1, " "}, {-1, Sjis("列を選択してください")}};
    for (const auto& [record, input] : records) {
        SCOPED_TRACE(record);
        symbol.SetRecordIndex(record);
        recorder.Clear();
        EXPECT_FALSE(symbol.GetPicture().Empty());
        EXPECT_EQ(InputOf(recorder.Calls()), input);
    }
    EXPECT_EQ(symbol.GetData(), "stored"); // the cell went to the control directly

    // An unbound data column encodes the prompt.
    symbol.SetRecordIndex(0);
    symbol.SetDataColumn(0);
    recorder.Clear();
    symbol.GetPicture();
    EXPECT_EQ(InputOf(recorder.Calls()), Sjis("列を選択してください"));

    // At or beyond the end, and without any table, nothing is rendered.
    for (const std::shared_ptr<const TLxCSV>& table :
         {std::shared_ptr<const TLxCSV>(csv), std::shared_ptr<const TLxCSV>()}) {
        symbol.SetCSV(table);
        symbol.SetRecordIndex(3);
        recorder.Clear();
        EXPECT_TRUE(symbol.GetPicture().Empty());
        EXPECT_TRUE(recorder.Calls().empty());
    }
}

TEST(MergeSymbolObject, MobileQrTextsComeFromTheirColumns)
{
    const auto csv = lxtest::MakeCsv({"a,b,c", "Taro,Tokyo,x"});
    lxtest::ControlRecorder recorder;
    TLxLabelObjectCsvQRCarry qr(csv, 1);
    qr.SetPersonNameColumn(1);
    qr.SetAddressColumn(2);
    recorder.Clear();
    EXPECT_FALSE(qr.GetPicture().Empty());
    const std::string p = Sjis("列を選択してください");
    EXPECT_EQ(InputOf(recorder.Calls()),
              "MECARD:N:Taro;SOUND:" + p + ";TEL:" + p + ";TEL-AV:" + p + ";EMAIL:" + p + ";NOTE:" + p + ";BDAY:" + p +
                  ";ADR:Tokyo;URL:" + p + ";NICKNAME:" + p + ";;");
    EXPECT_EQ(qr.GetAddress(), "Tokyo"); // the texts are overwritten
    qr.SetRecordIndex(2);
    EXPECT_TRUE(qr.GetPicture().Empty());
}

TEST(MergeSymbolObject, ClonesShareTheTableAndCarryEveryBinding)
{
    const auto csv = lxtest::MakeCsv({"a", "b"});
    TLxLabelObjectCsvBarcode symbol(csv, 1);
    symbol.SetDataColumn(1);
    symbol.SetZipColumn(2);
    symbol.SetAddressColumn(3);
    symbol.SetModel(2);
    const auto clone = symbol.CloneForRecord(5);
    const auto& copy = dynamic_cast<const TLxLabelObjectCsvBarcode&>(*clone);
    EXPECT_EQ(copy.GetCSV(), csv.get());
    EXPECT_EQ(copy.GetBinding(), (CsvBarcodeBinding{5, 1, 2, 3}));
    EXPECT_EQ(copy.GetModel(), 2);
    // The picture is the source's, rendered for the source's record.
    EXPECT_EQ(lxtest::PictureBitmap(copy.GetRenderedPicture()), lxtest::PictureBitmap(symbol.GetRenderedPicture()));

    TLxLabelObjectCsvQRCarry qr(csv, 0);
    for (int text = 0; text < kQRCarryTextCount; ++text)
        qr.SetColumn(static_cast<QRCarryText>(text), 20 + text);
    qr.SetCarrier(1);
    const auto qrClone = qr.Clone();
    const auto& qrCopy = dynamic_cast<const TLxLabelObjectCsvQRCarry&>(*qrClone);
    EXPECT_EQ(qrCopy.GetBinding(), qr.GetBinding());
    EXPECT_EQ(qrCopy.GetCarrier(), 1);
    EXPECT_EQ(qrCopy.GetCSV(), csv.get());
    EXPECT_EQ(dynamic_cast<const TLxLabelObjectCsvQRCarry&>(*qr.CloneForRecord(5)).GetRecordIndex(), 5);
}

TEST(MergeSymbolObject, ACloneKeepsTheTableAliveAfterEveryOtherHolderLetGo)
{
    lxtest::ControlRecorder recorder;
    auto csv = lxtest::MakeCsv({"KEPT"});
    auto symbol = std::make_unique<TLxLabelObjectCsvBarcode>(csv, 0);
    symbol->SetDataColumn(1);
    const auto clone = symbol->Clone();
    csv.reset();
    symbol.reset();
    recorder.Clear();
    EXPECT_FALSE(dynamic_cast<TLxLabelObjectCsvBarcode&>(*clone).GetPicture().Empty());
    EXPECT_EQ(InputOf(recorder.Calls()), "KEPT");
}

TEST(MergeSymbolObject, OwnPartsAfterTheParentsPart)
{
    const auto csv = lxtest::MakeCsv({"a"});
    TLxLabelObjectCsvBarcode symbol(csv, 7);
    symbol.SetDataColumn(1);
    symbol.SetZipColumn(-2);
    symbol.SetAddressColumn(300);
    const std::string parent = lxtest::OwnPart<TLxLabelObjectBarcode>(symbol);
    const std::string record = lxtest::SavedBytes(symbol);
    EXPECT_EQ(lxtest::Hex(record.substr(record.size() - 16)), "07 00 00 00 01 00 00 00 FE FF FF FF 2C 01 00 00");
    EXPECT_EQ(record.substr(record.size() - 16 - parent.size(), parent.size()), parent);
    MemoryStream stream(record);
    TLxLabelObjectCsvBarcode loaded(csv, -1);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.GetBinding(), symbol.GetBinding());
    EXPECT_EQ(lxtest::SavedBytes(loaded), record);

    TLxLabelObjectCsvQRCarry qr(csv, 3);
    qr.SetContentsColumn(9);
    const std::string qrRecord = lxtest::SavedBytes(qr);
    const std::string qrParent = lxtest::OwnPart<TLxLabelObjectQRCarry>(qr);
    EXPECT_EQ(qrRecord.size(), qrRecord.find(qrParent) + qrParent.size() + 72);
    EXPECT_EQ(lxtest::Hex(qrRecord.substr(qrRecord.size() - 8)), "00 00 00 00 09 00 00 00");
    MemoryStream qrStream(qrRecord);
    TLxLabelObjectCsvQRCarry qrLoaded(csv, -1);
    qrLoaded.LoadFromStream(qrStream);
    EXPECT_EQ(qrLoaded.GetBinding(), qr.GetBinding());
    for (std::size_t cut : {record.size() - 1, record.size() - 15}) {
        MemoryStream shortStream(record.substr(0, cut));
        EXPECT_THROW(loaded.LoadFromStream(shortStream), ReadError);
    }
}

// A drawing for another record renders that record's row and leaves the
// object as it was: its record, stored data, postal texts and picture.
TEST(MergeSymbolObject, APictureForARecordLeavesTheObjectAsItIs)
{
    const auto csv = lxtest::MakeCsv({"r0,100-0001,Tokyo", "r1,530-0001,Osaka"});
    lxtest::ControlRecorder recorder;
    TLxLabelObjectCsvBarcode symbol(csv, 0);
    symbol.SetDataColumn(1);
    symbol.SetZipColumn(2);
    symbol.SetAddressColumn(3);
    symbol.GetPicture();
    const std::string before = lxtest::SavedBytes(symbol);
    recorder.Clear();
    const Picture second = symbol.PictureFor(1);
    EXPECT_FALSE(second.Empty());
    EXPECT_EQ(InputOf(recorder.Calls()), "r1");
    EXPECT_EQ(lxtest::SavedBytes(symbol), before);
    EXPECT_EQ(symbol.GetRecordIndex(), 0);
    // The same picture as making record 1 the object's own.
    symbol.SetRecordIndex(1);
    EXPECT_EQ(lxtest::PictureBitmap(second), lxtest::PictureBitmap(symbol.GetPicture()));
    recorder.Clear();
    EXPECT_TRUE(symbol.PictureFor(2).Empty());
    EXPECT_TRUE(recorder.Calls().empty());

    // The postal kind takes the record's postal code and address.
    symbol.SetSymbolKind(SymbolPostal);
    symbol.SetRecordIndex(0);
    symbol.GetPicture();
    const std::string postal = lxtest::SavedBytes(symbol);
    EXPECT_EQ(lxtest::PictureBitmap(symbol.PictureFor(1)), lxtest::PictureBitmap(Picture([] {
                  Picture p;
                  p.SetBitmap(DrawPostalBarcode("530-0001", "Osaka"));
                  return p;
              }())));
    EXPECT_EQ(lxtest::SavedBytes(symbol), postal);
    EXPECT_EQ(symbol.GetZipCode(), "100-0001");

    TLxLabelObjectCsvQRCarry qr(csv, 0);
    qr.SetPersonNameColumn(1);
    qr.GetPicture();
    const std::string qrBefore = lxtest::SavedBytes(qr);
    recorder.Clear();
    EXPECT_FALSE(qr.PictureFor(1).Empty());
    EXPECT_EQ(InputOf(recorder.Calls()).substr(0, 12), "MECARD:N:r1;");
    EXPECT_EQ(lxtest::SavedBytes(qr), qrBefore);
    EXPECT_EQ(qr.GetPersonName(), "r0");
    EXPECT_TRUE(qr.PictureFor(2).Empty());
}
