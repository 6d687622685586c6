#pragma once
// The objects of one label cell of the sheet (a face) in z-order, with the
// cell's size, the selection, the counters that name new objects and the
// record that merge and serial objects of the cell show; and the rendering
// of the cell. Index 0 is the front: drawn last, hit first.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "designer/model/LabelPainter.h"
#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelBase.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/image/Picture.h"
#include "platform/io/Errors.h"
#include "platform/io/Stream.h"
#include "platform/metafile/EnhMetafile.h"

namespace lx {

// An index outside the list.
class ListIndexError : public Error {
public:
    explicit ListIndexError(std::int64_t index);
};

// What one drawing of a cell shows.
struct CellDrawing {
    bool printMode = true; // objects that are not printed are left out
    // The record every merge and serial object shows; their own without one.
    std::optional<std::int32_t> record;
};

// A box an object measured while it was drawn (the text kinds grow theirs).
struct MeasuredBox {
    std::int32_t index = 0;
    MmSize size;
};

class TlxLabelObjectManager {
public:
    // An empty list. fontList is the document's face list ("face:charset"
    // entries); it is kept by reference and must outlive the list.
    TlxLabelObjectManager(const std::vector<std::string>& fontList, double width, double height,
                          std::int32_t labelIndex);
    ~TlxLabelObjectManager();
    TlxLabelObjectManager(const TlxLabelObjectManager&) = delete;
    TlxLabelObjectManager& operator=(const TlxLabelObjectManager&) = delete;

    // Frees every object, clears both flags and resets the name counters;
    // the selection stays as it was.
    void Clear();

    // The object at i (never null); ListIndexError for a bad index.
    const TLxLableObjectBase* GetObject(std::int32_t i) const;
    TLxLableObjectBase* GetObject(std::int32_t i);
    std::int32_t GetObjectCount() const { return static_cast<std::int32_t>(objects_.size()); }
    std::int32_t GetSelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(std::int32_t i) { selectedIndex_ = i; }
    std::int32_t GetLabelIndex() const { return labelIndex_; }
    double GetLabelWidth() const { return width_; }
    double GetLabelHeight() const { return height_; }
    void SetLabelWidth(double mm) { width_ = mm; }
    void SetLabelHeight(double mm) { height_ = mm; }
    double GetDpiX() const { return dpiX_; }
    double GetDpiY() const { return dpiY_; }
    void SetDpiX(double dpi) { dpiX_ = dpi; }
    void SetDpiY(double dpi) { dpiY_ = dpi; }
    bool HasMergeObjects() const { return hasMerge_; }
    bool HasSerialObjects() const { return hasSerial_; }
    // The character set number of a face from the face list, searched from
    // the end; 0 when the face is not there.
    std::int32_t GetFaceCharset(std::string_view faceName) const;

    // Takes the object in at index 0 (atFront) or at the end; sets, never
    // clears, the merge and serial flags.
    void AddObject(std::unique_ptr<TLxLableObjectBase> object, bool atFront);
    // Takes the object in at i (0 to the count) and recomputes both flags.
    void InsertObject(std::int32_t i, std::unique_ptr<TLxLableObjectBase> object);
    // Frees the object at i and recomputes both flags; the selection stays.
    void DeleteObject(std::int32_t i);
    void UpdateContentFlags();
    // One step towards the back (front), selecting the moved object; nothing
    // at the end of the list.
    void MoveObjectBack(std::int32_t i);
    void MoveObjectFront(std::int32_t i);

    // New objects with their class's defaults, named with their slot's
    // counter, in front of all others; the selection is not changed. A kind
    // whose class this build lacks is an Error. AddNewObject takes any kind
    // (a number that is none is an Error): merge kinds are bound to
    // mergeTable, merge and serial kinds to this cell's record.
    void AddNewObject(std::uint8_t kind, const std::shared_ptr<const TLxCSV>& mergeTable);
    void AddString();
    void AddImage();
    void AddFigure();
    void AddBarcode();
    void AddQRCarry();
    // Kinds 5, 6 and 7, bound to the table and to this cell's record.
    void AddMergeObject(const std::shared_ptr<const TLxCSV>& mergeTable, std::uint8_t kind);
    // Bound to this cell's record.
    void AddSerial();
    void AddGrid();
    void AddEffects();

    // baseName followed by the slot's counter, which then goes up by one.
    std::string NextObjectName(std::string_view baseName, int slot);
    void ResetNameCounters();

    // Gives the record to every merge and serial object.
    void SetRecordIndex(std::int32_t recordIndex);
    // The largest finish - start + 1 over the serial objects, at least 0 and
    // at most the largest int32. ConvertError for a text that is no number.
    std::int32_t GetSerialRecordCount() const;
    // An independent copy bound to record r: same face list and size, label
    // index r, every object copied in z-order (merge and serial objects for
    // record r), selection, resolution and flags copied, counters at 1.
    std::unique_ptr<TlxLabelObjectManager> CloneLabelForRecord(TLxCSV* mergeTable, std::int32_t r) const;

    // The object block: int32 count, then per object from the front the kind
    // of its class and its record.
    void SaveObjects(Stream& stream) const;
    // Appends the objects of a block, merge objects bound to mergeTable. On a
    // ReadError the objects read completely before it stay; the one being
    // read is dropped.
    void LoadObjects(Stream& stream, const std::shared_ptr<const TLxCSV>& mergeTable);

    // ---- drawing

    // round(mm x dpi / 25.4) with DpiX (horizontal) or DpiY (vertical),
    // half to even; saturates instead of overflowing.
    std::int32_t MmToPixels(int axis, double mm) const { return Painter().MmToPixels(axis, mm); }
    // Whole millimetres: round(pixels x 25.4 / dpi), saturating; 0 without
    // a resolution.
    std::int32_t PixelsToMm(int axis, double pixels) const { return Painter().PixelsToMm(axis, pixels); }
    // A painter at DpiX x DpiY with this list's face list, each object
    // showing its own record.
    LabelPainter Painter() const { return LabelPainter(*fontList_, dpiX_, dpiY_); }

    // The cell as a new enhanced metafile, recorded in pixels of the current
    // printer (600 dpi without one), whose resolution becomes DpiX and DpiY;
    // print mode 1 leaves out the NotPrint objects. Text objects take the
    // boxes they measured, as the editor shows them.
    EnhMetafile RenderLabel(std::uint8_t printMode);
    // The same picture for one drawing, leaving the list and its objects as
    // they are.
    EnhMetafile RenderLabelFor(const CellDrawing& drawing) const;
    // Draws into `place` what playing RenderLabelFor's picture there draws;
    // straight, without the recording, on a device of the printer's
    // resolution.
    void DrawLabelFor(DeviceContext& canvas, const Rect& place, const CellDrawing& drawing) const;
    // Draws the objects from the back to the front with the painter: hidden
    // objects never, NotPrint objects not in print mode. The boxes the text
    // objects measured go to `measured` when it is given.
    void DrawObjects(DeviceContext& canvas, const LabelPainter& painter, bool printMode,
                     std::vector<MeasuredBox>* measured = nullptr) const;
    // The same at DpiX x DpiY, each object showing its own record; the text
    // objects take the boxes they measured.
    void DrawObjects(DeviceContext& canvas, bool printMode);
    // The cell in pixels at the painter's resolution.
    Size CellPixels(const LabelPainter& painter) const;

private:
    void NoteContent(const TLxLableObjectBase& object);
    void CheckIndex(std::int64_t i, std::size_t size) const;
    void MoveObject(std::int32_t from, std::int32_t to);

    std::vector<std::unique_ptr<TLxLableObjectBase>> objects_;
    std::int32_t labelIndex_;
    std::int32_t selectedIndex_ = -1;
    const std::vector<std::string>* fontList_;
    double dpiX_ = 0;
    double dpiY_ = 0;
    double width_;
    double height_;
    bool hasMerge_ = false;
    bool hasSerial_ = false;
    std::array<std::int32_t, kNameSlotCount + 1> nameCounters_{}; // slot 0 unused
};

} // namespace lx
