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

// Naming and forgetting the file touch neither the unsaved flag nor the
// selection: the editor marks those itself once the file was read or written.
TEST(EditorSession, FileNameIsKeptApartFromTheUnsavedFlag)
{
    EditorSession session;
    EXPECT_TRUE(session.FileName().empty());
    session.MarkChanged();
    session.SetFileName("\x83\x89\x83x\x83\x8b.bv2"); // CP932 bytes pass through
    EXPECT_EQ(session.FileName(), "\x83\x89\x83x\x83\x8b.bv2");
    EXPECT_FALSE(session.IsSaved());
    session.ForgetFileName();
    EXPECT_TRUE(session.FileName().empty());
    EXPECT_FALSE(session.IsSaved());
}

} // namespace
} // namespace lx
