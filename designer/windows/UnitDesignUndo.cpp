// The editor's undo and redo buttons: the session replays a group of steps
// on the cells they name, and the editor shows the cell it went to.
#include "designer/windows/UnitDesign.h"

#include "designer/windows/HandlerWiring.h"

#include <QPushButton>

namespace lx {

void TFormDesign::BuildUndoComponents()
{
    Wire("BtnUndoClick", BtnUndo, &QPushButton::clicked, this, [this] { guarded([this] { BtnUndoClick(); }); });
    Wire("BtnRedoClick", BtnRedo, &QPushButton::clicked, this, [this] { guarded([this] { BtnRedoClick(); }); });
}

const TLxLableObjectBase* TFormDesign::SelectedObject() const { return Session.SelectedObject(); }

void TFormDesign::BtnUndoClick()
{
    if (Session.CanUndo())
        ReplayGroup(false);
}

void TFormDesign::BtnRedoClick()
{
    if (Session.CanRedo())
        ReplayGroup(true);
}

void TFormDesign::ReplayGroup(bool redo)
{
    PanelsReady = false;
    try {
        redo ? Session.Redo() : Session.Undo();
    } catch (...) {
        // What was applied stays applied; the rest of the history is not
        // offered again.
        RedrawAfterEdit();
        (redo ? BtnRedo : BtnUndo)->hide();
        PanelsReady = true;
        throw;
    }
    RedrawAfterEdit();
    PanelsReady = true;
}

} // namespace lx
