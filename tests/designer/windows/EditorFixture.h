#pragma once
// The editor opened on a new design, with what the editing tests share:
// adding objects as the add commands leave them (in front, selected, with
// an undo record), reading the document and the saved bytes.
#include "DesignerFixture.h"
#include "DialogTestSupport.h"

#include "designer/model/LxDesignFile.h"
#include "designer/model/LxLabelString.h"
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
        FormTopMenu->PngBtnSelectPaper->click();
        FormSelectPaper->CBMaker->setCurrentText(maker);
        const auto found = FormSelectPaper->LBPaperList->findItems(line, Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1);
        FormSelectPaper->LBPaperList->setCurrentItem(found[0]);
        FormSelectPaper->BtnNext->click();
        ASSERT_TRUE(FormDesign->isVisible());
    }
    // Eight cells of different sizes; a paper for multi mode only.
    void NewMultiDesign() { NewDesignOn(QStringLiteral("ユーザ設定"), QString::fromUtf8(kMixedPaper)); }
    // Ten cells; starts in single mode.
    void NewSingleDesign() { NewDesignOn(QStringLiteral("ヒサゴ"), QStringLiteral("OP3004")); }

    const lx::TlxLabelManager& Document() { return *Session().Document(); }

    // A text object added to the current cell in front, selected: the
    // addition and the text are two steps, as the add command and the text
    // page make them.
    void AddText(const std::string& text)
    {
        Session().AddObject(lx::KindString);
        Session().EditSelected([&](lx::TLxLableObjectBase& object) {
            static_cast<lx::TLxLabelObjectString&>(object).SetText(lx::Sjis(text));
            object.SetName(lx::Sjis(text));
        });
        FormDesign->RefreshDesign();
    }

    // The texts of a cell's objects, front first.
    std::vector<std::string> Texts(std::int32_t face)
    {
        std::vector<std::string> texts;
        for (std::int32_t i = 0; i < Document().GetObjectCount(face); ++i)
            texts.push_back(lx::Cp932ToUtf8(
                static_cast<const lx::TLxLabelObjectString&>(*Document().GetObject(i, face)).GetText()));
        return texts;
    }

    // The design file bytes of the open design.
    std::string DesignBytes()
    {
        lx::MemoryStream stream;
        lx::WriteDesign(stream, *Session().MergeTable(), *Session().Layout(), Document());
        return std::string(stream.Bytes());
    }
};

} // namespace lxtest
