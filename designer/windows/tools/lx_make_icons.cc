// Draws the program's icon, a label sheet with a symbol on its first label,
// as hicolor PNGs:
//   lx_make_icons <icons folder>   (writes hicolor/NxN/apps/tlxlabel.png)
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// The symbol's modules: a finder pattern and a few data modules, 7 x 7.
constexpr const char* kSymbol[] = {"#######", "#.....#", "#.###.#", "#.###.#", "#.###.#", "#.....#", "#######"};

QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    // The sheet, slightly raised over its shadow.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(QRectF(10, 5, 48, 58), 4, 4);
    painter.setBrush(QColor(0xFD, 0xFD, 0xF8));
    painter.setPen(QPen(QColor(0x3C, 0x6E, 0xB4), 2));
    painter.drawRoundedRect(QRectF(7, 2, 48, 58), 4, 4);
    // Two columns of three labels.
    painter.setPen(QPen(QColor(0x8C, 0xB4, 0xF2), 1.5));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column) {
            painter.setBrush(row == 0 && column == 0 ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xE8, 0xF0, 0xFC));
            painter.drawRoundedRect(QRectF(11 + column * 21.5, 6 + row * 18, 19, 15), 2, 2);
        }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1E, 0x2A, 0x3A));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            if (kSymbol[y][x] == '#')
                painter.drawRect(QRectF(14.5 + x * 1.6, 7.9 + y * 1.6, 1.6, 1.6));
    // Text lines beside the symbol, in the accent colour.
    painter.setBrush(QColor(0xF2, 0x8C, 0xB1));
    for (int line = 0; line < 3; ++line)
        painter.drawRect(QRectF(27, 9 + line * 3.5, 1.8, 2));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lx_make_icons <icons folder>\n");
        return 2;
    }
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor/%1x%1/apps").arg(size);
        if (!QDir().mkpath(folder) || !DrawIcon(size).save(folder + QStringLiteral("/tlxlabel.png"), "PNG")) {
            std::fprintf(stderr, "lx_make_icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
