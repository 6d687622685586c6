// The mouse wheel over a drop-down, number box or slider changes it only
// when the user put the focus there; otherwise the page under it scrolls.
// Every window with such boxes is reached the way a user reaches it.
#include "DesignerFixture.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace {

QWidget* Window(const char* name)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String(name))
            return window;
    return nullptr;
}

template <typename T = QWidget>
T* Child(const char* window, const char* name)
{
    QWidget* form = Window(window);
    return form ? form->findChild<T*>(QLatin1String(name)) : nullptr;
}

// What the wheel could turn: everything but the scroll bars, which scroll.
std::vector<QWidget*> ValueBoxes(QWidget& window)
{
    std::vector<QWidget*> boxes;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool box = qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
            (qobject_cast<QAbstractSlider*>(widget) && !qobject_cast<QScrollBar*>(widget));
        if (box && widget->isVisible() && widget->isEnabled())
            boxes.push_back(widget);
    }
    return boxes;
}

QString ValueOf(QWidget* box)
{
    if (auto* combo = qobject_cast<QComboBox*>(box))
        return QString::number(combo->currentIndex()) + QLatin1Char(':') + combo->currentText();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(box))
        return spin->text();
    return QString::number(static_cast<QAbstractSlider*>(box)->value());
}

// One notch over the middle of the box, delivered as the window system
// does: to the innermost widget there, from where Qt hands it outwards.
void Wheel(QWidget* box, int notches)
{
    const QPoint middle = box->rect().center();
    QWidget* target = box->childAt(middle) ? box->childAt(middle) : box;
    const QPointF at = target->mapFrom(box, middle);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    // Only a wheel from the window system travels on to the parents.
    QSpontaneKeyEvent::setSpontaneous(&event);
    // sendEvent would clear the mark; QTest delivers its mouse this way too.
    qApp->notify(target, &event);
}

QScrollBar* PageScrollBar(QWidget* box)
{
    for (QWidget* parent = box->parentWidget(); parent; parent = parent->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(parent))
            return area->verticalScrollBar();
    return nullptr;
}

void Focus(QWidget* widget)
{
    QApplication::setActiveWindow(widget->window());
    widget->setFocus(Qt::OtherFocusReason);
}

// Every box of the window: the wheel without focus leaves it and scrolls
// the page when the page can scroll; with focus it turns it. Returns how
// many boxes were tried.
int CheckWheelOverBoxes(QWidget& window, int* scrolledPages = nullptr)
{
    int tried = 0;
    for (QWidget* box : ValueBoxes(window)) {
        SCOPED_TRACE(box->objectName().toStdString() + " of " + window.objectName().toStdString());
        box->clearFocus();
        EXPECT_FALSE(box->hasFocus());
        const QString before = ValueOf(box);
        QScrollBar* page = PageScrollBar(box);
        const int pageBefore = page ? page->value() : 0;
        const bool pageCanScroll = page && page->isVisible() && page->value() < page->maximum();
        Wheel(box, -1);
        const int pageAfterDown = page ? page->value() : 0;
        EXPECT_EQ(ValueOf(box), before);
        // Upwards too: a box at its lowest value shows nothing going down.
        Wheel(box, 1);
        EXPECT_EQ(ValueOf(box), before);
        if (pageCanScroll) {
            EXPECT_GT(pageAfterDown, pageBefore);
            if (scrolledPages)
                ++*scrolledPages;
        }
        if (page)
            page->setValue(pageBefore);

        Focus(box);
        EXPECT_TRUE(box->hasFocus());
        Wheel(box, -1);
        if (ValueOf(box) == before)
            Wheel(box, 1);
        const bool canTurn = !qobject_cast<QComboBox*>(box) || static_cast<QComboBox*>(box)->count() > 1;
        if (canTurn) {
            EXPECT_NE(ValueOf(box), before);
        }
        ++tried;
    }
    return tried;
}

QAbstractButton* Button(const char* window, const char* name)
{
    auto* button = Child<QAbstractButton>(window, name);
    EXPECT_NE(button, nullptr) << name << " of " << window;
    return button;
}

class WheelTest : public lxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        ASSERT_TRUE(StartProgram());
    }

    void OpenPaperChooser()
    {
        Button("FormTopMenu", "PngBtnSelectPaper")->click();
        lxtest::ProcessEvents();
        ASSERT_TRUE(Window("FormSelectPaper")->isVisible());
    }

    void OpenEditorOnPaper()
    {
        OpenPaperChooser();
        Child<QComboBox>("FormSelectPaper", "CBMaker")->setCurrentText(QStringLiteral("ヒサゴ"));
        auto* list = Child<QListWidget>("FormSelectPaper", "LBPaperList");
        const auto found = list->findItems(QStringLiteral("OP3004"), Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found[0]);
        Button("FormSelectPaper", "BtnNext")->click();
        lxtest::ProcessEvents();
        ASSERT_TRUE(Window("FormDesign")->isVisible());
    }

    // Checks the modal window `name` once `open` brings it up, then closes it.
    void CheckModal(const char* name, const std::function<void()>& open)
    {
        int tried = -1;
        lxtest::WhenModalShows<QDialog>([&](QDialog* dialog) {
            if (dialog->objectName() == QLatin1String(name))
                tried = CheckWheelOverBoxes(*dialog);
            dialog->reject();
        });
        open();
        EXPECT_GT(tried, 0) << name << " did not show, or has no box";
    }
};

TEST_F(WheelTest, PaperChooserKeepsItsMakerUnlessFocused)
{
    OpenPaperChooser();
    EXPECT_GT(CheckWheelOverBoxes(*Window("FormSelectPaper")), 0);
}

TEST_F(WheelTest, UserPaperEditorKeepsItsBoxesUnlessFocused)
{
    OpenPaperChooser();
    Child<QComboBox>("FormSelectPaper", "CBMaker")->setCurrentText(QStringLiteral("ユーザ設定"));
    auto* add = Button("FormSelectPaper", "BtnAddPaper");
    ASSERT_TRUE(add->isEnabled());
    CheckModal("FormAddPaper", [&] { add->click(); });
}

// The property page of each kind the tool bar adds: drop-downs and number
// boxes under the wheel stay, the page scrolls.
TEST_F(WheelTest, EditorPropertyPagesScrollInsteadOfChanging)
{
    OpenEditorOnPaper();
    QWidget& editor = *Window("FormDesign");
    editor.resize(950, 650);
    lxtest::ProcessEvents();
    int tried = 0;
    int scrolled = 0;
    for (const char* add : {"BtnStringSheet", "BtnFigureSheet", "BtnBarSheet", "BtnQrCarrySheet"}) {
        SCOPED_TRACE(add);
        Button("FormDesign", add)->click();
        lxtest::ProcessEvents();
        tried += CheckWheelOverBoxes(editor, &scrolled);
    }
    EXPECT_GT(tried, 4);
    EXPECT_GT(scrolled, 0) << "no property page scrolled at 950 x 650";
}

TEST_F(WheelTest, PreviewKeepsCopiesAndPrinterUnlessFocused)
{
    OpenEditorOnPaper();
    CheckModal("FormPreview", [] { Button("FormDesign", "BtnPrint")->click(); });
}

TEST_F(WheelTest, PictureChooserKeepsItsBoxesUnlessFocused)
{
    OpenEditorOnPaper();
    Button("FormDesign", "BtnPicSheet")->click();
    lxtest::ProcessEvents();
    CheckModal("FormSelectPicture", [] { Child<QAbstractButton>("FormDesign", "SBtnOpenImage")->click(); });
}

TEST_F(WheelTest, MergeTypeChooserKeepsItsBoxesUnlessFocused)
{
    // The program makes this window but never shows it; it is checked shown.
    QWidget* chooser = Window("FormSelectCsvType");
    ASSERT_NE(chooser, nullptr);
    chooser->show();
    lxtest::ProcessEvents();
    CheckWheelOverBoxes(*chooser);
    chooser->hide();
}

} // namespace
