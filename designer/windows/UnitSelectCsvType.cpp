#include "designer/windows/UnitSelectCsvType.h"

#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/QtBridge.h"
#include "platform/app/Messages.h"

#include <QComboBox>
#include <QLabel>

namespace lx {

TFormSelectCsvType::TFormSelectCsvType(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSelectCsvType"));
    setWindowTitle(QStringLiteral("差込シートタイプ選択"));
    UseDialogFrame(this);
    setFixedSize(320, 120);
    Label1 = PlaceWidget(new QLabel(QStringLiteral("■差込シートに使用するタイプを選択してください")), this, "Label1",
                         12, 12, 296, 20);
    CBCsvSheetType = PlaceWidget(new QComboBox, this, "CBCsvSheetType", 12, 38, 200, 22);
    CBCsvSheetType->addItems(
        {QStringLiteral("文字タイプ"), QStringLiteral("バーコードタイプ"), QStringLiteral("携帯QRコードタイプ")});
    PNGBtnOK = PlaceWidget(new PictureButton, this, "PNGBtnOK", 120, 78, 90, 28);
    PNGBtnOK->setText(QStringLiteral("作成"));
    PNGBtnCancel = PlaceWidget(new PictureButton, this, "PNGBtnCancel", 218, 78, 90, 28);
    PNGBtnCancel->setText(QStringLiteral("キャンセル"));
    Wire("PNGBtnOKClick", PNGBtnOK, &QAbstractButton::clicked, this, [this] { guarded([this] { PNGBtnOKClick(); }); });
    Wire("PNGBtnCancelClick", PNGBtnCancel, &QAbstractButton::clicked, this,
         [this] { guarded([this] { PNGBtnCancelClick(); }); });
}

void TFormSelectCsvType::PNGBtnOKClick()
{
    ChosenType = CBCsvSheetType->currentIndex();
    accept();
}

void TFormSelectCsvType::PNGBtnCancelClick()
{
    ChosenType = -1;
    reject();
}

} // namespace lx
