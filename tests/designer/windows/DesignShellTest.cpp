#include "EditorFixture.h"

#include "designer/windows/QtBridge.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QTimer>

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
    Document().AddObject(KindGrid, 0);
    Document().AddMergeObject(KindCsvString, 0, FormDesign->MergeTable);
    Document().AddObject(KindFigure, 0);
    AddText("文字");
    Document().AddObject(KindFigure, 0);
    Document().GetObject(0, 0)->AssignKind(0x80 | KindImage); // only the low 7 bits count
    Document().AddObject(KindFigure, 0);
    Document().GetObject(0, 0)->AssignKind(11); // no colour
    ShowTabs();
    const QImage strip = FormDesign->TABSheet->grab().toImage();
    const std::vector<QColor> expected{QColor(), QColor(255, 130, 0), QColor(229, 0, 18), QColor(141, 194, 33),
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
    Document().SetSelectedIndex(0, 0);
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

TEST_F(DesignShellTest, NumericFieldsKeepOnlyNumberKeys)
{
    QLineEdit edit;
    FormDesign->UseNumericKeys(&edit);
    for (const QString& key : {QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("-"), QStringLiteral("."),
                               QStringLiteral("Ｘ"), QStringLiteral("2"), QStringLiteral(" ")}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, key);
        QApplication::sendEvent(&edit, &press);
    }
    EXPECT_EQ(edit.text(), QStringLiteral("1-.2"));
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    QApplication::sendEvent(&edit, &backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("1-."));
}
