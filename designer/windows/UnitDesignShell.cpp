// The editor's smaller mechanics: the object tabs painted by kind with
// their right-button menu, picture files dropped onto the picture page, and
// the key filter of the numeric fields.
#include "designer/windows/UnitDesign.h"

#include "designer/windows/EditorShapes.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/SheetTabBar.h"

#include <QAction>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <cctype>

namespace lx {

namespace {

// Tab fill colours by object kind; none above the last kind.
std::optional<QColor> TabColour(std::uint8_t kind)
{
    static const QColor colours[] = {{229, 0, 18},   {141, 194, 33}, {255, 130, 0}, {0, 164, 152},
                                     {44, 166, 224}, {0, 97, 212},   {0, 97, 212},  {0, 97, 212},
                                     {128, 128, 0},  {135, 71, 179}, {0, 135, 105}};
    if (kind >= std::size(colours))
        return std::nullopt;
    return colours[kind];
}

// Drops typed characters other than backspace, "-", ".", digits and delete.
class NumericKeyFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            // Return, Tab and Escape type nothing: they apply or leave the box.
            if (!text.isEmpty() && text.front().isPrint() && !TFormDesign::EditSheetNumPress(text.front()))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void TFormDesign::BuildShellComponents()
{
    auto* tabs = static_cast<SheetTabBar*>(TABSheet);
    tabs->setTabPainter(
        [this](QPainter& painter, int index, const QRect& rect) { TABSheetDrawTab(painter, index, rect); });
    tabs->setPressHandler([this](QMouseEvent& event) {
        guarded([this, &event] { TABSheetMouseDown(event.button(), event.position().toPoint()); });
    });
    NoteEventHandlers(TABSheet, {"TABSheetMouseDown"});
    PopupMenuSheetTab = new QMenu(this);
    PopupMenuSheetTab->setObjectName(QStringLiteral("PopupMenuSheetTab"));
    const std::tuple<const char*, const char*, QToolButton*, const char*> items[] = {
        {"Delete1", "シート削除", SBtnDelSheet, "Delete1Click"},
        {"MenuItem1", "シートを前面へ", SBtnSheetPrev, "MenuItem1Click"},
        {"N3", "シートを背面へ", SBtnSheetBack, "N3Click"}};
    for (auto [name, caption, button, handler] : items) {
        QAction* item = Named(PopupMenuSheetTab->addAction(QString::fromUtf8(caption)), name);
        Wire(handler, item, &QAction::triggered, button, &QToolButton::click);
    }
    for (QLineEdit* edit : {EditStrSpace, EditCsvStrSpace, EditRenbanStrSpace, EditSheetPosLeft, EditSheetPosTop,
                            EditSheetWidth, EditSheetHeight})
        UseNumericKeys(edit);
    PanelPicture->installEventFilter(new EventHook(
        [this](QObject*, QEvent* event) {
            // Other events also come while the editor is being destroyed.
            const QEvent::Type type = event->type();
            return (type == QEvent::DragEnter || type == QEvent::Drop) && AcceptDroppedFiles(event);
        },
        PanelPicture));
    NoteEventHandlers(PanelPicture, {"HandleDropFiles"});
}

bool TFormDesign::AcceptDroppedFiles(QEvent* event)
{
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (enter->mimeData()->hasUrls())
            enter->acceptProposedAction();
        return true;
    }
    if (event->type() != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    std::vector<std::string> paths;
    for (const QUrl& url : drop->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    }
    drop->acceptProposedAction();
    guarded([this, &paths] { HandleDropFiles(paths); });
    return true;
}

void TFormDesign::HandleDropFiles(const std::vector<std::string>& paths)
{
    if (paths.empty() || PageControlProperty->currentWidget() != TabSheetImage)
        return;
    if (paths.size() > 1) {
        ShowInfo("扱える画像は１つのみです。");
        return;
    }
    const std::string& path = paths.front();
    const std::size_t dot = path.rfind('.');
    std::string extension =
        dot == std::string::npos || path.find('/', dot) != std::string::npos ? "" : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    if (extension != ".BMP" && extension != ".JPG" && extension != ".JPEG" && extension != ".PNG") {
        ShowInfo("扱える画像形式は、BMP、JPEG、PNG形式です。");
        return;
    }
    Picture picture = LoadPictureFile(path);
    ApplyPictureToObject(std::move(picture));
}

void TFormDesign::TABSheetDrawTab(QPainter& painter, int index, const QRect& rect)
{
    if (!Session.Document() || index < 0 || index >= Session.Document()->GetObjectCount(Session.CurrentFace()))
        return;
    const TLxLableObjectBase& object = *Session.Document()->GetObject(index, Session.CurrentFace());
    if (const auto colour = TabColour(object.GetKind() & 0x7F))
        painter.fillRect(rect, *colour);
    painter.setPen(Qt::white);
    painter.drawText(rect.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, ToQString(object.GetName()));
}

void TFormDesign::TABSheetMouseDown(Qt::MouseButton button, QPoint point)
{
    if (button != Qt::RightButton)
        return;
    const int index = TABSheet->tabAt(point);
    if (index < 0)
        return;
    TABSheet->setCurrentIndex(index);
    // The menu's commands act on the object of the tab.
    TABSheetChange(index);
    PopupMenuSheetTab->exec(TABSheet->mapToGlobal(point));
}

bool TFormDesign::EditSheetNumPress(QChar key)
{
    const char16_t c = key.unicode();
    return c == u'\b' || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9') || c == 127;
}

void TFormDesign::UseNumericKeys(QLineEdit* edit)
{
    edit->installEventFilter(new NumericKeyFilter(edit));
    NoteEventHandlers(edit, {"EditSheetNumPress"});
}

} // namespace lx
