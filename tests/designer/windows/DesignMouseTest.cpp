#include "DesignEditing.h"

#include "designer/model/LxLabelImage.h"
#include "designer/windows/EditorShapes.h"
#include "platform/image/DecodedImage.h"

#include <QLineEdit>
#include <QStackedWidget>

using namespace lx;
using lxtest::DesignEditingTest;

namespace {

class DesignMouseTest : public DesignEditingTest {
protected:
    // Two figures: 0 in front at (10, 10) 20 x 10, 1 behind at (25, 15) 20 x 10.
    void TwoFigures()
    {
        Add(3);
        Add(3);
        Place(0, 10, 10, 20, 10);
        Place(1, 25, 15, 20, 10);
    }
    QWidget* Surface() { return Editor().ImageDesign; }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
    {
        QTest::mousePress(Surface(), Qt::LeftButton, keys, from);
        QTest::mouseMove(Surface(), (from + to) / 2);
        QTest::mouseMove(Surface(), to);
        QTest::mouseRelease(Surface(), Qt::LeftButton, keys, to);
        lxtest::ProcessEvents();
    }
    void Click(QPoint at, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseClick(Surface(), Qt::LeftButton, keys, at);
        lxtest::ProcessEvents();
    }
    bool Member(int j) { return Object(j).GetSelected() != 0; }
};

} // namespace

TEST_F(DesignMouseTest, ClickPicksTheFrontObjectAndMovesNothing)
{
    TwoFigures();
    Click(At(50, 40));
    EXPECT_EQ(Doc().GetSelectedIndex(0), -1);
    EXPECT_FALSE(Editor().ShapeSheetLine->isVisible());
    Reopen();
    Click(At(27, 17)); // in the overlap
    EXPECT_EQ(Doc().GetSelectedIndex(0), 0);
    EXPECT_EQ(Object(0).GetLeft(), 10.0);
    EXPECT_FALSE(Session().CanUndo());
    EXPECT_TRUE(Session().IsSaved());
    EXPECT_EQ(Editor().PageControlProperty->currentWidget(), Editor().TabSheetDrawing);
    // A fixed object cannot be picked: the press reaches the one behind.
    EditObject(0, [](TLxLableObjectBase& object) { object.SetCanMove(0); });
    Click(At(27, 17));
    EXPECT_EQ(Doc().GetSelectedIndex(0), 1);
}

TEST_F(DesignMouseTest, DragMovesByWholeMillimetresWithOneUndoStep)
{
    TwoFigures();
    Place(0, 10.3, 10, 20, 10);
    Reopen();
    const int dx = Editor().SurfaceMmToPixels(true, 2);
    Drag(At(15, 15), At(15, 15) + QPoint(dx, 0));
    EXPECT_DOUBLE_EQ(Object(0).GetLeft(), 12.3);
    EXPECT_EQ(Object(0).GetTop(), 10.0);
    EXPECT_FALSE(Session().IsSaved());
    EXPECT_EQ(Editor().EditSheetPosLeft->text(), QStringLiteral("12.3"));
    EXPECT_EQ(Editor().ShapeSheetLine->pos(), At(12.3, 10));
    ASSERT_TRUE(Session().CanUndo());
    Editor().BtnUndo->click();
    EXPECT_DOUBLE_EQ(Object(0).GetLeft(), 10.3);
    EXPECT_FALSE(Session().CanUndo());
}

// Every drag keeps an undo snapshot of the picture object; the snapshots and
// the editor's picture page share the one decoded picture.
TEST_F(DesignMouseTest, DraggingALargePictureKeepsOneDecodedCopy)
{
    constexpr int kSide = 2000;
    constexpr std::int64_t kPictureBytes = std::int64_t{kSide} * kSide * 4;
    Add(2);
    EditAs<TLxLabelObjectImage>(
        0, [](TLxLabelObjectImage& image) { image.GetPicture().SetBitmap(Bitmap(kSide, kSide, 0xFF2040C0u)); });
    Place(0, 10, 10, 20, 20);
    Click(At(15, 15));
    ASSERT_EQ(Doc().GetSelectedIndex(0), 0);
    const std::int64_t before = DecodedImage::LiveBytes();
    const int step = Editor().SurfaceMmToPixels(true, 1);
    for (int n = 0; n < 12; ++n) {
        const QPoint from = At(15 + n, 15);
        Drag(from, from + QPoint(step, 0));
    }
    EXPECT_DOUBLE_EQ(Object(0).GetLeft(), 22.0);
    EXPECT_TRUE(Session().CanUndo());
    EXPECT_GT(CountIn(22, 10, 20, 20, 0xFF2040C0u), 0);
    EXPECT_LT(DecodedImage::LiveBytes() - before, kPictureBytes);
}

TEST_F(DesignMouseTest, RubberBandSelectsTheMovableObjectsItTouches)
{
    TwoFigures();
    Add(3);
    Place(0, 70, 30, 10, 10);
    EditObject(0, [](TLxLableObjectBase& object) { object.SetCanMove(0); });
    // Touching both figures, drawn from bottom right to top left.
    Drag(At(60, 45), At(20, 12));
    EXPECT_TRUE(Session().IsMultiSelecting());
    EXPECT_TRUE(Member(1));
    EXPECT_TRUE(Member(2));
    EXPECT_EQ(Doc().GetSelectedIndex(0), -1);
    EXPECT_EQ(Object(1).GetLeft(), 10.0); // a band moves nothing
    EXPECT_TRUE(Editor().ShapeMultiSelect->isVisible());
    EXPECT_EQ(Editor().ShapeMultiSelect->geometry().topLeft(), At(10, 10));
    // Each member is framed in red on the surface.
    EXPECT_GT(CountIn(10, 10, 20, 10, lxtest::kRed), 0);
    EXPECT_GT(CountIn(25, 15, 20, 10, lxtest::kRed), 0);
    // Dragging the frame moves every member.
    Drag(At(40, 22), At(40, 22) + QPoint(Editor().SurfaceMmToPixels(true, 5), 0));
    EXPECT_EQ(Object(1).GetLeft(), 15.0);
    EXPECT_EQ(Object(2).GetLeft(), 30.0);
    EXPECT_EQ(Object(0).GetLeft(), 70.0);
    // A band touching one object selects it alone; touching none clears.
    Click(At(90, 5));
    EXPECT_FALSE(Session().IsMultiSelecting());
    Drag(At(1, 1), At(18, 12));
    EXPECT_FALSE(Session().IsMultiSelecting());
    EXPECT_EQ(Doc().GetSelectedIndex(0), 1);
    Drag(At(90, 40), At(95, 45));
    EXPECT_EQ(Doc().GetSelectedIndex(0), -1);
    EXPECT_FALSE(Editor().ShapeMultiSelect->isVisible());
}

TEST_F(DesignMouseTest, ShiftClickBuildsAndShrinksAMultiSelection)
{
    TwoFigures();
    Click(At(12, 12));
    Click(At(40, 22), Qt::ShiftModifier);
    EXPECT_TRUE(Session().IsMultiSelecting());
    EXPECT_TRUE(Member(0));
    EXPECT_TRUE(Member(1));
    EXPECT_FALSE(Editor().ShapeSheetLine->isVisible());
    Click(At(12, 12), Qt::ShiftModifier);
    EXPECT_FALSE(Session().IsMultiSelecting());
    EXPECT_EQ(Doc().GetSelectedIndex(0), 1);
    EXPECT_FALSE(Member(0));
    // A plain press outside the frame ends a multi-selection for good.
    Add(3);
    Place(0, 70, 30, 10, 10);
    Drag(At(5, 5), At(50, 28));
    ASSERT_TRUE(Session().IsMultiSelecting());
    Click(At(75, 35));
    EXPECT_FALSE(Session().IsMultiSelecting());
    EXPECT_EQ(Doc().GetSelectedIndex(0), 0);
    EXPECT_FALSE(Member(1));
    EXPECT_FALSE(Member(2));
}

TEST_F(DesignMouseTest, CornerHandleResizesAndStopsAtTheOppositeCorner)
{
    TwoFigures();
    Click(At(12, 12));
    MarkSaved();
    OutlineShape* handle = Editor().ShapeRightBottom;
    const QPoint centre(4, 4);
    QTest::mousePress(handle, Qt::LeftButton, {}, centre);
    QTest::mouseMove(handle, centre + (At(40, 30) - At(30, 20)));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, centre + (At(40, 30) - At(30, 20)));
    lxtest::ProcessEvents();
    EXPECT_EQ(Object(0).GetLeft(), 10.0);
    EXPECT_EQ(Object(0).GetWidth(), 30.0);
    EXPECT_EQ(Object(0).GetHeight(), 20.0);
    EXPECT_FALSE(Session().IsSaved());
    EXPECT_EQ(Editor().EditSheetWidth->text(), QStringLiteral("30.0"));
    // Past the opposite corner it stops there: zero size, never negative.
    handle = Editor().ShapeLeftTop;
    QTest::mousePress(handle, Qt::LeftButton, {}, centre);
    QTest::mouseMove(handle, centre + (At(60, 45) - At(10, 10)));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, centre + (At(60, 45) - At(10, 10)));
    lxtest::ProcessEvents();
    EXPECT_EQ(Object(0).GetLeft(), 40.0);
    EXPECT_EQ(Object(0).GetTop(), 30.0);
    EXPECT_EQ(Object(0).GetWidth(), 0.0);
    EXPECT_EQ(Object(0).GetHeight(), 0.0);
}

TEST_F(DesignMouseTest, ArrowKeysNudgeBySteps)
{
    TwoFigures();
    Click(At(12, 12));
    Reopen();
    QTest::keyClick(&Editor(), Qt::Key_Left);
    EXPECT_DOUBLE_EQ(Object(0).GetLeft(), 9.8);
    QTest::keyClick(&Editor(), Qt::Key_Down);
    EXPECT_DOUBLE_EQ(Object(0).GetTop(), 10.2);
    QTest::keyClick(&Editor(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Object(0).GetWidth(), 20.2);
    EXPECT_TRUE(Session().CanUndo());
    // In an edit field the arrows stay with the field.
    QTest::keyClick(Editor().EditSheetPosTop, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(Object(0).GetLeft(), 9.8);
    // A field that is not a number makes the arrows fail with a message.
    Editor().EditSheetPosLeft->setText(QStringLiteral("abc"));
    messages.Clear();
    QTest::keyClick(&Editor(), Qt::Key_Left);
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(Editor().EditSheetPosLeft->text(), QStringLiteral("abc"));
    // A multi-selection moves every member and rounds to a tenth.
    Place(0, 10.04, 10, 20, 10);
    MarkSaved();
    Click(At(12, 12));
    Click(At(40, 22), Qt::ShiftModifier);
    ASSERT_TRUE(Session().IsMultiSelecting());
    QTest::keyClick(&Editor(), Qt::Key_Left);
    EXPECT_DOUBLE_EQ(Object(0).GetLeft(), 9.8);
    EXPECT_DOUBLE_EQ(Object(1).GetLeft(), 24.8);
    EXPECT_FALSE(Session().IsSaved());
}
