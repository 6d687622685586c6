#include "designer/model/LxLabelCSVString.h"

namespace lx {

TLxLabelObjectCsvString::TLxLabelObjectCsvString(std::shared_ptr<const TLxCSV> csv, std::int32_t recordIndex)
    : TLxLabelObjectString(KindCsvString), csv_(std::move(csv)), recordIndex_(recordIndex)
{
}

std::string TLxLabelObjectCsvString::MergedTextFor(std::int32_t recordIndex) const
{
    static const TLxCSV unbound;
    const TLxCSV& table = csv_ ? *csv_ : unbound;
    return frontText_ + table.CsvCell(column_, recordIndex) + backText_;
}

std::unique_ptr<TLxLabelObjectCsvString> TLxLabelObjectCsvString::CopyBoundTo(std::int32_t recordIndex) const
{
    std::shared_ptr<const TLxCSV> table = csv_ ? csv_->Clone() : nullptr;
    auto copy = std::make_unique<TLxLabelObjectCsvString>(std::move(table), recordIndex);
    copy->column_ = column_;
    copy->frontText_ = frontText_;
    copy->backText_ = backText_;
    copy->SetText(GetMergedText());
    copy->AssignTextStyle(*this);
    copy->AssignCommonPart(*this);
    return copy;
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectCsvString::Clone() const { return CopyBoundTo(recordIndex_); }

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectCsvString::CloneForRecord(std::int32_t recordIndex) const
{
    return CopyBoundTo(recordIndex);
}

void TLxLabelObjectCsvString::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
    stream.WriteInt32(recordIndex_);
    stream.WriteInt32(column_);
    WriteString(frontText_, stream);
    WriteString(backText_, stream);
}

void TLxLabelObjectCsvString::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
    recordIndex_ = stream.ReadInt32();
    column_ = stream.ReadInt32();
    ReadString(stream, frontText_);
    ReadString(stream, backText_);
}

} // namespace lx
