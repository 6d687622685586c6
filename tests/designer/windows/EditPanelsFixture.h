#pragma once
// A running designer with a new design on a paper of one or more cells,
// for the tests of the editor's pages.
#include "DesignerFixture.h"
#include "DialogTestSupport.h"

#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/metafile/EnhMetafile.h"

#include <QString>

namespace lxtest {

class EditPanelsTest : public DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        ASSERT_TRUE(StartProgram());
    }

    // A new design on a paper of `cells` cells of 60 x 30 mm side by side.
    void NewDesign(int cells = 1)
    {
        std::string lines = "LBLBASE\r\n1.00\r\n" + std::to_string(cells) + "\r\n0\r\n0\r\n0\r\n";
        for (int i = 0; i < cells; ++i)
            lines += "lxLineNomal\t" + std::to_string(i * 60) + "\t0\t60\t30\r\n";
        NewDesignOnPaper("PANELS-1", lines);
    }

    // Adds an object through the add command of the tag; it becomes the
    // selected object with its page filled.
    template <typename T>
    const T& Add(int tag)
    {
        ClickButton(FormDesign, AddButtonName(tag));
        const auto& object = dynamic_cast<const T&>(*Session().SelectedObject());
        MarkSaved();
        return object;
    }

    // The bytes of a face's rendered metafile.
    std::string RenderedFace(int face)
    {
        const std::int32_t current = Session().CurrentFace();
        Session().ChooseFace(face);
        std::string bytes = Session().RenderCurrentFace().Bytes();
        Session().ChooseFace(current);
        return bytes;
    }

    // The texts of the metafile's ExtTextOutW records, in drawing order.
    static QString DrawnText(const std::string& metafile)
    {
        const auto u32 = [&](std::size_t at) {
            std::uint32_t v = 0;
            for (int i = 3; i >= 0; --i)
                v = v << 8 | static_cast<unsigned char>(metafile[at + static_cast<std::size_t>(i)]);
            return v;
        };
        QString text;
        for (std::size_t at = 0; at + 8 <= metafile.size();) {
            const std::uint32_t type = u32(at);
            const std::uint32_t size = u32(at + 4);
            if (size < 8 || at + size > metafile.size())
                break;
            if (type == 84 && size >= 76) {
                const std::uint32_t count = u32(at + 44);
                const std::uint32_t offset = u32(at + 48);
                for (std::uint32_t i = 0; i < count && at + offset + 2 * i + 2 <= at + size; ++i)
                    text += QChar(
                        static_cast<char16_t>(static_cast<unsigned char>(metafile[at + offset + 2 * i]) |
                                              static_cast<unsigned char>(metafile[at + offset + 2 * i + 1]) << 8));
            }
            at += size;
        }
        return text;
    }

    static bool Draws(const std::string& metafile, const QString& text) { return DrawnText(metafile).contains(text); }
};

} // namespace lxtest
