#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

#include <cstdio>

#include "platform/app/Messages.h"
#include "platform/com/PropertyFrame.h"
#include "platform/com/PropertyPage.h"
#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

namespace lx {

Rect DialogUnitsToPixels(const Rect& du)
{
    const QFontMetrics metrics(QApplication::font());
    const int baseX = std::max(
        1,
        (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) /
            2);
    const int baseY = std::max(1, metrics.height());
    const auto x = [&](int v) { return v * baseX / 4; };
    const auto y = [&](int v) { return v * baseY / 8; };
    return {x(du.left), y(du.top), x(du.right), y(du.bottom)};
}

namespace {

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

std::string Number(double v) { return FormatFloat(v); }

// The text a property shows in its field.
QString FieldText(const PageField& field, const Variant& value)
{
    if (field.kind == PageField::Kind::Text) {
        QString text = Q(Cp932ToUtf8(value.Type() == VarType::String ? value.AsString().ToCp932() : std::string()));
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    Variant converted;
    if (field.kind == PageField::Kind::Float)
        return Failed(ConvertVariant(value, VarType::Double, converted)) ? QString() : Q(Number(converted.AsDouble()));
    return Failed(ConvertVariant(value, VarType::Int32, converted)) ? QString() : QString::number(converted.AsInt32());
}

class FormPropertyPage final : public ComImplementation<PropertyPage> {
public:
    FormPropertyPage(PageForm form, std::shared_ptr<void> keepAlive)
        : form_(std::move(form)), keepAlive_(std::move(keepAlive))
    {
    }
    ~FormPropertyPage() override { Deactivate(); }

    std::string Caption() override { return form_.caption; }

    HResult SetObjects(std::span<const ComPtr<Dispatch>> objects) override
    {
        objects_.assign(objects.begin(), objects.end());
        return kOk;
    }

    HResult Activate(void* pageArea) override
    {
        auto* parent = static_cast<QWidget*>(pageArea);
        page_ = new QWidget(parent);
        const Rect size = DialogUnitsToPixels({0, 0, form_.size.cx, form_.size.cy});
        page_->setFixedSize(size.right, size.bottom);
        fields_.clear();
        loaded_.clear();
        for (const PageField& field : form_.fields)
            AddField(field);
        Load();
        return kOk;
    }

    HResult Deactivate() override
    {
        delete page_.data();
        fields_.clear();
        return kOk;
    }

    HResult Apply() override
    {
        if (!page_)
            return kUnexpected;
        std::vector<Variant> values(form_.fields.size());
        for (std::size_t i = 0; i < form_.fields.size(); ++i)
            if (!Check(i, values[i]))
                return kFalse;
        for (std::size_t i = 0; i < form_.fields.size(); ++i) {
            if (Text(i) == loaded_[i])
                continue;
            try {
                for (const ComPtr<Dispatch>& object : objects_) {
                    DispatchDriver driver(object);
                    driver.Put(driver.IdOfName(form_.fields[i].property), values[i]);
                }
            } catch (const DispatchError& e) {
                Messages().ShowMessage(e.what(), MessageButtons::Ok);
                fields_[i]->setFocus();
                return e.Status();
            }
        }
        Load();
        return kOk;
    }

private:
    void AddField(const PageField& field)
    {
        if (!field.label.empty()) {
            auto* label = new QLabel(Q(field.label), page_);
            const Rect box = DialogUnitsToPixels(field.labelBox);
            label->setGeometry(box.left, box.top, box.right - box.left, box.bottom - box.top);
        }
        QWidget* widget = nullptr;
        if (field.multiLine) {
            auto* edit = new QPlainTextEdit(page_);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            widget = edit;
        } else {
            auto* edit = new QLineEdit(page_);
            edit->setAlignment(Qt::AlignCenter);
            edit->setFrame(field.border);
            widget = edit;
        }
        widget->setObjectName(QString::number(field.controlId));
        widget->setAccessibleName(Q(field.property));
        const Rect box = DialogUnitsToPixels(field.fieldBox);
        widget->setGeometry(box.left, box.top, box.right - box.left, box.bottom - box.top);
        fields_.push_back(widget);
    }

    QString Text(std::size_t i) const
    {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(fields_[i]))
            return edit->toPlainText();
        return qobject_cast<QLineEdit*>(fields_[i])->text();
    }

    void SetText(std::size_t i, const QString& text)
    {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(fields_[i]))
            edit->setPlainText(text);
        else
            qobject_cast<QLineEdit*>(fields_[i])->setText(text);
    }

    // The first object's values fill the fields.
    void Load()
    {
        loaded_.assign(form_.fields.size(), QString());
        if (objects_.empty())
            return;
        DispatchDriver driver(objects_.front());
        for (std::size_t i = 0; i < form_.fields.size(); ++i) {
            QString text;
            try {
                text = FieldText(form_.fields[i], driver.Get(driver.IdOfName(form_.fields[i].property)));
            } catch (const DispatchError&) {
                // A property the object cannot read shows empty.
            }
            SetText(i, text);
            loaded_[i] = text;
        }
    }

    // The field's value, or false after the range message with the focus on it.
    bool Check(std::size_t i, Variant& value)
    {
        const PageField& field = form_.fields[i];
        const QString text = Text(i);
        const auto refuse = [&](const std::string& message) {
            Messages().ShowMessage(message, MessageButtons::Ok);
            fields_[i]->setFocus();
            return false;
        };
        const std::string utf8 = text.toStdString();
        switch (field.kind) {
        case PageField::Kind::Text: {
            QString crlf = text;
            crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
            if (field.checkRange && crlf.size() > static_cast<qsizetype>(field.maximum))
                return refuse(Number(field.maximum) + " 文字以内で入力してください。");
            value = Variant::Text(Utf8ToCp932(crlf.toStdString()));
            return true;
        }
        case PageField::Kind::Integer: {
            const std::optional<std::int64_t> number = TryParseInt64(utf8);
            if (!number || *number < -2147483648LL || *number > 4294967295LL)
                return refuse("整数を入力してください。");
            if (field.checkRange && (*number < field.minimum || *number > field.maximum))
                return refuse(Number(field.minimum) + " から " + Number(field.maximum) +
                              " までの整数を入力してください。");
            // Colours are unsigned 32-bit values; they cross as their bits.
            value = Variant(static_cast<std::int32_t>(static_cast<std::uint32_t>(*number)));
            return true;
        }
        case PageField::Kind::Float: {
            const std::optional<double> number = TryParseFloat(utf8);
            if (!number)
                return refuse("数値を入力してください。");
            if (field.checkRange && (*number < field.minimum || *number > field.maximum))
                return refuse(Number(field.minimum) + " から " + Number(field.maximum) +
                              " までの数値を入力してください。");
            value = Variant(*number);
            return true;
        }
        }
        return false;
    }

    PageForm form_;
    std::shared_ptr<void> keepAlive_;
    std::vector<ComPtr<Dispatch>> objects_;
    QPointer<QWidget> page_;
    std::vector<QWidget*> fields_;
    std::vector<QString> loaded_;
};

} // namespace

ComPtr<PropertyPage> CreateFormPropertyPage(PageForm form, std::shared_ptr<void> keepAlive)
{
    return ComPtr<PropertyPage>::Attach(new FormPropertyPage(std::move(form), std::move(keepAlive)));
}

} // namespace lx
