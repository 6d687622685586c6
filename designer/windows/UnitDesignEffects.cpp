// The effect-text page's style boxes, of which at most one is on, and the
// colour buttons of the pages.
#include "designer/windows/UnitDesign.h"

#include "designer/windows/EditorShapes.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/QtBridge.h"
#include "platform/text/Cp932.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

namespace lx {

namespace {

// Deformed text is drawn from at most this many bytes.
constexpr int kDeformTextBytes = 40;
constexpr int kDeformMaxFontSize = 20;
constexpr int kMaxFontSize = 500;
constexpr const char* kMemoLimit = "maxLength";

// The longest run of whole characters within `bytes` bytes: a double-byte
// character that would straddle the limit is left out whole.
std::string CutToBytes(std::string_view text, std::size_t bytes)
{
    std::size_t kept = 0;
    bool full = false;
    ForEachChar(text, [&](std::string_view c) {
        full = full || kept + c.size() > bytes;
        if (!full)
            kept += c.size();
    });
    return std::string(text.substr(0, kept));
}

std::string MemoBytes(const QPlainTextEdit* memo)
{
    return ToCp932(memo->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
}

void SetMemoBytes(QPlainTextEdit* memo, std::string_view cp932)
{
    memo->setPlainText(ToQString(cp932).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    memo->moveCursor(QTextCursor::End);
}

} // namespace

void TFormDesign::BuildEffectStyleComponents()
{
    const auto boxes = EffectStyleBoxes();
    // One handler serves the style boxes; each is noted under its own name.
    const std::array<const char*, EffectSpare> names{"CB_Kage2Click",     "CB_small2Click",  "CB_Kakoi2Click",
                                                     "CB_Kyokusen2Click", "CB_naname2Click", "CB_naname2_2Click",
                                                     "CB_haikei1Click"};
    for (int i = 0; i < EffectSpare; ++i)
        Wire(names[static_cast<std::size_t>(i)], boxes[static_cast<std::size_t>(i)], &QCheckBox::toggled, this,
             [this, i] { guarded([this, i] { EffectStyleClick(i); }); });
    // The spare box answers the mouse only.
    Wire("CB_tokusyu1MouseUp", CB_tokusyu1, &QCheckBox::clicked, this,
         [this] { guarded([this] { EffectStyleClick(EffectSpare); }); });
    connect(MemoSheetEffects, &QPlainTextEdit::textChanged, this,
            [this] { guarded([this] { KeepEffectsTextLimit(); }); });
    using Handler = void (TFormDesign::*)();
    const std::tuple<QAbstractButton*, Handler, const char*> colours[] = {
        {BtnChangeLineColor, LX_HANDLER(TFormDesign, BtnChangeLineColorClick)},
        {BtnCsvFontColor, LX_HANDLER(TFormDesign, BtnCsvFontColorClick)},
        {BtnRenbanFontColor, LX_HANDLER(TFormDesign, BtnRenbanFontColorClick)},
        {BtnFontColor2, LX_HANDLER(TFormDesign, BtnFontColor2Click)},
        {SBArtFont2, LX_HANDLER(TFormDesign, SBArtFont2Click)},
        {SBArtFont3, LX_HANDLER(TFormDesign, SBArtFont3Click)}};
    for (const auto& [button, handler, name] : colours)
        WireClick(this, button, handler, name);
}

std::array<QCheckBox*, 8> TFormDesign::EffectStyleBoxes() const
{
    return {CB_Kage2, CB_small2, CB_Kakoi2, CB_Kyokusen2, CB_naname2, CB_naname2_2, CB_haikei1, CB_tokusyu1};
}

void TFormDesign::EffectStyleClick(int flag)
{
    if (flag != EffectSpare && !PanelsReady)
        return;
    const auto boxes = EffectStyleBoxes();
    const bool on = boxes[static_cast<std::size_t>(flag)]->isChecked();
    EffectStyleFlags.fill(false);
    EffectStyleFlags[static_cast<std::size_t>(flag)] = on;
    for (int i = 0; i < 8; ++i)
        if (i != flag)
            boxes[static_cast<std::size_t>(i)]->setEnabled(!on);
    ArrangeEffectStyle(flag, on);
    WriteSelected(&TFormDesign::LabelEditEffectsObj);
    RefreshDesign();
}

void TFormDesign::ArrangeEffectStyle(int flag, bool on)
{
    const auto showSubColour = [this](bool shown) {
        for (QWidget* widget : std::initializer_list<QWidget*>{Label129, ShapeArtFontColor2, SBArtFont2})
            widget->setVisible(shown);
    };
    const auto placeSize = [this](int label, int box) {
        Label127->move(label, Label127->y());
        SEFontSize2->move(box, SEFontSize2->y());
    };
    const auto enableAlignment = [this](bool enabled) {
        for (QRadioButton* radio : {RBLeft2, RBCenter2, RBRight2})
            radio->setEnabled(enabled);
    };
    switch (flag) {
    case EffectShadow1:
    case EffectShadow2:
    case EffectOutline:
        enableAlignment(!on);
        SEFontSize2->setEnabled(true);
        Label129->setText(!on                         ? QStringLiteral("サブフォント色")
                              : flag == EffectOutline ? QStringLiteral("囲いの色")
                                                      : QStringLiteral("影の色"));
        showSubColour(on);
        placeSize(on ? 168 : 85, on ? 172 : 89);
        break;
    case EffectCurve:
    case EffectSlantForward:
    case EffectSlantBackward:
        SEFontSize2->setVisible(!on);
        Label127->setVisible(!on);
        if (on)
            showSubColour(false);
        else
            placeSize(85, 89);
        break;
    case EffectDeform:
        if (on) {
            SetMemoBytes(MemoSheetEffects, CutToBytes(MemoBytes(MemoSheetEffects), kDeformTextBytes));
            SEFontSize2->setValue(std::min(SEFontSize2->value(), kDeformMaxFontSize));
        }
        enableAlignment(!on);
        SEFontSize2->setEnabled(true);
        showSubColour(false);
        placeSize(85, 89);
        SEFontSize2->setMaximum(on ? kDeformMaxFontSize : kMaxFontSize);
        MemoSheetEffects->setProperty(kMemoLimit, on ? kDeformTextBytes : 0);
        break;
    default: break;
    }
}

void TFormDesign::KeepEffectsTextLimit()
{
    // Measured in bytes, as the cut when deform is turned on.
    const int limit = MemoSheetEffects->property(kMemoLimit).toInt();
    if (limit <= 0)
        return;
    const std::string text = MemoBytes(MemoSheetEffects);
    if (text.size() > static_cast<std::size_t>(limit))
        SetMemoBytes(MemoSheetEffects, CutToBytes(text, static_cast<std::size_t>(limit)));
}

void TFormDesign::WriteSelected(void (TFormDesign::*writer)(std::int32_t))
{
    if (SelectedObject())
        (this->*writer)(Session.SelectedIndex());
}

void TFormDesign::BtnChangeLineColorClick() { ChooseSwatchColor(ShapeLineColor, &TFormDesign::LabelEditFigureObj); }
void TFormDesign::BtnCsvFontColorClick() { ChooseSwatchColor(ShapeCsvFontColor, &TFormDesign::LabelEditCsvString); }
void TFormDesign::BtnRenbanFontColorClick()
{
    ChooseSwatchColor(ShapeRenbanFontColor, &TFormDesign::LabelEditRenbanStringObj);
}
void TFormDesign::BtnFontColor2Click() { ChooseSwatchColor(ShapeFontColor2, &TFormDesign::LabelEditEffectsObj); }
void TFormDesign::SBArtFont2Click() { ChooseSwatchColor(ShapeArtFontColor2, &TFormDesign::LabelEditEffectsObj); }
void TFormDesign::SBArtFont3Click() { ChooseSwatchColor(ShapeArtFontColor3, &TFormDesign::LabelEditEffectsObj); }

} // namespace lx
