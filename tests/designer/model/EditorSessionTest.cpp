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

} // namespace
} // namespace lx
