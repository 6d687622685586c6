#include "designer/windows/UnitPicSave.h"

#include "designer/windows/QtBridge.h"

namespace lx {

TFormPicSave::TFormPicSave(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormPicSave"));
    setWindowTitle(QStringLiteral("画像書出"));
    UseDialogFrame(this);
}

} // namespace lx
