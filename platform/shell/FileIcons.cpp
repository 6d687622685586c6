#include "platform/shell/FileIcons.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <cstring>

namespace lx {

namespace {

QIcon ThemeIcon(const QString& fileName)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    for (const QString& name : {type.iconName(), type.genericIconName(), QStringLiteral("text-x-generic")}) {
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            return icon;
    }
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return application->style()->standardIcon(QStyle::SP_FileIcon);
    return {};
}

// A sheet with a folded corner, for a desktop without any icons.
QImage PlainPageIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    QPainterPath page;
    page.moveTo(7 * s, 2 * s);
    page.lineTo(20 * s, 2 * s);
    page.lineTo(26 * s, 8 * s);
    page.lineTo(26 * s, 30 * s);
    page.lineTo(7 * s, 30 * s);
    page.closeSubpath();
    painter.setPen(QPen(QColor(0x70, 0x78, 0x84), s));
    painter.setBrush(Qt::white);
    painter.drawPath(page);
    painter.drawLine(QPointF(20 * s, 2 * s), QPointF(20 * s, 8 * s));
    painter.drawLine(QPointF(20 * s, 8 * s), QPointF(26 * s, 8 * s));
    return image;
}

Bitmap ToBitmap(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Bitmap bitmap(argb.width(), argb.height(), 0);
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(bitmap.Row(y), argb.constScanLine(y), static_cast<std::size_t>(argb.width()) * 4);
    return bitmap;
}

} // namespace

Bitmap FileTypeIcon(std::string_view utf8FileName, int size)
{
    if (size <= 0)
        return {};
    const QIcon icon = ThemeIcon(QString::fromUtf8(utf8FileName.data(), static_cast<qsizetype>(utf8FileName.size())));
    QImage image = icon.isNull() ? QImage() : icon.pixmap(size, size).toImage();
    if (image.isNull())
        image = PlainPageIcon(size);
    if (image.width() != size || image.height() != size) {
        // A theme may hand out a smaller size than asked: centre it.
        QImage framed(size, size, QImage::Format_ARGB32);
        framed.fill(Qt::transparent);
        QPainter painter(&framed);
        const QImage fitted = image.width() > size || image.height() > size
            ? image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : image;
        painter.drawImage((size - fitted.width()) / 2, (size - fitted.height()) / 2, fitted);
        painter.end();
        image = framed;
    }
    return ToBitmap(image);
}

} // namespace lx
