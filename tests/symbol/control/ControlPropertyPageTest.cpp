// The control's property page in the property frame, driven headless: the
// page's own ranges refuse a value before the control sees it, the
// control's setters then validate again, and the colour page sets colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "ControlTesting.h"
#include "platform/app/Messages.h"
#include "platform/com/ComClient.h"
#include "platform/com/PropertyFrame.h"
#include "support/TestPaths.h"
#include "symbol/control/CMatrixelProPropPage.h"

using namespace lx;

namespace {

class PropertyPageTest : public testing::Test {
protected:
    PropertyPageTest() : registry_(dir_.File("registry.txt"))
    {
        EXPECT_EQ(RegisterServerLibrary(lxtest::BuildPath("symbol/control/libMatrixelPro.so")), kOk);
        frame_ = std::make_unique<PropertyFrame>("test", std::vector<ComPtr<Dispatch>>{c_.driver.Target()},
                                                 c_.object->PropertyPageIds());
        frame_->Show();
    }

    template <typename T = QLineEdit>
    T* Field(int controlId)
    {
        return Named<T>(QString::number(controlId));
    }

    template <typename T>
    T* Named(const QString& name)
    {
        for (QWidget* w : QApplication::allWidgets())
            if (w->objectName() == name)
                if (auto* field = qobject_cast<T*>(w))
                    return field;
        ADD_FAILURE() << "no field " << name.toStdString();
        return nullptr;
    }

    lxtest::TempDir dir_;
    lxtest::TemporaryRegistry registry_;
    lxtest::TestControl c_;
    ScriptedMessages messages_;
    std::unique_ptr<PropertyFrame> frame_;
};

TEST_F(PropertyPageTest, FrameHoldsTheOwnPageAndTheColourPage)
{
    ASSERT_EQ(frame_->PageCount(), 2);
    EXPECT_EQ(frame_->PageCaption(0), "General");
    EXPECT_EQ(frame_->PageCaption(1), "カラー");
    // The fields show the control's values.
    EXPECT_EQ(Field(1001)->text(), "0");
    EXPECT_EQ(Field(1002)->text(), "600");
    EXPECT_EQ(Field(212)->text(), "2.5");
    EXPECT_EQ(Field<QPlainTextEdit>(1011)->toPlainText(), "QRCODE");
}

TEST_F(PropertyPageTest, PageRangeRefusesBeforeTheControlSeesAnything)
{
    Field(206)->setText("40"); // BarHeight, valid
    Field(224)->setText("0"); // BarChrGap: the page allows 1-10
    EXPECT_FALSE(frame_->Apply());
    ASSERT_EQ(messages_.Texts().size(), 1u);
    EXPECT_EQ(messages_.Texts()[0], "1 から 10 までの整数を入力してください。");
    EXPECT_EQ(c_.GetShort(kDispBarHeight), 15);
    EXPECT_EQ(c_.GetShort(kDispBarChrGap), 1);

    messages_.Clear();
    Field(224)->setText("abc");
    EXPECT_FALSE(frame_->Apply());
    EXPECT_EQ(messages_.Texts().at(0), "整数を入力してください。");
    Field(224)->setText("3");
    Field(212)->setText("3.5");
    EXPECT_FALSE(frame_->Apply());
    EXPECT_EQ(messages_.Texts().back(), "2 から 3 までの数値を入力してください。");
    Field(212)->setText("2.25");
    EXPECT_TRUE(frame_->Apply());
    EXPECT_EQ(c_.GetShort(kDispBarHeight), 40);
    EXPECT_EQ(c_.GetShort(kDispBarChrGap), 3);
    EXPECT_EQ(c_.driver.Get(kDispNwRatio).AsFloat(), 2.25f);
}

TEST_F(PropertyPageTest, ValuesWithinThePageRangeMeetTheSetters)
{
    Field(1000)->setText("0"); // CellPitch 0 passes the page
    EXPECT_TRUE(frame_->Apply());
    EXPECT_EQ(c_.GetShort(kDispCellPitch), 1);

    c_.Put(kDispThrowError, 1);
    Field(1000)->setText("0");
    EXPECT_FALSE(frame_->Apply());
    EXPECT_EQ(messages_.Texts().back(), "CellPitch >= 1");
    EXPECT_EQ(c_.GetShort(kDispCellPitch), 1);
}

TEST_F(PropertyPageTest, InputDataLengthLimit)
{
    Field<QPlainTextEdit>(1011)->setPlainText(QString(8193, QChar(u'あ')));
    EXPECT_FALSE(frame_->Apply());
    EXPECT_EQ(messages_.Texts().back(), "8192 文字以内で入力してください。");
    EXPECT_EQ(c_.driver.Get(kDispInputData).AsString().ToCp932(), "QRCODE");
    // Line breaks reach the control as CR LF.
    Field<QPlainTextEdit>(1011)->setPlainText(QStringLiteral("AB\nCD"));
    EXPECT_TRUE(frame_->Apply());
    EXPECT_EQ(c_.object->Properties().InputData, "AB\r\nCD");
}

TEST_F(PropertyPageTest, ColourPageSetsTheChosenColour)
{
    QPushButton* choose = Named<QPushButton>("choose");
    ASSERT_TRUE(choose);
    messages_.ChooseColorNext(0x0000FFu);
    choose->click(); // the first colour property: ForeBColor
    EXPECT_EQ(c_.driver.Get(kDispForeBColor).AsInt32(), 0x000000);
    EXPECT_TRUE(frame_->Apply());
    EXPECT_EQ(c_.driver.Get(kDispForeBColor).AsInt32(), 0x0000FF);
}

TEST(PropertyPageForm, EveryFieldNamesAPropertyOfTheControl)
{
    const PageForm form = MatrixelProPageForm();
    ASSERT_EQ(form.fields.size(), 35u);
    lxtest::TestControl c;
    for (const PageField& field : form.fields)
        EXPECT_NO_THROW(c.driver.IdOfName(field.property)) << field.property;
}

TEST(ControlAboutBox, ShowsTheAboutDialogModally)
{
    QStringList texts;
    QString title;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "about" && w->isVisible()) {
                title = w->windowTitle();
                for (QLabel* label : w->findChildren<QLabel*>())
                    texts << label->text();
                qobject_cast<QDialog*>(w)->accept();
            }
    });
    lxtest::TestControl c;
    c.driver.Call(kDispIdAboutBox);
    EXPECT_EQ(title, "About Matrixel Pro Control");
    EXPECT_TRUE(texts.contains("Matrixel Pro Control, Version 1.1.1"));
    EXPECT_TRUE(texts.contains("Genarate QR Code, Maxi Code, PDF417, Data Matrix & Barcode(s)"));
}

} // namespace
