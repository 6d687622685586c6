// Draws the start menu's pictures, the editor's tool-bar buttons and the
// shipped sample pictures once; the results are committed beside this file
// and under shipped/. Build and run:
//   cmake --build build --target lx_make_images
//   build/designer/windows/lx_make_images designer/windows
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

namespace {

const QString kGothic = QStringLiteral("IPAexGothic");

QFont Gothic(int pixels, bool bold = false)
{
    QFont font(kGothic);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage Blank(int width, int height, QColor fill = Qt::transparent)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

void Save(const QImage& image, const QString& path, const char* format = "PNG", int quality = -1)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, format, quality))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// A sheet of label cells, the motif of the program.
void DrawSheet(QPainter& p, QRectF sheet, int columns, int rows, QColor ink, QColor cell)
{
    p.setPen(QPen(ink, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(sheet, 2, 2);
    const double gap = sheet.width() * 0.08;
    const double w = (sheet.width() - gap * (columns + 1)) / columns;
    const double h = (sheet.height() - gap * (rows + 1)) / rows;
    p.setPen(Qt::NoPen);
    p.setBrush(cell);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            p.drawRoundedRect(QRectF(sheet.left() + gap + c * (w + gap), sheet.top() + gap + r * (h + gap), w, h), 1.5, 1.5);
}

void IconNew(QPainter& p, QColor ink)
{
    DrawSheet(p, QRectF(8, 6, 34, 44), 2, 4, ink, QColor(0xBF, 0xD7, 0xF2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x9E, 0x4F));
    p.drawEllipse(QPointF(40, 44), 11, 11);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(40, 38), QPointF(40, 50));
    p.drawLine(QPointF(34, 44), QPointF(46, 44));
}

void IconTemplate(QPainter& p, QColor ink)
{
    DrawSheet(p, QRectF(16, 4, 32, 42), 1, 3, ink, QColor(0xF6, 0xD7, 0xA8));
    DrawSheet(p, QRectF(10, 9, 32, 42), 1, 3, ink, QColor(0xF6, 0xD7, 0xA8));
    DrawSheet(p, QRectF(4, 14, 32, 42), 2, 3, ink, QColor(0xF2, 0xB3, 0x6B));
}

void IconOpen(QPainter& p, QColor ink)
{
    p.setPen(QPen(ink, 1.5));
    p.setBrush(QColor(0xF3, 0xC9, 0x5B));
    QPainterPath back;
    back.moveTo(4, 14);
    back.lineTo(18, 14);
    back.lineTo(22, 19);
    back.lineTo(46, 19);
    back.lineTo(46, 50);
    back.lineTo(4, 50);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(12, 10, 26, 30));
    p.setBrush(QColor(0xF7, 0xD8, 0x7C));
    QPainterPath front;
    front.moveTo(2, 26);
    front.lineTo(50, 26);
    front.lineTo(45, 50);
    front.lineTo(6, 50);
    front.closeSubpath();
    p.drawPath(front);
}

void IconClose(QPainter& p, QColor ink)
{
    p.setPen(QPen(ink, 1.5));
    p.setBrush(QColor(0xE8, 0xEC, 0xF1));
    p.drawRect(QRectF(6, 6, 26, 44));
    p.setBrush(QColor(0x8A, 0x5A, 0x3C));
    QPainterPath door;
    door.moveTo(6, 6);
    door.lineTo(22, 12);
    door.lineTo(22, 54);
    door.lineTo(6, 50);
    door.closeSubpath();
    p.drawPath(door);
    p.setPen(QPen(QColor(0xC6, 0x3A, 0x2F), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(30, 28), QPointF(50, 28));
    p.drawLine(QPointF(43, 21), QPointF(50, 28));
    p.drawLine(QPointF(43, 35), QPointF(50, 28));
}

// A printer with a sheet coming out, for the editor's print button.
void IconPrint(QPainter& p, QColor ink)
{
    p.setPen(QPen(ink, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 1, 12, 8));
    p.setBrush(QColor(0x9A, 0xA8, 0xBC));
    p.drawRoundedRect(QRectF(1, 8, 22, 10), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 14, 12, 9));
    p.setPen(QPen(QColor(0x3C, 0x6E, 0xB4), 1.2));
    p.drawLine(QPointF(8, 17.5), QPointF(16, 17.5));
    p.drawLine(QPointF(8, 20.5), QPointF(14, 20.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x9E, 0x4F));
    p.drawEllipse(QPointF(19, 11), 1.3, 1.3);
}

// A picture with an arrow leaving it, for the editor's picture export.
void IconPictureOut(QPainter& p, QColor ink)
{
    p.setPen(QPen(ink, 1.2));
    p.setBrush(QColor(0xDD, 0xEE, 0xFB));
    p.drawRect(QRectF(1, 4, 17, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF5, 0xC5, 0x2E));
    p.drawEllipse(QPointF(6, 8.5), 2, 2);
    p.setBrush(QColor(0x5A, 0xA0, 0x4A));
    QPainterPath hill;
    hill.moveTo(2, 18);
    hill.lineTo(8, 11);
    hill.lineTo(12, 15);
    hill.lineTo(14, 13);
    hill.lineTo(17, 18);
    hill.closeSubpath();
    p.drawPath(hill);
    p.setPen(QPen(QColor(0xC6, 0x3A, 0x2F), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(13, 21), QPointF(22, 21));
    p.drawLine(QPointF(19, 18), QPointF(22, 21));
    p.drawLine(QPointF(19, 24), QPointF(22, 21));
}

enum class State { Normal, Pressed, Hover };

QImage Button(void (*icon)(QPainter&, QColor), const QString& title, const QString& note, State state)
{
    QImage image = Blank(274, 74);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double shift = state == State::Pressed ? 1.5 : 0;
    QRectF face(3, 3, 268, 66);
    // A soft shadow under the face, gone while pressed.
    if (state != State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawRoundedRect(face.translated(2, 3), 11, 11);
    }
    face.translate(shift, shift);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    QColor border;
    switch (state) {
    case State::Normal:
        fill.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
        fill.setColorAt(1, QColor(0xDA, 0xE7, 0xF6));
        border = QColor(0x7F, 0x9C, 0xC4);
        break;
    case State::Hover:
        fill.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
        fill.setColorAt(1, QColor(0xC5, 0xDE, 0xFB));
        border = QColor(0x2F, 0x74, 0xD6);
        break;
    case State::Pressed:
        fill.setColorAt(0, QColor(0xB9, 0xD1, 0xEE));
        fill.setColorAt(1, QColor(0xE2, 0xED, 0xFA));
        border = QColor(0x24, 0x52, 0x94);
        break;
    }
    p.setPen(QPen(border, state == State::Normal ? 1.5 : 2.5));
    p.setBrush(fill);
    p.drawRoundedRect(face, 10, 10);

    const QColor ink(0x2A, 0x3F, 0x5F);
    p.save();
    p.translate(face.left() + 12, face.top() + 6);
    icon(p, ink);
    p.restore();

    p.setPen(QColor(0x1B, 0x2E, 0x4B));
    p.setFont(Gothic(21, true));
    p.drawText(QRectF(face.left() + 72, face.top() + 8, 190, 30), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(QColor(0x4C, 0x62, 0x82));
    p.setFont(Gothic(12));
    p.drawText(QRectF(face.left() + 73, face.top() + 38, 190, 20), Qt::AlignLeft | Qt::AlignVCenter, note);
    return image;
}

// A button of the editor's tool bar: a small icon left of its caption.
QImage ToolButton(void (*icon)(QPainter&, QColor), const QString& title, State state)
{
    QImage image = Blank(80, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QRectF face(1, 1, 77, 29);
    if (state != State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawRoundedRect(face.translated(1, 1.5), 5, 5);
    } else {
        face.translate(1, 1);
    }
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    const bool pressed = state == State::Pressed;
    fill.setColorAt(0, pressed ? QColor(0xB9, 0xD1, 0xEE) : QColor(0xFF, 0xFF, 0xFF));
    fill.setColorAt(1, pressed ? QColor(0xE2, 0xED, 0xFA)
                               : state == State::Hover ? QColor(0xC5, 0xDE, 0xFB) : QColor(0xDA, 0xE7, 0xF6));
    const QColor border = pressed ? QColor(0x24, 0x52, 0x94)
                                  : state == State::Hover ? QColor(0x2F, 0x74, 0xD6) : QColor(0x7F, 0x9C, 0xC4);
    p.setPen(QPen(border, state == State::Normal ? 1.2 : 2));
    p.setBrush(fill);
    p.drawRoundedRect(face, 5, 5);
    const QColor ink(0x2A, 0x3F, 0x5F);
    p.save();
    p.translate(face.left() + 3, face.top() + 3.5);
    p.scale(0.9, 0.9);
    icon(p, ink);
    p.restore();
    p.setPen(QColor(0x1B, 0x2E, 0x4B));
    p.setFont(Gothic(13, true));
    p.drawText(QRectF(face.left() + 24, face.top(), face.width() - 25, face.height()), Qt::AlignCenter, title);
    return image;
}

QImage Background()
{
    QImage image = Blank(605, 308);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 308);
    sky.setColorAt(0, QColor(0xE3, 0xEE, 0xFA));
    sky.setColorAt(0.55, QColor(0xF7, 0xFA, 0xFE));
    sky.setColorAt(1, QColor(0xD6, 0xE4, 0xF3));
    p.fillRect(image.rect(), sky);
    // Faint label sheets scattered behind the buttons.
    p.setOpacity(0.18);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(60 + i * 125, 250 - (i % 2) * 30);
        p.rotate(-12 + i * 6);
        DrawSheet(p, QRectF(-30, -40, 60, 80), 2, 5, QColor(0x5A, 0x7F, 0xB5), QColor(0x9F, 0xC2, 0xEA));
        p.restore();
    }
    p.setOpacity(1);
    p.fillRect(QRectF(0, 296, 605, 12), QColor(0x3C, 0x6E, 0xB4));
    p.fillRect(QRectF(0, 294, 605, 2), QColor(0xF2, 0xB3, 0x6B));
    return image;
}

QImage Title()
{
    QImage image = Blank(566, 85);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.save();
    p.translate(8, 10);
    DrawSheet(p, QRectF(0, 0, 48, 64), 2, 4, QColor(0x2A, 0x3F, 0x5F), QColor(0xF2, 0xB3, 0x6B));
    p.restore();
    QFont latin(QStringLiteral("Liberation Sans"));
    latin.setPixelSize(40);
    latin.setBold(true);
    p.setFont(latin);
    p.setPen(QColor(0x1F, 0x3A, 0x68));
    p.drawText(QRectF(72, 2, 490, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pomerel Brevant2"));
    p.setPen(QColor(0x4A, 0x6A, 0x99));
    p.setFont(Gothic(17));
    p.drawText(QRectF(74, 52, 490, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("ラベル・シールのデザインと印刷"));
    p.fillRect(QRectF(72, 50, 480, 2), QColor(0xF2, 0xB3, 0x6B));
    return image;
}

QImage NoPreview()
{
    QImage image = Blank(280, 210, QColor(0xF1, 0xF3, 0xF6));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xB4, 0xBE, 0xCC), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(10, 10, 260, 190));
    p.setPen(QColor(0x6B, 0x7A, 0x90));
    p.setFont(Gothic(22, true));
    p.drawText(QRectF(0, 60, 280, 40), Qt::AlignCenter, QStringLiteral("NO PREVIEW"));
    p.setFont(Gothic(15));
    p.drawText(QRectF(0, 105, 280, 30), Qt::AlignCenter, QStringLiteral("プレビュー画像はありません"));
    return image;
}

QImage Flower(QColor petal)
{
    QImage image = Blank(240, 240);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(120, 120);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        p.setBrush(i % 2 ? petal : petal.lighter(120));
        p.drawEllipse(QRectF(-28, -100, 56, 95));
        p.rotate(45);
    }
    QRadialGradient heart(0, 0, 34);
    heart.setColorAt(0, QColor(0xFF, 0xE0, 0x6B));
    heart.setColorAt(1, QColor(0xE0, 0x9A, 0x1E));
    p.setBrush(heart);
    p.drawEllipse(QPointF(0, 0), 34, 34);
    return image;
}

QImage Star(QColor color)
{
    QImage image = Blank(200, 200);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 ? 38 : 92;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(100 + radius * std::cos(angle), 104 + radius * std::sin(angle));
        i == 0 ? star.moveTo(point) : star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(QPen(color.darker(140), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(color);
    p.drawPath(star);
    return image;
}

QImage Frame(QColor color)
{
    QImage image = Blank(320, 200, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(12, 12, 296, 176), 18, 18);
    p.setPen(QPen(color.lighter(140), 2, Qt::DotLine));
    p.drawRoundedRect(QRectF(24, 24, 272, 152), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (const QPointF corner : {QPointF(30, 30), QPointF(290, 30), QPointF(30, 170), QPointF(290, 170)})
        p.drawEllipse(corner, 7, 7);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString top = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString images = top + QStringLiteral("/images/");
    Save(Background(), images + "background.png");
    Save(Title(), images + "title.png");
    struct Face {
        const char* name;
        void (*icon)(QPainter&, QColor);
        QString title;
        QString note;
    };
    const Face faces[] = {
        {"select_paper", IconNew, QStringLiteral("新規作成"), QStringLiteral("用紙を選んで新しくデザインします")},
        {"template", IconTemplate, QStringLiteral("テンプレート"), QStringLiteral("テンプレートからデザインします")},
        {"open_file", IconOpen, QStringLiteral("ファイルを開く"), QStringLiteral("保存したデザインを開きます")},
        {"close", IconClose, QStringLiteral("終了"), QStringLiteral("プログラムを終了します")},
    };
    for (const Face& face : faces) {
        Save(Button(face.icon, face.title, face.note, State::Normal), images + face.name + "_normal.png");
        Save(Button(face.icon, face.title, face.note, State::Pressed), images + face.name + "_pressed.png");
        Save(Button(face.icon, face.title, face.note, State::Hover), images + face.name + "_hover.png");
    }
    const Face tools[] = {
        {"print", IconPrint, QStringLiteral("印刷"), {}},
        {"picture_out", IconPictureOut, QStringLiteral("画像書出"), {}},
    };
    for (const Face& face : tools) {
        Save(ToolButton(face.icon, face.title, State::Normal), images + face.name + "_normal.png");
        Save(ToolButton(face.icon, face.title, State::Pressed), images + face.name + "_pressed.png");
        Save(ToolButton(face.icon, face.title, State::Hover), images + face.name + "_hover.png");
    }
    const QString shipped = top + QStringLiteral("/shipped/");
    Save(NoPreview(), shipped + QStringLiteral("テンプレート/NO_Preview.JPG"), "JPEG", 90);
    Save(Flower(QColor(0xF2, 0x8C, 0xB1)), shipped + QStringLiteral("素材/花/さくら色の花.png"));
    Save(Flower(QColor(0x8C, 0xB4, 0xF2)), shipped + QStringLiteral("素材/花/青い花.png"));
    Save(Star(QColor(0xF5, 0xC5, 0x2E)), shipped + QStringLiteral("素材/マーク/星.png"));
    Save(Frame(QColor(0x3C, 0x6E, 0xB4)), shipped + QStringLiteral("素材/マーク/飾り枠.JPG"),
         "JPEG", 90);
    return 0;
}
