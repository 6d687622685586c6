// The commands on the selected object: one step to the front or the back,
// rename, delete; and the design guide, a dot every 3 mm over the label.
#include "designer/windows/UnitDesign.h"

#include "designer/windows/HandlerWiring.h"
#include "designer/windows/QtBridge.h"
#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>
#include <cmath>

namespace lx {

namespace {

constexpr double kGuideStepMm = 3;

} // namespace

void TFormDesign::BuildOrderComponents()
{
    auto* commands = new QHBoxLayout;
    const std::tuple<QToolButton**, const char*, const char*, void (TFormDesign::*)(), const char*> buttons[] = {
        {&SBtnSheetPrev, "SBtnSheetPrev", "▲前面へ", LX_HANDLER(TFormDesign, SBtnSheetPrevClick)},
        {&SBtnSheetBack, "SBtnSheetBack", "▼背面へ", LX_HANDLER(TFormDesign, SBtnSheetBackClick)},
        {&SBtnChangeName, "SBtnChangeName", "シート名変更", LX_HANDLER(TFormDesign, SBtnChangeNameClick)},
        {&SBtnDelSheet, "SBtnDelSheet", "シート削除", LX_HANDLER(TFormDesign, SBtnDelSheetClick)}};
    for (auto [button, name, caption, handler, handlerName] : buttons) {
        *button = new QToolButton;
        (*button)->setObjectName(QString::fromLatin1(name));
        (*button)->setText(QString::fromUtf8(caption));
        commands->addWidget(*button);
        WireClick(this, *button, handler, handlerName);
    }
    CBGrid = new QCheckBox(QStringLiteral("デザインガイドを表示"));
    CBGrid->setObjectName(QStringLiteral("CBGrid"));
    Wire("CBGridClick", CBGrid, &QCheckBox::toggled, this, [this] { guarded([this] { CBGridClick(); }); });
    auto* side = qobject_cast<QBoxLayout*>(PanelSide->layout());
    side->insertLayout(1, commands);
    side->insertWidget(2, CBGrid);
}

void TFormDesign::SBtnSheetPrevClick()
{
    if (Session.MoveSelectedFront())
        RefreshDesign();
}

void TFormDesign::SBtnSheetBackClick()
{
    if (Session.MoveSelectedBack())
        RefreshDesign();
}

void TFormDesign::SBtnChangeNameClick()
{
    const TLxLableObjectBase* object = SelectedObject();
    if (!object)
        return;
    const auto name =
        Messages().InputText("シート名変更", "シート名を入力してください", Cp932ToUtf8(object->GetName()));
    if (!name)
        return;
    Session.RenameSelected(Utf8ToCp932(*name));
    EditSheetName->setText(ToQString(SelectedObject()->GetName()));
    RefreshDesign();
}

void TFormDesign::SBtnDelSheetClick()
{
    const TLxLableObjectBase* object = SelectedObject();
    if (!object || !AskYesNo(Cp932ToUtf8(object->GetName()) + "を削除しますか？"))
        return;
    Session.DeleteSelected();
    RedrawAfterEdit();
}

void TFormDesign::CBGridClick()
{
    if (!Session.Document() || Session.Document()->GetShowGuide() == CBGrid->isChecked())
        return;
    Session.SetShowGuide(CBGrid->isChecked());
    RefreshDesign();
}

void TFormDesign::DrawDesignGuide()
{
    if (!Session.Document())
        return;
    {
        const QSignalBlocker blocker(CBGrid);
        CBGrid->setChecked(Session.Document()->GetShowGuide());
    }
    if (!Session.Document()->GetShowGuide() || SurfaceBitmap.Empty())
        return;
    // Whole millimetres of the cell; a damaged size draws nothing.
    const double width = std::trunc(Session.Layout()->GetLabelWidth(Session.CurrentFace()));
    const double height = std::trunc(Session.Layout()->GetLabelHeight(Session.CurrentFace()));
    if (!(width >= 0 && height >= 0 && width < 1e5 && height < 1e5))
        return;
    const int nx = static_cast<int>(width) / 3;
    const int ny = static_cast<int>(height) / 3;
    for (int i = 0; i <= nx; ++i) {
        const int x = RoundToInt(kGuideStepMm * i * ScreenDpiX / 25.4);
        for (int j = 0; j <= ny; ++j) {
            const int y = RoundToInt(kGuideStepMm * j * ScreenDpiY / 25.4);
            if (x < SurfaceBitmap.Width() && y < SurfaceBitmap.Height())
                SurfaceBitmap.SetPixel(x, y, 0xFF000000u);
        }
    }
}

} // namespace lx
