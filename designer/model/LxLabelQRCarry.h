#pragma once
// The mobile QR object (kind 4): up to seventeen texts joined into the
// payload of a phone carrier's format (a phone-book entry, a bookmark, a
// mail or plain text) and encoded by the object's own control as a QR Code
// Model 2 at level M, through the same clipboard road as the symbol object.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "designer/model/LxLabelBase.h"
#include "designer/model/MatrixelPro.h"
#include "platform/image/Bitmap.h"
#include "platform/image/Picture.h"

namespace lx {

// The seventeen texts, in record order (and the order of the merge object's
// columns).
enum QRCarryText : int {
    TextPersonName,
    TextKana,
    TextTel1,
    TextTel2,
    TextTel3,
    TextMail1,
    TextMail2,
    TextMail3,
    TextMemo,
    TextAddress,
    TextUrl,
    TextSiteName,
    TextSiteUrl,
    TextToMail,
    TextSubject,
    TextBody,
    TextContents,
    kQRCarryTextCount
};

// Carriers: 0 the MECARD family ("ドコモ"), 1 "SoftBank/au", 2 the same
// format as 1.
inline constexpr std::int32_t kCarrierMecard = 0;
inline constexpr std::int32_t kCarrierMemory = 1;
inline constexpr std::int32_t kCarrier2 = 2;

// What a mobile QR object stores besides its picture.
struct QRCarryFields {
    std::int32_t Carrier = 0;
    std::int32_t CreateType = 0; // the editor's page index among the pages the carrier shows
    std::array<std::string, kQRCarryTextCount> Texts; // CP932

    friend bool operator==(const QRCarryFields&, const QRCarryFields&) = default;
};

// The payload builders. None escapes anything: ";", ":" and line breaks go
// in as they stand.
// Carrier 0: MECARD (type 0), MEBKM (1), MATMSG (2), Contents (any other).
std::string BuildMecardPayload(const QRCarryFields& fields);
// Carriers 1 and 2: the MEMORY phone book (0), a mail (1), Contents (2),
// " " (any other); every line ends with CR LF.
std::string BuildMemoryPayload(const QRCarryFields& fields);
std::string BuildCarrier2Payload(const QRCarryFields& fields);
// The carrier's builder; " " for an empty result or an unknown carrier.
std::string BuildCarrierPayload(const QRCarryFields& fields);

// Carrier, CreateType, the seventeen texts and the picture. On a ReadError
// the fields read before it keep their new values.
void WriteQRCarryOwnPart(const QRCarryFields& fields, const Picture& picture, Stream& stream);
void ReadQRCarryOwnPart(Stream& stream, QRCarryFields& fields, Picture& picture);

class TLxLabelObjectQRCarry : public TLxLableObjectBase {
public:
    // Name "携帯QRシート", kind 4, every field 0 or empty, an own control with
    // AutoRedraw off, and the symbol of the empty phone book rendered at
    // once. Throws Error when the control cannot be created.
    TLxLabelObjectQRCarry();
    ~TLxLabelObjectQRCarry() override;

    std::optional<std::uint8_t> ClassKind() const override { return KindQRCarry; }

    // Made by the constructor (rendering once), then the fields and the
    // source's picture; not rendered again.
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;
    void SaveOwnPart(Stream& stream) const;
    void LoadOwnPart(Stream& stream);

    // Builds the payload and renders it.
    void UpdateSymbol();
    std::string BuildCarrierPayload() const { return lx::BuildCarrierPayload(fields_); }
    std::string BuildMecardPayload() const { return lx::BuildMecardPayload(fields_); }
    std::string BuildMemoryPayload() const { return lx::BuildMemoryPayload(fields_); }
    std::string BuildCarrier2Payload() const { return lx::BuildCarrier2Payload(fields_); }
    // Encodes the payload as a QR Code Model 2, level M; up to four attempts,
    // an empty bitmap after the fourth failure, no message.
    void RenderSymbol(const std::string& payload);

    // The picture to draw; the merge object renders it for its record first.
    virtual Picture& GetPicture() { return picture_; }
    // The picture drawn for a record: the object's own; the merge object
    // renders the record's row, leaving the object as it is.
    virtual Picture PictureFor(std::int32_t /*recordIndex*/) const { return picture_; }
    const Picture& GetRenderedPicture() const { return picture_; }
    void SetPicture(const Picture& picture) { picture_ = picture; }

    const QRCarryFields& GetFields() const { return fields_; }
    void SetFields(const QRCarryFields& fields) { fields_ = fields; }
    const std::string& GetText(QRCarryText which) const { return fields_.Texts[which]; }
    void SetText(QRCarryText which, std::string text) { fields_.Texts[which] = std::move(text); }

    std::int32_t GetCarrier() const { return fields_.Carrier; }
    void SetCarrier(std::int32_t value) { fields_.Carrier = value; }
    std::int32_t GetCreateType() const { return fields_.CreateType; }
    void SetCreateType(std::int32_t value) { fields_.CreateType = value; }
    const std::string& GetPersonName() const { return GetText(TextPersonName); }
    void SetPersonName(std::string v) { SetText(TextPersonName, std::move(v)); }
    const std::string& GetKana() const { return GetText(TextKana); }
    void SetKana(std::string v) { SetText(TextKana, std::move(v)); }
    const std::string& GetTel1() const { return GetText(TextTel1); }
    void SetTel1(std::string v) { SetText(TextTel1, std::move(v)); }
    const std::string& GetTel2() const { return GetText(TextTel2); }
    void SetTel2(std::string v) { SetText(TextTel2, std::move(v)); }
    const std::string& GetTel3() const { return GetText(TextTel3); }
    void SetTel3(std::string v) { SetText(TextTel3, std::move(v)); }
    const std::string& GetMail1() const { return GetText(TextMail1); }
    void SetMail1(std::string v) { SetText(TextMail1, std::move(v)); }
    const std::string& GetMail2() const { return GetText(TextMail2); }
    void SetMail2(std::string v) { SetText(TextMail2, std::move(v)); }
    const std::string& GetMail3() const { return GetText(TextMail3); }
    void SetMail3(std::string v) { SetText(TextMail3, std::move(v)); }
    const std::string& GetMemo() const { return GetText(TextMemo); }
    void SetMemo(std::string v) { SetText(TextMemo, std::move(v)); }
    const std::string& GetAddress() const { return GetText(TextAddress); }
    void SetAddress(std::string v) { SetText(TextAddress, std::move(v)); }
    const std::string& GetUrl() const { return GetText(TextUrl); }
    void SetUrl(std::string v) { SetText(TextUrl, std::move(v)); }
    const std::string& GetSiteName() const { return GetText(TextSiteName); }
    void SetSiteName(std::string v) { SetText(TextSiteName, std::move(v)); }
    const std::string& GetSiteUrl() const { return GetText(TextSiteUrl); }
    void SetSiteUrl(std::string v) { SetText(TextSiteUrl, std::move(v)); }
    const std::string& GetToMail() const { return GetText(TextToMail); }
    void SetToMail(std::string v) { SetText(TextToMail, std::move(v)); }
    const std::string& GetSubject() const { return GetText(TextSubject); }
    void SetSubject(std::string v) { SetText(TextSubject, std::move(v)); }
    const std::string& GetBody() const { return GetText(TextBody); }
    void SetBody(std::string v) { SetText(TextBody, std::move(v)); }
    const std::string& GetContents() const { return GetText(TextContents); }
    void SetContents(std::string v) { SetText(TextContents, std::move(v)); }

protected:
    // For the merge mobile QR object: its kind and name over the defaults.
    explicit TLxLabelObjectQRCarry(std::uint8_t kind);
    void ClearPicture();
    // The QR Code of a payload as RenderSymbol makes it, leaving the object
    // as it is. The control is the object's tool, not part of its value.
    Picture PayloadPicture(const std::string& payload) const;

private:
    QRCarryFields fields_;
    std::unique_ptr<TMatrixelPro> control_;
    Picture picture_;
};

} // namespace lx
