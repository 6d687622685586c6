#include "platform/com/AboutDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "platform/com/PropertyFrame.h"

namespace lx {

namespace {

void Place(QWidget* widget, const Rect& dialogUnits)
{
    const Rect px = DialogUnitsToPixels(dialogUnits);
    widget->setGeometry(px.left, px.top, px.right - px.left, px.bottom - px.top);
}

} // namespace

void ShowAboutDialog(const AboutForm& form)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("about"));
    dialog.setWindowTitle(QString::fromStdString(form.title));
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const Rect size = DialogUnitsToPixels({0, 0, form.size.cx, form.size.cy});
    dialog.setFixedSize(size.right, size.bottom);
    if (!form.iconBox.Empty()) {
        auto* icon = new QLabel(&dialog);
        icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
        Place(icon, form.iconBox);
    }
    for (const AboutForm::Line& line : form.lines) {
        QString text = QString::fromStdString(line.text);
        auto* label = new QLabel(text.replace(QStringLiteral("&&"), QStringLiteral("&")), &dialog);
        Place(label, line.box);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    Place(ok, form.okBox);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.exec();
}

} // namespace lx
