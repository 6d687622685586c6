#include "designer/windows/UnitLoadTemp.h"

#include "designer/windows/QtBridge.h"

#include <QListWidget>
#include <QPushButton>

namespace lx {

TFormLoadTemp::TFormLoadTemp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormLoadTemp"));
    setWindowTitle(QStringLiteral("テンプレート選択"));
    UseDialogFrame(this);
    setFixedSize(496, 378);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 16, 170, 350);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    cancel->setGeometry(400, 336, 88, 30);
    connect(cancel, &QPushButton::clicked, this, [this] { done(2); });
}

} // namespace lx
