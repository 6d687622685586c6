#pragma once
// The edge between the model's values and Qt's: CP932 texts, BGR colours,
// bitmaps, and window placement.
#include <QColor>
#include <QImage>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/image/Bitmap.h"

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace lx {

// CP932 model text to a widget's text and back.
QString ToQString(std::string_view cp932);
std::string ToCp932(const QString& text);
// Takes out of text every character CP932 cannot hold, moving cursor (an
// index into text) along; returns the message naming them with their
// lines, or "" when every character was kept.
std::string DropCharsWithoutCp932(QString& text, int& cursor);
// The same for what the user typed or pasted into a text box, telling the
// user in a box which character cannot be used; the box's own change
// signal does not fire for the cut.
void KeepCp932Only(QPlainTextEdit* memo);
void KeepCp932Only(QLineEdit* edit);
// Texts of several lines: CR LF in the model, LF in a text box.
QString MemoToQString(std::string_view cp932);
std::string MemoToCp932(const QString& text);
// UTF-8 (platform messages, paths) to a widget's text.
QString FromUtf8(std::string_view utf8);

// Colours of the system are 0x00BBGGRR.
QColor toQColor(std::uint32_t bgr);
std::uint32_t fromQColor(const QColor& color);

// A copy of the bitmap's pixels for showing.
QImage ToQImage(const Bitmap& bitmap);

// Fixed dialog frame: a title and the close button, no minimise or maximise.
void UseDialogFrame(QWidget* window);
// Centres a top-level window on the desktop or on another window.
void CentreOnDesktop(QWidget* window);
void CentreOn(QWidget* window, const QWidget* owner);

// Names a component as the system names it.
template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Puts a component on its parent at a fixed place, named as the system names it.
template <typename Widget>
Widget* PlaceWidget(Widget* widget, QWidget* parent, const char* name, int left, int top, int width, int height)
{
    widget->setParent(parent);
    Named(widget, name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

// Integer division that truncates toward zero, as the system's div does.
constexpr int Div(int a, int b) { return a / b; }

} // namespace lx
