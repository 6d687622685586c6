#include "platform/com/PropertyFrame.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>

#include "platform/app/Messages.h"
#include "platform/com/ComClient.h"

namespace lx {

namespace {

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QColor ToQColor(std::uint32_t bgr)
{
    const ColorRef rgb = ColorToRgb(bgr);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

// The standard page of colour properties: pick a property, then its colour.
class StandardColorPage final : public ComImplementation<PropertyPage> {
public:
    ~StandardColorPage() override { Deactivate(); }

    std::string Caption() override { return "カラー"; }

    HResult SetObjects(std::span<const ComPtr<Dispatch>> objects) override
    {
        objects_.assign(objects.begin(), objects.end());
        colors_.clear();
        if (objects_.empty())
            return kOk;
        std::vector<MemberInfo> members;
        if (Failed(objects_.front()->GetTypeInfo(&members)))
            return kOk;
        DispatchDriver driver(objects_.front());
        for (const MemberInfo& m : members)
            if (m.color && !m.method) {
                try {
                    colors_.push_back({m.id, m.name, static_cast<std::uint32_t>(driver.Get(m.id).AsInt32()), false});
                } catch (const DispatchError&) {
                }
            }
        return kOk;
    }

    HResult Activate(void* pageArea) override
    {
        page_ = new QWidget(static_cast<QWidget*>(pageArea));
        auto* layout = new QVBoxLayout(page_);
        layout->addWidget(new QLabel(QStringLiteral("プロパティ名:"), page_));
        names_ = new QComboBox(page_);
        for (const Entry& entry : colors_)
            names_->addItem(Q(entry.name));
        layout->addWidget(names_);
        swatch_ = new QFrame(page_);
        swatch_->setFrameStyle(QFrame::Box);
        swatch_->setFixedSize(48, 24);
        swatch_->setAutoFillBackground(true);
        layout->addWidget(swatch_);
        auto* choose = new QPushButton(QStringLiteral("色の選択..."), page_);
        choose->setObjectName(QStringLiteral("choose"));
        layout->addWidget(choose);
        layout->addStretch();
        QObject::connect(names_, &QComboBox::currentIndexChanged, page_, [this] { ShowSwatch(); });
        QObject::connect(choose, &QPushButton::clicked, page_, [this] { guarded([this] { Choose(); }); });
        ShowSwatch();
        return kOk;
    }

    HResult Deactivate() override
    {
        delete page_.data();
        return kOk;
    }

    HResult Apply() override
    {
        for (Entry& entry : colors_) {
            if (!entry.changed)
                continue;
            try {
                for (const ComPtr<Dispatch>& object : objects_)
                    DispatchDriver(object).Put(entry.id, Variant(static_cast<std::int32_t>(entry.color)));
            } catch (const DispatchError& e) {
                Messages().ShowMessage(e.what(), MessageButtons::Ok);
                return e.Status();
            }
            entry.changed = false;
        }
        return kOk;
    }

private:
    struct Entry {
        DispId id;
        std::string name;
        std::uint32_t color;
        bool changed;
    };

    Entry* Current()
    {
        const int index = names_ ? names_->currentIndex() : -1;
        return index >= 0 && index < static_cast<int>(colors_.size()) ? &colors_[static_cast<std::size_t>(index)]
                                                                      : nullptr;
    }

    void ShowSwatch()
    {
        QPalette palette = swatch_->palette();
        palette.setColor(QPalette::Window, Current() ? ToQColor(Current()->color) : QColor(Qt::white));
        swatch_->setPalette(palette);
    }

    void Choose()
    {
        Entry* entry = Current();
        if (!entry)
            return;
        if (const std::optional<std::uint32_t> color = Messages().ChooseColor(ColorToRgb(entry->color))) {
            entry->color = *color;
            entry->changed = true;
            ShowSwatch();
        }
    }

    std::vector<ComPtr<Dispatch>> objects_;
    std::vector<Entry> colors_;
    QPointer<QWidget> page_;
    QComboBox* names_ = nullptr;
    QFrame* swatch_ = nullptr;
};

ComPtr<PropertyPage> CreatePage(const Guid& id)
{
    if (id == kStandardColorPageId)
        return CreateStandardColorPage();
    ComPtr<PropertyPage> page;
    if (Failed(CreateInstance(id, PropertyPage::kIid, page.Out())))
        return {};
    return page;
}

} // namespace

ComPtr<PropertyPage> CreateStandardColorPage() { return ComPtr<PropertyPage>::Attach(new StandardColorPage); }

struct PropertyFrame::Impl {
    QDialog dialog;
    QTabWidget* tabs = nullptr;
    std::vector<ComPtr<PropertyPage>> pages;
};

PropertyFrame::PropertyFrame(std::string captionUtf8, std::vector<ComPtr<Dispatch>> objects, std::vector<Guid> pageIds)
    : impl_(std::make_unique<Impl>())
{
    QDialog& dialog = impl_->dialog;
    dialog.setWindowTitle(Q(captionUtf8));
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(&dialog);
    impl_->tabs = new QTabWidget(&dialog);
    layout->addWidget(impl_->tabs);
    for (const Guid& id : pageIds) {
        ComPtr<PropertyPage> page = CreatePage(id);
        if (!page || Failed(page->SetObjects(objects)))
            continue;
        auto* area = new QWidget;
        impl_->tabs->addTab(area, Q(page->Caption()));
        page->Activate(area);
        impl_->pages.push_back(std::move(page));
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QPushButton* apply = buttons->addButton(QStringLiteral("適用"), QDialogButtonBox::ApplyRole);
    ok->setObjectName(QStringLiteral("ok"));
    apply->setObjectName(QStringLiteral("apply"));
    layout->addWidget(buttons);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [this] {
        guarded([this] {
            if (Apply())
                impl_->dialog.accept();
        });
    });
    QObject::connect(apply, &QPushButton::clicked, &dialog, [this] { guarded([this] { Apply(); }); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
}

PropertyFrame::~PropertyFrame()
{
    for (const ComPtr<PropertyPage>& page : impl_->pages)
        page->Deactivate();
}

int PropertyFrame::PageCount() const { return static_cast<int>(impl_->pages.size()); }

std::string PropertyFrame::PageCaption(int index) const
{
    return impl_->pages.at(static_cast<std::size_t>(index))->Caption();
}

bool PropertyFrame::Apply()
{
    for (std::size_t i = 0; i < impl_->pages.size(); ++i)
        if (impl_->pages[i]->Apply() != kOk) {
            impl_->tabs->setCurrentIndex(static_cast<int>(i));
            return false;
        }
    return true;
}

void PropertyFrame::Show() { impl_->dialog.show(); }

bool PropertyFrame::Exec() { return impl_->dialog.exec() == QDialog::Accepted; }

} // namespace lx
