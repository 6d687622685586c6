#include "designer/windows/UnitPreview.h"

#include "designer/windows/QtBridge.h"

namespace lx {

TFormPreview::TFormPreview(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormPreview"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    UseDialogFrame(this);
}

} // namespace lx
