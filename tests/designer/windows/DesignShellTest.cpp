#include "EditorFixture.h"

#include "designer/windows/QtBridge.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QtTest/QTest>

using namespace lx;

namespace {

class DesignShellTest : public lxtest::EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        NewMultiDesign();
    }
    // The strip holds one tab per object of the current cell.
    void ShowTabs()
    {
        QTabBar& tabs = *FormDesign->TABSheet;
        while (tabs.count() > 0)
            tabs.removeTab(0);
        for (std::int32_t i = 0; i < Document().GetObjectCount(0); ++i)
            tabs.addTab(ToQString(Document().GetObject(i, 0)->GetName()));
        lxtest::ProcessEvents();
    }
};

} // namespace

TEST_F(DesignShellTest, TabsAreFilledByObjectKind)
{
    // Kind bytes as a file may hold them.
    FillDesign([](TlxLabelManager& document) {
        document.AddObject(KindGrid, 0);
        document.AddMergeObject(KindCsvString, 0, std::make_shared<TLxCSV>());
        document.AddObject(KindFigure, 0);
        document.AddObject(KindString, 0);
        document.AddObject(KindFigure, 0);
        document.GetObject(0, 0)->AssignKind(0x80 | KindImage); // only the low 7 bits count
        document.AddObject(KindFigure, 0);
        document.GetObject(0, 0)->AssignKind(11); // no colour
    });
    ShowTabs();
    const QImage strip = FormDesign->TABSheet->grab().toImage();
    const std::vector<QColor> expected{QColor(),           QColor(255, 130, 0),
                                       QColor(229, 0, 18), QColor(141, 194, 33),
                                       QColor(0, 97, 212), QColor(135, 71, 179)};
    for (int i = 0; i < 6; ++i) {
        const QRect rect = FormDesign->TABSheet->tabRect(i);
        const QColor corner = strip.pixelColor(rect.left() + 1, rect.bottom() - 1);
        if (expected[i].isValid())
            EXPECT_EQ(corner, expected[i]) << i;
        else
            EXPECT_NE(corner, QColor(229, 0, 18)) << i;
    }
}

TEST_F(DesignShellTest, RightButtonMenuActsOnTheObjectOfTheTab)
{
    for (const char* text : {"丙", "乙", "甲"})
        AddText(text);
    ShowTabs();
    Session().Select(0);
    // The menu comes up on the right button over tab 2; choose "シートを前面へ".
    auto* timer = new QTimer;
    timer->setInterval(5);
    QString chosen;
    QObject::connect(timer, &QTimer::timeout, [&chosen, timer] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            timer->stop();
            timer->deleteLater();
            QAction* item = menu->actions().at(1);
            chosen = item->text();
            menu->close();
            item->trigger();
        }
    });
    timer->start();
    const QPointF at = FormDesign->TABSheet->tabRect(2).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, FormDesign->TABSheet->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(FormDesign->TABSheet, &press);
    EXPECT_EQ(chosen, QStringLiteral("シートを前面へ"));
    EXPECT_EQ(Texts(0), (std::vector<std::string>{"甲", "丙", "乙"}));
    EXPECT_EQ(Document().GetSelectedIndex(0), 1);
}

TEST_F(DesignShellTest, PrintAndExportButtonsShowWholeAtTheDefaultSize)
{
    FormDesign->resize(950, 650);
    lxtest::ProcessEvents();
    for (const char* name : {"BtnPrint", "PngBtnPicOut"}) {
        auto* button = FormDesign->findChild<PictureButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_FALSE(button->currentPicture().isNull()) << name;
        const QRect place(button->mapTo(FormDesign, QPoint(0, 0)), button->size());
        EXPECT_TRUE(FormDesign->rect().contains(place)) << name;
        EXPECT_GE(button->width(), button->currentPicture().width()) << name;
    }
    // The two buttons squeeze nothing else of the tool bar, neither the mode
    // caption of a single-mode paper nor the undo and redo buttons.
    FormDesign->close();
    NewSingleDesign();
    FormDesign->resize(950, 650);
    auto* addText = FormDesign->findChild<QPushButton*>(QStringLiteral("BtnStringSheet"));
    QTest::mouseClick(addText, Qt::LeftButton);
    QTest::mouseClick(addText, Qt::LeftButton);
    QTest::mouseClick(FormDesign->findChild<QPushButton*>(QStringLiteral("BtnUndo")), Qt::LeftButton);
    lxtest::ProcessEvents();
    for (QWidget* shown :
         std::initializer_list<QWidget*>{FormDesign->LblMode, FormDesign->BtnUndo, FormDesign->BtnRedo})
        ASSERT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    for (QWidget* widget : FormDesign->PanelTool->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // The least width the layout may give (a set minimum overrides the hint).
        const int least = widget->minimumWidth() > 0 ? widget->minimumWidth() : widget->minimumSizeHint().width();
        if (widget->isVisible()) {
            EXPECT_GE(widget->width(), least) << widget->objectName().toStdString();
        }
    }
}

TEST_F(DesignShellTest, LettersTypedIntoTheNumericFieldsAreDropped)
{
    QTest::mouseClick(FormDesign->findChild<QPushButton*>(QStringLiteral("BtnStringSheet")), Qt::LeftButton);
    ASSERT_EQ(Document().GetSelectedIndex(0), 0);
    // Typed into as a user does: the box has the focus, so a text that sizes
    // itself does not write its size back into it meanwhile.
    FormDesign->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FormDesign));
    for (const char* name : {"EditSheetPosLeft", "EditSheetPosTop", "EditSheetWidth", "EditSheetHeight", "EditStrSpace",
                             "EditCsvStrSpace", "EditRenbanStrSpace"}) {
        auto* edit = FormDesign->findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(edit, nullptr) << name;
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        for (int i = 0; i < 20 && !edit->text().isEmpty(); ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        ASSERT_EQ(edit->text(), QString()) << name;
        QTest::keyClicks(edit, QStringLiteral("a-x1 .5Q"));
        EXPECT_EQ(edit->text(), QStringLiteral("-1.5")) << name;
    }
}
