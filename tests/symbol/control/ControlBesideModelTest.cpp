// The control linked into one program with the label model, as a host that
// embeds both would be: no function of the one may stand in for a function
// of the other, or the control draws with the model's code.
#include <gtest/gtest.h>

#include "ControlTesting.h"
#include "designer/model/UnitCommon.h"
#include "symbol/encoders/SymbolPainter.h"

namespace {

TEST(ControlBesideModel, LinearTextKeepsTheControlsOwnFace)
{
    const lx::FontValue modelFont; // brings the model's font defaults into this program
    lxtest::TestControl control;
    control.Put(lx::kDispCodeType, lx::kCodeCode128);
    control.Put(lx::kDispChrDisplay, 1);
    control.PutText("ABC123");
    control.driver.Call(lx::kDispIdRefresh);
    EXPECT_GT(control.driver.Get(lx::kDispImageWidth).AsFloat(), 0.0f);
    EXPECT_EQ(lx::DefaultFontName(), "Arial");
    EXPECT_NE(modelFont.Name, lx::DefaultFontName());
}

} // namespace
