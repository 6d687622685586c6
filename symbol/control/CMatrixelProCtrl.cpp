#include "symbol/control/CMatrixelProCtrl.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/com/AboutDialog.h"
#include "platform/com/ComObject.h"
#include "platform/com/PropertyFrame.h"
#include "platform/com/PropertyPage.h"
#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"
#include "symbol/control/EncodeSymbol.h"
#include "symbol/control/MatrixelProStrings.h"

namespace lx {

// The member table and the validation rules; a friend of the control.
struct ControlMembers {
    using Control = CMatrixelProCtrl;
    using Props = ControlProperties;

    // One validated short property: the steps of every setter, table-driven.
    struct Rule {
        DispId id;
        std::int16_t Props::*field;
        int code;
        int text;
        bool encode;
        bool sameReturn;
        bool (*valid)(const Control&, int v);
        std::int16_t (*fallback)(const Control&, int v);
        // Before the range test (may raise); null for none.
        void (*precheck)(const Control&, int v) = nullptr;
        // The stored form of a valid value; null keeps it.
        std::int16_t (*resolve)(const Control&, int v) = nullptr;
        // Stores with side effects; null assigns the field.
        void (*store)(Control&, std::int16_t v) = nullptr;
    };

    template <int Low, int High>
    static bool InRange(const Control&, int v)
    {
        return v >= Low && v <= High;
    }
    template <int Value>
    static std::int16_t Const(const Control&, int)
    {
        return Value;
    }

    static int QrVersionLimit(int model) { return model == 1 ? 14 : model == 2 ? 40 : model == 3 ? 4 : 0; }
    static void Repack(Control& c) { c.p_.Pdf417Params = PackPdf417Params(c.p_); }
    template <std::int16_t Props::*Field>
    static void StoreAndRepack(Control& c, std::int16_t v)
    {
        c.p_.*Field = v;
        Repack(c);
    }

    static bool ValidAdjust(const Control& c, int v) { return -c.p_.CellPitch < v && v < c.p_.CellPitch; }
    static std::int16_t FallbackAdjust(const Control& c, int v)
    {
        return static_cast<std::int16_t>(v <= -c.p_.CellPitch ? 1 - c.p_.CellPitch : c.p_.CellPitch - 1);
    }
    static bool ValidPitch(const Control&, int v) { return v >= 1; }
    static bool ValidQuietZone(const Control&, int v) { return v >= 0; }
    static bool ValidChkDigit(const Control& c, int v)
    {
        return v >= 0 && v <= 2 && CheckDigitAllowed(c.p_.CodeType, v);
    }
    static bool ValidQrVersion(const Control& c, int v)
    {
        return v == 0 || (v >= 1 && v <= QrVersionLimit(c.p_.ModelNo));
    }
    static bool ValidPdfRow(const Control&, int v) { return v == 0 || (v >= 3 && v <= 90); }
    static bool ValidDivide(const Control& c, int v) { return v >= 1 && v <= DivideLimit(c.p_.CodeType); }

    static void MicroQrCannotDivide(const Control& c, int v)
    {
        if (c.p_.CodeType == kCodeQr && c.p_.ModelNo == 3 && v > 1 && c.p_.ThrowError != 0)
            c.RaiseError(1007, 108);
    }
    static void StoreDivide1(Control& c, std::int16_t v)
    {
        c.p_.Divide1 = v;
        c.p_.Divide2 = std::max(c.p_.Divide2, v);
    }
    static void StoreDivide2(Control& c, std::int16_t v)
    {
        c.p_.Divide2 = v;
        c.p_.Divide1 = std::min(c.p_.Divide1, v);
    }
    static void StoreCodeType(Control& c, std::int16_t v)
    {
        c.p_.CodeType = v;
        if (!CheckDigitAllowed(v, c.p_.ChkDigit))
            c.p_.ChkDigit = 1;
    }

    static std::int16_t ResolveUnit(const Control& c, int v)
    {
        return static_cast<std::int16_t>(v == -1 ? c.PrinterResolution() : v == 0 ? 2540 : v);
    }
    // Lengths keep their size in inches: pitch rounds half up, adjust half
    // away from zero. A stored unit of 0 or less (only a loaded value can
    // be) has no size to keep, so nothing is rescaled from it.
    static void StoreUnit(Control& c, std::int16_t unit)
    {
        const int old = c.p_.CellUnit;
        if (unit != old && old > 0) {
            const double ratio = static_cast<double>(unit) / old;
            c.p_.CellPitch = ClampShort(std::floor(c.p_.CellPitch * ratio + 0.5));
            c.p_.CellAdjust = ClampShort(static_cast<double>(RoundHalfAway(c.p_.CellAdjust * ratio)));
        }
        c.p_.CellUnit = unit;
    }
    static std::int16_t ClampShort(double v) { return static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0)); }

    static const std::array<Rule, 32>& Rules()
    {
        static const std::array<Rule, 32> rules{{
            {kDispModelNo, &Props::ModelNo, 1001, 102, true, true, InRange<1, 3>, Const<2>},
            {kDispCellAdjust, &Props::CellAdjust, 1002, 103, false, true, ValidAdjust, FallbackAdjust},
            {kDispCellPitch, &Props::CellPitch, 1000, 101, false, true, ValidPitch, Const<1>},
            {kDispCellUnit, &Props::CellUnit, 1008, 109, false, true, InRange<-1, 2540>, Const<2540>, nullptr,
             ResolveUnit, StoreUnit},
            {kDispDivide1, &Props::Divide1, 1006, 107, true, false, ValidDivide, Const<1>, MicroQrCannotDivide, nullptr,
             StoreDivide1},
            {kDispDivide2, &Props::Divide2, 1006, 107, true, false, ValidDivide, Const<1>, MicroQrCannotDivide, nullptr,
             StoreDivide2},
            {kDispEccLevel, &Props::EccLevel, 1005, 106, true, false, InRange<0, 3>, Const<1>},
            {kDispQuietZone, &Props::QuietZone, 1003, 104, false, false, ValidQuietZone, Const<0>},
            {kDispRotate, &Props::Rotate, 1004, 105, false, false, InRange<0, 3>, Const<0>},
            {kDispBarHeight, &Props::BarHeight, 1009, 114, false, false, InRange<1, 1000>, Const<15>},
            {kDispChrDisplay, &Props::ChrDisplay, 1010, 110, false, false, InRange<0, 2>, Const<1>},
            {kDispChkDigit, &Props::ChkDigit, 1011, 111, true, false, ValidChkDigit, Const<1>},
            {kDispCodeType, &Props::CodeType, 1012, 112, true, false, InRange<0, 17>, Const<0>, nullptr, nullptr,
             StoreCodeType},
            {kDispOptEANUPC, &Props::OptEANUPC, 1014, 115, true, false, InRange<0, 1>, Const<0>},
            {kDispOptITF, &Props::OptITF, 1015, 116, true, false, InRange<0, 1>, Const<0>},
            {kDispOptSTF, &Props::OptSTF, 1016, 117, true, false, InRange<0, 1>, Const<0>},
            {kDispOptCODE128, &Props::OptCODE128, 1017, 118, true, false, InRange<0, 2>, Const<0>},
            {kDispOptPLESSEY, &Props::OptPLESSEY, 1018, 119, true, false, InRange<0, 2>, Const<0>},
            {kDispQRversion, &Props::QRversion, 1019, 121, true, true, ValidQrVersion, Const<0>},
            {kDispMaxiCodeMode, &Props::MaxiCodeMode, 1025, 127, true, true, InRange<1, 4>, Const<3>},
            {kDispPDF417Model, &Props::PDF417Model, 1026, 128, true, true, InRange<1, 3>, Const<1>},
            {kDispPDF417Ecc, &Props::PDF417Ecc, 1020, 126, true, true, InRange<0, 9>, Const<0>},
            {kDispDmxModel, &Props::DmxModel, 1027, 129, true, true, InRange<1, 2>, Const<1>},
            {kDispPDF417Colum, &Props::PDF417Colum, 1021, 122, true, true, InRange<0, 30>, Const<0>, nullptr, nullptr,
             StoreAndRepack<&Props::PDF417Colum>},
            {kDispPDF417Row, &Props::PDF417Row, 1022, 123, true, true, ValidPdfRow, Const<0>, nullptr, nullptr,
             StoreAndRepack<&Props::PDF417Row>},
            {kDispPDF417XYratio, &Props::PDF417XYratio, 1023, 124, true, true, InRange<1, 10>, Const<4>, nullptr,
             nullptr, StoreAndRepack<&Props::PDF417XYratio>},
            {kDispPDF417HWratio, &Props::PDF417HWratio, 1024, 125, true, true, InRange<1, 7>, Const<4>, nullptr,
             nullptr, StoreAndRepack<&Props::PDF417HWratio>},
            // The gap's lowest value is 1, as its error text and the property
            // page say: characters without a gap would run together.
            {kDispBarChrGap, &Props::BarChrGap, 1028, 130, true, true, InRange<1, 10>, Const<1>},
            // Plain stored flags and switches read through the same table.
            {kDispThrowError, &Props::ThrowError, 0, 0, false, false, nullptr, nullptr},
            {kDispAutoRedraw, &Props::AutoRedraw, 0, 0, false, false, nullptr, nullptr},
            {kDispGapAdjust, &Props::GapAdjust, 0, 0, false, false, nullptr, nullptr},
            {kDispMirror, &Props::Mirror, 0, 0, false, false, nullptr, nullptr},
        }};
        return rules;
    }

    static const Rule& FindRule(DispId id)
    {
        for (const Rule& rule : Rules())
            if (rule.id == id)
                return rule;
        throw DispatchFault{kMemberNotFound, {}};
    }

    using Member = DispatchMember<Control>;

    static Member Short(DispId id, std::string_view name)
    {
        return {id, name, VarType::Int16, &Control::GetShort, PutKind::Set, &Control::PutValidated};
    }
    static Member ReadOnly(DispId id, std::string_view name, VarType type, Variant (Control::*get)(DispId))
    {
        return {id, name, type, get, PutKind::Ignored};
    }
    static Member GetOnly(DispId id, std::string_view name, VarType type, Variant (Control::*get)(DispId))
    {
        return {id, name, type, get, PutKind::NotSupported};
    }
    static Member Property(DispId id, std::string_view name, VarType type, Variant (Control::*get)(DispId),
                           void (Control::*put)(DispId, const Variant&))
    {
        return {id, name, type, get, PutKind::Set, put};
    }
    static Member Colour(DispId id, std::string_view name)
    {
        Member m{id, name, VarType::Int32, &Control::GetColor, PutKind::Set, &Control::PutColor};
        m.color = true;
        return m;
    }
    static Member Method(DispId id, std::string_view name, Variant (Control::*call)(std::span<const Variant>),
                         std::initializer_list<VarType> params)
    {
        Member m{id, name, VarType::Int16};
        m.call = call;
        std::copy(params.begin(), params.end(), m.params.begin());
        m.paramCount = params.size();
        return m;
    }

    static std::span<const Member> Table()
    {
        static const std::vector<Member> table{
            Property(kDispAutoRedraw, "AutoRedraw", VarType::Int16, &Control::GetShort, &Control::PutAutoRedraw),
            Property(kDispThrowError, "ThrowError", VarType::Int16, &Control::GetShort, &Control::PutThrowError),
            Property(kDispInputData, "InputData", VarType::String, &Control::GetInputData, &Control::PutInputData),
            ReadOnly(kDispBend, "Bend", VarType::Int16, &Control::GetReadOnly),
            ReadOnly(kDispBstart, "Bstart", VarType::Int16, &Control::GetReadOnly),
            Short(kDispModelNo, "ModelNo"),
            ReadOnly(kDispNumCell, "NumCell", VarType::Int16, &Control::GetReadOnly),
            ReadOnly(kDispPicture, "Picture", VarType::Picture, &Control::GetPicture),
            Short(kDispCellAdjust, "CellAdjust"),
            Short(kDispCellPitch, "CellPitch"),
            Short(kDispCellUnit, "CellUnit"),
            ReadOnly(kDispTextOrBinary, "TextOrBinary", VarType::Int16, &Control::GetReadOnly),
            Property(kDispInputDataB, "InputDataB", VarType::String, nullptr, &Control::PutInputDataBytes),
            ReadOnly(kDispMakeStatus, "MakeStatus", VarType::Int16, &Control::GetReadOnly),
            Short(kDispDivide1, "Divide1"),
            Short(kDispDivide2, "Divide2"),
            Short(kDispEccLevel, "EccLevel"),
            Short(kDispQuietZone, "QuietZone"),
            Short(kDispRotate, "Rotate"),
            Colour(kDispForeBColor, "ForeBColor"),
            Colour(kDispForeWColor, "ForeWColor"),
            Property(kDispGapAdjust, "GapAdjust", VarType::Int16, &Control::GetShort, &Control::PutFlag),
            Short(kDispBarHeight, "BarHeight"),
            Short(kDispChrDisplay, "ChrDisplay"),
            Short(kDispChkDigit, "ChkDigit"),
            Short(kDispCodeType, "CodeType"),
            Property(kDispNwRatio, "NwRatio", VarType::Float, &Control::GetNwRatio, &Control::PutNwRatio),
            Short(kDispOptEANUPC, "OptEANUPC"),
            Short(kDispOptITF, "OptITF"),
            Short(kDispOptSTF, "OptSTF"),
            Short(kDispOptCODE128, "OptCODE128"),
            Short(kDispOptPLESSEY, "OptPLESSEY"),
            GetOnly(kDispImageHeight, "ImageHeight", VarType::Float, &Control::GetImageSize),
            GetOnly(kDispImageWidth, "ImageWidth", VarType::Float, &Control::GetImageSize),
            Short(kDispQRversion, "QRversion"),
            Short(kDispMaxiCodeMode, "MaxiCodeMode"),
            Short(kDispPDF417Model, "PDF417Model"),
            Short(kDispPDF417Ecc, "PDF417Ecc"),
            Short(kDispDmxModel, "DmxModel"),
            Short(kDispPDF417Colum, "PDF417Colum"),
            Short(kDispPDF417Row, "PDF417Row"),
            Short(kDispPDF417XYratio, "PDF417XYratio"),
            Short(kDispPDF417HWratio, "PDF417HWratio"),
            ReadOnly(kDispNumRow, "NumRow", VarType::Int16, &Control::GetReadOnly),
            Short(kDispBarChrGap, "BarChrGap"),
            GetOnly(kDispImageData, "ImageData", VarType::String, &Control::GetImageData),
            Property(kDispInputDataA, "InputDataA", VarType::String, nullptr, &Control::PutInputDataBytes),
            Property(kDispMirror, "Mirror", VarType::Int16, &Control::GetShort, &Control::PutFlag),
            Method(kDispCreateQrMetaFile, "CreateQrMetaFile", &Control::CallCreateQrMetaFile,
                   {VarType::Int32, VarType::String, VarType::Int16}),
            Method(kDispDrawQrImage, "DrawQrImage", &Control::CallDrawQrImage,
                   {VarType::Int32, VarType::Int32, VarType::Int32}),
            Method(kDispQrImageCopy, "QrImageCopy", &Control::CallQrImageCopy, {VarType::Int16}),
            Colour(kDispIdBackColor, "BackColor"),
            Property(kDispIdFont, "Font", VarType::String, &Control::GetFont, &Control::PutFont),
            GetOnly(kDispIdHwnd, "hWnd", VarType::Int32, &Control::GetReadOnly),
            Method(kDispIdRefresh, "Refresh", &Control::CallRefresh, {}),
            Method(kDispIdAboutBox, "AboutBox", &Control::CallAboutBox, {}),
        };
        return table;
    }
};

CMatrixelProCtrl::CMatrixelProCtrl(std::optional<DeviceInfo> printer)
    : live_(MatrixelProModule()), printer_(std::move(printer))
{
    fontName_ = std::string(LoadResourceString(kIdsDefaultFont));
    PropertyExchange reset = PropertyExchange::Resetting();
    DoPropExchange(reset);
}

int CMatrixelProCtrl::PrinterResolution() const { return printer_ ? std::min(printer_->dpiX, printer_->dpiY) : 2540; }

int CMatrixelProCtrl::Unit() const { return p_.CellUnit > 0 ? p_.CellUnit : 2540; }

void CMatrixelProCtrl::RaiseError(int code, int stringId) const
{
    throw DispatchFault{ControlErrorStatus(code), std::string(LoadResourceString(stringId))};
}

void CMatrixelProCtrl::InvalidateControl()
{
    if (site_)
        site_->InvalidateControl();
}

// An encode of a linear symbol without data leaves MakeStatus as it was, so
// the encode a run of changes has put off is made before the change that
// leads there: its status is the one that stays.
void CMatrixelProCtrl::BeforeEncodeChange(int codeType, bool noData)
{
    if (stale_ && !EncodeKeepsStatus(p_.CodeType, p_.InputData.empty()) && EncodeKeepsStatus(codeType, noData))
        EncodeSymbol();
}

void CMatrixelProCtrl::AfterChange(bool encode)
{
    if (encode)
        stale_ = true;
    if (p_.AutoRedraw != 0)
        InvalidateControl();
    modified_ = true;
}

void CMatrixelProCtrl::EncodeSymbol() const
{
    lx::EncodeSymbol(p_, s_);
    encodedStatus_ = s_.MakeStatus;
    stale_ = false;
}

void CMatrixelProCtrl::RepeatEncode() const
{
    if (stale_)
        EncodeSymbol();
    else if (!EncodeKeepsStatus(p_.CodeType, p_.InputData.empty()))
        s_.MakeStatus = encodedStatus_;
}

EncodedSymbol& CMatrixelProCtrl::Encoded() const
{
    if (stale_)
        EncodeSymbol();
    return s_;
}

HResult CMatrixelProCtrl::GetIdOfName(std::string_view name, DispId* id)
{
    return FindMemberId(ControlMembers::Table(), name, id);
}

HResult CMatrixelProCtrl::GetTypeInfo(std::vector<MemberInfo>* members)
{
    return ListMembers(ControlMembers::Table(), members);
}

HResult CMatrixelProCtrl::Invoke(DispId id, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                                 DispatchException* exception)
{
    return InvokeMember(*this, ControlMembers::Table(), id, flags, args, result, exception);
}

Variant CMatrixelProCtrl::GetShort(DispId id) { return Variant(p_.*(ControlMembers::FindRule(id).field)); }

void CMatrixelProCtrl::PutValidated(DispId id, const Variant& value)
{
    const ControlMembers::Rule& rule = ControlMembers::FindRule(id);
    int v = value.AsInt16();
    if (rule.precheck)
        rule.precheck(*this, v);
    if (!rule.valid(*this, v)) {
        if (p_.ThrowError != 0)
            RaiseError(rule.code, rule.text);
        v = rule.fallback(*this, v);
    }
    const std::int16_t stored = rule.resolve ? rule.resolve(*this, v) : static_cast<std::int16_t>(v);
    if (rule.sameReturn && p_.*rule.field == stored)
        return;
    if (rule.encode)
        BeforeEncodeChange(rule.field == &ControlProperties::CodeType ? stored : p_.CodeType, p_.InputData.empty());
    if (rule.store)
        rule.store(*this, stored);
    else
        p_.*rule.field = stored;
    AfterChange(rule.encode);
}

Variant CMatrixelProCtrl::GetReadOnly(DispId id)
{
    const auto clampShort = [](std::int32_t v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); };
    switch (id) {
    case kDispBend: return Variant(clampShort(Encoded().Bend));
    case kDispBstart: return Variant(clampShort(Encoded().Bstart));
    case kDispNumCell: return Variant(static_cast<std::int16_t>(Encoded().NumCell & 0xFFFF));
    case kDispTextOrBinary: return Variant(p_.TextOrBinary);
    case kDispMakeStatus: return Variant(Encoded().MakeStatus);
    case kDispNumRow: {
        const int type = p_.CodeType;
        const std::int32_t rows = type == kCodeQr            ? Encoded().NumCell & 0xFFFF
            : type >= 1 && type <= 14                        ? 1
            : type == kCodeMaxiCode                          ? 33
            : type == kCodePdf417 || type == kCodeDataMatrix ? (Encoded().NumCell >> 16) & 0xFFFF
                                                             : 0;
        return Variant(static_cast<std::int16_t>(rows));
    }
    case kDispIdHwnd: return Variant(std::int32_t{0});
    default: throw DispatchFault{kMemberNotFound, {}};
    }
}

Variant CMatrixelProCtrl::GetNwRatio(DispId) { return Variant(p_.NwRatio); }

void CMatrixelProCtrl::PutNwRatio(DispId, const Variant& value)
{
    float v = value.AsFloat();
    if (!(v >= 2.0f && v <= 3.0f)) {
        if (p_.ThrowError != 0)
            RaiseError(1013, 113);
        v = 2.5f;
    }
    p_.NwRatio = v;
    AfterChange(false);
}

void CMatrixelProCtrl::PutAutoRedraw(DispId, const Variant& value)
{
    // A repaint, but not a change of the control's persisted state.
    p_.AutoRedraw = value.AsInt16();
    InvalidateControl();
}

void CMatrixelProCtrl::PutThrowError(DispId, const Variant& value)
{
    p_.ThrowError = value.AsInt16();
    modified_ = true;
}

Variant CMatrixelProCtrl::GetInputData(DispId) { return Variant(BStr::FromCp932(p_.InputData)); }

void CMatrixelProCtrl::PutInputData(DispId, const Variant& value)
{
    std::string data = value.AsString().ToCp932();
    BeforeEncodeChange(p_.CodeType, data.empty());
    p_.InputData = std::move(data);
    p_.TextOrBinary = 0;
    AfterChange(true);
}

void CMatrixelProCtrl::PutInputDataBytes(DispId id, const Variant& value)
{
    const std::string& bytes = value.AsString().Bytes();
    const bool binary = id == kDispInputDataB;
    // Text: the bytes up to a terminating zero, as a text string ends.
    std::string data = binary ? bytes : bytes.substr(0, bytes.find('\0'));
    BeforeEncodeChange(p_.CodeType, data.empty());
    p_.InputData = std::move(data);
    p_.TextOrBinary = binary ? 1 : 0;
    AfterChange(true);
}

Variant CMatrixelProCtrl::GetPicture(DispId) { return Variant(PictureHolder()); }

Variant CMatrixelProCtrl::GetColor(DispId id)
{
    const std::uint32_t color = id == kDispForeBColor ? p_.ForeBColor
        : id == kDispForeWColor                       ? p_.ForeWColor
                                                      : backColor_;
    return Variant(static_cast<std::int32_t>(color));
}

void CMatrixelProCtrl::PutColor(DispId id, const Variant& value)
{
    const auto color = static_cast<std::uint32_t>(value.AsInt32());
    if (id == kDispForeBColor)
        p_.ForeBColor = ColorToRgb(color);
    else if (id == kDispForeWColor)
        p_.ForeWColor = ColorToRgb(color);
    else
        backColor_ = color; // the stock colour is translated when it paints
    AfterChange(false);
}

void CMatrixelProCtrl::PutFlag(DispId id, const Variant& value)
{
    const std::int16_t flag = value.AsInt16() != 0 ? 1 : 0;
    (id == kDispMirror ? p_.Mirror : p_.GapAdjust) = flag;
    AfterChange(false);
}

Variant CMatrixelProCtrl::GetImageSize(DispId id)
{
    const Size extent = GetSymbolExtent();
    const int value = id == kDispImageWidth ? extent.cx : extent.cy;
    return Variant(static_cast<float>(value * 25.4 / Unit()));
}

Variant CMatrixelProCtrl::GetImageData(DispId) { return Variant(BStr::FromCp932(ImageData())); }

Variant CMatrixelProCtrl::GetFont(DispId) { return Variant::Text(fontName_); }

void CMatrixelProCtrl::PutFont(DispId, const Variant& value)
{
    fontName_ = value.AsString().ToCp932();
    AfterChange(false);
}

Variant CMatrixelProCtrl::CallCreateQrMetaFile(std::span<const Variant> args)
{
    // A file name, not model text: straight to the system's UTF-8, so that
    // names outside code page 932 work.
    const std::string path = Utf16ToUtf8(args[1].AsString().ToUtf16());
    return Variant(CreateQrMetaFile(args[0].AsInt32(), path, args[2].AsInt16()));
}

Variant CMatrixelProCtrl::CallDrawQrImage(std::span<const Variant> args)
{
    return Variant(DrawQrImage(args[0].AsInt32(), args[1].AsInt32(), args[2].AsInt32()));
}

Variant CMatrixelProCtrl::CallQrImageCopy(std::span<const Variant> args)
{
    return Variant(QrImageCopy(args[0].AsInt16()));
}

Variant CMatrixelProCtrl::CallRefresh(std::span<const Variant>)
{
    Refresh();
    return {};
}

Variant CMatrixelProCtrl::CallAboutBox(std::span<const Variant>)
{
    AboutForm form;
    form.title = "About Matrixel Pro Control";
    form.size = {259, 57};
    form.iconBox = {10, 10, 30, 30};
    form.okBox = {202, 7, 252, 21};
    form.lines = {{"Matrixel Pro Control, Version 1.1.1", {40, 10, 190, 18}},
                  {"Copyright (C) Quillon", {40, 25, 190, 33}},
                  {"Genarate QR Code, Maxi Code, PDF417, Data Matrix && Barcode(s)", {10, 40, 250, 48}}};
    ShowAboutDialog(form);
    return {};
}

HResult CMatrixelProCtrl::ShowPropertyPages()
{
    try {
        PropertyFrame frame(std::string(LoadResourceString(kIdsControlTypeName)) + " のプロパティ",
                            {ComPtr<Dispatch>(this)}, PropertyPageIds());
        frame.Exec();
    } catch (const std::exception&) {
        return kFail;
    }
    return kOk;
}

HResult CMatrixelProCtrl::GetClassId(Guid* clsid)
{
    if (!clsid)
        return kPointer;
    *clsid = kMatrixelProClassId;
    return kOk;
}

std::vector<Guid> CMatrixelProCtrl::PropertyPageIds() { return {kMatrixelProPageClassId, kStandardColorPageId}; }

} // namespace lx
