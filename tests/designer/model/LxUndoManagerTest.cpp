#include "designer/model/LxUndoManager.h"

#include "DesignTesting.h"
#include "designer/model/LxLabelObjectManager.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace lx;

namespace {

// Plays a script the way the editor records and replays, and returns what
// every undo and redo restored. Steps, separated by blanks:
//   e<indexes>:<from>><to>  an edit (action 4) of the objects at the indexes:
//                           before-states from0, from1.., after-states to0..
//   t<indexes>:<from>><to>  the same with action 5 (changed with the table)
//   a:<name>                an object added (action 0)
//   f<cell>                 the steps after it are on that label cell
//   u  r                    one undo (redo) of a whole group
// A state restored is written as its name, the states of one group joined by
// "+", and "-" when there was nothing to undo (redo).
std::string Play(const std::string& script)
{
    TlxUndoManager history;
    std::istringstream steps(script);
    std::string step;
    std::string result;
    std::int32_t face = 0;
    const auto replay = [&](bool undo) {
        if (!(undo ? history.CanUndo() : history.CanRedo())) {
            EXPECT_THROW(undo ? history.PopUndo() : history.PopRedo(), ListIndexError);
            return std::string("-");
        }
        std::string states;
        for (int n = undo ? history.GetUndoGroupSize() : history.GetRedoGroupSize(); n > 0; --n) {
            const UndoStep popped = undo ? history.PopUndo() : history.PopRedo();
            if (!states.empty())
                states += '+';
            states += popped.Snapshot ? popped.Snapshot->GetName() : std::string("?");
        }
        return states;
    };
    while (steps >> step) {
        if (step == "u" || step == "r") {
            if (!result.empty())
                result += ' ';
            result += replay(step == "u");
        } else if (step[0] == 'f') {
            face = std::stoi(step.substr(1));
        } else if (step[0] == 'a') {
            history.PushUndo(history.NewUndoGroupKey(), UndoAdded, {face, 0}, lxtest::TextObject(step.substr(2), ""),
                             false);
        } else {
            const std::size_t colon = step.find(':');
            const std::size_t arrow = step.find('>');
            const int action = step[0] == 't' ? UndoChangedWithTable : UndoChanged;
            for (bool before : {true, false}) {
                const std::int32_t key = history.NewUndoGroupKey();
                const std::string state = before ? step.substr(colon + 1, arrow - colon - 1) : step.substr(arrow + 1);
                for (std::size_t i = 1; i < colon; ++i)
                    history.PushUndo(key, action, {face, step[i] - '0'}, lxtest::TextObject(state + step[i], ""),
                                     before);
            }
        }
    }
    return result;
}

} // namespace

TEST(UndoHistory, RestoresEveryEditInBothDirections)
{
    const struct {
        const char* what;
        const char* script;
        const char* restored;
    } cases[] = {
        {"empty", "u r", "- -"},
        {"A, C, D: one object twice", "e0:A>B e0:C>D u u u r r r u r", "C0 A0 - C0 D0 - C0 D0"},
        {"edit X, edit Y: both stay redoable", "e0:X>x e1:Y>y u u u r r r", "Y1 X0 - x0 y1 -"},
        {"a new edit of a subset keeps the rest", "e01:A>B e0:C>D u u r r", "C0 A1+A0 B0+B1 D0"},
        {"a new edit holding every object merges", "e0:A>B e01:C>D u u u r r", "C1+C0 A0 - C0+C1 D0+D1"},
        {"the same index on another cell is another object", "e0:A>B f1 e0:C>D u u u r r r", "C0 A0 - B0 D0 -"},
        {"changes with the table never merge", "t0:A>B t0:C>D u u r r", "C0 A0 B0 D0"},
        {"other steps in between", "e0:A>B a:P e1:C>D u u u r r r", "C1 P A0 B0 P D1"},
        {"a push after undo drops the redo tail", "a:P1 a:P2 u a:P3 r u u", "P2 - P3 P1"},
        {"an edit still applied stays redoable", "e0:A>B e0:C>D u a:Q r u u r r", "C0 - Q A0 C0 Q"},
        {"a new edit after undo keeps the first edit's undo", "e0:A>B e0:C>D u e0:E>F u u u r r r",
         "C0 E0 A0 - E0 F0 -"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Play(c.script), c.restored) << c.what;
}

TEST(UndoHistory, TheEleventhGroupPushesOutTheOldest)
{
    EXPECT_EQ(Play("a:a a:b a:c a:d a:e a:f a:g a:h a:i a:j a:k u u u u u u u u u u u"), "k j i h g f e d c b -");
    // An eleventh group of several records goes whole, and the cursor stays
    // on its newest record.
    EXPECT_EQ(Play("a:a a:b a:c a:d a:e a:f a:g a:h a:i e01:X>Y u u u u u u u u u u u"), "X1+X0 i h g f e d c b - -");
}

TEST(UndoHistory, PopsHandOutCopies)
{
    TlxUndoManager history;
    history.PushUndo(history.NewUndoGroupKey(), UndoDeleted, {3, 4}, lxtest::TextObject("S", ""), false);
    EXPECT_TRUE(history.IsAtEnd());
    UndoStep step = history.PopUndo();
    EXPECT_EQ(step.Action, UndoDeleted);
    EXPECT_EQ(step.Face, 3);
    EXPECT_EQ(step.Index, 4);
    step.Snapshot->SetName("changed");
    EXPECT_EQ(history.PopRedo().Snapshot->GetName(), "S");
    history.Clear();
    EXPECT_FALSE(history.CanUndo() || history.CanRedo() || history.IsAtEnd());
}
