#pragma once
// The document: the designs of all label cells of one sheet, one object list
// (a face) per cell of the sheet layout, the single/multi mode and the face
// list that text drawing consults; and the content block of the design file.
// Every operation on objects names the face by its index, given last.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelObjectManager.h"
#include "designer/model/LxLblInfo.h"
#include "platform/io/Stream.h"
#include "platform/metafile/EnhMetafile.h"

namespace lx {

class TlxLabelManager {
public:
    // count empty faces, face i with the size of cell i of the layout (in the
    // layout's orientation) and label index i. The layout is kept by
    // reference and must outlive the document; a count beyond its cells
    // throws LayoutError.
    TlxLabelManager(std::int32_t count, const TlxLblInfo& layout);
    ~TlxLabelManager();
    TlxLabelManager(const TlxLabelManager&) = delete;
    TlxLabelManager& operator=(const TlxLabelManager&) = delete;

    // A new object of kind 0-4 or 8-10 in front of the face's others, then
    // selected. Merge kinds go through AddMergeObject; they and any other
    // number are an Error.
    void AddObject(std::uint8_t kind, std::int32_t face);
    // A new merge object (kind 5, 6 or 7) bound to the table and to the
    // face's record, in front and selected.
    void AddMergeObject(std::uint8_t kind, std::int32_t face, const std::shared_ptr<const TLxCSV>& mergeTable);
    void DeleteObject(std::int32_t j, std::int32_t face);
    // The object at j is freed and the new one takes its place in the
    // z-order. A bad index or a missing object changes nothing.
    void ReplaceObject(std::int32_t j, std::int32_t face, std::unique_ptr<TLxLableObjectBase> object);
    void InsertObject(std::unique_ptr<TLxLableObjectBase> object, std::int32_t j, std::int32_t face);
    const TLxLableObjectBase* GetObject(std::int32_t j, std::int32_t face) const;
    TLxLableObjectBase* GetObject(std::int32_t j, std::int32_t face);
    std::int32_t GetObjectCount(std::int32_t face) const;
    std::int32_t GetSelectedIndex(std::int32_t face) const;
    void SetSelectedIndex(std::int32_t j, std::int32_t face);
    void MoveObjectBack(std::int32_t j, std::int32_t face);
    void MoveObjectFront(std::int32_t j, std::int32_t face);
    // Frees every object of the face and clears its selection.
    void ClearFace(std::int32_t face);

    // The face drawn into a new metafile at the printer's resolution; print
    // mode 1 leaves out the objects that are not printed. Text objects take
    // the boxes they measured (the editor's drawing).
    EnhMetafile RenderFace(std::int32_t face, std::uint8_t printMode);
    // The face for one drawing (print mode, record), leaving the document as
    // it is: as a metafile, or drawn into a place on any device.
    EnhMetafile RenderFaceFor(std::int32_t face, const CellDrawing& drawing) const;
    void DrawFace(std::int32_t face, DeviceContext& canvas, const Rect& place, const CellDrawing& drawing) const;

    const TlxLabelObjectManager& GetFaceObjects(std::int32_t face) const;
    TlxLabelObjectManager& GetFaceObjects(std::int32_t face);
    // Takes the list as the face's object list and frees the one it replaces.
    void SetFaceObjects(std::int32_t face, std::unique_ptr<TlxLabelObjectManager> list);
    std::int32_t GetFaceCount() const { return static_cast<std::int32_t>(faces_.size()); }
    // "face:charset" entries of the display's TrueType faces, sorted; one
    // list for the whole program, so object lists moved between documents
    // never refer to a list that is gone.
    const std::vector<std::string>& GetFontList() const { return *fontList_; }

    bool GetShowGuide() const { return showGuide_; }
    void SetShowGuide(bool show) { showGuide_ = show; }
    bool GetSingleMode() const { return singleMode_; }
    void SetSingleMode(bool single) { singleMode_ = single; }

    // Print queries: face 0 is what single mode prints on every cell.
    bool HasMergeObjects() const;
    bool HasSerialObjects() const;
    std::int32_t GetSerialRecordCount() const;
    void SetRecordIndex(std::int32_t recordIndex);

    // Makes face target a copy of face source bound to target's cell: merge
    // and serial objects show record target, and target keeps its own size
    // and resolution. The copy is made before anything is replaced, so a
    // failing copy leaves the document as it was; source == target does
    // nothing.
    void CopyFace(TLxCSV* mergeTable, std::int32_t source, std::int32_t target);

    // The content block: the mode byte, then the object block of every face.
    void SaveToStream(Stream& stream) const;
    // Reads the mode byte and one object block per label of the layout into
    // new lists, merge objects bound to mergeTable, and takes them in only
    // when every block was read: on a ReadError the document is unchanged.
    // Faces beyond the layout's label count are not touched.
    void LoadFromStream(Stream& stream, const std::shared_ptr<const TLxCSV>& mergeTable);

private:
    TlxLabelObjectManager& Face(std::int32_t face) const;
    std::unique_ptr<TlxLabelObjectManager> EmptyFaceLike(const TlxLabelObjectManager& face, std::int32_t i) const;

    std::vector<std::unique_ptr<TlxLabelObjectManager>> faces_;
    const std::vector<std::string>* fontList_;
    const TlxLblInfo* layout_;
    bool showGuide_ = true;
    bool singleMode_ = false;
};

} // namespace lx
