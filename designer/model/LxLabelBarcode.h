#pragma once
// The symbol object (kind 3): the settings and data of one two-dimensional
// or linear symbol, or of a postal customer barcode, and the finished
// picture of it. Every object owns a symbol-encoder control, which encodes
// the symbol and hands it back through the clipboard as an enhanced
// metafile; the postal barcode is drawn from GetCBarString's bar string in
// the postal bar font. The picture is stored with the object, so a loaded
// design shows its symbols without encoding them again.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "designer/model/LxLabelBase.h"
#include "designer/model/MatrixelPro.h"
#include "platform/image/Bitmap.h"
#include "platform/image/Picture.h"

namespace lx {

// Symbol kinds, as the editor lists them.
enum SymbolKind : std::int32_t {
    SymbolQr = 0,
    SymbolEan13 = 1,
    SymbolEan8 = 2,
    SymbolUpcA = 3,
    SymbolUpcE = 4,
    SymbolCodabar = 5,
    SymbolItf = 6,
    SymbolStf = 7,
    SymbolCode39 = 8,
    SymbolCode128 = 9,
    SymbolEan128 = 10,
    SymbolMaxiCode = 11,
    SymbolPdf417 = 12,
    SymbolDataMatrix = 13,
    SymbolPostal = 14,
};

// What a symbol object stores besides its picture, in record order.
struct SymbolSettings {
    std::int32_t SymbolKind = SymbolQr;
    std::string Data; // CP932; not used by the postal kind
    std::int32_t Model = 1; // QR: 1 Model 1, 2 Model 2, 3 Micro QR; PDF417: 1-3; DataMatrix: 1 square, 2 rectangular
    std::int32_t EccLevel = 1; // QR: 0 L, 1 M, 2 Q, 3 H
    std::string StartChar; // Codabar start; CODE128 and EAN-128: the code set letter the editor chose
    std::string StopChar; // Codabar stop
    std::int32_t BearerBar = 0;
    std::int32_t CodeSet = 0; // CODE128 and EAN-128: 0 A, 1 B, 2 C
    std::int32_t MaxiCodeMode = 0;
    std::string ZipCode; // postal kind
    std::string Address; // postal kind
    std::int32_t CheckDigit = 1;

    friend bool operator==(const SymbolSettings&, const SymbolSettings&) = default;
};

// The own record part: the settings with SymbolKind written three times
// (first, and twice after CheckDigit), then the picture. Reading keeps the
// last of the three kinds; on a ReadError the fields read before it keep
// their new values.
void WriteSymbolOwnPart(const SymbolSettings& settings, const Picture& picture, Stream& stream);
void ReadSymbolOwnPart(Stream& stream, SymbolSettings& settings, Picture& picture);

// The control calls of a kind's options, in order, CodeType last; the postal
// kind and unknown kinds set nothing. Returns the data to encode: for
// Codabar StartChar + data + StopChar, else the data unchanged.
std::string ApplySymbolOptions(TMatrixelPro& control, const SymbolSettings& settings, std::string data);

// The postal barcode of a postal code and address as a bitmap, drawn in the
// postal bar font at 20 points on a display-referenced metafile; an empty
// bitmap when GetCBarString refuses them.
Bitmap DrawPostalBarcode(std::string_view zipCode, std::string_view address);

class TLxLabelObjectBarcode : public TLxLableObjectBase {
public:
    // Name "QRコードシート", kind 3, the default settings, an own control,
    // and the default symbol (a QR Code for the data " ") rendered at once.
    // Throws Error when the control cannot be created.
    TLxLabelObjectBarcode();
    ~TLxLabelObjectBarcode() override;

    std::optional<std::uint8_t> ClassKind() const override { return KindBarcode; }

    // Made by the constructor (so it renders the default symbol once), then
    // the settings and the source's picture; not rendered again.
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    // Common part, then the own part.
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;
    void SaveOwnPart(Stream& stream) const;
    void LoadOwnPart(Stream& stream);

    // Renders the symbol from the settings: data " " when Data is empty.
    void UpdateSymbol();
    // Sets the kind's options and CodeType on the control; returns the data
    // to encode.
    std::string ApplySymbolSettings(std::string data);
    // Encodes the data through the control (or draws the postal barcode) and
    // replaces the picture; any failure leaves an empty bitmap, no message.
    void RenderSymbol(const std::string& data);

    // The picture to draw. The merge symbol object renders it for its record
    // first.
    virtual Picture& GetPicture() { return picture_; }
    // The picture drawn for a record: the object's own; the merge symbol
    // object renders the record's row, leaving the object as it is.
    virtual Picture PictureFor(std::int32_t /*recordIndex*/) const { return picture_; }
    // The owned picture as it stands.
    const Picture& GetRenderedPicture() const { return picture_; }
    // Copies the picture's graphic (or its absence).
    void SetPicture(const Picture& picture) { picture_ = picture; }

    const SymbolSettings& GetSettings() const { return settings_; }
    void SetSettings(const SymbolSettings& settings) { settings_ = settings; }

    std::int32_t GetSymbolKind() const { return settings_.SymbolKind; }
    void SetSymbolKind(std::int32_t value) { settings_.SymbolKind = value; }
    const std::string& GetData() const { return settings_.Data; }
    void SetData(std::string value) { settings_.Data = std::move(value); }
    std::int32_t GetModel() const { return settings_.Model; }
    void SetModel(std::int32_t value) { settings_.Model = value; }
    std::int32_t GetEccLevel() const { return settings_.EccLevel; }
    void SetEccLevel(std::int32_t value) { settings_.EccLevel = value; }
    const std::string& GetStartChar() const { return settings_.StartChar; }
    void SetStartChar(std::string value) { settings_.StartChar = std::move(value); }
    const std::string& GetStopChar() const { return settings_.StopChar; }
    void SetStopChar(std::string value) { settings_.StopChar = std::move(value); }
    std::int32_t GetBearerBar() const { return settings_.BearerBar; }
    void SetBearerBar(std::int32_t value) { settings_.BearerBar = value; }
    std::int32_t GetCodeSet() const { return settings_.CodeSet; }
    void SetCodeSet(std::int32_t value) { settings_.CodeSet = value; }
    std::int32_t GetMaxiCodeMode() const { return settings_.MaxiCodeMode; }
    void SetMaxiCodeMode(std::int32_t value) { settings_.MaxiCodeMode = value; }
    const std::string& GetZipCode() const { return settings_.ZipCode; }
    void SetZipCode(std::string value) { settings_.ZipCode = std::move(value); }
    const std::string& GetAddress() const { return settings_.Address; }
    void SetAddress(std::string value) { settings_.Address = std::move(value); }
    std::int32_t GetCheckDigit() const { return settings_.CheckDigit; }
    void SetCheckDigit(std::int32_t value) { settings_.CheckDigit = value; }

protected:
    // For the merge symbol object: its kind and name over the defaults.
    explicit TLxLabelObjectBarcode(std::uint8_t kind);
    void ClearPicture();
    // The symbol of the data with these settings (their options set on the
    // control first), through the control, or the postal barcode; an empty
    // bitmap on any failure. The control is the object's tool, not part of
    // its value.
    Picture SymbolPicture(const SymbolSettings& settings, std::string data) const;

private:
    // The same for data the options were applied to already.
    Picture EncodedPicture(const SymbolSettings& settings, const std::string& data) const;

    SymbolSettings settings_;
    std::unique_ptr<TMatrixelPro> control_;
    Picture picture_;
};

} // namespace lx
