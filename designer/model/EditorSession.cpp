// The session's design: opening, saving and closing it, the cell being
// edited, the selection and the merge table.
#include "designer/model/EditorSession.h"

#include "designer/model/LxLabelObjectManager.h"

namespace lx {

namespace {

// The file-name part of a path (after the last "/").
std::string FileNamePart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return path.substr(slash == std::string::npos ? 0 : slash + 1);
}

} // namespace

EditorSession::EditorSession() : mergeTable_(std::make_shared<TLxCSV>()) {}

EditorSession::~EditorSession() { Close(); }

// ---- opening, saving and closing

void EditorSession::Open(Design design, std::string fileName)
{
    document_.reset();
    retainedLayout_.reset();
    mergeTable_ = std::move(design.MergeTable);
    layout_ = std::move(design.SheetLayout);
    document_ = std::move(design.Document);
    LayOntoLayout();
    fileName_ = std::move(fileName);
    newDesign_ = false;
    StartEditing();
}

void EditorSession::Load(const std::string& path)
{
    // Read whole first: a file that fails to load leaves the open design,
    // its name included, as it was.
    Open(LoadDesignFile(path), FileNamePart(path));
}

void EditorSession::LoadTemplate(const std::string& path) { Open(LoadDesignFile(path), std::string()); }

void EditorSession::Save(const std::string& path)
{
    if (!document_ || !layout_)
        return;
    SaveDesignFile(path, *mergeTable_, *layout_, *document_);
    // Named after the file only once the file holds the design: a failed
    // save must not show a name under which nothing was written.
    fileName_ = FileNamePart(path);
    MarkSaved();
}

void EditorSession::BeginNew(TlxLblInfo layout)
{
    // An open template reads the layout kept for it until it is laid anew.
    if (document_ && !retainedLayout_)
        retainedLayout_ = std::move(layout_);
    layout_ = std::make_unique<TlxLblInfo>(std::move(layout));
    if (document_)
        LayOntoLayout();
    else
        document_ = std::make_unique<TlxLabelManager>(layout_->LabelCount, *layout_);
    document_->SetSingleMode(layout_->SingleMode);
    fileName_.clear();
    newDesign_ = true;
    copySourceFace_ = -1;
    StartEditing();
}

void EditorSession::LayOntoLayout()
{
    const TlxLblInfo& layout = *layout_;
    // Onto a paper with more cells the faces move into a new document, each
    // bound to its cell's record; otherwise the design keeps every face.
    if (document_->GetFaceCount() < layout.LabelCount) {
        auto sheet = std::make_unique<TlxLabelManager>(layout.LabelCount, layout);
        for (std::int32_t i = 0; i < document_->GetFaceCount(); ++i)
            sheet->SetFaceObjects(i, document_->GetFaceObjects(i).CloneLabelForRecord(mergeTable_.get(), i));
        sheet->SetSingleMode(document_->GetSingleMode());
        document_ = std::move(sheet);
        retainedLayout_.reset();
    }
    const std::int32_t sized = std::min(document_->GetFaceCount(), layout.LabelCount);
    for (std::int32_t i = 0; i < sized; ++i) {
        TlxLabelObjectManager& face = document_->GetFaceObjects(i);
        face.SetLabelWidth(layout.GetLabelWidth(i));
        face.SetLabelHeight(layout.GetLabelHeight(i));
    }
}

void EditorSession::StartEditing()
{
    undo_.Clear();
    currentFace_ = 0;
    multiSelecting_ = false;
    if (document_ && document_->GetFaceCount() > 0)
        document_->SetSelectedIndex(-1, 0);
    MarkSaved();
}

void EditorSession::Abandon()
{
    MarkSaved();
    fileName_.clear();
    mergeTable_->Clear();
}

void EditorSession::Close()
{
    undo_.Clear();
    document_.reset();
    retainedLayout_.reset();
    multiSelecting_ = false;
}

// ---- the current cell and its selection

void EditorSession::ChooseFace(std::int32_t face)
{
    if (!document_ || face < 0 || face >= document_->GetFaceCount() || face == currentFace_)
        return;
    ClearMembers();
    multiSelecting_ = false;
    currentFace_ = face;
}

std::int32_t EditorSession::SelectedIndex() const
{
    return SelectedObject() ? document_->GetSelectedIndex(currentFace_) : -1;
}

const TLxLableObjectBase* EditorSession::SelectedObject() const
{
    if (!document_)
        return nullptr;
    const std::int32_t index = document_->GetSelectedIndex(currentFace_);
    if (index < 0 || index >= document_->GetObjectCount(currentFace_))
        return nullptr;
    return document_->GetObject(index, currentFace_);
}

TLxLableObjectBase* EditorSession::Selected()
{
    return SelectedObject() ? document_->GetObject(SelectedIndex(), currentFace_) : nullptr;
}

void EditorSession::Select(std::int32_t index)
{
    if (document_)
        document_->SetSelectedIndex(index, currentFace_);
}

std::vector<std::int32_t> EditorSession::Members() const
{
    std::vector<std::int32_t> members;
    for (std::int32_t i = 0; document_ && i < document_->GetObjectCount(currentFace_); ++i)
        if (document_->GetObject(i, currentFace_)->GetSelected())
            members.push_back(i);
    return members;
}

void EditorSession::SetMember(std::int32_t index, bool member)
{
    if (document_ && index >= 0 && index < document_->GetObjectCount(currentFace_))
        document_->GetObject(index, currentFace_)->SetSelected(member ? 1 : 0);
}

void EditorSession::ClearMembers()
{
    for (std::int32_t i = 0; document_ && i < document_->GetObjectCount(currentFace_); ++i)
        document_->GetObject(i, currentFace_)->SetSelected(0);
}

void EditorSession::ClearMultiSelection()
{
    multiSelecting_ = false;
    Select(-1);
    ClearMembers();
}

void EditorSession::SetShowGuide(bool show)
{
    if (document_)
        document_->SetShowGuide(show);
}

// ---- the merge table

bool EditorSession::LoadMergeTable(const std::string& path, const EncodingChooser& choose)
{
    if (!mergeTable_->LoadFromFile(path, choose))
        return false;
    MarkChanged();
    return true;
}

EnhMetafile EditorSession::RenderCurrentFace()
{
    return document_ ? document_->RenderFace(currentFace_, 0) : EnhMetafile();
}

} // namespace lx
