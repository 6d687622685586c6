#pragma once
// The editor opened on a new design, with what the editing tests share:
// adding objects as the add commands leave them (in front, selected, with
// an undo record), reading the document and the saved bytes.
#include "DesignerFixture.h"

#include "designer/model/LxDesignFile.h"
#include "designer/model/LxLabelString.h"
#include "designer/windows/Forms.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

namespace lxtest {

class EditorTest : public DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        WriteMixedUserPaper();
        ASSERT_TRUE(StartProgram());
    }

    // A new design on a paper of the chooser.
    void NewDesignOn(const QString& maker, const QString& line)
    {
        lx::FormTopMenu->PngBtnSelectPaper->click();
        lx::FormSelectPaper->CBMaker->setCurrentText(maker);
        const auto found = lx::FormSelectPaper->LBPaperList->findItems(line, Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1);
        lx::FormSelectPaper->LBPaperList->setCurrentItem(found[0]);
        lx::FormSelectPaper->BtnNext->click();
        ASSERT_TRUE(lx::FormDesign->isVisible());
    }
    // Eight cells of different sizes; a paper for multi mode only.
    void NewMultiDesign() { NewDesignOn(QStringLiteral("ユーザ設定"), QString::fromUtf8(kMixedPaper)); }
    // Ten cells; starts in single mode.
    void NewSingleDesign() { NewDesignOn(QStringLiteral("ヒサゴ"), QStringLiteral("OP3004")); }

    lx::TlxLabelManager& Document() { return *lx::FormDesign->Session.Document(); }
    const lx::TlxUndoManager& History() { return *lx::FormDesign->Session.Undo(); }

    // A text object added to the current cell as the add command does it.
    void AddText(const std::string& text)
    {
        lx::TFormDesign& editor = *lx::FormDesign;
        Document().AddObject(lx::KindString, editor.CurrentFace);
        auto& object = static_cast<lx::TLxLabelObjectString&>(*Document().GetObject(0, editor.CurrentFace));
        object.SetText(lx::Sjis(text));
        object.SetName(lx::Sjis(text));
        editor.Session.RecordChange(lx::UndoAdded, 0, object.Clone());
        editor.RefreshDesign();
    }

    // The texts of a cell's objects, front first.
    std::vector<std::string> Texts(std::int32_t face)
    {
        std::vector<std::string> texts;
        for (std::int32_t i = 0; i < Document().GetObjectCount(face); ++i)
            texts.push_back(
                lx::Cp932ToUtf8(static_cast<lx::TLxLabelObjectString&>(*Document().GetObject(i, face)).GetText()));
        return texts;
    }

    // The design file bytes of the open design.
    std::string DesignBytes()
    {
        lx::MemoryStream stream;
        lx::WriteDesign(stream, *lx::FormDesign->Session.MergeTable(), *lx::FormDesign->Session.Layout(), Document());
        return std::string(stream.Bytes());
    }
};

} // namespace lxtest
