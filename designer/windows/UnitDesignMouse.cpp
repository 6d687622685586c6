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

// One decimal, as the panel fields show numbers.
double ToTenths(double value) { return ParseFloat(QString::asprintf("%.1f", value).toStdString()); }

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
    ScreenDpiX = SurfaceBitmap.Width() / Session.Layout()->GetLabelWidth(CurrentFace) * 25.4;
    ScreenDpiY = SurfaceBitmap.Height() / Session.Layout()->GetLabelHeight(CurrentFace) * 25.4;
}

std::int32_t TFormDesign::HitTest(QPoint p) const
{
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i) {
        const TLxLableObjectBase& o = *Session.Document()->GetObject(i, CurrentFace);
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
    const std::int32_t count = Session.Document()->GetObjectCount(CurrentFace);
    if (button == Qt::RightButton && count == 0) {
        PopupMenuSelect->exec(QCursor::pos());
        return;
    }
    PageControlProperty->setFocus();
    if (count == 0)
        return;
    if (const TLxLableObjectBase* selected = SelectedObject(); selected && !selected->GetCanMove())
        Session.Document()->SetSelectedIndex(-1, CurrentFace);
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
    const std::int32_t before = Session.Document()->GetSelectedIndex(CurrentFace);
    PressPictureX = x - PictureOrigin().x();
    PressPictureY = y - PictureOrigin().y();
    const std::int32_t hit = HitTest({PressPictureX, PressPictureY});
    if (hit >= 0) {
        Session.Document()->SetSelectedIndex(hit, CurrentFace);
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
                for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i)
                    Session.Document()->GetObject(i, CurrentFace)->SetSelected(0);
        }
    }
    if ((shift & Qt::ShiftModifier) && (hit >= 0 || before < 0))
        ToggleMultiMember(before);
    PressX = x;
    PressY = y;
    if (ObjectGrabbed) {
        const TLxLableObjectBase* object = SelectedObject();
        ShapeSheetLine->setPen(kRed, Qt::DotLine);
        PressObjectLeft = object->GetLeft();
        PressObjectTop = object->GetTop();
        DrawSelection();
        PressFrameLeft = ShapeSheetLine->x();
        PressFrameTop = ShapeSheetLine->y();
        if (button == Qt::RightButton) {
            ObjectGrabbed = false;
            ShapeSheetLine->setPen(kBlack, Qt::DotLine);
        }
    } else if (Session.IsMultiSelecting()) {
        Session.Document()->SetSelectedIndex(-1, CurrentFace);
        ShapeMultiSelect->setPen(kRed, Qt::DotLine);
        PressFrameLeft = ShapeMultiSelect->x();
        PressFrameTop = ShapeMultiSelect->y();
    } else {
        ShapeMultiSelect->setPen(kBlue, Qt::DotLine);
        ShapeSheetLine->setPen(kBlack, Qt::DotLine);
        Session.Document()->SetSelectedIndex(-1, CurrentFace);
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
    const auto members = [this] {
        std::vector<std::int32_t> list;
        for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i)
            if (Session.Document()->GetObject(i, CurrentFace)->GetSelected())
                list.push_back(i);
        return list;
    };
    const auto clearMembers = [this] {
        for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i)
            Session.Document()->GetObject(i, CurrentFace)->SetSelected(0);
    };
    const std::int32_t h = HitTest({PressPictureX, PressPictureY});
    bool changed = false;
    bool becameSingle = false;
    if (h >= 0 && h != before) {
        changed = true;
        TLxLableObjectBase& object = *Session.Document()->GetObject(h, CurrentFace);
        if (object.GetSelected()) {
            object.SetSelected(0);
            const std::vector<std::int32_t> rest = members();
            rest.size() > 1 ? Session.BeginMultiSelection() : Session.EndMultiSelection();
            ObjectGrabbed = rest.size() == 1;
            becameSingle = rest.size() == 1;
            Session.Document()->SetSelectedIndex(rest.size() == 1 ? rest[0] : -1, CurrentFace);
        } else {
            object.SetSelected(1);
            becameSingle = members().size() == 1 && before < 0;
            if (!becameSingle) {
                Session.BeginMultiSelection();
                ObjectGrabbed = false;
                Session.Document()->SetSelectedIndex(-1, CurrentFace);
            }
        }
    }
    if (Session.IsMultiSelecting() && before >= 0) {
        Session.Document()->GetObject(before, CurrentFace)->SetSelected(1);
        DrawSelection();
        return;
    }
    if (h < 0) {
        clearMembers();
        ObjectGrabbed = false;
    } else if (becameSingle) {
        clearMembers();
    } else if (changed && before >= 0) {
        Session.Document()->GetObject(before, CurrentFace)->SetSelected(0);
        Session.Document()->SetSelectedIndex(before, CurrentFace);
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
    } else {
        return;
    }
    // A drag under way counts the design changed, the rubber band included.
    Session.MarkChanged();
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
            const std::int32_t index = Session.Document()->GetSelectedIndex(CurrentFace);
            TLxLableObjectBase& object = *Session.Document()->GetObject(index, CurrentFace);
            PushObjectUndo(index, true);
            object.SetTop(PressObjectTop + dy);
            object.SetLeft(PressObjectLeft + dx);
            PushObjectUndo(index, false);
        } else {
            SetMemberPositions(dx, dy, false);
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

// Moves every member of the multi-selection; recorded as one group before
// and one after, and a change of the design.
void TFormDesign::SetMemberPositions(double dx, double dy, bool toTenths)
{
    std::vector<std::int32_t> members;
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i)
        if (Session.Document()->GetObject(i, CurrentFace)->GetSelected())
            members.push_back(i);
    const auto states = [&] {
        std::vector<ObjectState> states;
        for (std::int32_t i : members)
            states.push_back({i, Session.Document()->GetObject(i, CurrentFace)->Clone()});
        return states;
    };
    Session.RecordGroupBefore(UndoChanged, states());
    for (std::int32_t i : members) {
        TLxLableObjectBase& o = *Session.Document()->GetObject(i, CurrentFace);
        o.SetLeft(toTenths ? ToTenths(o.GetLeft() + dx) : o.GetLeft() + dx);
        o.SetTop(toTenths ? ToTenths(o.GetTop() + dy) : o.GetTop() + dy);
    }
    Session.RecordGroupChange(UndoChanged, states());
}

void TFormDesign::FinishRubberBand()
{
    UpdateScreenDpi();
    const QRect band = Normalised(MultiSelectRect);
    int left = 65535, top = 65535, right = 0, bottom = 0;
    std::vector<std::int32_t> members;
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i) {
        TLxLableObjectBase& o = *Session.Document()->GetObject(i, CurrentFace);
        const QRect box = ObjectSurfaceRect(o);
        const bool member = Collision(band, box) && o.GetCanMove();
        o.SetSelected(member);
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
            Session.Document()->GetObject(members[0], CurrentFace)->SetSelected(0);
            Session.Document()->SetSelectedIndex(members[0], CurrentFace);
            ObjectGrabbed = true;
        }
        return;
    }
    Session.BeginMultiSelection();
    Session.Document()->SetSelectedIndex(-1, CurrentFace);
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
    for (std::int32_t i = 0; i < Session.Document()->GetObjectCount(CurrentFace); ++i) {
        const TLxLableObjectBase& o = *Session.Document()->GetObject(i, CurrentFace);
        if (!o.GetSelected())
            continue;
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
    TLxLableObjectBase* object = SelectedObject();
    if (button != Qt::LeftButton || !LeftButtonDown || !object)
        return;
    const std::int32_t index = Session.Document()->GetSelectedIndex(CurrentFace);
    PushObjectUndo(index, true);
    LeftButtonDown = false;
    const QPoint origin = PictureOrigin();
    const QRect frame = ShapeSheetLine->geometry();
    const std::array<double, 4> was{object->GetLeft(), object->GetTop(), object->GetWidth(), object->GetHeight()};
    object->SetTop(SurfacePixelsToMm(false, frame.top() - origin.y()));
    object->SetLeft(SurfacePixelsToMm(true, frame.left() - origin.x()));
    object->SetWidth(SurfacePixelsToMm(true, frame.width()));
    object->SetHeight(SurfacePixelsToMm(false, frame.height()));
    // A resize is an unsaved change like any other; a click on a handle is none.
    const bool resized =
        was != std::array<double, 4>{object->GetLeft(), object->GetTop(), object->GetWidth(), object->GetHeight()};
    const bool ready = PanelsReady;
    PanelsReady = false;
    ShowPropertyPage();
    if (object->GetKind() == KindImage) {
        ++RecordedWriteDepth;
        LabelEditImageObj(index);
        --RecordedWriteDepth;
    }
    DrawSelection();
    if (resized)
        PushObjectUndo(index, false);
    else
        Session.RecordUnchanged(UndoChanged, index, object->Clone());
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
    edit->setText(QString::asprintf("%.1f", ToTenths(value + step)));
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
        SetMemberPositions(dx, dy, true);
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
