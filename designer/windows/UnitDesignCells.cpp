// The editor's label cells: the sheet overview that picks the cell being
// edited, copying and pasting a cell's design, deleting designs, and the
// switch between single and multi mode.
#include "designer/windows/UnitDesign.h"

#include "designer/model/SheetDrawing.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "platform/gdi/RasterDeviceContext.h"

#include <QBoxLayout>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <functional>

namespace lx {

namespace {

constexpr ColorRef kCurrentCellFill = 0xF9C896; // red 150, green 200, blue 249

// What the user is told when the paste did not happen, else `pasted`.
const char* PasteMessage(PasteResult result, const char* pasted)
{
    switch (result) {
    case PasteResult::NoSource: return "貼り付け元がありません。";
    case PasteResult::SameCell: return "貼り付け元と貼り付け先が同一です。";
    case PasteResult::Pasted: break;
    }
    return pasted;
}

// Calls a handler for every left or right press on a widget.
class PressFilter : public QObject {
public:
    PressFilter(QObject* parent, std::function<void(QPoint)> onPress) : QObject(parent), onPress_(std::move(onPress)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            onPress_(static_cast<QMouseEvent*>(event)->position().toPoint());
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QPoint)> onPress_;
};

void DrawFilledCell(DeviceContext& dc, std::uint8_t kind, const Rect& box)
{
    dc.SelectBrush({BrushStyle::Solid, kCurrentCellFill});
    Pen pen = dc.CurrentPen();
    pen.style = PenStyle::Solid;
    dc.SelectPen(pen);
    switch (kind) {
    case lxLineNomal: dc.Rectangle(box.left, box.top, box.right, box.bottom); break;
    case lxLineDot:
        dc.FillRect(box, kCurrentCellFill);
        DrawCellOutline(dc, kind, box);
        break;
    case lxLineCircle: dc.Ellipse(box.left, box.top, box.right, box.bottom); break;
    default: break;
    }
}

} // namespace

void TFormDesign::BuildCellComponents()
{
    ImagePrev->installEventFilter(
        new PressFilter(this, [this](QPoint point) { guarded([this, point] { ImagePrevMouseDown(point); }); }));
    NoteEventHandlers(ImagePrev, {"ImagePrevMouseDown"});
    const std::tuple<QPushButton*, void (TFormDesign::*)(), const char*> handlers[] = {
        {BtnSheetCopy, LX_HANDLER(TFormDesign, PngBtnSheetCopyClick)},
        {BtnSheetPaste, LX_HANDLER(TFormDesign, PngBtnSheetPasteClick)},
        {BtnSheetPasteAll, LX_HANDLER(TFormDesign, PngBtnSheetPasteAllClick)},
        {BtnSheetDel, LX_HANDLER(TFormDesign, PngBtnSheetDelClick)},
        {BtnMode, LX_HANDLER(TFormDesign, PngBtnModeClick)}};
    for (auto [button, handler, name] : handlers)
        WireClick(this, button, handler, name);
    Wire("PngBtnDelDesignClick", PngBtnDelDesign, &QAbstractButton::clicked, this,
         [this] { guarded([this] { PngBtnDelDesignClick(); }); });
}

void TFormDesign::RedrawAfterEdit()
{
    RefreshDesign();
    DrawFaceOverview();
    ShowPropertyPage();
}

// ---- overview

void TFormDesign::DrawFaceOverview()
{
    if (!Session.Layout() || !Session.Document())
        return;
    const TlxLblInfo& layout = *Session.Layout();
    const double paperWidth = layout.GetPaperWidth();
    const double paperHeight = layout.GetPaperHeight();
    const Size size = FitProportionally(paperWidth, paperHeight, ImagePrev->width(), ImagePrev->height());
    OverviewBitmap = Bitmap(size.cx, size.cy);
    if (!OverviewBitmap.Empty()) {
        const double sx = size.cx / paperWidth * 25.4;
        const double sy = size.cy / paperHeight * 25.4;
        RasterDeviceContext dc(OverviewBitmap);
        const bool single = Session.Document()->GetSingleMode();
        for (std::int32_t i = 0; i < layout.LabelCount; ++i) {
            const Rect box = ScaleMmRect(layout.GetLabelLeft(i), layout.GetLabelTop(i), layout.GetLabelWidth(i),
                                         layout.GetLabelHeight(i), sx, sy);
            if (single || i == Session.CurrentFace())
                DrawFilledCell(dc, layout.GetLabelLineKind(i), box);
            else
                DrawCellOutline(dc, layout.GetLabelLineKind(i), box);
            DrawInnerShapes(dc, layout, i, 0, 0, sx, sy);
        }
    }
    ImagePrev->setPicture(ToQImage(OverviewBitmap));
}

void TFormDesign::ImagePrevMouseDown(QPoint point)
{
    if (!Session.Document() || Session.Document()->GetSingleMode() || OverviewBitmap.Empty())
        return;
    const QPoint at = point - ImagePrev->pictureOffset();
    const TlxLblInfo& layout = *Session.Layout();
    const double sx = OverviewBitmap.Width() / layout.GetPaperWidth() * 25.4;
    const double sy = OverviewBitmap.Height() / layout.GetPaperHeight() * 25.4;
    for (std::int32_t i = 0; i < layout.LabelCount && i < Session.Document()->GetFaceCount(); ++i) {
        const Rect box = ScaleMmRect(layout.GetLabelLeft(i), layout.GetLabelTop(i), layout.GetLabelWidth(i),
                                     layout.GetLabelHeight(i), sx, sy);
        if (at.x() > box.left && at.x() < box.right && at.y() > box.top && at.y() < box.bottom) {
            PanelsReady = false;
            Session.ChooseFace(i);
            RedrawAfterEdit();
            PanelsReady = true;
            return;
        }
    }
}

// ---- copy, paste and delete

void TFormDesign::PngBtnSheetCopyClick()
{
    if (!Session.CopyCurrentFace()) {
        ShowInfo("シートが存在しないデザインはコピーできません。");
        return;
    }
    ShowInfo("現在編集中のデザインをコピーしました。");
}

void TFormDesign::PngBtnSheetPasteClick()
{
    const PasteResult result = Session.PasteFace();
    if (result == PasteResult::Pasted)
        RedrawAfterEdit();
    ShowInfo(PasteMessage(result, "コピーしたデザインを現在編集中の面に貼り付けました。"));
}

void TFormDesign::PngBtnSheetPasteAllClick()
{
    const PasteResult result = Session.PasteFaceOnAll();
    if (result == PasteResult::Pasted)
        RedrawAfterEdit();
    ShowInfo(PasteMessage(result, "コピーしたデザインを全面に貼り付けました。"));
}

bool TFormDesign::ConfirmDesignDeletion()
{
    return AskYesNo("現在、編集中のデザインを削除しますか？\r\n※デザインの削除は「もどす」ボタンでは戻せません。");
}

void TFormDesign::PngBtnSheetDelClick()
{
    if (!ConfirmDesignDeletion())
        return;
    Session.DeleteFaceDesign();
    RedrawAfterEdit();
}

void TFormDesign::PngBtnDelDesignClick()
{
    if (!ConfirmDesignDeletion())
        return;
    Session.DeleteDesign();
    RedrawAfterEdit();
}

// ---- mode

void TFormDesign::PngBtnModeClick()
{
    const bool single = Session.Document()->GetSingleMode();
    const char* question = single ? "現在のモードからマルチモードへ変更しますか？\r\n"
                                    "マルチモードでは「差込シート」を使用することができないため\r\n"
                                    "現在のデザインに該当シートが含まれる場合は削除されます。\r\n"
                                    "※モード変更は「もどす」ボタンでは戻せません。"
                                  : "現在のモードからシングルモードへ変更しますか？\r\n"
                                    "シングルモードでは１つのデザインを用紙全てに印刷するため\r\n"
                                    "現在デザインしているラベル以外のデザインは削除されます。\r\n"
                                    "※モード変更は「もどす」ボタンでは戻せません。";
    if (!AskYesNo(question))
        return;
    Session.SwitchMode();
    RedrawAfterEdit();
}

} // namespace lx
