#include "designer/windows/UnitSelectPicture.h"

#include "designer/windows/DataFolders.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/QtBridge.h"
#include "platform/app/Messages.h"
#include "platform/app/Program.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/shell/FileIcons.h"
#include "platform/shell/ImageExtract.h"
#include "platform/shell/ShellFolders.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStorageInfo>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

namespace lx {

namespace {

constexpr int kThumbnailSize = 150;
constexpr int kIconSize = 32;

QString FromNative(const std::string& utf8) { return QString::fromStdString(utf8); }

// The file-name part of a picture's path.
std::string PictureFileName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ---- the folder buttons' pictures

enum class FolderIcon { Desktop, Documents, Material };
enum class Face { Normal, Pressed, Hover };

void DrawFolderIcon(QPainter& p, FolderIcon icon)
{
    const QColor ink(0x2A, 0x3F, 0x5F);
    p.setPen(QPen(ink, 1.4));
    switch (icon) {
    case FolderIcon::Desktop:
        p.setBrush(QColor(0x9F, 0xC8, 0xF0));
        p.drawRoundedRect(QRectF(2, 4, 26, 17), 2, 2);
        p.setBrush(ink);
        p.drawRect(QRectF(12, 21, 6, 4));
        p.drawRect(QRectF(8, 25, 14, 2));
        break;
    case FolderIcon::Documents:
        p.setBrush(QColor(0xF3, 0xC9, 0x5B));
        p.drawRect(QRectF(2, 8, 26, 19));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 16, 16));
        p.drawLine(QPointF(10, 8), QPointF(20, 8));
        p.drawLine(QPointF(10, 12), QPointF(20, 12));
        p.setBrush(QColor(0xF7, 0xD8, 0x7C));
        p.drawRect(QRectF(2, 14, 26, 13));
        break;
    case FolderIcon::Material:
        p.setBrush(QColor(0xF2, 0x8C, 0xB1));
        for (int i = 0; i < 5; ++i) {
            p.save();
            p.translate(15, 15);
            p.rotate(72 * i);
            p.drawEllipse(QRectF(-4, -13, 8, 11));
            p.restore();
        }
        p.setBrush(QColor(0xFF, 0xD8, 0x5B));
        p.drawEllipse(QPointF(15, 15), 4, 4);
        break;
    }
}

QPixmap FolderButtonFace(FolderIcon icon, const QString& caption, Face face, const QFont& font)
{
    QImage image(217, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double shift = face == Face::Pressed ? 1 : 0;
    const QRectF body = QRectF(1.5, 1.5, 213, 36).translated(shift, shift);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, face == Face::Pressed ? QColor(0xC5, 0xDA, 0xF2) : Qt::white);
    fill.setColorAt(1, face == Face::Hover ? QColor(0xC5, 0xDE, 0xFB) : QColor(0xE2, 0xEC, 0xF8));
    p.setPen(QPen(face == Face::Normal ? QColor(0x8F, 0xA8, 0xCB) : QColor(0x2F, 0x74, 0xD6), 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(body, 7, 7);
    p.save();
    p.translate(body.left() + 10, body.top() + 3);
    DrawFolderIcon(p, icon);
    p.restore();
    p.setFont(font);
    p.setPen(QColor(0x1B, 0x2E, 0x4B));
    p.drawText(body.adjusted(50, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
    p.end();
    return QPixmap::fromImage(image);
}

void GiveFaces(PictureButton* button, FolderIcon icon, const QString& caption)
{
    QFont font = button->font();
    font.setPixelSize(14);
    font.setBold(true);
    button->setText(caption);
    button->setPictures(FolderButtonFace(icon, caption, Face::Normal, font),
                        FolderButtonFace(icon, caption, Face::Pressed, font),
                        FolderButtonFace(icon, caption, Face::Hover, font));
    button->setFixedSize(217, 40);
}

// ---- the thumbnails' delegate

// Draws each item as its thumbnail (or its type's icon) in a box of the
// thumbnail size above the file name, outlined while selected.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    ThumbnailDelegate(const std::vector<std::optional<QImage>>& thumbnails, QObject* parent)
        : QStyledItemDelegate(parent), thumbnails_(thumbnails)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {kThumbnailSize + 16, kThumbnailSize + 10 + option.fontMetrics.height()};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect cell = option.rect;
        const QRect box(cell.left() + Div(cell.width() - kThumbnailSize, 2), cell.top() + 4, kThumbnailSize,
                        kThumbnailSize);
        painter->fillRect(box, option.palette.color(QPalette::Base));
        const std::size_t row = static_cast<std::size_t>(index.row());
        const QImage picture =
            row < thumbnails_.size() && thumbnails_[row] ? *thumbnails_[row] : TypeIcon(index.data().toString());
        painter->drawImage(box.left() + Div(box.width() - picture.width(), 2),
                           box.top() + Div(box.height() - picture.height(), 2), picture);
        const bool selected = option.state & QStyle::State_Selected;
        if (selected) {
            // Two pixels inside the box on every side, whatever the pen
            // rasterisation would make of a stroked rectangle.
            const QColor highlight = option.palette.color(QPalette::Highlight);
            painter->fillRect(QRect(box.left(), box.top(), box.width(), 2), highlight);
            painter->fillRect(QRect(box.left(), box.bottom() - 1, box.width(), 2), highlight);
            painter->fillRect(QRect(box.left(), box.top(), 2, box.height()), highlight);
            painter->fillRect(QRect(box.right() - 1, box.top(), 2, box.height()), highlight);
        }
        const QRect text(cell.left(), box.bottom() + 5, cell.width(), option.fontMetrics.height() + 2);
        const QString name = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, text.width() - 4);
        if (selected)
            painter->fillRect(option.fontMetrics.boundingRect(text, Qt::AlignCenter, name).adjusted(-2, 0, 2, 0),
                              option.palette.color(QPalette::Highlight));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(text, Qt::AlignCenter, name);
    }

private:
    // One icon per extension: the theme is asked once.
    QImage TypeIcon(const QString& name) const
    {
        const QString extension = name.section(QLatin1Char('.'), -1).toLower();
        auto found = icons_.find(extension);
        if (found == icons_.end())
            found = icons_.insert(extension, ToQImage(FileTypeIcon(name.toStdString(), kIconSize)));
        return *found;
    }

    const std::vector<std::optional<QImage>>& thumbnails_;
    mutable QHash<QString, QImage> icons_;
};

} // namespace

// The list's items without items of their own (owner data): row i is the
// chooser's picture i, captioned with its file name.
class PictureListModel : public QAbstractListModel {
public:
    PictureListModel(const std::vector<std::string>& paths, QObject* parent) : QAbstractListModel(parent), paths_(paths)
    {
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(paths_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount({}))
            return {};
        return FromNative(PictureFileName(paths_[static_cast<std::size_t>(index.row())]));
    }
    void BeginRebuild() { beginResetModel(); }
    void EndRebuild() { endResetModel(); }

private:
    const std::vector<std::string>& paths_;
};

TFormSelectPicture::TFormSelectPicture(const QWidget* over, QWidget* parent) : QDialog(parent), Over(over)
{
    setObjectName(QStringLiteral("FormSelectPicture"));
    setWindowTitle(QStringLiteral("画像選択"));
    UseDialogFrame(this);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    setMinimumSize(835, 450);
    resize(835, 450);
    MaterialFolder = ShippedFolder(ProgramFolder()) + "/素材";
    BuildComponents();
}

TFormSelectPicture::~TFormSelectPicture() = default;

void TFormSelectPicture::BuildComponents()
{
    model_ = new PictureListModel(FilePaths, this);
    LVAttachFile = new QListView;
    LVAttachFile->setObjectName(QStringLiteral("LVAttachFile"));
    LVAttachFile->setViewMode(QListView::IconMode);
    LVAttachFile->setMovement(QListView::Static);
    LVAttachFile->setResizeMode(QListView::Adjust);
    LVAttachFile->setUniformItemSizes(true);
    LVAttachFile->setSelectionMode(QAbstractItemView::SingleSelection);
    LVAttachFile->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVAttachFile->setSpacing(4);
    LVAttachFile->setModel(model_);
    LVAttachFile->setItemDelegate(new ThumbnailDelegate(Thumbnails, LVAttachFile));
    LVAttachFile->viewport()->installEventFilter(this);
    NoteEventHandlers(LVAttachFile, {"LVAttachFileDblClick"});
    connect(LVAttachFile->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateOkButton(); });

    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    ProgressBarStatus = new QProgressBar;
    ProgressBarStatus->setObjectName(QStringLiteral("ProgressBarStatus"));
    ProgressBarStatus->setTextVisible(false);
    ProgressBarStatus->setFixedWidth(220);
    StatusBar1->addPermanentWidget(ProgressBarStatus);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));

    auto* body = new QHBoxLayout;
    body->setContentsMargins(6, 6, 6, 0);
    body->addWidget(BuildFolderPanel());
    body->addWidget(LVAttachFile, 1);
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(4);
    form->addLayout(body, 1);
    form->addWidget(StatusBar1);
}

QWidget* TFormSelectPicture::BuildFolderPanel()
{
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("PanelFolder"));
    panel->setFixedWidth(233);
    PngBtnDesktop = new PictureButton;
    PngBtnDesktop->setObjectName(QStringLiteral("PngBtnDesktop"));
    GiveFaces(PngBtnDesktop, FolderIcon::Desktop, QStringLiteral("デスクトップ"));
    PngBtnDocument = new PictureButton;
    PngBtnDocument->setObjectName(QStringLiteral("PngBtnDocument"));
    GiveFaces(PngBtnDocument, FolderIcon::Documents, QStringLiteral("ドキュメント"));
    PngBtnSozai = new PictureButton;
    PngBtnSozai->setObjectName(QStringLiteral("PngBtnSozai"));
    GiveFaces(PngBtnSozai, FolderIcon::Material, QStringLiteral("素材集"));

    DriveCB = new QComboBox;
    DriveCB->setObjectName(QStringLiteral("DriveCB"));
    folders_ = new QStandardItemModel(this);
    DirListBox = new QTreeView;
    DirListBox->setObjectName(QStringLiteral("DirListBox"));
    DirListBox->setModel(folders_);
    DirListBox->header()->hide();
    DirListBox->setItemsExpandable(false);
    DirListBox->setEditTriggers(QAbstractItemView::NoEditTriggers);

    BtnOK = new QPushButton(QStringLiteral("決定"));
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setEnabled(false);
    BtnCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : {static_cast<QWidget*>(PngBtnDesktop), static_cast<QWidget*>(PngBtnDocument),
                            static_cast<QWidget*>(PngBtnSozai), static_cast<QWidget*>(DriveCB)})
        column->addWidget(widget, 0, Qt::AlignHCenter);
    DriveCB->setFixedWidth(217);
    column->addWidget(DirListBox, 1);
    column->addLayout(buttons);

    const auto bind = [this](auto* sender, auto signal, void (TFormSelectPicture::*handler)(), const char* name) {
        Wire(name, sender, signal, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    bind(PngBtnDesktop, &QAbstractButton::clicked, LX_HANDLER(TFormSelectPicture, PngBtnDesktopClick));
    bind(PngBtnDocument, &QAbstractButton::clicked, LX_HANDLER(TFormSelectPicture, PngBtnDocumentClick));
    bind(PngBtnSozai, &QAbstractButton::clicked, LX_HANDLER(TFormSelectPicture, PngBtnSozaiClick));
    Wire("modal result OK", BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    Wire("modal result Cancel", BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    Wire("DirListBoxChange", DirListBox->selectionModel(), &QItemSelectionModel::currentChanged, this,
         [this](const QModelIndex& current) {
             if (!current.isValid())
                 return;
             // Later: choosing a folder refills the list that announced it.
             const std::string folder = current.data(Qt::UserRole).toString().toStdString();
             QMetaObject::invokeMethod(
                 this, [this, folder] { guarded([&] { SetDirectory(folder); }); }, Qt::QueuedConnection);
         });
    Wire("DirListBoxChange", DriveCB, &QComboBox::activated, this,
         [this](int index) { guarded([&] { SetDirectory(DriveCB->itemData(index).toString().toStdString()); }); });
    return panel;
}

// ---- showing

bool TFormSelectPicture::SelectPictureFile(std::string& path)
{
    if (exec() != QDialog::Accepted)
        return false;
    const int index = SelectedIndex();
    if (index < 0)
        return false;
    path = FilePaths[static_cast<std::size_t>(index)];
    return true;
}

void TFormSelectPicture::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        CentreOn(this, Over && Over->isVisible() ? Over : nullptr);
        guarded([this] { FormShow(); });
    }
    QDialog::showEvent(event);
}

void TFormSelectPicture::FormShow()
{
    FillDriveBox();
    PngBtnDocumentClick();
}

void TFormSelectPicture::FillDriveBox()
{
    const QSignalBlocker blocker(DriveCB);
    DriveCB->clear();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        const bool system = root.startsWith(QLatin1String("/proc")) || root.startsWith(QLatin1String("/sys")) ||
            root.startsWith(QLatin1String("/dev")) || root.startsWith(QLatin1String("/run"));
        if (volume.isValid() && volume.isReady() && !system && !roots.contains(root))
            roots << root;
    }
    if (!roots.contains(QStringLiteral("/")))
        roots << QStringLiteral("/");
    roots.sort();
    for (const QString& root : roots)
        DriveCB->addItem(root, root);
}

QString TFormSelectPicture::ShowDriveOf(const QString& folder)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < DriveCB->count(); ++i) {
        const QString root = DriveCB->itemData(i).toString();
        const bool holds = root == QLatin1String("/") || folder == root || folder.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker blocker(DriveCB);
    DriveCB->setCurrentIndex(best);
    return best < 0 ? QStringLiteral("/") : DriveCB->itemData(best).toString();
}

void TFormSelectPicture::FillFolderList(const QString& root, const QString& folder)
{
    const QSignalBlocker blocker(DirListBox->selectionModel());
    folders_->clear();
    const QFileIconProvider icons;
    const auto add = [&](QStandardItem* parent, const QString& caption, const QString& path) {
        auto* item = new QStandardItem(icons.icon(QFileIconProvider::Folder), caption);
        item->setData(path, Qt::UserRole);
        item->setEditable(false);
        parent->appendRow(item);
        return item;
    };
    QStandardItem* current = add(folders_->invisibleRootItem(), root, root);
    const QString below = folder.mid(root.size());
    QString path = root;
    for (const QString& name : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path = QDir(path).filePath(name);
        current = add(current, name, path);
    }
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;
    for (const QFileInfo& sub : QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, order))
        add(current, sub.fileName(), sub.absoluteFilePath());
    DirListBox->expandAll();
    DirListBox->setCurrentIndex(current->index());
    DirListBox->scrollTo(current->index());
}

// ---- the folder

void TFormSelectPicture::SetDirectory(const std::string& folder)
{
    const QString path = QDir::cleanPath(QDir(FromNative(folder)).absolutePath());
    if (!QDir(path).exists())
        throw FileError(FileErrorMessage("フォルダがありません", path.toStdString()));
    directory_ = path.toStdString();
    FillFolderList(ShowDriveOf(path), path);
    DirListBoxChange();
}

void TFormSelectPicture::DirListBoxChange() { ShowFolder(directory_); }

void TFormSelectPicture::ShowFolder(const std::string& folder)
{
    model_->BeginRebuild();
    FilePaths.clear();
    Thumbnails.clear();
    FillFileList(folder);
    BuildThumbnails();
    model_->EndRebuild();
    UpdateOkButton();
}

bool TFormSelectPicture::IsPictureFile(std::string_view name)
{
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString extension = text.mid(dot).toLower();
    return extension == QLatin1String(".bmp") || extension == QLatin1String(".jpg") ||
        extension == QLatin1String(".jpeg") || extension == QLatin1String(".png");
}

void TFormSelectPicture::FillFileList(const std::string& folder)
{
    const QDir dir(FromNative(folder));
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase)) {
        if (IsPictureFile(entry.fileName().toStdString()))
            FilePaths.push_back(entry.absoluteFilePath().toStdString());
    }
}

void TFormSelectPicture::BuildThumbnails()
{
    const int count = static_cast<int>(FilePaths.size());
    // A range of 0 to 0 would turn the bar into a busy indicator.
    ProgressBarStatus->setRange(0, count > 1 ? count - 1 : 1);
    for (int i = 0; i < count; ++i) {
        ProgressBarStatus->setValue(i);
        ProgressBarStatus->repaint();
        Bitmap thumbnail(kThumbnailSize, kThumbnailSize);
        if (ExtractThumbnail(FilePaths[static_cast<std::size_t>(i)], thumbnail))
            Thumbnails.emplace_back(ToQImage(thumbnail));
        else
            Thumbnails.emplace_back(std::nullopt);
    }
    ProgressBarStatus->setValue(0);
}

// ---- the buttons

void TFormSelectPicture::PngBtnDesktopClick() { SetDirectory(DesktopFolder()); }

void TFormSelectPicture::PngBtnDocumentClick() { SetDirectory(DocumentsFolder()); }

void TFormSelectPicture::PngBtnSozaiClick()
{
    PopupMenu1->clear();
    materialNames_.clear();
    const QDir folder(FromNative(MaterialFolder));
    // Entries are numbered as the folder lists them, "." and ".." first;
    // only folders become items, as each item opens one.
    int number = 2;
    for (const QFileInfo& entry :
         folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        const int entryNumber = number++;
        if (!entry.isDir())
            continue;
        const int tag = static_cast<int>(PopupMenu1->actions().size());
        QString caption = entry.fileName();
        QAction* item = PopupMenu1->addAction(caption.replace(QLatin1Char('&'), QLatin1String("&&")));
        item->setObjectName(QStringLiteral("SozaiDir") + QString::number(entryNumber));
        item->setData(tag);
        materialNames_.push_back(entry.fileName().toStdString());
        connect(item, &QAction::triggered, this, [this, tag] { guarded([&] { PUItemClick(tag); }); });
    }
    PopupMenu1->popup(QCursor::pos());
}

void TFormSelectPicture::PUItemClick(int tag)
{
    if (tag < 0 || tag >= static_cast<int>(materialNames_.size()))
        return;
    SetDirectory(MaterialFolder + "/" + materialNames_[static_cast<std::size_t>(tag)]);
}

int TFormSelectPicture::SelectedIndex() const
{
    const QModelIndexList selected = LVAttachFile->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void TFormSelectPicture::UpdateOkButton()
{
    // Without a selection there is nothing to hand back, even when the
    // folder is empty.
    BtnOK->setEnabled(SelectedIndex() >= 0);
}

void TFormSelectPicture::LVAttachFileDblClick()
{
    if (SelectedIndex() >= 0)
        BtnOK->click();
    else
        ShowInfo("ファイルを選択してください。");
}

bool TFormSelectPicture::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LVAttachFile->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        guarded([this] { LVAttachFileDblClick(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lx
