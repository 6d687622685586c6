#include "designer/model/LxLabelQRCarry.h"

#include "designer/model/UnitCommon.h"

namespace lx {

namespace {

constexpr int kRenderAttempts = 4;
constexpr const char* kLineEnd = "\r\n";

std::string WithoutLineBreaks(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string MecardPhoneBook(const QRCarryFields& f)
{
    const std::pair<const char*, QRCarryText> pairs[] = {
        {"N:", TextPersonName}, {"SOUND:", TextKana},     {"TEL:", TextTel1},   {"TEL-AV:", TextTel2},
        {"EMAIL:", TextMail1},  {"NOTE:", TextMemo},      {"BDAY:", TextMail3}, {"ADR:", TextAddress},
        {"URL:", TextUrl},      {"NICKNAME:", TextMail2},
    };
    std::string payload = "MECARD:";
    for (const auto& [label, text] : pairs)
        payload += label + f.Texts[text] + ";";
    return payload + ";";
}

std::string MemoryPhoneBook(const QRCarryFields& f)
{
    std::string payload = "MEMORY:" + f.Texts[TextMemo] + kLineEnd + "NAME1:" + f.Texts[TextPersonName] + kLineEnd +
        "NAME2:" + f.Texts[TextKana] + kLineEnd;
    const std::pair<const char*, QRCarryText> optional[] = {
        {"MAIL1:", TextMail1}, {"MAIL2:", TextMail2}, {"MAIL3:", TextMail3},
        {"TEL1:", TextTel1},   {"TEL2:", TextTel2},   {"TEL3:", TextTel3},
    };
    for (const auto& [label, text] : optional)
        if (!f.Texts[text].empty())
            payload += label + f.Texts[text] + kLineEnd;
    return payload;
}

} // namespace

std::string BuildMecardPayload(const QRCarryFields& f)
{
    switch (f.CreateType) {
    case 0: return MecardPhoneBook(f);
    case 1: return "MEBKM:TITLE:" + f.Texts[TextSiteName] + ";URL:" + f.Texts[TextSiteUrl] + ";;";
    case 2:
        return "MATMSG:TO:" + f.Texts[TextToMail] + ";SUB:" + f.Texts[TextSubject] + ";BODY:" + f.Texts[TextBody] +
            ";;";
    default: return f.Texts[TextContents];
    }
}

std::string BuildMemoryPayload(const QRCarryFields& f)
{
    switch (f.CreateType) {
    case 0: return MemoryPhoneBook(f);
    case 1:
        return "MAILTO:" + f.Texts[TextToMail] + kLineEnd + "BODY:" + WithoutLineBreaks(f.Texts[TextBody]) + kLineEnd +
            "SUBJECT:" + f.Texts[TextSubject] + kLineEnd;
    case 2: return f.Texts[TextContents];
    default: return " ";
    }
}

std::string BuildCarrier2Payload(const QRCarryFields& fields) { return BuildMemoryPayload(fields); }

std::string BuildCarrierPayload(const QRCarryFields& fields)
{
    std::string payload;
    switch (fields.Carrier) {
    case kCarrierMecard: payload = BuildMecardPayload(fields); break;
    case kCarrierMemory: payload = BuildMemoryPayload(fields); break;
    case kCarrier2: payload = BuildCarrier2Payload(fields); break;
    default: break;
    }
    return payload.empty() ? std::string(" ") : payload;
}

void WriteQRCarryOwnPart(const QRCarryFields& fields, const Picture& picture, Stream& stream)
{
    stream.WriteInt32(fields.Carrier);
    stream.WriteInt32(fields.CreateType);
    for (const std::string& text : fields.Texts)
        WriteStreamString(text, stream);
    WriteStreamPicture(picture, stream);
}

void ReadQRCarryOwnPart(Stream& stream, QRCarryFields& fields, Picture& picture)
{
    fields.Carrier = stream.ReadInt32();
    fields.CreateType = stream.ReadInt32();
    for (std::string& text : fields.Texts)
        ReadStreamString(stream, text);
    ReadStreamPicture(picture, stream);
}

// ---- the object

TLxLabelObjectQRCarry::TLxLabelObjectQRCarry() : TLxLabelObjectQRCarry(KindQRCarry) {}

TLxLabelObjectQRCarry::TLxLabelObjectQRCarry(std::uint8_t kind)
    : TLxLableObjectBase(kind), control_(std::make_unique<TMatrixelPro>())
{
    ClearPicture();
    control_->SetAutoRedraw(0);
    UpdateSymbol();
}

TLxLabelObjectQRCarry::~TLxLabelObjectQRCarry() = default;

void TLxLabelObjectQRCarry::ClearPicture() { picture_.SetBitmap(Bitmap()); }

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectQRCarry::Clone() const
{
    auto copy = std::make_unique<TLxLabelObjectQRCarry>();
    copy->SetFields(fields_);
    copy->SetPicture(picture_);
    copy->AssignCommonPart(*this);
    return copy;
}

void TLxLabelObjectQRCarry::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
}

void TLxLabelObjectQRCarry::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
}

void TLxLabelObjectQRCarry::SaveOwnPart(Stream& stream) const { WriteQRCarryOwnPart(fields_, picture_, stream); }

void TLxLabelObjectQRCarry::LoadOwnPart(Stream& stream) { ReadQRCarryOwnPart(stream, fields_, picture_); }

void TLxLabelObjectQRCarry::UpdateSymbol() { RenderSymbol(BuildCarrierPayload()); }

void TLxLabelObjectQRCarry::RenderSymbol(const std::string& payload) { picture_ = PayloadPicture(payload); }

Picture TLxLabelObjectQRCarry::PayloadPicture(const std::string& payload) const
{
    Picture picture;
    for (int attempt = 0; attempt < kRenderAttempts; ++attempt) {
        try {
            control_->SetEccLevel(1);
            control_->SetModelNo(2);
            control_->SetCodeType(0);
            control_->SetInputData(payload);
            control_->Refresh();
            Bitmap work;
            CopySymbolThroughClipboard(*control_, picture, work);
            return picture;
        } catch (const std::exception&) {
            picture.SetBitmap(Bitmap());
        }
    }
    return picture;
}

} // namespace lx
