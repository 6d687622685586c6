#include "EditPanelsFixture.h"

#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/windows/EditorShapes.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "platform/text/Cp932.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

using namespace lx;

namespace {

class DesignEffectsTest : public lxtest::EditPanelsTest {
protected:
    const TLxLabelObjectEffects& AddEffectText()
    {
        NewDesign();
        return Add<TLxLabelObjectEffects>(9);
    }

    std::vector<QCheckBox*> OtherBoxes(QCheckBox* box)
    {
        std::vector<QCheckBox*> others;
        for (QCheckBox* b : FormDesign->EffectStyleBoxes())
            if (b != box)
                others.push_back(b);
        return others;
    }

    bool AlignmentEnabled()
    {
        return FormDesign->RBLeft2->isEnabled() && FormDesign->RBCenter2->isEnabled() &&
            FormDesign->RBRight2->isEnabled();
    }

    void ExpectPlainArrangement()
    {
        EXPECT_TRUE(FormDesign->Label129->isHidden());
        EXPECT_TRUE(FormDesign->ShapeArtFontColor2->isHidden());
        EXPECT_TRUE(FormDesign->SBArtFont2->isHidden());
        EXPECT_FALSE(FormDesign->SEFontSize2->isHidden());
        EXPECT_EQ(FormDesign->Label127->x(), 85);
        EXPECT_EQ(FormDesign->SEFontSize2->x(), 89);
    }
};

} // namespace

TEST_F(DesignEffectsTest, ShadowAndOutlineBoxesLockTheOthersAndShowTheirColour)
{
    struct Case {
        QCheckBox* TFormDesign::*box;
        std::uint8_t (TLxLabelObjectEffects::*flag)() const;
        QString colourLabel;
    };
    const Case cases[] = {{&TFormDesign::CB_Kage2, &TLxLabelObjectEffects::GetShadow, QStringLiteral("影の色")},
                          {&TFormDesign::CB_small2, &TLxLabelObjectEffects::GetShadow2, QStringLiteral("影の色")},
                          {&TFormDesign::CB_Kakoi2, &TLxLabelObjectEffects::GetOutline, QStringLiteral("囲いの色")}};
    for (const Case& c : cases) {
        auto& object = AddEffectText();
        QCheckBox* box = FormDesign->*c.box;
        box->setChecked(true);
        EXPECT_EQ((object.*c.flag)(), 1);
        EXPECT_FALSE(Session().IsSaved());
        EXPECT_TRUE(Session().CanUndo());
        for (QCheckBox* other : OtherBoxes(box))
            EXPECT_FALSE(other->isEnabled()) << other->objectName().toStdString();
        EXPECT_FALSE(AlignmentEnabled());
        EXPECT_EQ(FormDesign->Label129->text(), c.colourLabel);
        EXPECT_FALSE(FormDesign->Label129->isHidden());
        EXPECT_FALSE(FormDesign->SBArtFont2->isHidden());
        EXPECT_EQ(FormDesign->Label127->x(), 168);
        EXPECT_EQ(FormDesign->SEFontSize2->x(), 172);

        box->setChecked(false);
        EXPECT_EQ((object.*c.flag)(), 0);
        for (const auto flag :
             {&TLxLabelObjectEffects::GetShadow, &TLxLabelObjectEffects::GetShadow2, &TLxLabelObjectEffects::GetOutline,
              &TLxLabelObjectEffects::GetCurve, &TLxLabelObjectEffects::GetSlantForward,
              &TLxLabelObjectEffects::GetSlantBackward, &TLxLabelObjectEffects::GetDeform})
            EXPECT_EQ((object.*flag)(), 0);
        for (QCheckBox* other : OtherBoxes(box))
            EXPECT_TRUE(other->isEnabled());
        EXPECT_TRUE(AlignmentEnabled());
        EXPECT_EQ(FormDesign->Label129->text(), QStringLiteral("サブフォント色"));
        ExpectPlainArrangement();
        MarkSaved();
        FormDesign->close();
    }
}

TEST_F(DesignEffectsTest, CurveAndSlantsHideTheFontSize)
{
    auto& object = AddEffectText();
    for (QCheckBox* box : {FormDesign->CB_Kyokusen2, FormDesign->CB_naname2, FormDesign->CB_naname2_2}) {
        box->setChecked(true);
        EXPECT_TRUE(FormDesign->SEFontSize2->isHidden());
        EXPECT_TRUE(FormDesign->Label127->isHidden());
        EXPECT_TRUE(AlignmentEnabled());
        EXPECT_EQ(object.GetCurve() + object.GetSlantForward() + object.GetSlantBackward(), 1);
        box->setChecked(false);
        ExpectPlainArrangement();
        EXPECT_EQ(object.GetCurve() + object.GetSlantForward() + object.GetSlantBackward(), 0);
    }
}

TEST_F(DesignEffectsTest, DeformCutsTheTextToFortyBytesAndCapsTheSize)
{
    auto& object = AddEffectText();
    const std::string fifty(50, 'A');
    // After 38 single bytes a double-byte character ends at byte 40; after 39
    // it straddles bytes 40 and 41 and goes whole.
    const std::string fits = std::string(38, 'B') + Sjis("字") + Sjis("字");
    const std::string straddles = std::string(39, 'C') + Sjis("字") + Sjis("字");
    const std::pair<std::string, std::string> cases[] = {
        {fifty, std::string(40, 'A')}, {fits, std::string(38, 'B') + Sjis("字")}, {straddles, std::string(39, 'C')}};
    for (const auto& [text, kept] : cases) {
        FormDesign->MemoSheetEffects->setPlainText(ToQString(text));
        FormDesign->SEFontSize2->setValue(36);
        FormDesign->CB_haikei1->setChecked(true);
        EXPECT_EQ(ToCp932(FormDesign->MemoSheetEffects->toPlainText()), kept);
        EXPECT_EQ(object.GetText(), kept);
        EXPECT_EQ(object.GetDeform(), 1);
        EXPECT_EQ(object.GetFontSize(), 20);
        EXPECT_EQ(FormDesign->SEFontSize2->maximum(), 20);
        EXPECT_FALSE(AlignmentEnabled());
        // Typing on stays within the limit.
        FormDesign->MemoSheetEffects->setPlainText(QString(45, QLatin1Char('D')));
        EXPECT_EQ(FormDesign->MemoSheetEffects->toPlainText().size(), 40);
        FormDesign->CB_haikei1->setChecked(false);
        EXPECT_EQ(FormDesign->SEFontSize2->maximum(), 500);
        EXPECT_TRUE(AlignmentEnabled());
        FormDesign->MemoSheetEffects->setPlainText(QString(45, QLatin1Char('D')));
        EXPECT_EQ(FormDesign->MemoSheetEffects->toPlainText().size(), 45);
    }
}

TEST_F(DesignEffectsTest, FillingThePageChangesNothing)
{
    const auto& object = AddEffectText();
    EditAs<TLxLabelObjectEffects>(0, [](TLxLabelObjectEffects& o) { o.SetOutline(1); });
    MarkSaved();
    lxtest::ClickTab(FormDesign->TABSheet, 0);
    EXPECT_TRUE(Session().IsSaved());
    EXPECT_EQ(object.GetShadow(), 0);
    // The page was arranged for the outline it found.
    EXPECT_TRUE(FormDesign->CB_Kakoi2->isChecked());
    EXPECT_FALSE(FormDesign->CB_Kage2->isEnabled());
    EXPECT_EQ(FormDesign->Label129->text(), QStringLiteral("囲いの色"));
    // Filling recorded nothing: the next undo takes back the outline.
    FormDesign->BtnUndo->click();
    EXPECT_EQ(Session().SelectedObject()->GetKind(), KindEffects);
    EXPECT_EQ(dynamic_cast<const TLxLabelObjectEffects&>(*Session().SelectedObject()).GetOutline(), 0);
}

TEST_F(DesignEffectsTest, ColourButtonsPaintTheSampleAndTheObject)
{
    auto& object = AddEffectText();
    FormDesign->MemoSheetEffects->setPlainText(QStringLiteral("WWWW"));
    FormDesign->SEFontSize2->setValue(48);
    FormDesign->CB_Kage2->setChecked(true);
    constexpr std::uint32_t kGreen = 0x00FF00;
    constexpr std::uint32_t kBlueBgr = 0xFF0000;
    constexpr std::uint32_t kRedBgr = 0x0000FF;
    messages.ChooseColorNext(kGreen);
    FormDesign->BtnFontColor2->click();
    messages.ChooseColorNext(kBlueBgr);
    FormDesign->SBArtFont2->click();
    messages.ChooseColorNext(kRedBgr);
    FormDesign->SBArtFont3->click();
    EXPECT_EQ(FormDesign->ShapeFontColor2->color(), kGreen);
    EXPECT_EQ(object.GetFontColor(), kGreen);
    EXPECT_EQ(object.GetShadowColor(), kBlueBgr);
    EXPECT_EQ(object.GetShapedTextColor(), kRedBgr);
    EXPECT_EQ(object.GetShadow(), 1);
    FormDesign->CB_Kage2->setChecked(false);
    FormDesign->RBRight2->setChecked(true);
    EXPECT_EQ(object.GetAlignment(), 2);
    FormDesign->CB_Kage2->setChecked(true);
    // The surface shows the green text over its blue shadow.
    const QImage surface = FormDesign->ImageDesign->picture();
    EXPECT_GT(lxtest::CountPixels(surface, qRgb(0, 255, 0)), 50);
    EXPECT_GT(lxtest::CountPixels(surface, qRgb(0, 0, 255)), 20);
    // A cancelled dialog changes nothing.
    MarkSaved();
    messages.ChooseColorNext(std::nullopt);
    FormDesign->BtnFontColor2->click();
    EXPECT_EQ(object.GetFontColor(), kGreen);
    EXPECT_TRUE(Session().IsSaved());
}
