// At the editor's default size every caption of the tool bar, of the
// property pages and of the user-paper editor shows whole, with the IPA
// fonts the shipped font configuration maps the system's faces to; the
// pages scroll no further than their last box and the design surface holds
// still while objects come and their pages change.
#include "EditorFixture.h"
#include "support/Oracles.h"

#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxPaper.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitAddPaper.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>

using namespace lx;

namespace {

bool HasIpaFonts() { return QFontInfo(QApplication::font()).family().contains(QStringLiteral("IPA")); }

QString Describe(const QWidget* widget)
{
    const auto* label = qobject_cast<const QLabel*>(widget);
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    const QString text = label ? label->text() : button ? button->text() : QString();
    return widget->metaObject()->className() + QStringLiteral(" ") + widget->objectName() + QStringLiteral(" \"") +
        text + QStringLiteral("\"");
}

// A push button's size hint holds the style's smallest button; what must
// fit is its text with a little room on either side.
QSize TextNeed(const QWidget* widget)
{
    const auto* button = qobject_cast<const QPushButton*>(widget);
    if (!button)
        return widget->sizeHint();
    const QFontMetrics metrics(button->font());
    return {metrics.horizontalAdvance(button->text()) + 8, metrics.height()};
}

// The ancestor whose edge hides part of the widget; a scrolling viewport
// may hide what lies below it, as the user scrolls down to it.
QString CutBy(const QWidget* widget)
{
    QRect visible(QPoint(0, 0), widget->size());
    const QWidget* child = widget;
    for (const QWidget* parent = widget->parentWidget(); parent && !child->isWindow();
         parent = parent->parentWidget()) {
        visible.translate(child->pos());
        const QRect room = parent->rect();
        const bool scrolls = qobject_cast<const QScrollArea*>(parent->parentWidget()) != nullptr;
        const bool sideways = visible.left() < room.left() || visible.right() > room.right();
        const bool upOrDown = visible.top() < room.top() || visible.bottom() > room.bottom();
        if (sideways || (upOrDown && !scrolls))
            return parent->metaObject()->className() + QStringLiteral(" ") + parent->objectName();
        if (scrolls) {
            visible.setTop(room.top());
            visible.setBottom(room.bottom());
        }
        child = parent;
    }
    return {};
}

// Captions, buttons and lists narrower or lower than their text needs, and
// siblings lying over each other, among the visible widgets under `root`.
QStringList LayoutFaults(const QWidget* root)
{
    QStringList faults;
    std::vector<const QWidget*> shown;
    for (const QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(root) || widget->isWindow())
            continue;
        const auto* label = qobject_cast<const QLabel*>(widget);
        const bool caption = (label && !label->text().isEmpty() && !label->wordWrap() && label->pixmap().isNull()) ||
            (qobject_cast<const QAbstractButton*>(widget) &&
             !static_cast<const QAbstractButton*>(widget)->text().isEmpty());
        const bool list = qobject_cast<const QComboBox*>(widget) != nullptr;
        const bool box = qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
            qobject_cast<const QAbstractSpinBox*>(widget);
        if (box)
            shown.push_back(widget);
        if (!caption && !list)
            continue;
        shown.push_back(widget);
        const QSize need = list ? widget->minimumSizeHint() : TextNeed(widget);
        if (const QString cut = CutBy(widget); !cut.isEmpty())
            faults << Describe(widget) + QStringLiteral(" is cut by ") + cut;
        if (need.width() > widget->width() || need.height() > widget->height())
            faults << Describe(widget) +
                    QStringLiteral(" needs %1x%2, has %3x%4")
                        .arg(need.width())
                        .arg(need.height())
                        .arg(widget->width())
                        .arg(widget->height());
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            if (shown[i]->parentWidget() == shown[j]->parentWidget() &&
                shown[i]->geometry().intersects(shown[j]->geometry()))
                faults << Describe(shown[i]) + QStringLiteral(" lies over ") + Describe(shown[j]);
    return faults;
}

// A change deep in the pages reaches the scroll area one level of widgets
// per round of posted layout requests.
void SettleLayouts()
{
    for (int i = 0; i < 4; ++i)
        lxtest::ProcessEvents();
}

// The scroll area of the property pages.
QScrollArea* PropertyArea(const TFormDesign& editor)
{
    return qobject_cast<QScrollArea*>(editor.PageControlProperty->parentWidget()->parentWidget());
}

// What the user reads or fills in on a page.
bool IsBox(const QWidget* widget)
{
    return qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
        qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
        qobject_cast<const QComboBox*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
        qobject_cast<const QTabBar*>(widget);
}

// The lower edge of the lowest box shown under root, in root's coordinates.
int LowestBoxEdge(const QWidget* root)
{
    int bottom = 0;
    for (const QWidget* widget : root->findChildren<QWidget*>())
        if (!widget->isWindow() && widget->isVisibleTo(root) && IsBox(widget))
            bottom = std::max(bottom, widget->mapTo(root, QPoint(0, widget->height())).y());
    return bottom;
}

// The tip the label shows when the mouse rests on it ("" for none).
QString RestingTip(QWidget* label)
{
    QHelpEvent rest(QEvent::ToolTip, label->rect().center(), label->mapToGlobal(label->rect().center()));
    QApplication::sendEvent(label, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

class LayoutFitTest : public lxtest::EditorTest {
protected:
    void SetUp() override
    {
        lxtest::EditorTest::SetUp();
        LX_NEED_ORACLE(HasIpaFonts(), "the IPA fonts");
    }

    // A new design on a paper of the catalogue, chosen by its line.
    void NewDesignOn(const TlxPaper& catalogue, const TlxPaperObject& paper)
    {
        const QString maker = ToQString(catalogue.MakerNames()[static_cast<std::size_t>(paper.GetMakerIndex())]);
        EditorTest::NewDesignOn(maker, ToQString(paper.GetModelNumber()) + QStringLiteral("【"));
    }

    void ExpectFits(const QWidget* root, const QString& what)
    {
        SettleLayouts();
        const QStringList faults = LayoutFaults(root);
        EXPECT_TRUE(faults.isEmpty()) << what.toStdString() << ":\n  "
                                      << faults.join(QStringLiteral("\n  ")).toStdString();
    }
};

} // namespace

TEST_F(LayoutFitTest, PropertyPagesShowEveryCaptionWholeAtTheDefaultSize)
{
    NewSingleDesign();
    TFormDesign& editor = *FormDesign;
    ASSERT_EQ(editor.size(), QSize(950, 650));
    editor.PanelCommonEdit->show();
    // The mobile QR pages name their fields after the carrier: both ways.
    for (const bool docomo : {true, false}) {
        const QString carrier = docomo ? QStringLiteral(" docomo") : QStringLiteral(" au");
        for (int p = 0; p < editor.PageControlProperty->count(); ++p) {
            QWidget* page = editor.PageControlProperty->widget(p);
            editor.PageControlProperty->setCurrentWidget(page);
            if (page == editor.TabSheetCSV) {
                for (int c = 0; c < editor.PageControlCSV->count(); ++c) {
                    editor.PageControlCSV->setCurrentIndex(c);
                    if (editor.PageControlCSV->currentWidget()->isAncestorOf(editor.RadioCsvDocomo))
                        (docomo ? editor.RadioCsvDocomo : editor.RadioCsvBankAu)->setChecked(true);
                    ExpectFits(editor.PanelSide, editor.PageControlCSV->currentWidget()->objectName() + carrier);
                }
            } else if (page == editor.TabSheetQRCarry) {
                (docomo ? editor.RadioDocomo : editor.RadioBankAU)->setChecked(true);
                for (int t = 0; t < editor.PageControlQr->count(); ++t) {
                    editor.PageControlQr->setCurrentIndex(t);
                    ExpectFits(editor.PanelSide, page->objectName() + QString::number(t) + carrier);
                }
            } else {
                ExpectFits(editor.PanelSide, page->objectName());
            }
        }
    }
    EXPECT_TRUE(editor.RadioBankAU->isChecked());
}

TEST_F(LayoutFitTest, PicturePageCommandsAreInSightWithoutScrolling)
{
    NewSingleDesign();
    TFormDesign& editor = *FormDesign;
    editor.PanelCommonEdit->show();
    editor.PageControlProperty->setCurrentWidget(editor.TabSheetImage);
    lxtest::ProcessEvents();
    auto* pages = qobject_cast<QScrollArea*>(editor.PageControlProperty->parentWidget()->parentWidget());
    ASSERT_NE(pages, nullptr);
    const QRect sight = pages->viewport()->rect();
    for (QToolButton* button : {editor.SBtnOpenImage, editor.SBtnLoadTwain, editor.SBtnPaste}) {
        const QRect at(button->mapTo(pages->viewport(), QPoint(0, 0)), button->size());
        EXPECT_TRUE(sight.contains(at)) << button->text().toStdString();
    }
}

TEST_F(LayoutFitTest, UserPaperEditorShowsEveryCaptionWhole)
{
    FormAddPaper->show();
    for (int p = 0; p < FormAddPaper->PGMakeType->count(); ++p) {
        FormAddPaper->PGMakeType->setCurrentIndex(p);
        ExpectFits(FormAddPaper, FormAddPaper->PGMakeType->currentWidget()->objectName());
    }
    FormAddPaper->hide();
}

// The text boxes of the merge-text and serial-number pages say what they hold.
TEST_F(LayoutFitTest, MergeAndSerialBoxesHaveCaptionsAboveThem)
{
    NewSingleDesign();
    TFormDesign& editor = *FormDesign;
    const std::pair<QLineEdit*, QString> boxes[] = {
        {editor.EditFrontStr, QStringLiteral("前に付ける文字")},
        {editor.EditBackStr, QStringLiteral("後に付ける文字")},
        {editor.EditRenbanStart, QStringLiteral("開始番号")},
        {editor.EditRenbanFinish, QStringLiteral("終了番号")},
    };
    editor.PanelCommonEdit->show();
    for (const auto& [box, caption] : boxes) {
        QWidget* page = box->parentWidget();
        if (page == editor.TabSheetCsvString) {
            editor.PageControlProperty->setCurrentWidget(editor.TabSheetCSV);
            editor.PageControlCSV->setCurrentWidget(page);
        } else {
            editor.PageControlProperty->setCurrentWidget(page);
        }
        lxtest::ProcessEvents();
        const QLabel* found = nullptr;
        for (const QLabel* label : page->findChildren<QLabel*>())
            if (label->text() == caption)
                found = label;
        ASSERT_NE(found, nullptr) << caption.toStdString();
        EXPECT_LE(found->geometry().bottom(), box->geometry().top()) << caption.toStdString();
        EXPECT_LT(std::abs(found->geometry().left() - box->geometry().left()), 8) << caption.toStdString();
    }
}

// The longest model numbers of the shipped catalogue are cut short with
// "…" and told whole in a tip; the captions and boxes right of them stay
// whole and where a short number leaves them.
TEST_F(LayoutFitTest, ToolBarShowsEveryCaptionWholeWhateverThePapersName)
{
    const TlxPaper catalogue(CatalogueFilePath(DataFolder()));
    std::vector<const TlxPaperObject*> papers;
    for (const TlxPaperObject& paper : catalogue.Papers())
        papers.push_back(&paper);
    const QFontMetrics metrics(FormDesign->Paperlbl->font());
    const auto advance = [&](const TlxPaperObject* paper) {
        return metrics.horizontalAdvance(ToQString(paper->GetModelNumber()));
    };
    std::partial_sort(papers.begin(), papers.begin() + 3, papers.end(),
                      [&](const auto* a, const auto* b) { return advance(a) > advance(b); });
    papers.resize(3);

    NewSingleDesign();
    TFormDesign& editor = *FormDesign;
    ASSERT_EQ(editor.size(), QSize(950, 650));
    lxtest::ProcessEvents();
    const auto placesRightOfTheName = [&] {
        return std::vector<QRect>{editor.CBShowSize->geometry(), editor.LblMode->geometry(),
                                  editor.BtnMode->geometry()};
    };
    const std::vector<QRect> shortNamePlaces = placesRightOfTheName();
    int cutShort = 0;
    for (const TlxPaperObject* paper : papers) {
        const QString name = ToQString(paper->GetModelNumber());
        editor.close();
        NewDesignOn(catalogue, *paper);
        ExpectFits(editor.PanelTool, name);
        ASSERT_EQ(editor.Paperlbl->text(), name);
        const QString shown = editor.Paperlbl->shownText();
        EXPECT_LE(metrics.horizontalAdvance(shown), editor.Paperlbl->contentsRect().width()) << shown.toStdString();
        if (shown != name) {
            ++cutShort;
            EXPECT_TRUE(shown.endsWith(QStringLiteral("…"))) << shown.toStdString();
            EXPECT_GE(shown.size(), 4) << "too little of " << name.toStdString() << " is left";
            EXPECT_TRUE(name.startsWith(shown.chopped(1))) << shown.toStdString();
            EXPECT_EQ(RestingTip(editor.Paperlbl), name);
        }
        if (editor.LblMode->isVisible()) {
            EXPECT_EQ(placesRightOfTheName(), shortNamePlaces) << name.toStdString();
            // Either mode's caption fits, and switching moves nothing.
            messages.Answer(MessageAnswer::Yes);
            editor.BtnMode->click();
            ASSERT_EQ(editor.LblMode->text(), QStringLiteral("現在のモード：マルチ"));
            ExpectFits(editor.PanelTool, name + QStringLiteral(" multi"));
            EXPECT_EQ(placesRightOfTheName(), shortNamePlaces) << name.toStdString();
            MarkSaved();
        }
    }
    EXPECT_GT(cutShort, 0) << "no name long enough to be cut short";
    // A name that fits is shown whole, without a tip.
    editor.close();
    NewSingleDesign();
    EXPECT_EQ(editor.Paperlbl->shownText(), QStringLiteral("OP3004"));
    EXPECT_EQ(RestingTip(editor.Paperlbl), QString());
}

namespace {

class EditorHoldsItsLayoutTest : public lxtest::EditorTest {
protected:
    // Chooses object i of the cell by its tab, as the user does.
    void ClickObjectTab(int i)
    {
        QTabBar& tabs = *FormDesign->TABSheet;
        lxtest::ClickTab(&tabs, i);
        lxtest::ProcessEvents();
    }

    // The page shown scrolls exactly down to its lowest box, or not at all
    // when it fits; a page's own margin may lie below the box.
    void ExpectScrollsToItsContent(const QString& what)
    {
        SettleLayouts();
        const QScrollArea& area = *PropertyArea(*FormDesign);
        const int room = area.viewport()->height();
        const int content = LowestBoxEdge(FormDesign->PageControlProperty);
        const int range = area.verticalScrollBar()->maximum();
        constexpr int kMargins = 16;
        EXPECT_LE(range, std::max(0, content + kMargins - room))
            << what.toStdString() << ": content " << content << ", room " << room;
        EXPECT_GE(range, content - room) << what.toStdString() << ": content " << content << ", room " << room;
    }

    // Each carrier and each tab of a mobile QR page.
    void ExpectEveryQrTabScrollsToItsContent(QRadioButton* docomo, QRadioButton* other, QTabWidget* tabs,
                                             const QString& what)
    {
        for (QRadioButton* carrier : {docomo, other}) {
            QTest::mouseClick(carrier, Qt::LeftButton, {}, QPoint(6, carrier->height() / 2));
            ASSERT_TRUE(carrier->isChecked()) << carrier->text().toStdString();
            for (int t = 0; t < tabs->count(); ++t) {
                if (!tabs->isTabVisible(t))
                    continue;
                lxtest::ClickTab(tabs->tabBar(), t);
                ASSERT_EQ(tabs->currentIndex(), t);
                ExpectScrollsToItsContent(what + QStringLiteral(" ") + carrier->text() + QStringLiteral(" ") +
                                          tabs->tabText(t));
            }
        }
    }

    // Where the surface and its picture lie.
    std::string SurfacePlace()
    {
        lxtest::ProcessEvents();
        const auto text = [](const QRect& r) {
            return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
                std::to_string(r.height());
        };
        const PictureView& image = *FormDesign->ImageDesign;
        return "box " + text(FormDesign->ScrollBoxDesign->geometry()) + ", image " + text(image.geometry()) +
            ", picture " + text(QRect(image.pictureOffset(), image.picture().size()));
    }
};

// Object 0 of cell 0, a symbol object, made a symbol of that kind.
void MakeSymbolOf(TlxLabelManager& document, std::int32_t symbolKind)
{
    auto& symbol = dynamic_cast<TLxLabelObjectBarcode&>(*document.GetObject(0, 0));
    SymbolSettings settings = symbol.GetSettings();
    settings.SymbolKind = symbolKind;
    symbol.SetSettings(settings);
}

} // namespace

TEST_F(EditorHoldsItsLayoutTest, EveryPropertyPageScrollsNoFurtherThanItsLastBox)
{
    NewSingleDesign();
    ASSERT_EQ(FormDesign->size(), QSize(950, 650));
    // Nothing chosen: nothing to scroll.
    ExpectScrollsToItsContent(QStringLiteral("no object"));
    EXPECT_EQ(PropertyArea(*FormDesign)->verticalScrollBar()->maximum(), 0);
    const auto table = std::make_shared<TLxCSV>();
    struct Case {
        const char* what;
        std::function<void(TlxLabelManager&)> fill;
    };
    const auto plain = [](std::uint8_t kind) { return [kind](TlxLabelManager& d) { d.AddObject(kind, 0); }; };
    const auto merged = [table](std::uint8_t kind) {
        return [kind, table](TlxLabelManager& d) { d.AddMergeObject(kind, 0, table); };
    };
    const auto symbol = [](std::int32_t symbolKind) {
        return [symbolKind](TlxLabelManager& d) {
            d.AddObject(KindBarcode, 0);
            MakeSymbolOf(d, symbolKind);
        };
    };
    const auto mergedSymbol = [table](std::int32_t symbolKind) {
        return [symbolKind, table](TlxLabelManager& d) {
            d.AddMergeObject(KindCsvBarcode, 0, table);
            MakeSymbolOf(d, symbolKind);
        };
    };
    const std::vector<Case> cases{
        {"text", plain(KindString)},
        {"figure", plain(KindFigure)},
        {"picture", plain(KindImage)},
        {"QR Code", plain(KindBarcode)},
        {"EAN-13", symbol(SymbolEan13)},
        {"PDF417", symbol(SymbolPdf417)},
        {"postal code", symbol(SymbolPostal)},
        {"mobile QR", plain(KindQRCarry)},
        {"merge text", merged(KindCsvString)},
        {"merge QR Code", merged(KindCsvBarcode)},
        {"merge postal code", mergedSymbol(SymbolPostal)},
        {"merge mobile QR", merged(KindCsvQRCarry)},
        {"serial number", plain(KindRenbanString)},
        {"grid", plain(KindGrid)},
        {"effect text", plain(KindEffects)},
    };
    TFormDesign& editor = *FormDesign;
    for (const Case& c : cases) {
        FillDesign(c.fill);
        ClickObjectTab(0);
        const QString what = QString::fromUtf8(c.what);
        ASSERT_NE(editor.PageControlProperty->currentWidget(), editor.TabSheetDummy) << c.what;
        if (editor.PageControlProperty->currentWidget() == editor.TabSheetQRCarry)
            ExpectEveryQrTabScrollsToItsContent(editor.RadioDocomo, editor.RadioBankAU, editor.PageControlQr, what);
        else if (editor.PageControlCSV->currentWidget() == editor.TabSheetCsvQRCarry &&
                 editor.PageControlProperty->currentWidget() == editor.TabSheetCSV)
            ExpectEveryQrTabScrollsToItsContent(editor.RadioCsvDocomo, editor.RadioCsvBankAu,
                                                editor.PageControlQrString, what);
        else
            ExpectScrollsToItsContent(what);
    }
}

// The surface keeps its place and size while the first objects come, the
// tab strip fills and the property pages beside it come and change.
TEST_F(EditorHoldsItsLayoutTest, DesignSurfaceHoldsStillAsObjectsComeAndTheirPagesChange)
{
    NewSingleDesign();
    TFormDesign& editor = *FormDesign;
    ASSERT_EQ(editor.size(), QSize(950, 650));
    const std::string empty = SurfacePlace();
    for (QAbstractButton* add : std::initializer_list<QAbstractButton*>{editor.BtnStringSheet, editor.BtnBarSheet,
                                                                        editor.BtnQrCarrySheet, editor.PNGButton1}) {
        QTest::mouseClick(add, Qt::LeftButton);
        ASSERT_EQ(editor.TABSheet->currentIndex(), 0);
        EXPECT_EQ(SurfacePlace(), empty) << "after adding " << add->text().toStdString();
    }
    for (int i = 0; i < editor.TABSheet->count(); ++i) {
        if (!editor.TABSheet->rect().contains(editor.TABSheet->tabRect(i)))
            continue;
        ClickObjectTab(i);
        EXPECT_EQ(SurfacePlace(), empty) << "with " << editor.TABSheet->tabText(i).toStdString() << " chosen";
    }
}
