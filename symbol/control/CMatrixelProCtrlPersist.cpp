#include "symbol/control/CMatrixelProCtrl.h"

#include "platform/text/Cp932.h"
#include "symbol/control/EncodeSymbol.h"

namespace lx {

namespace {

constexpr std::int32_t kExchangeVersion = 0x00010000; // 1.0

// Pitch of about 0.5 mm at the printer's resolution, rounded half up.
std::int16_t DefaultPitch(int resolution) { return static_cast<std::int16_t>((resolution * 50 + 1270) / 2540); }

} // namespace

void CMatrixelProCtrl::DoPropExchange(PropertyExchange& px)
{
    std::int32_t version = kExchangeVersion;
    px.Long("_Version", version, kExchangeVersion);
    // The framework's own values: extent and the stock colour and font.
    px.Long("_ExtentX", extentX_, 2540);
    px.Long("_ExtentY", extentY_, 2540);
    px.Color("BackColor", backColor_, 0x80000005);
    px.Text("Font", fontName_, "Arial");

    const int a = PrinterResolution();
    px.Bool("Color", p_.Color, false);
    px.Short("Mirror", p_.Mirror, 0);
    px.Bool("CellForm", p_.CellForm, false);
    px.Bool("Stretch", p_.Stretch, false);
    px.Short("CellPitch", p_.CellPitch, DefaultPitch(a));
    px.Short("CellAdjust", p_.CellAdjust, 0);
    px.Short("Unit", p_.CellUnit, static_cast<std::int16_t>(a));
    px.Short("ModelNo", p_.ModelNo, 2);
    px.Short("AutoRedraw", p_.AutoRedraw, 0);
    px.Short("QuietZone", p_.QuietZone, 5);
    px.Short("Rotate", p_.Rotate, 0);
    px.Short("EccLevel", p_.EccLevel, 1);
    px.Short("Divide1", p_.Divide1, 1);
    px.Short("Divide2", p_.Divide2, 1);
    px.Short("TextOrBinary", p_.TextOrBinary, 0);
    px.Text("InputData", p_.InputData, "QRCODE");
    BuildDuePicture();
    px.PictureValue("Picture", pictureHolder_);
    px.Short("ThrowError", p_.ThrowError, 0);
    px.Short("MakeStatus", Encoded().MakeStatus, 0);
    px.Color("ForeBColor", p_.ForeBColor, 0x000000);
    px.Color("ForeWColor", p_.ForeWColor, 0xFFFFFF);
    px.Short("GapAdjust", p_.GapAdjust, 0);
    px.Short("BarHeight", p_.BarHeight, 15);
    px.Short("ChrDisplay", p_.ChrDisplay, 1);
    px.Short("ChkDigit", p_.ChkDigit, 0);
    px.Short("CodeType", p_.CodeType, 0);
    px.Float("NwRatio", p_.NwRatio, 2.5f);
    px.Short("OptEANUPC", p_.OptEANUPC, 0);
    px.Short("OptITF", p_.OptITF, 0);
    px.Short("OptSTF", p_.OptSTF, 0);
    px.Short("OptCODE128", p_.OptCODE128, 0);
    px.Short("OptPLESSEY", p_.OptPLESSEY, 0);
    px.Short("QRversion", p_.QRversion, 0);
    px.Short("MaxiCodeMode", p_.MaxiCodeMode, 1);
    px.Short("PDF417Model", p_.PDF417Model, 1);
    px.Short("DmxModel", p_.DmxModel, 1);
    px.Short("PDF417Ecc", p_.PDF417Ecc, 0);
    px.Short("PDF417Colum", p_.PDF417Colum, 0);
    px.Short("PDF417Row", p_.PDF417Row, 0);
    px.Short("PDF417XYratio", p_.PDF417XYratio, 4);
    px.Short("PDF417HWratio", p_.PDF417HWratio, 4);
    px.Short("BarChrGap", p_.BarChrGap, 1);
    if (px.IsLoading()) {
        p_.Pdf417Params = PackPdf417Params(p_);
        EncodeSymbol();
    }
}

HResult CMatrixelProCtrl::InitNew()
{
    PropertyExchange reset = PropertyExchange::Resetting();
    DoPropExchange(reset);
    modified_ = false;
    return kOk;
}

HResult CMatrixelProCtrl::ResetState()
{
    InitNew();
    pictureHolder_.reset();
    duePicture_.reset();
    InvalidateControl();
    return kOk;
}

HResult CMatrixelProCtrl::Load(const PropertyBag& bag)
{
    try {
        PropertyExchange load = PropertyExchange::Loading(bag);
        DoPropExchange(load);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    modified_ = false;
    return kOk;
}

HResult CMatrixelProCtrl::Save(PropertyBag& bag, bool clearDirty)
{
    try {
        PropertyExchange save = PropertyExchange::Saving(bag);
        DoPropExchange(save);
    } catch (const std::exception&) {
        return kWriteFault;
    }
    if (clearDirty)
        modified_ = false;
    return kOk;
}

HResult CMatrixelProCtrl::Load(Stream& stream)
{
    MemoryPropertyBag bag;
    try {
        bag = ReadPropertyStream(stream);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (const std::exception&) {
        // The control keeps the values it had.
        return kReadFault;
    }
    return Load(static_cast<const PropertyBag&>(bag));
}

HResult CMatrixelProCtrl::Save(Stream& stream, bool clearDirty)
{
    MemoryPropertyBag bag;
    if (const HResult status = Save(static_cast<PropertyBag&>(bag), clearDirty); Failed(status))
        return status;
    try {
        WritePropertyStream(stream, bag);
    } catch (const std::exception&) {
        return kWriteFault;
    }
    return kOk;
}

} // namespace lx
