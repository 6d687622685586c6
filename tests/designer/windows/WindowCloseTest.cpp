// Every way a window system closes a window (Escape, the close button,
// Alt+F4 — all of them QWidget::close() or the Escape key here) does what
// the window's own cancel or back command does: a window of the program is
// always left on screen.
#include "DesignerFixture.h"
#include "DialogTestSupport.h"

#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "designer/windows/UnitSelectCsvType.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitSelectPicture.h"
#include "designer/windows/UnitTopMenu.h"

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace lx;
using lxtest::Click;
using lxtest::DesignerTest;
using lxtest::Find;
using lxtest::WhenModalShows;

namespace {

// The two ways a user closes a window without its buttons.
const std::pair<const char*, std::function<void(QWidget*)>> kClosings[] = {
    {"Escape", [](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); }},
    {"close button", [](QWidget* window) { window->close(); }},
};

} // namespace

TEST_F(DesignerTest, ClosingThePaperChooserBringsTheStartMenuBack)
{
    ASSERT_TRUE(StartProgram());
    for (const auto& [how, closeIt] : kClosings) {
        SCOPED_TRACE(how);
        Click(Find(FormTopMenu, "PngBtnSelectPaper"));
        ASSERT_EQ(VisibleWindows(), std::vector<QWidget*>{FormSelectPaper});
        closeIt(FormSelectPaper);
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormTopMenu});
    }
    // 次へ goes on to the editor, without the start menu.
    Click(Find(FormTopMenu, "PngBtnSelectPaper"));
    FormSelectPaper->LBPaperList->setCurrentRow(0);
    Click(Find(FormSelectPaper, "BtnNext"));
    EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormDesign});
}

TEST_F(DesignerTest, ClosingAModalWindowLeavesItsOpenerOnScreen)
{
    ASSERT_TRUE(StartProgram());
    for (const auto& [how, closeIt] : kClosings) {
        SCOPED_TRACE(how);
        const auto closeModal = [closeIt = closeIt](QDialog* dialog) { closeIt(dialog); };
        WhenModalShows<TFormLoadTemp>(closeModal);
        Click(Find(FormTopMenu, "PngBtnTemplate"));
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormTopMenu});

        Click(Find(FormTopMenu, "PngBtnSelectPaper"));
        WhenModalShows<TFormAddPaper>(closeModal);
        Click(Find(FormSelectPaper, "BtnAddPaper"));
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormSelectPaper});

        FormSelectPaper->LBPaperList->setCurrentRow(0);
        Click(Find(FormSelectPaper, "BtnNext"));
        for (const char* opener : {"BtnPrint", "PngBtnPicOut"}) {
            SCOPED_TRACE(opener);
            bool shown = false;
            const auto closeShown = [&shown, closeModal](QDialog* dialog) {
                shown = true;
                closeModal(dialog);
            };
            if (std::string(opener) == "BtnPrint")
                WhenModalShows<TFormPreview>(closeShown);
            else
                WhenModalShows<TFormPicSave>(closeShown);
            Click(Find(FormDesign, opener));
            EXPECT_TRUE(shown);
            EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormDesign});
        }
        // Escape closes no main window; its close button goes through the
        // close query, which asks nothing for an unchanged design.
        QTest::keyClick(FormDesign, Qt::Key_Escape);
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormDesign});
        FormDesign->close();
        EXPECT_EQ(VisibleWindows(), std::vector<QWidget*>{FormTopMenu});
        EXPECT_TRUE(messages.Texts().empty());
    }
}

// Dialog frames: a window manager offers no minimise or maximise button.
TEST_F(DesignerTest, WindowsAndMessageBoxesHaveDialogFrames)
{
    ASSERT_TRUE(StartProgram());
    const auto isDialogFrame = [](const QWidget* window) {
        const Qt::WindowFlags flags = window->windowFlags();
        return window->windowType() == Qt::Dialog && flags.testFlag(Qt::CustomizeWindowHint) &&
            !flags.testFlag(Qt::WindowMinimizeButtonHint) && !flags.testFlag(Qt::WindowMaximizeButtonHint);
    };
    for (const QWidget* window : {static_cast<QWidget*>(FormTopMenu), static_cast<QWidget*>(FormSelectPaper),
                                  static_cast<QWidget*>(FormPicSave), static_cast<QWidget*>(FormLoadTemp),
                                  static_cast<QWidget*>(FormAddPaper), static_cast<QWidget*>(FormPreview),
                                  static_cast<QWidget*>(FormSelectCsvType), static_cast<QWidget*>(FormSelectPicture)})
        EXPECT_TRUE(isDialogFrame(window)) << window->objectName().toStdString();

    bool framed = false;
    WhenModalShows<QMessageBox>([&](QMessageBox* box) {
        framed = isDialogFrame(box);
        box->buttons().front()->click();
    });
    DialogMessages().ShowMessage("確認の枠", MessageButtons::Ok);
    EXPECT_TRUE(framed);
}
