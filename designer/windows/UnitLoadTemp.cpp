#include "designer/windows/UnitLoadTemp.h"

#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/app/Messages.h"
#include "platform/image/JpegImage.h"
#include "platform/io/Files.h"

#include <QCollator>
#include <QDir>
#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

namespace lx {

namespace {

constexpr const char* kTemplateExtension = ".bv2t";
constexpr const char* kPreviewExtension = ".JPG";
constexpr const char* kNoPreview = "NO_Preview.JPG";
// A preview is a small picture; a file beyond this is not one.
constexpr std::uint64_t kMaxPreviewBytes = 64ull << 20;

// The file of the folder spelt `name` in any letter case, the exact
// spelling first; empty when there is none.
std::string FindFileAnyCase(const std::string& folder, const std::string& name)
{
    if (FileExists(folder + name))
        return folder + name;
    const QString wanted = FromUtf8(name);
    for (const QString& entry : QDir(FromUtf8(folder)).entryList(QDir::Files))
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder + entry.toStdString();
    return {};
}

} // namespace

TFormLoadTemp::TFormLoadTemp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormLoadTemp"));
    setWindowTitle(QStringLiteral("テンプレート選択"));
    UseDialogFrame(this);
    setFixedSize(496, 378);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 16, 170, 350);
    QFont listFont(QStringLiteral("ＭＳ Ｐゴシック"));
    listFont.setPixelSize(16);
    ListBox1->setFont(listFont);
    ListBox1->setUniformItemSizes(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(190, 12, 300, 300);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    Image1 = new PictureView(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(2, 2, 296, 296);

    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setGeometry(310, 336, 85, 30);
    BtnOK->setEnabled(false);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(403, 336, 85, 30);
    Wire("modal result 1", BtnOK, &QPushButton::clicked, this, [this] { done(1); });
    Wire("modal result 2", BtnCancel, &QPushButton::clicked, this, [this] { done(2); });
    // The selected line is the choice: the list's current line alone (set
    // when the list takes the focus) is not.
    Wire("ListBox1Click", ListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (SelectedItem())
            guarded([this] { ListBox1Click(); });
    });
    Wire("ListBox1DblClick", ListBox1, &QListWidget::itemDoubleClicked, this,
         [this] { guarded([this] { ListBox1DblClick(); }); });

    CentreOnDesktop(this);
    TemplateFolder = ShippedFolderPath() + "テンプレート/";
}

void TFormLoadTemp::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

std::vector<TFormLoadTemp::TemplateFile> TFormLoadTemp::TemplateFiles() const
{
    QDir folder(FromUtf8(TemplateFolder));
    folder.setNameFilters({QStringLiteral("*") + QString::fromLatin1(kTemplateExtension)});
    folder.setFilter(QDir::Files);
    const qsizetype extension = static_cast<qsizetype>(std::char_traits<char>::length(kTemplateExtension));
    std::vector<std::pair<QString, QString>> found; // name, file name
    for (const QString& entry : folder.entryList())
        if (entry.size() > extension)
            found.emplace_back(entry.chopped(extension), entry);
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(found.begin(), found.end(),
                     [&](const auto& a, const auto& b) { return collator.compare(a.first, b.first) < 0; });
    std::vector<TemplateFile> result;
    for (const auto& [name, file] : found)
        result.push_back({name.toStdString(), file.toStdString()});
    return result;
}

std::string TFormLoadTemp::PreviewPath(const std::string& name) const
{
    std::string path = FindFileAnyCase(TemplateFolder, name + kPreviewExtension);
    if (path.empty())
        path = FindFileAnyCase(TemplateFolder, kNoPreview);
    return path.empty() ? TemplateFolder + kNoPreview : path;
}

std::string TFormLoadTemp::ChosenTemplatePath() const
{
    const QListWidgetItem* item = SelectedItem();
    return item ? TemplateFolder + item->data(Qt::UserRole).toString().toStdString() : std::string();
}

void TFormLoadTemp::FormShow()
{
    ListBox1->clear();
    for (const TemplateFile& file : TemplateFiles()) {
        auto* item = new QListWidgetItem(FromUtf8(file.name), ListBox1);
        item->setData(Qt::UserRole, FromUtf8(file.fileName));
        item->setSizeHint(QSize(0, 16));
    }
    Image1->clearPicture();
    BtnOK->setEnabled(false);
}

QListWidgetItem* TFormLoadTemp::SelectedItem() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void TFormLoadTemp::ListBox1Click()
{
    const QListWidgetItem* item = SelectedItem();
    if (!item)
        return;
    // The picture of the line before must not stand for this one, even when
    // this one's preview cannot be read.
    Image1->clearPicture();
    const std::string path = PreviewPath(item->text().toStdString());
    Image1->setPicture(ToQImage(DecodeJpeg(ReadFileBytes(path, kMaxPreviewBytes))));
    BtnOK->setEnabled(true);
}

void TFormLoadTemp::ListBox1DblClick()
{
    if (SelectedItem())
        done(1);
}

} // namespace lx
