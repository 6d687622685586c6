#include "designer/windows/UnitAddPaper.h"

#include "designer/windows/QtBridge.h"

#include <QPushButton>

namespace lx {

TFormAddPaper::TFormAddPaper(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAddPaper"));
    setWindowTitle(QStringLiteral("用紙追加"));
    UseDialogFrame(this);
    setFixedSize(240, 80);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    cancel->setGeometry(80, 26, 80, 28);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lx
