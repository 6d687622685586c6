#include "designer/windows/UnitSelectCsvType.h"

#include "designer/windows/QtBridge.h"

namespace lx {

TFormSelectCsvType::TFormSelectCsvType(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSelectCsvType"));
    setWindowTitle(QStringLiteral("差込シートタイプ選択"));
    UseDialogFrame(this);
}

} // namespace lx
