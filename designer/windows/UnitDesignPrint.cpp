// The editor's ways out of the design: the print preview and the picture
// export.
#include "designer/windows/UnitDesign.h"

#include "designer/model/LxLabelManager.h"
#include "designer/windows/Forms.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "platform/text/Numbers.h"

namespace lx {

void TFormDesign::BtnPrintClick()
{
    if (Document && SheetLayout && MergeTable)
        FormPreview->ShowPreview(*Document, *SheetLayout, *MergeTable);
}

void TFormDesign::PngBtnPicOutClick()
{
    if (!Document || !SheetLayout)
        return;
    const EnhMetafile picture = Document->RenderFace(CurrentFace, 0);
    const auto width = TryRoundToInt(SheetLayout->GetLabelWidth(CurrentFace));
    const auto height = TryRoundToInt(SheetLayout->GetLabelHeight(CurrentFace));
    // A size no picture can have is no size at all.
    FormPicSave->ShowPicSave(width.value_or(0), height.value_or(0), picture);
}

} // namespace lx
