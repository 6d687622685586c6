#include "designer/model/LxLabelCSVBarcode.h"

namespace lx {

void WriteCsvBarcodeOwnPart(const CsvBarcodeBinding& binding, Stream& stream)
{
    stream.WriteInt32(binding.RecordIndex);
    stream.WriteInt32(binding.DataColumn);
    stream.WriteInt32(binding.ZipColumn);
    stream.WriteInt32(binding.AddressColumn);
}

void ReadCsvBarcodeOwnPart(Stream& stream, CsvBarcodeBinding& binding)
{
    binding.RecordIndex = stream.ReadInt32();
    binding.DataColumn = stream.ReadInt32();
    binding.ZipColumn = stream.ReadInt32();
    binding.AddressColumn = stream.ReadInt32();
}

TLxLabelObjectCsvBarcode::TLxLabelObjectCsvBarcode(std::shared_ptr<const TLxCSV> csv, std::int32_t recordIndex)
    : TLxLabelObjectBarcode(KindCsvBarcode), csv_(std::move(csv))
{
    binding_.RecordIndex = recordIndex;
}

std::optional<std::pair<SymbolSettings, std::string>> TLxLabelObjectCsvBarcode::RecordSymbol(std::int32_t record) const
{
    // Without a table there is no record, as with an empty one.
    const std::int32_t rows = csv_ ? csv_->GetRowCount() : 0;
    if (record >= rows)
        return std::nullopt;
    std::string data = csv_->CsvCell(binding_.DataColumn, record);
    if (data.empty())
        data.push_back(' '); // an empty cell encodes one blank
    SymbolSettings settings = GetSettings();
    settings.ZipCode = csv_->CsvCell(binding_.ZipColumn, record);
    settings.Address = csv_->CsvCell(binding_.AddressColumn, record);
    return std::pair{std::move(settings), std::move(data)};
}

void TLxLabelObjectCsvBarcode::UpdateSymbolForRecord()
{
    auto symbol = RecordSymbol(binding_.RecordIndex);
    if (!symbol) {
        ClearPicture();
        return;
    }
    // The stored data stays; the postal code and address take the cells.
    SetZipCode(symbol->first.ZipCode);
    SetAddress(symbol->first.Address);
    SetPicture(SymbolPicture(symbol->first, std::move(symbol->second)));
}

Picture TLxLabelObjectCsvBarcode::PictureFor(std::int32_t recordIndex) const
{
    auto symbol = RecordSymbol(recordIndex);
    Picture picture;
    if (!symbol)
        picture.SetBitmap(Bitmap());
    else
        picture = SymbolPicture(symbol->first, std::move(symbol->second));
    return picture;
}

Picture& TLxLabelObjectCsvBarcode::GetPicture()
{
    UpdateSymbolForRecord();
    return TLxLabelObjectBarcode::GetPicture();
}

std::unique_ptr<TLxLabelObjectCsvBarcode> TLxLabelObjectCsvBarcode::CopyBoundTo(std::int32_t recordIndex) const
{
    auto copy = std::make_unique<TLxLabelObjectCsvBarcode>(csv_, recordIndex);
    copy->binding_.DataColumn = binding_.DataColumn;
    copy->binding_.ZipColumn = binding_.ZipColumn;
    copy->binding_.AddressColumn = binding_.AddressColumn;
    copy->SetSettings(GetSettings());
    // The picture of a merge object is a cache of its record's symbol: asking
    // for it renders the source afresh.
    copy->SetPicture(const_cast<TLxLabelObjectCsvBarcode&>(*this).GetPicture());
    copy->AssignCommonPart(*this);
    return copy;
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectCsvBarcode::Clone() const
{
    return CopyBoundTo(binding_.RecordIndex);
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectCsvBarcode::CloneForRecord(std::int32_t recordIndex) const
{
    return CopyBoundTo(recordIndex);
}

void TLxLabelObjectCsvBarcode::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
    WriteCsvBarcodeOwnPart(binding_, stream);
}

void TLxLabelObjectCsvBarcode::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
    ReadCsvBarcodeOwnPart(stream, binding_);
}

} // namespace lx
