#include "designer/windows/QtBridge.h"

#include "platform/app/Messages.h"
#include "platform/text/Cp932.h"

#include <algorithm>

#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QWidget>

namespace lx {

QString ToQString(std::string_view cp932)
{
    const std::u16string text = Cp932ToUtf16(cp932);
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

namespace {

std::u16string_view Units(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

std::string ToCp932(const QString& text) { return Utf16ToCp932(Units(text)); }

std::string DropCharsWithoutCp932(QString& text, int& cursor)
{
    const std::u16string_view units = Units(text);
    std::size_t at = FindCharWithoutCp932(units);
    if (at == units.size())
        return {};
    const std::string message = CharsWithoutCp932Message(units);
    std::u16string kept;
    int keptCursor = cursor;
    std::size_t from = 0;
    while (at < units.size()) {
        kept.append(units.substr(from, at - from));
        const std::size_t length = Utf16CharLength(units, at);
        if (static_cast<int>(at) < cursor)
            keptCursor -= std::min(static_cast<int>(length), cursor - static_cast<int>(at));
        from = at + length;
        at = from + FindCharWithoutCp932(units.substr(from));
    }
    kept.append(units.substr(from));
    text = QString(reinterpret_cast<const QChar*>(kept.data()), static_cast<qsizetype>(kept.size()));
    cursor = keptCursor;
    return message;
}

void KeepCp932Only(QPlainTextEdit* memo)
{
    QString text = memo->toPlainText();
    int cursor = memo->textCursor().position();
    const std::string message = DropCharsWithoutCp932(text, cursor);
    if (message.empty())
        return;
    {
        const QSignalBlocker blocker(memo);
        memo->setPlainText(text);
        QTextCursor place = memo->textCursor();
        place.setPosition(cursor);
        memo->setTextCursor(place);
    }
    ShowInfo(message);
}

void KeepCp932Only(QLineEdit* edit)
{
    QString text = edit->text();
    int cursor = edit->cursorPosition();
    const std::string message = DropCharsWithoutCp932(text, cursor);
    if (message.empty())
        return;
    {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }
    ShowInfo(message);
}

QString MemoToQString(std::string_view cp932)
{
    return ToQString(cp932).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string MemoToCp932(const QString& text)
{
    return ToCp932(QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

QString FromUtf8(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QColor toQColor(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t fromQColor(const QColor& color)
{
    return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
        static_cast<std::uint32_t>(color.blue()) << 16;
}

QImage ToQImage(const Bitmap& bitmap)
{
    if (bitmap.Empty())
        return {};
    return QImage(reinterpret_cast<const uchar*>(bitmap.Data()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Width()) * 4, QImage::Format_ARGB32)
        .copy();
}

void UseDialogFrame(QWidget* window)
{
    // The close button is the one border icon: window managers that are told
    // no button at all draw every button, minimise and maximise included.
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

void CentreOnDesktop(QWidget* window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.left() + Div(area.width() - window->width(), 2),
                 area.top() + Div(area.height() - window->height(), 2));
}

void CentreOn(QWidget* window, const QWidget* owner)
{
    if (!owner) {
        CentreOnDesktop(window);
        return;
    }
    const QRect frame = owner->geometry();
    window->move(frame.left() + Div(frame.width() - window->width(), 2),
                 frame.top() + Div(frame.height() - window->height(), 2));
}

} // namespace lx
