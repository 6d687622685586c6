#include "designer/model/LxLabelManager.h"

#include "platform/fonts/FaceList.h"

namespace lx {

TlxLabelManager::TlxLabelManager(std::int32_t count, const TlxLblInfo& layout)
    : fontList_(&TrueTypeFaceList()), layout_(&layout)
{
    for (std::int32_t i = 0; i < count; ++i)
        faces_.push_back(
            std::make_unique<TlxLabelObjectManager>(*fontList_, layout.GetLabelWidth(i), layout.GetLabelHeight(i), i));
}

TlxLabelManager::~TlxLabelManager()
{
    while (!faces_.empty())
        faces_.pop_back();
}

TlxLabelObjectManager& TlxLabelManager::Face(std::int32_t face) const
{
    if (face < 0 || face >= GetFaceCount())
        throw ListIndexError(face);
    return *faces_[static_cast<std::size_t>(face)];
}

// ---- objects of a face

void TlxLabelManager::AddObject(std::uint8_t kind, std::int32_t face)
{
    TlxLabelObjectManager& list = Face(face);
    if (!FindLabelObjectKind(kind) || IsMergeKind(kind))
        throw Error("種類 " + std::to_string(kind) + " のオブジェクトはここでは追加できません。");
    list.AddNewObject(kind, nullptr);
    list.SetSelectedIndex(0);
}

void TlxLabelManager::AddMergeObject(std::uint8_t kind, std::int32_t face,
                                     const std::shared_ptr<const TLxCSV>& mergeTable)
{
    TlxLabelObjectManager& list = Face(face);
    list.AddMergeObject(mergeTable, kind);
    list.SetSelectedIndex(0);
}

void TlxLabelManager::DeleteObject(std::int32_t j, std::int32_t face) { Face(face).DeleteObject(j); }

void TlxLabelManager::ReplaceObject(std::int32_t j, std::int32_t face, std::unique_ptr<TLxLableObjectBase> object)
{
    TlxLabelObjectManager& list = Face(face);
    list.GetObject(j); // a bad index throws before the old object is freed
    if (!object)
        throw Error("置き換えるオブジェクトがありません。");
    list.DeleteObject(j);
    list.InsertObject(j, std::move(object));
}

void TlxLabelManager::InsertObject(std::unique_ptr<TLxLableObjectBase> object, std::int32_t j, std::int32_t face)
{
    Face(face).InsertObject(j, std::move(object));
}

const TLxLableObjectBase* TlxLabelManager::GetObject(std::int32_t j, std::int32_t face) const
{
    return Face(face).GetObject(j);
}

TLxLableObjectBase* TlxLabelManager::GetObject(std::int32_t j, std::int32_t face) { return Face(face).GetObject(j); }

std::int32_t TlxLabelManager::GetObjectCount(std::int32_t face) const { return Face(face).GetObjectCount(); }
std::int32_t TlxLabelManager::GetSelectedIndex(std::int32_t face) const { return Face(face).GetSelectedIndex(); }
void TlxLabelManager::SetSelectedIndex(std::int32_t j, std::int32_t face) { Face(face).SetSelectedIndex(j); }
void TlxLabelManager::MoveObjectBack(std::int32_t j, std::int32_t face) { Face(face).MoveObjectBack(j); }
void TlxLabelManager::MoveObjectFront(std::int32_t j, std::int32_t face) { Face(face).MoveObjectFront(j); }

void TlxLabelManager::ClearFace(std::int32_t face)
{
    TlxLabelObjectManager& list = Face(face);
    list.Clear();
    list.SetSelectedIndex(-1);
}

EnhMetafile TlxLabelManager::RenderFace(std::int32_t face, std::uint8_t printMode)
{
    return Face(face).RenderLabel(printMode);
}

EnhMetafile TlxLabelManager::RenderFaceFor(std::int32_t face, const CellDrawing& drawing) const
{
    return Face(face).RenderLabelFor(drawing);
}

void TlxLabelManager::DrawFace(std::int32_t face, DeviceContext& canvas, const Rect& place,
                               const CellDrawing& drawing) const
{
    Face(face).DrawLabelFor(canvas, place, drawing);
}

const TlxLabelObjectManager& TlxLabelManager::GetFaceObjects(std::int32_t face) const { return Face(face); }
TlxLabelObjectManager& TlxLabelManager::GetFaceObjects(std::int32_t face) { return Face(face); }

void TlxLabelManager::SetFaceObjects(std::int32_t face, std::unique_ptr<TlxLabelObjectManager> list)
{
    Face(face);
    if (!list)
        throw Error("ラベルのオブジェクト一覧がありません。");
    faces_[static_cast<std::size_t>(face)] = std::move(list);
}

// ---- printing

bool TlxLabelManager::HasMergeObjects() const { return Face(0).HasMergeObjects(); }
bool TlxLabelManager::HasSerialObjects() const { return Face(0).HasSerialObjects(); }
std::int32_t TlxLabelManager::GetSerialRecordCount() const { return Face(0).GetSerialRecordCount(); }
void TlxLabelManager::SetRecordIndex(std::int32_t recordIndex) { Face(0).SetRecordIndex(recordIndex); }

void TlxLabelManager::CopyFace(TLxCSV* mergeTable, std::int32_t source, std::int32_t target)
{
    const TlxLabelObjectManager& from = Face(source);
    const TlxLabelObjectManager& to = Face(target);
    if (source == target)
        return;
    std::unique_ptr<TlxLabelObjectManager> copy = from.CloneLabelForRecord(mergeTable, target);
    copy->SetDpiX(to.GetDpiX());
    copy->SetDpiY(to.GetDpiY());
    copy->SetLabelWidth(to.GetLabelWidth());
    copy->SetLabelHeight(to.GetLabelHeight());
    faces_[static_cast<std::size_t>(target)] = std::move(copy);
}

// ---- content block

void TlxLabelManager::SaveToStream(Stream& stream) const
{
    stream.WriteUInt8(singleMode_ ? 1 : 0);
    for (const auto& face : faces_)
        face->SaveObjects(stream);
}

std::unique_ptr<TlxLabelObjectManager> TlxLabelManager::EmptyFaceLike(const TlxLabelObjectManager& face,
                                                                      std::int32_t i) const
{
    auto list = std::make_unique<TlxLabelObjectManager>(*fontList_, face.GetLabelWidth(), face.GetLabelHeight(), i);
    list->SetDpiX(face.GetDpiX());
    list->SetDpiY(face.GetDpiY());
    return list;
}

void TlxLabelManager::LoadFromStream(Stream& stream, const std::shared_ptr<const TLxCSV>& mergeTable)
{
    const std::int32_t labels = layout_->LabelCount;
    if (labels > GetFaceCount())
        throw ReadError("デザインのラベル数がレイアウトと一致しません。");
    const bool single = stream.ReadUInt8() != 0;
    std::vector<std::unique_ptr<TlxLabelObjectManager>> read;
    for (std::int32_t i = 0; i < labels; ++i) {
        read.push_back(EmptyFaceLike(Face(i), i));
        read.back()->LoadObjects(stream, mergeTable);
    }
    singleMode_ = single;
    for (std::int32_t i = 0; i < labels; ++i)
        faces_[static_cast<std::size_t>(i)] = std::move(read[static_cast<std::size_t>(i)]);
}

} // namespace lx
