// Direct editing on the design surface: picking, Shift multi-selection,
// dragging, the rubber band, resizing with the corner handles, and moving or
// resizing with the arrow keys.
#include "designer/windows/UnitDesign.h"

#include "designer/windows/EditorShapes.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "platform/text/Numbers.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextEdit>

namespace lx {

namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kBlack = 0x000000;
constexpr double kNudgeStep = 0.2;

// A rubber band drawn up or to the left has a negative size.
QRect Normalised(const QRect& r)
{
    const int left = r.width() < 0 ? r.left() + r.width() : r.left();
    const int top = r.height() < 0 ? r.top() + r.height() : r.top();
    return QRect(left, top, std::abs(r.width()), std::abs(r.height()));
}

// Controls in which the arrow keys edit rather than move objects.
bool TakesArrowKeys(QObject* w)
{
    return qobject_cast<QComboBox*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
        qobject_cast<QRadioButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
        qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w);
}

} // namespace

void TFormDesign::BuildMouseComponents()
{
    setFocusPolicy(Qt::ClickFocus);
    auto* hook =
        new EventHook([this](QObject* watched, QEvent* event) { return HandleEditingEvent(watched, event); }, this);
    EditingHook = hook;
    ImageDesign->installEventFilter(hook);
    NoteEventHandlers(ImageDesign, {"ImageDesignMouseDown", "ImageDesignMouseMove", "ImageDesignMouseUp"});
    for (OutlineShape* handle : {ShapeLeftTop, ShapeRightTop, ShapeLeftBottom, ShapeRightBottom}) {
        handle->installEventFilter(hook);
        NoteEventHandlers(handle, {"ShapeFrameMouseDown", "ShapeHandleMouseMove", "ShapeFrameMouseUp"});
    }
    // The form previews the keys of all its controls.
    qApp->installEventFilter(hook);
}

bool TFormDesign::HandleEditingEvent(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != this || !isVisible() || TakesArrowKeys(widget))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        bool moved = false;
        guarded([&] { moved = FormKeyDown(key->key(), key->modifiers()); });
        return moved;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    if (watched == ImageDesign) {
        guarded([&] {
            if (type == QEvent::MouseButtonPress)
                ImageDesignMouseDown(mouse->button(), mouse->modifiers(), at.x(), at.y());
            else if (type == QEvent::MouseMove)
                ImageDesignMouseMove(at.x(), at.y());
            else
                ImageDesignMouseUp(mouse->button(), at.x(), at.y());
        });
        return true;
    }
    auto* handle = qobject_cast<OutlineShape*>(watched);
    if (!handle)
        return false;
    guarded([&] {
        if (type == QEvent::MouseButtonPress)
            ShapeFrameMouseDown(mouse->button());
        else if (type == QEvent::MouseMove)
            ShapeHandleMouseMove(handle, handle->mapTo(ImageDesign, at));
        else
            ShapeFrameMouseUp(mouse->button());
    });
    return true;
}

void TFormDesign::UpdateScreenDpi()
{
    if (SurfaceBitmap.Empty() || !Session.Layout())
        return;
    ScreenDpiX = SurfaceBitmap.Width() / Session.Layout()->GetLabelWidth(Session.CurrentFace()) * 25.4;
    ScreenDpiY = SurfaceBitmap.Height() / Session.Layout()->GetLabelHeight(Session.CurrentFace()) * 25.4;
}

std::int32_t TFormDesign::HitTest(QPoint p) const
{
    const std::int32_t face = Session.CurrentFace();
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(face); ++i) {
        const TLxLableObjectBase& o = *Session.Document()->GetObject(i, face);
        if (!o.GetCanMove())
            continue;
        const int left = SurfaceMmToPixels(true, o.GetLeft());
        const int top = SurfaceMmToPixels(false, o.GetTop());
        if (left <= p.x() && p.x() <= left + SurfaceMmToPixels(true, o.GetWidth()) && top <= p.y() &&
            p.y() <= top + SurfaceMmToPixels(false, o.GetHeight()))
            return i;
    }
    return -1;
}

bool TFormDesign::Collision(const QRect& a, const QRect& b)
{
    return std::max(a.left(), b.left()) < std::min(a.left() + a.width(), b.left() + b.width()) &&
        std::max(a.top(), b.top()) < std::min(a.top() + a.height(), b.top() + b.height());
}

void TFormDesign::ImageDesignMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (!Session.Document())
        return;
    const std::int32_t count = Session.Document()->GetObjectCount(Session.CurrentFace());
    if (button == Qt::RightButton && count == 0) {
        PopupMenuSelect->exec(QCursor::pos());
        return;
    }
    PageControlProperty->setFocus();
    if (count == 0)
        return;
    if (const TLxLableObjectBase* selected = SelectedObject(); selected && !selected->GetCanMove())
        Session.Select(-1);
    if (button == Qt::LeftButton)
        LeftButtonDown = true;
    PanelsReady = false;
    try {
        PressOnSurface(button, shift, x, y);
    } catch (...) {
        PanelsReady = true;
        throw;
    }
    PanelsReady = true;
    setFocus();
}

void TFormDesign::PressOnSurface(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    ObjectGrabbed = false;
    const std::int32_t before = Session.SelectedIndex();
    PressPictureX = x - PictureOrigin().x();
    PressPictureY = y - PictureOrigin().y();
    const std::int32_t hit = HitTest({PressPictureX, PressPictureY});
    if (hit >= 0) {
        Session.Select(hit);
        ObjectGrabbed = true;
    }
    if (Session.IsMultiSelecting()) {
        const QRect frame = ShapeMultiSelect->geometry();
        if (frame.left() < x && x < frame.left() + frame.width() && frame.top() < y &&
            y < frame.top() + frame.height()) {
            ObjectGrabbed = false;
        } else {
            // Shift-click outside adds to the members; any other press ends
            // the multi-selection for good.
            Session.EndMultiSelection();
            if (!(shift & Qt::ShiftModifier))
                Session.ClearMembers();
        }
    }
    if ((shift & Qt::ShiftModifier) && (hit >= 0 || before < 0))
        ToggleMultiMember(before);
    PressX = x;
    PressY = y;
    if (ObjectGrabbed) {
        ShapeSheetLine->setPen(kRed, Qt::DotLine);
        DrawSelection();
        PressFrameLeft = ShapeSheetLine->x();
        PressFrameTop = ShapeSheetLine->y();
        if (button == Qt::RightButton) {
            ObjectGrabbed = false;
            ShapeSheetLine->setPen(kBlack, Qt::DotLine);
        }
    } else if (Session.IsMultiSelecting()) {
        Session.Select(-1);
        ShapeMultiSelect->setPen(kRed, Qt::DotLine);
        PressFrameLeft = ShapeMultiSelect->x();
        PressFrameTop = ShapeMultiSelect->y();
    } else {
        ShapeMultiSelect->setPen(kBlue, Qt::DotLine);
        ShapeSheetLine->setPen(kBlack, Qt::DotLine);
        Session.Select(-1);
        ShowPropertyPage();
        RefreshDesign();
        if (button == Qt::RightButton) {
            PanelsReady = true;
            PopupMenuSelect->exec(QCursor::pos());
        }
    }
}

void TFormDesign::ToggleMultiMember(std::int32_t before)
{
    const std::int32_t h = HitTest({PressPictureX, PressPictureY});
    bool changed = false;
    bool becameSingle = false;
    if (h >= 0 && h != before) {
        changed = true;
        if (Session.Document()->GetObject(h, Session.CurrentFace())->GetSelected()) {
            Session.SetMember(h, false);
            const std::vector<std::int32_t> rest = Session.Members();
            rest.size() > 1 ? Session.BeginMultiSelection() : Session.EndMultiSelection();
            ObjectGrabbed = rest.size() == 1;
            becameSingle = rest.size() == 1;
            Session.Select(rest.size() == 1 ? rest[0] : -1);
        } else {
            Session.SetMember(h, true);
            becameSingle = Session.Members().size() == 1 && before < 0;
            if (!becameSingle) {
                Session.BeginMultiSelection();
                ObjectGrabbed = false;
                Session.Select(-1);
            }
        }
    }
    if (Session.IsMultiSelecting() && before >= 0) {
        Session.SetMember(before, true);
        DrawSelection();
        return;
    }
    if (h < 0) {
        Session.ClearMembers();
        ObjectGrabbed = false;
    } else if (becameSingle) {
        Session.ClearMembers();
    } else if (changed && before >= 0) {
        Session.SetMember(before, false);
        Session.Select(before);
    }
}

void TFormDesign::ImageDesignMouseMove(int x, int y)
{
    if (ObjectGrabbed) {
        ShapeSheetLine->move(PressFrameLeft + x - PressX, PressFrameTop + y - PressY);
    } else if (!ShapeMultiSelect->isHidden() && !Session.IsMultiSelecting()) {
        MultiSelectRect.setWidth(x - PressX);
        MultiSelectRect.setHeight(y - PressY);
        PlaceMultiSelectShape();
    } else if (!ShapeMultiSelect->isHidden() && Session.IsMultiSelecting() && LeftButtonDown) {
        ShapeMultiSelect->move(PressFrameLeft + x - PressX, PressFrameTop + y - PressY);
    }
}

void TFormDesign::ImageDesignMouseUp(Qt::MouseButton button, int x, int y)
{
    if (button != Qt::LeftButton || !LeftButtonDown || !Session.Document())
        return;
    LeftButtonDown = false;
    // A rubber band selects; it never moves anything.
    const bool band = !ObjectGrabbed && !Session.IsMultiSelecting();
    if (band) {
        FinishRubberBand();
    } else if (x != PressX || y != PressY) {
        const int dx = SurfacePixelsToMm(true, x - PressX);
        const int dy = SurfacePixelsToMm(false, y - PressY);
        if (ObjectGrabbed) {
            Session.MoveObjects({Session.SelectedIndex()}, dx, dy);
        } else {
            Session.MoveObjects(Session.Members(), dx, dy);
            ShapeMultiSelect->setPen(kBlue, Qt::DotLine);
        }
    }
    ObjectGrabbed = false;
    ShapeSheetLine->setPen(kBlack, Qt::DotLine);
    const bool ready = PanelsReady;
    PanelsReady = false;
    DrawSelection();
    ShowPropertyPage();
    PanelsReady = ready;
    RefreshDesign();
}

void TFormDesign::FinishRubberBand()
{
    UpdateScreenDpi();
    const QRect band = Normalised(MultiSelectRect);
    int left = 65535, top = 65535, right = 0, bottom = 0;
    std::vector<std::int32_t> members;
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(Session.CurrentFace()); ++i) {
        const TLxLableObjectBase& o = *Session.Document()->GetObject(i, Session.CurrentFace());
        const QRect box = ObjectSurfaceRect(o);
        const bool member = Collision(band, box) && o.GetCanMove();
        Session.SetMember(i, member);
        if (!member)
            continue;
        members.push_back(i);
        left = std::min(left, box.left());
        top = std::min(top, box.top());
        right = std::max(right, box.left() + box.width());
        bottom = std::max(bottom, box.top() + box.height());
    }
    if (members.size() < 2) {
        Session.EndMultiSelection();
        ShapeMultiSelect->hide();
        if (members.size() == 1) {
            Session.SetMember(members[0], false);
            Session.Select(members[0]);
            ObjectGrabbed = true;
        }
        return;
    }
    Session.BeginMultiSelection();
    Session.Select(-1);
    MultiSelectRect = QRect(left, top, right - left, bottom - top);
    PlaceMultiSelectShape();
    DrawMultiSelectionFrames();
}

void TFormDesign::DrawMultiSelectionFrames()
{
    if (!Session.Document() || !ImageDesign->hasPicture())
        return;
    QImage picture = ImageDesign->picture();
    QPainter painter(&picture);
    painter.setPen(QPen(toQColor(kRed), 1));
    for (std::int32_t i : Session.Members()) {
        const TLxLableObjectBase& o = *Session.Document()->GetObject(i, Session.CurrentFace());
        const QRect box = ObjectSurfaceRect(o).translated(-PictureOrigin());
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    painter.end();
    ImageDesign->setPicture(picture);
}

void TFormDesign::ShapeFrameMouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        LeftButtonDown = true;
}

void TFormDesign::ShapeHandleMouseMove(OutlineShape* handle, QPoint point)
{
    if (!LeftButtonDown)
        return;
    const int half = ShapeLeftTop->width() / 2;
    const auto centre = [half](const OutlineShape* shape) { return shape->pos() + QPoint(half, half); };
    const bool left = handle == ShapeLeftTop || handle == ShapeLeftBottom;
    const bool top = handle == ShapeLeftTop || handle == ShapeRightTop;
    const OutlineShape* opposite =
        left ? (top ? ShapeRightBottom : ShapeRightTop) : (top ? ShapeLeftBottom : ShapeLeftTop);
    const QPoint stop = centre(opposite);
    int x = left ? std::clamp(point.x(), 0, std::max(stop.x(), 0))
                 : std::clamp(point.x(), std::min(stop.x(), ImageDesign->width()), ImageDesign->width());
    int y = top ? std::clamp(point.y(), 0, std::max(stop.y(), 0))
                : std::clamp(point.y(), std::min(stop.y(), ImageDesign->height()), ImageDesign->height());
    handle->move(x - half, y - half);
    // The handles sharing an edge follow.
    OutlineShape* sameColumn = left ? (top ? ShapeLeftBottom : ShapeLeftTop) : (top ? ShapeRightBottom : ShapeRightTop);
    OutlineShape* sameRow = top ? (left ? ShapeRightTop : ShapeLeftTop) : (left ? ShapeRightBottom : ShapeLeftBottom);
    sameColumn->move(x - half, sameColumn->y());
    sameRow->move(sameRow->x(), y - half);
    const QPoint from = centre(ShapeLeftTop);
    const QPoint to = centre(ShapeRightBottom);
    ShapeSheetLine->setGeometry(from.x(), from.y(), to.x() - from.x(), to.y() - from.y());
}

void TFormDesign::ShapeFrameMouseUp(Qt::MouseButton button)
{
    const TLxLableObjectBase* object = SelectedObject();
    if (button != Qt::LeftButton || !LeftButtonDown || !object)
        return;
    LeftButtonDown = false;
    const QPoint origin = PictureOrigin();
    const QRect frame = ShapeSheetLine->geometry();
    // Whole millimetres: left, top, width, height.
    const std::array<double, 4> box{static_cast<double>(SurfacePixelsToMm(true, frame.left() - origin.x())),
                                    static_cast<double>(SurfacePixelsToMm(false, frame.top() - origin.y())),
                                    static_cast<double>(SurfacePixelsToMm(true, frame.width())),
                                    static_cast<double>(SurfacePixelsToMm(false, frame.height()))};
    const bool ready = PanelsReady;
    PanelsReady = false;
    // A click on a handle is no change.
    if (box != std::array{object->GetLeft(), object->GetTop(), object->GetWidth(), object->GetHeight()})
        Session.EditSelected([&](TLxLableObjectBase& resized) {
            resized.SetTop(box[1]);
            resized.SetLeft(box[0]);
            resized.SetWidth(box[2]);
            resized.SetHeight(box[3]);
            ShowPropertyPage();
            // A picture keeps its proportions: its page is applied once more.
            if (resized.GetKind() == KindImage)
                LabelEditImageObj(Session.SelectedIndex());
        });
    else
        ShowPropertyPage();
    DrawSelection();
    RefreshDesign();
    FillPropertyPanel();
    PanelsReady = ready;
}

bool TFormDesign::IsEditingKeyTarget() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == this && TakesArrowKeys(focus);
}

void TFormDesign::StepNudgeText(QLineEdit* edit, double step)
{
    const double value = ParseFloat(edit->text().toStdString());
    edit->setText(QString::asprintf("%.1f", value + step));
}

bool TFormDesign::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (!Session.Document() || IsEditingKeyTarget() || (!SelectedObject() && !Session.IsMultiSelecting()))
        return false;
    double dx = 0;
    double dy = 0;
    if (key == Qt::Key_Left)
        dx = -kNudgeStep;
    else if (key == Qt::Key_Right)
        dx = kNudgeStep;
    else if (key == Qt::Key_Up)
        dy = -kNudgeStep;
    else if (key == Qt::Key_Down)
        dy = kNudgeStep;
    else
        return false;
    if (Session.IsMultiSelecting()) {
        // Recorded and marked unsaved like the single-object nudge.
        Session.NudgeObjects(Session.Members(), dx, dy);
        RefreshDesign();
        return true;
    }
    const bool resize = shift & Qt::ControlModifier;
    if (dx != 0)
        StepNudgeText(resize ? EditSheetWidth : EditSheetPosLeft, dx);
    else
        StepNudgeText(resize ? EditSheetHeight : EditSheetPosTop, dy);
    return true;
}

} // namespace lx
