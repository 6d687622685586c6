#include "designer/model/LxLabelObjectManager.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxObjectFactory.h"
#include "platform/printing/Printer.h"
#include "platform/text/Numbers.h"

namespace lx {

ListIndexError::ListIndexError(std::int64_t index)
    : Error("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")。")
{
}

TlxLabelObjectManager::TlxLabelObjectManager(const std::vector<std::string>& fontList, double width, double height,
                                             std::int32_t labelIndex)
    : labelIndex_(labelIndex), fontList_(&fontList), width_(width), height_(height)
{
    ResetNameCounters();
}

TlxLabelObjectManager::~TlxLabelObjectManager()
{
    while (!objects_.empty())
        objects_.pop_back();
}

void TlxLabelObjectManager::Clear()
{
    while (!objects_.empty())
        objects_.pop_back();
    hasMerge_ = false;
    hasSerial_ = false;
    ResetNameCounters();
}

void TlxLabelObjectManager::CheckIndex(std::int64_t i, std::size_t size) const
{
    if (i < 0 || static_cast<std::uint64_t>(i) >= size)
        throw ListIndexError(i);
}

const TLxLableObjectBase* TlxLabelObjectManager::GetObject(std::int32_t i) const
{
    CheckIndex(i, objects_.size());
    return objects_[static_cast<std::size_t>(i)].get();
}

TLxLableObjectBase* TlxLabelObjectManager::GetObject(std::int32_t i)
{
    return const_cast<TLxLableObjectBase*>(std::as_const(*this).GetObject(i));
}

std::int32_t TlxLabelObjectManager::GetFaceCharset(std::string_view faceName) const
{
    return FontListCharset(*fontList_, faceName);
}

// ---- changing

void TlxLabelObjectManager::NoteContent(const TLxLableObjectBase& object)
{
    // By class: a file may give any object any kind byte.
    switch (object.GetRecordBinding()) {
    case RecordBinding::Merge: hasMerge_ = true; break;
    case RecordBinding::Serial: hasSerial_ = true; break;
    case RecordBinding::None: break;
    }
}

void TlxLabelObjectManager::AddObject(std::unique_ptr<TLxLableObjectBase> object, bool atFront)
{
    if (!object)
        return;
    const TLxLableObjectBase& added = *object;
    objects_.insert(atFront ? objects_.begin() : objects_.end(), std::move(object));
    NoteContent(added);
}

void TlxLabelObjectManager::InsertObject(std::int32_t i, std::unique_ptr<TLxLableObjectBase> object)
{
    if (!object)
        return;
    CheckIndex(i, objects_.size() + 1);
    objects_.insert(objects_.begin() + i, std::move(object));
    UpdateContentFlags();
}

void TlxLabelObjectManager::DeleteObject(std::int32_t i)
{
    CheckIndex(i, objects_.size());
    objects_.erase(objects_.begin() + i);
    UpdateContentFlags();
}

void TlxLabelObjectManager::UpdateContentFlags()
{
    hasMerge_ = false;
    hasSerial_ = false;
    for (const auto& object : objects_)
        NoteContent(*object);
}

void TlxLabelObjectManager::MoveObject(std::int32_t from, std::int32_t to)
{
    CheckIndex(from, objects_.size());
    std::swap(objects_[static_cast<std::size_t>(from)], objects_[static_cast<std::size_t>(to)]);
    selectedIndex_ = to;
}

void TlxLabelObjectManager::MoveObjectBack(std::int32_t i)
{
    if (i < std::numeric_limits<std::int32_t>::max() && i + 1 >= 0 && i + 1 < GetObjectCount())
        MoveObject(i, i + 1);
}

void TlxLabelObjectManager::MoveObjectFront(std::int32_t i)
{
    if (i > 0)
        MoveObject(i, i - 1);
}

// ---- new objects

void TlxLabelObjectManager::AddNewObject(std::uint8_t kind, const std::shared_ptr<const TLxCSV>& mergeTable)
{
    std::unique_ptr<TLxLableObjectBase> object = CreateLabelObject(kind, mergeTable, labelIndex_);
    if (!object)
        throw Error("種類 " + std::to_string(kind) + " のオブジェクトはここでは追加できません。");
    object->SetName(NextObjectName(object->GetName(), FindLabelObjectKind(kind)->nameSlot));
    AddObject(std::move(object), true);
}

void TlxLabelObjectManager::AddString() { AddNewObject(KindString, nullptr); }
void TlxLabelObjectManager::AddImage() { AddNewObject(KindImage, nullptr); }
void TlxLabelObjectManager::AddFigure() { AddNewObject(KindFigure, nullptr); }
void TlxLabelObjectManager::AddBarcode() { AddNewObject(KindBarcode, nullptr); }
void TlxLabelObjectManager::AddQRCarry() { AddNewObject(KindQRCarry, nullptr); }
void TlxLabelObjectManager::AddSerial() { AddNewObject(KindRenbanString, nullptr); }
void TlxLabelObjectManager::AddGrid() { AddNewObject(KindGrid, nullptr); }
void TlxLabelObjectManager::AddEffects() { AddNewObject(KindEffects, nullptr); }

void TlxLabelObjectManager::AddMergeObject(const std::shared_ptr<const TLxCSV>& mergeTable, std::uint8_t kind)
{
    if (!IsMergeKind(kind))
        throw Error("種類 " + std::to_string(kind) + " は差込オブジェクトではありません。");
    AddNewObject(kind, mergeTable);
}

std::string TlxLabelObjectManager::NextObjectName(std::string_view baseName, int slot)
{
    if (slot < 1 || slot > kNameSlotCount)
        throw ListIndexError(slot);
    std::int32_t& counter = nameCounters_[static_cast<std::size_t>(slot)];
    std::string name = std::string(baseName) + std::to_string(counter);
    ++counter;
    return name;
}

void TlxLabelObjectManager::ResetNameCounters() { nameCounters_.fill(1); }

// ---- records

void TlxLabelObjectManager::SetRecordIndex(std::int32_t recordIndex)
{
    // Objects without a record ignore it.
    for (const auto& object : objects_)
        object->SetRecordIndex(recordIndex);
}

std::int32_t TlxLabelObjectManager::GetSerialRecordCount() const
{
    std::int64_t count = 0;
    for (const auto& object : objects_) {
        if (object->GetRecordBinding() != RecordBinding::Serial)
            continue;
        const auto* serial = static_cast<const TLxLabelObjectRenbanString*>(object.get());
        // 64 bits: finish and start at opposite ends of the 32-bit range
        // differ by more than a 32-bit number holds.
        const std::int64_t finish = ParseInt(serial->GetFinishNumber());
        const std::int64_t start = ParseInt(serial->GetStartNumber());
        count = std::max(count, finish - start + 1);
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(count, std::numeric_limits<std::int32_t>::max()));
}

std::unique_ptr<TlxLabelObjectManager> TlxLabelObjectManager::CloneLabelForRecord(TLxCSV*, std::int32_t r) const
{
    auto copy = std::make_unique<TlxLabelObjectManager>(*fontList_, width_, height_, r);
    for (const auto& object : objects_)
        copy->AddObject(object->GetRecordBinding() != RecordBinding::None ? object->CloneForRecord(r) : object->Clone(),
                        false);
    copy->selectedIndex_ = selectedIndex_;
    copy->dpiX_ = dpiX_;
    copy->dpiY_ = dpiY_;
    copy->hasMerge_ = hasMerge_;
    copy->hasSerial_ = hasSerial_;
    return copy;
}

// ---- stream

void TlxLabelObjectManager::SaveObjects(Stream& stream) const
{
    stream.WriteInt32(GetObjectCount());
    for (const auto& object : objects_) {
        // The class's kind, not the stored kind byte, which a file may have
        // set to another kind: the block must read back into the same class.
        stream.WriteUInt8(KindOfClass(*object).value_or(object->GetKind()));
        object->SaveToStream(stream);
    }
}

void TlxLabelObjectManager::LoadObjects(Stream& stream, const std::shared_ptr<const TLxCSV>& mergeTable)
{
    const std::int32_t count = stream.ReadInt32();
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t kind = stream.ReadUInt8();
        if (!FindLabelObjectKind(kind))
            throw ReadError("オブジェクトの種類 " + std::to_string(kind) + " が正しくありません。");
        std::unique_ptr<TLxLableObjectBase> object = CreateLabelObject(kind, mergeTable, -1);
        // Read first, then take in: a record cut short leaves no half-read
        // object behind.
        object->LoadFromStream(stream);
        AddObject(std::move(object), false);
    }
}

// ---- drawing

Size TlxLabelObjectManager::CellPixels(const LabelPainter& painter) const
{
    return {std::max(0, painter.MmToPixels(kAxisHorizontal, width_)),
            std::max(0, painter.MmToPixels(kAxisVertical, height_))};
}

EnhMetafile TlxLabelObjectManager::RenderLabel(std::uint8_t printMode)
{
    const DeviceInfo printer = CurrentPrinterDevice();
    dpiX_ = printer.dpiX;
    dpiY_ = printer.dpiY;
    EmfRecorder canvas(printer, FrameForPixels(CellPixels(Painter()), printer));
    DrawObjects(canvas, printMode == 1);
    return canvas.Close();
}

EnhMetafile TlxLabelObjectManager::RenderLabelFor(const CellDrawing& drawing) const
{
    const DeviceInfo printer = CurrentPrinterDevice();
    const LabelPainter painter(*fontList_, printer.dpiX, printer.dpiY, drawing.record);
    EmfRecorder canvas(printer, FrameForPixels(CellPixels(painter), printer));
    DrawObjects(canvas, painter, drawing.printMode);
    return canvas.Close();
}

void TlxLabelObjectManager::DrawLabelFor(DeviceContext& canvas, const Rect& place, const CellDrawing& drawing) const
{
    const DeviceInfo printer = CurrentPrinterDevice();
    if (canvas.GetDeviceCaps(DeviceCap::LogPixelsX) != printer.dpiX ||
        canvas.GetDeviceCaps(DeviceCap::LogPixelsY) != printer.dpiY) {
        PlayEnhMetafile(canvas, RenderLabelFor(drawing), place);
        return;
    }
    const LabelPainter painter(*fontList_, printer.dpiX, printer.dpiY, drawing.record);
    DrawAsPicture(canvas, place, CellPixels(painter), printer,
                  [&](DeviceContext& dc) { DrawObjects(dc, painter, drawing.printMode); });
}

void TlxLabelObjectManager::DrawObjects(DeviceContext& canvas, const LabelPainter& painter, bool printMode,
                                        std::vector<MeasuredBox>* measured) const
{
    for (std::int32_t n = GetObjectCount() - 1; n >= 0; --n) {
        const TLxLableObjectBase& object = *objects_[static_cast<std::size_t>(n)];
        if (object.GetCanDisplay() == 0 || (printMode && object.GetNotPrint() == 1))
            continue;
        const std::optional<MmSize> box = painter.DrawObject(canvas, object);
        if (box && measured)
            measured->push_back({n, *box});
    }
}

void TlxLabelObjectManager::DrawObjects(DeviceContext& canvas, bool printMode)
{
    std::vector<MeasuredBox> measured;
    DrawObjects(canvas, Painter(), printMode, &measured);
    for (const MeasuredBox& box : measured) {
        TLxLableObjectBase& object = *objects_[static_cast<std::size_t>(box.index)];
        object.SetWidth(box.size.width);
        object.SetHeight(box.size.height);
    }
}

} // namespace lx
