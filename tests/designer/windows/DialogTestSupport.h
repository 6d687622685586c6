#pragma once
// Input as the window system delivers it, for the dialog tests: widgets
// found by name, mouse clicks on them and on item views, typed keys, and
// small picture files.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabBar>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/ImageOracles.h"

#include <jpeglib.h>

namespace lxtest {

// The child of the window with that component name.
template <typename T = QWidget>
T* Find(QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// A left click in the middle of the widget (none when Find found nothing).
inline void Click(QWidget* widget)
{
    if (widget)
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// Clicks the button with that component name, as a user's click does.
inline void ClickButton(QWidget* window, const char* name)
{
    if (auto* button = Find<QAbstractButton>(window, name))
        button->click();
}

// A click on the tab at that index.
inline void ClickTab(QTabBar* tabs, int index)
{
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

// The editor's add buttons by the tag of the kind they add, 1 to 9.
inline const char* AddButtonName(int tag)
{
    static const char* const names[] = {"BtnStringSheet", "BtnPicSheet",     "BtnFigureSheet",
                                        "BtnBarSheet",    "BtnQrCarrySheet", "BtnCsvSheet",
                                        "BtnRenbanSheet", "PngBtnChart",     "PNGButton1"};
    return names[tag - 1];
}

// The lines of a list, top to bottom.
inline QStringList ItemTexts(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint at)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A click, or a double click (press, release, double click, release), at a
// point of the view's viewport.
inline void ClickView(QAbstractItemView* view, QPoint at, bool twice = false)
{
    QWidget* viewport = view->viewport();
    SendMouse(viewport, QEvent::MouseButtonPress, at);
    SendMouse(viewport, QEvent::MouseButtonRelease, at);
    if (twice) {
        SendMouse(viewport, QEvent::MouseButtonDblClick, at);
        SendMouse(viewport, QEvent::MouseButtonRelease, at);
    }
}

inline void ClickItem(QAbstractItemView* view, const QModelIndex& index, bool twice = false)
{
    view->scrollTo(index);
    ClickView(view, view->visualRect(index).center(), twice);
}

// Each character as a key press and release.
inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// A JPEG of one colour written by libjpeg.
inline void WriteSolidJpeg(const std::string& utf8Path, int width, int height, std::uint32_t rgb)
{
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < width * height; ++i)
        samples.insert(samples.end(), {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)});
    std::ofstream(std::filesystem::u8path(utf8Path), std::ios::binary)
        << WriteJpegWithLibjpeg(width, height, 3, JCS_RGB, samples, false);
}

} // namespace lxtest
