#pragma once
// A started designer with a new one-cell design open in the editor, and
// helpers to find objects on the rendered surface.
#include "DesignerFixture.h"
#include "DialogTestSupport.h"

#include "designer/windows/PictureView.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitTopMenu.h"

#include <QImage>
#include <QPushButton>
#include <QTest>

namespace lxtest {

class DesignEditingTest : public DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        ASSERT_TRUE(StartProgram());
        OpenCell(100, 50);
    }

    // A new design on a one-cell paper of w x h mm.
    void OpenCell(double w, double h)
    {
        if (FormDesign->isVisible())
            FormDesign->close();
        NewDesignOnPaper("EDIT-1",
                         "LBLBASE\r\n1.00\r\n1\r\n0\r\n0\r\n0\r\nlxLineNomal\t0\t0\t" + std::to_string(w) + "\t" +
                             std::to_string(h) + "\r\n");
    }

    lx::TFormDesign& Editor() { return *FormDesign; }
    const lx::TlxLabelManager& Doc() { return *Session().Document(); }
    const lx::TLxLableObjectBase& Object(int j) { return *Doc().GetObject(j, 0); }
    template <typename T>
    const T& ObjectAs(int j)
    {
        return dynamic_cast<const T&>(Object(j));
    }

    // Adds an object as the user does, with the add command of the tag.
    void Add(int tag)
    {
        ClickButton(FormDesign, AddButtonName(tag));
        ProcessEvents();
    }
    // Places object j at (left, top) with size w x h mm and redraws.
    void Place(int j, double left, double top, double w, double h)
    {
        EditObject(j, [&](lx::TLxLableObjectBase& object) {
            object.SetLeft(left);
            object.SetTop(top);
            object.SetWidth(w);
            object.SetHeight(h);
        });
        Editor().RefreshDesign();
    }

    // A point in millimetres on the surface widget.
    QPoint At(double xMm, double yMm)
    {
        return Editor().ImageDesign->pictureOffset() +
            QPoint(Editor().SurfaceMmToPixels(true, xMm), Editor().SurfaceMmToPixels(false, yMm));
    }
    QImage Surface() { return Editor().ImageDesign->picture(); }
    // Pixels inside a box given in millimetres that pass the test.
    template <typename Test>
    int CountWhere(double left, double top, double w, double h, Test test)
    {
        const QImage image = Surface();
        const QPoint from = At(left, top) - Editor().ImageDesign->pictureOffset();
        const QPoint to = At(left + w, top + h) - Editor().ImageDesign->pictureOffset();
        int n = 0;
        for (int y = std::max(from.y(), 0); y < std::min(to.y(), image.height()); ++y)
            for (int x = std::max(from.x(), 0); x < std::min(to.x(), image.width()); ++x)
                n += test(image.pixel(x, y));
        return n;
    }
    // Pixels of the colour (0xAARRGGBB) inside the box.
    int CountIn(double left, double top, double w, double h, QRgb colour)
    {
        return CountWhere(left, top, w, h, [colour](QRgb p) { return p == colour; });
    }
    int CountDark(double left, double top, double w, double h)
    {
        return CountWhere(left, top, w, h, [](QRgb p) { return qGray(p) < 96; });
    }

    int UndoGroups()
    {
        int n = 0;
        while (Session().CanUndo()) {
            Editor().BtnUndo->click();
            ++n;
        }
        return n;
    }
};

inline constexpr QRgb kRed = 0xFFFF0000u;

} // namespace lxtest
