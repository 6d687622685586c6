#include <gtest/gtest.h>

#include "designer/model/EditorSession.h"

namespace lx {
namespace {

// A design counts as unsaved from its first change until it is written or
// replaced; closing it in between must ask the user.
TEST(EditorSession, ChangesStayUnsavedUntilTheDesignIsSavedAgain)
{
    EditorSession session;
    EXPECT_TRUE(session.IsSaved()); // a design just begun has nothing to lose

    session.MarkChanged();
    session.MarkChanged();
    EXPECT_FALSE(session.IsSaved());
    session.MarkSaved();
    EXPECT_TRUE(session.IsSaved());

    session.MarkChanged();
    EXPECT_FALSE(session.IsSaved()); // saving once does not cover later changes
}

// Selecting is not a change to the design: a saved design stays saved.
TEST(EditorSession, SelectingLeavesTheDesignSaved)
{
    EditorSession session;
    EXPECT_FALSE(session.IsMultiSelecting());
    session.BeginMultiSelection();
    EXPECT_TRUE(session.IsMultiSelecting());
    session.EndMultiSelection();
    EXPECT_FALSE(session.IsMultiSelecting());
    EXPECT_TRUE(session.IsSaved());
}

} // namespace
} // namespace lx
