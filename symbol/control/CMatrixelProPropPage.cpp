#include "symbol/control/CMatrixelProPropPage.h"

#include "symbol/control/CMatrixelProCtrl.h"
#include "symbol/control/MatrixelProStrings.h"

namespace lx {

namespace {

using Kind = PageField::Kind;

constexpr int kFieldHeight = 12;

// Where a field's label starts, and the field's left edge and width.
struct Column {
    int labelX;
    int x;
    int width;
};

// The three columns and the colour fields.
constexpr Column kLeft{4, 49, 24};
constexpr Column kMiddle{84, 132, 24};
constexpr Column kColour{84, 122, 34};
constexpr Column RightAt(int x) { return {162, x, 24}; }

struct Range {
    bool check;
    double minimum;
    double maximum;
};

PageField Field(const char* property, const char* label, int id, Column column, int y, Kind kind, Range range)
{
    PageField f;
    f.property = property;
    f.label = label;
    f.controlId = id;
    f.labelBox = {column.labelX, y + 2, column.x - 2, y + 2 + 8};
    f.fieldBox = {column.x, y, column.x + column.width, y + kFieldHeight};
    f.kind = kind;
    f.checkRange = range.check;
    f.minimum = range.minimum;
    f.maximum = range.maximum;
    // Fields numbered below 1000 have a border of their own.
    f.border = id < 1000;
    return f;
}

PageField Left(const char* property, const char* label, int id, int y, int lo, int hi, bool range = true)
{
    return Field(property, label, id, kLeft, y, Kind::Integer, {range, double(lo), double(hi)});
}

PageField Middle(const char* property, const char* label, int id, int y, int lo, int hi)
{
    return Field(property, label, id, kMiddle, y, Kind::Integer, {true, double(lo), double(hi)});
}

PageField Right(const char* property, const char* label, int id, int y, int lo, int hi, int x = 210)
{
    return Field(property, label, id, RightAt(x), y, Kind::Integer, {true, double(lo), double(hi)});
}

PageField Colour(const char* property, const char* label, int id, int y)
{
    return Field(property, label, id, kColour, y, Kind::Integer, {false, 0, 0});
}

} // namespace

PageForm MatrixelProPageForm()
{
    PageForm form;
    form.caption = std::string(LoadResourceString(kIdsPageCaption));
    form.size = {244, 189};
    PageField input = Field("InputData", "", 1011, {0, 4, 74}, 147, Kind::Text, {true, 0, 8192});
    input.labelBox = {};
    input.fieldBox = {4, 147, 78, 184};
    input.multiLine = true;
    PageField ratio = Right("NwRatio", "NW Ratio", 212, 45, 0, 0);
    ratio.kind = Kind::Float;
    ratio.minimum = 2.0;
    ratio.maximum = 3.0;
    form.fields = {
        input,
        Middle("ModelNo", "QR Model", 201, 36, 1, 3),
        Middle("EccLevel", "ECC Level", 202, 50, 0, 3),
        Left("QuietZone", "Quiet Zone", 1004, 78, 0, 100),
        Left("Rotate", "Rotation", 203, 92, 0, 3),
        Left("Divide1", "Divide1", 1005, 120, 1, 99),
        Left("Divide2", "Divide2", 1006, 133, 1, 99),
        Left("CellAdjust", "Cell/Bar Adj.", 1003, 64, 0, 0, false),
        Left("CellPitch", "Cell/Bar Pitch", 1000, 50, 0, 10000),
        Left("CellUnit", "Unit (DPI)", 1002, 37, -1, 2540),
        Colour("ForeBColor", "Fore B Color", 1007, 5),
        Colour("ForeWColor", "Fore W Color", 1008, 18),
        Middle("GapAdjust", "Gap Adjust", 204, 64, 0, 1),
        Left("AutoRedraw", "Auto ReDraw", 205, 20, 0, 1),
        Right("BarHeight", "Bar Height", 206, 5, 1, 1000),
        Right("ChkDigit", "Check Digit", 210, 32, 0, 2),
        Left("CodeType", "Code Type", 1001, 5, 0, 17),
        ratio,
        Right("OptCODE128", "Opt Code128", 216, 97, 0, 2),
        Right("OptEANUPC", "Opt EAN/UPC", 213, 58, 0, 1),
        Right("OptITF", "Opt ITF", 214, 71, 0, 1),
        Right("OptSTF", "Opt STF", 215, 84, 0, 1),
        Right("OptPLESSEY", "Opt Plessey", 217, 110, 0, 2),
        Right("ChrDisplay", "Char. Disp", 207, 19, 0, 2),
        Middle("QRversion", "QR Version", 208, 78, 0, 40),
        Right("DmxModel", "DMX Model", 209, 144, 1, 2, 211),
        Right("MaxiCodeMode", "MaxiCode Mode", 211, 164, 1, 4, 211),
        Middle("PDF417Model", "PDF417 Model", 218, 98, 1, 3),
        Middle("PDF417Colum", "PDF417 Colum", 220, 125, 0, 30),
        Middle("PDF417Ecc", "PDF417 ECC", 219, 111, 0, 9),
        Middle("PDF417HWratio", "PDF417HWratio", 222, 153, 1, 7),
        Middle("PDF417Row", "PDF417 Row", 221, 139, 0, 90),
        Middle("PDF417XYratio", "PDF417XYratio", 223, 167, 1, 10),
        Right("BarChrGap", "Bar Char Gap", 224, 127, 1, 10),
        Left("Mirror", "Mirror", 225, 106, 0, 1),
    };
    return form;
}

ComPtr<PropertyPage> CreateMatrixelProPropPage()
{
    return CreateFormPropertyPage(MatrixelProPageForm(),
                                  std::make_shared<ServerModule::LiveObject>(MatrixelProModule()));
}

} // namespace lx
