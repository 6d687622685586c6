#include "designer/windows/UnitSelectPicture.h"

#include "designer/windows/QtBridge.h"

namespace lx {

TFormSelectPicture::TFormSelectPicture(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSelectPicture"));
    setWindowTitle(QStringLiteral("画像選択"));
    UseDialogFrame(this);
}

} // namespace lx
