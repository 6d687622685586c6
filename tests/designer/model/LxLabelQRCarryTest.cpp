// The mobile QR object: the payloads of every carrier and create type, what
// it sends the control, its four attempts, its record and its clones.
#include "designer/model/LxLabelQRCarry.h"

#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"
#include "SymbolTesting.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {

QRCarryFields Fields(std::int32_t carrier, std::int32_t createType,
                     std::initializer_list<std::pair<QRCarryText, const char*>> texts)
{
    QRCarryFields fields;
    fields.Carrier = carrier;
    fields.CreateType = createType;
    for (const auto& [which, text] : texts)
        fields.Texts[which] = text;
    return fields;
}

} // namespace

TEST(MobileQrPayload, EveryCarrierAndCreateType)
{
    struct Case {
        QRCarryFields fields;
        std::string payload;
    };
    const Case cases[] = {
        {Fields(0, 0, {}), "MECARD:N:;SOUND:;TEL:;TEL-AV:;EMAIL:;NOTE:;BDAY:;ADR:;URL:;NICKNAME:;;"},
        {Fields(0, 0, {{TextPersonName, "A;B"}, {TextMail2, "nick"}, {TextMail3, "19700101"}, {TextTel3, "3"}}),
         "MECARD:N:A;B;SOUND:;TEL:;TEL-AV:;EMAIL:;NOTE:;BDAY:19700101;ADR:;URL:;NICKNAME:nick;;"},
        {Fields(0, 1, {{TextSiteName, "ABC"}, {TextSiteUrl, "xyz"}, {TextUrl, "u"}}), "MEBKM:TITLE:ABC;URL:xyz;;"},
        {Fields(0, 2, {{TextToMail, "t"}, {TextSubject, "s"}, {TextBody, "l1\r\nl2"}}),
         "MATMSG:TO:t;SUB:s;BODY:l1\r\nl2;;"},
        {Fields(0, 3, {{TextContents, "free"}}), "free"},
        {Fields(0, 3, {}), " "},
        {Fields(0, 9, {{TextContents, "free"}}), "free"},
        {Fields(1, 0, {{TextMemo, "M"}, {TextPersonName, "N"}, {TextKana, "K"}, {TextTel2, "5"}}),
         "MEMORY:M\r\nNAME1:N\r\nNAME2:K\r\nTEL2:5\r\n"},
        {Fields(1, 0, {{TextMail1, "a"}, {TextMail3, "c"}, {TextTel1, "1"}, {TextTel3, "3"}}),
         "MEMORY:\r\nNAME1:\r\nNAME2:\r\nMAIL1:a\r\nMAIL3:c\r\nTEL1:1\r\nTEL3:3\r\n"},
        {Fields(1, 1, {{TextToMail, "t"}, {TextSubject, "s"}, {TextBody, "l1\r\nl2"}}),
         "MAILTO:t\r\nBODY:l1l2\r\nSUBJECT:s\r\n"},
        {Fields(1, 2, {{TextContents, "free"}}), "free"},
        {Fields(1, 3, {{TextContents, "free"}}), " "},
        {Fields(5, 0, {{TextContents, "free"}}), " "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.payload);
        EXPECT_EQ(BuildCarrierPayload(c.fields), c.payload);
    }
    // Carrier 2 is carrier 1's format for every create type.
    for (std::int32_t type = 0; type < 5; ++type) {
        QRCarryFields fields = Fields(1, type, {{TextMemo, "m"}, {TextToMail, "t"}, {TextContents, "c"}});
        const std::string memory = BuildCarrierPayload(fields);
        fields.Carrier = 2;
        EXPECT_EQ(BuildCarrierPayload(fields), memory);
    }
}

TEST(MobileQrObject, NewObjectRendersTheEmptyPhoneBook)
{
    lxtest::ControlRecorder recorder;
    const TLxLabelObjectQRCarry qr;
    const lxtest::ControlCalls expected = {
        "AutoRedraw=0",
        "EccLevel=1",
        "ModelNo=2",
        "CodeType=0",
        "InputData=MECARD:N:;SOUND:;TEL:;TEL-AV:;EMAIL:;NOTE:;BDAY:;ADR:;URL:;NICKNAME:;;",
        "Refresh",
        "QrImageCopy(1)"};
    EXPECT_EQ(recorder.Calls(), expected); // no ChkDigit
    EXPECT_FALSE(qr.GetRenderedPicture().Empty());
}

TEST(MobileQrObject, TriesFourTimesThenLeavesAnEmptyPicture)
{
    lxtest::ControlRecorder recorder;
    TLxLabelObjectQRCarry qr;
    qr.SetCarrier(1);
    qr.SetCreateType(2);
    qr.SetContents("hello");

    recorder.Clear();
    recorder.FailNext("QrImageCopy", 2);
    qr.UpdateSymbol();
    EXPECT_EQ(std::count(recorder.Calls().begin(), recorder.Calls().end(), "QrImageCopy(1)"), 3);
    EXPECT_EQ(std::count(recorder.Calls().begin(), recorder.Calls().end(), "ModelNo=2"), 3);
    EXPECT_FALSE(qr.GetRenderedPicture().Empty());

    recorder.Clear();
    recorder.FailNext("Refresh", 4);
    qr.UpdateSymbol();
    EXPECT_EQ(std::count(recorder.Calls().begin(), recorder.Calls().end(), "Refresh"), 4);
    EXPECT_TRUE(qr.GetRenderedPicture().Empty());

    // More than any QR version holds fails every attempt.
    qr.SetContents(std::string(8000, '7'));
    recorder.Clear();
    qr.UpdateSymbol();
    EXPECT_EQ(std::count(recorder.Calls().begin(), recorder.Calls().end(), "QrImageCopy(1)"), 4);
    EXPECT_TRUE(qr.GetRenderedPicture().Empty());
}

TEST(MobileQrObject, RecordAndClone)
{
    MemoryStream empty;
    WriteQRCarryOwnPart(QRCarryFields{}, Picture(), empty);
    EXPECT_EQ(empty.Size(), 76u + 4u); // two int32, seventeen empty strings, an empty picture

    TLxLabelObjectQRCarry qr;
    for (int text = 0; text < kQRCarryTextCount; ++text)
        qr.SetText(static_cast<QRCarryText>(text), Sjis("テキスト") + std::to_string(text));
    qr.SetCarrier(2);
    qr.SetCreateType(1);
    qr.SetNotPrint(1);
    lxtest::ExpectRoundTrips(qr);
    lxtest::ExpectCloneRendersOnceOnItsOwnControl(qr);
}
