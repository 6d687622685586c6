// At the editor's default size every caption of the property pages and of
// the user-paper editor shows whole, with the IPA fonts the shipped font
// configuration maps the system's faces to.
#include "EditorFixture.h"
#include "support/Oracles.h"

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
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

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

class LayoutFitTest : public lxtest::EditorTest {
protected:
    void SetUp() override
    {
        lxtest::EditorTest::SetUp();
        LX_NEED_ORACLE(HasIpaFonts(), "the IPA fonts");
    }

    void ExpectFits(const QWidget* root, const QString& what)
    {
        lxtest::ProcessEvents();
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
