#include "platform/twain/manager/SaneSource.h"

#include <sane/saneopts.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cmath>
#include <cstring>

#include "platform/metafile/Dib.h"
#include "platform/text/Cp932.h"
#include "platform/twain/TwainMemory.h"
#include "platform/twain/manager/SaneDevice.h"
#include "platform/twain/manager/SourceDialog.h"

namespace lx::twain {

namespace {

QEvent::Type SourceEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// A message from the source to the application.
class SourceEvent : public QEvent {
public:
    explicit SourceEvent(TW_UINT16 message) : QEvent(SourceEventType()), message_(message) {}
    TW_UINT16 Message() const { return message_; }

private:
    TW_UINT16 message_;
};

TW_FIX32 Fix32(double value)
{
    const long scaled = std::lrint(value * 65536.0);
    return {static_cast<TW_INT16>(scaled >> 16), static_cast<TW_UINT16>(scaled & 0xFFFF)};
}

} // namespace

SaneSource::SaneSource(SANE_Handle device, const TW_IDENTITY& identity)
    : device_(device), identity_(identity), receiver_(std::make_unique<QObject>())
{
}

SaneSource::~SaneSource()
{
    StopScan();
    // Without the application object the window is beyond saving; it goes
    // with the process.
    if (dialog_ && QCoreApplication::instance())
        delete dialog_.data();
    sane_close(device_);
}

TW_UINT16 SaneSource::Fail(TW_UINT16 condition)
{
    condition_ = condition;
    return TWRC_FAILURE;
}

TW_UINT16 SaneSource::Entry(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    if (!data)
        return Fail(TWCC_BADVALUE);
    if (dg == DG_CONTROL) {
        switch (dat) {
        case DAT_CAPABILITY: return Capability(msg, *static_cast<TW_CAPABILITY*>(data));
        case DAT_USERINTERFACE: return UserInterface(msg, *static_cast<TW_USERINTERFACE*>(data));
        case DAT_EVENT:
            if (msg != MSG_PROCESSEVENT)
                break;
            if (state_ < 5)
                return Fail(TWCC_SEQERROR);
            return ProcessEvent(*static_cast<TW_EVENT*>(data));
        case DAT_PENDINGXFERS: return PendingTransfers(msg, *static_cast<TW_PENDINGXFERS*>(data));
        case DAT_STATUS:
            if (msg != MSG_GET)
                break;
            return Status(*static_cast<TW_STATUS*>(data));
        default: break;
        }
    } else if (dg == DG_IMAGE && msg == MSG_GET) {
        if (dat == DAT_IMAGEINFO)
            return ImageInfo(*static_cast<TW_IMAGEINFO*>(data));
        if (dat == DAT_IMAGENATIVEXFER)
            return NativeTransfer(*static_cast<TW_HANDLE*>(data));
    }
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 SaneSource::Capability(TW_UINT16 msg, TW_CAPABILITY& capability)
{
    if (capability.Cap != CAP_XFERCOUNT)
        return Fail(TWCC_CAPUNSUPPORTED);
    if (msg == MSG_GET) {
        TW_HANDLE container = AllocHandle(sizeof(TW_ONEVALUE));
        auto* value = static_cast<TW_ONEVALUE*>(LockHandle(container));
        if (!value)
            return Fail(TWCC_LOWMEMORY);
        value->ItemType = TWTY_INT16;
        value->Item = static_cast<TW_UINT32>(static_cast<TW_INT32>(transferCount_));
        UnlockHandle(container);
        capability.ConType = TWON_ONEVALUE;
        capability.hContainer = container;
        return TWRC_SUCCESS;
    }
    if (msg != MSG_SET)
        return Fail(TWCC_CAPBADOPERATION);
    if (state_ != 4)
        return Fail(TWCC_SEQERROR);
    if (capability.ConType != TWON_ONEVALUE || HandleSize(capability.hContainer) < sizeof(TW_ONEVALUE))
        return Fail(TWCC_BADVALUE);
    TW_ONEVALUE value;
    std::memcpy(&value, LockHandle(capability.hContainer), sizeof value);
    UnlockHandle(capability.hContainer);
    const auto count = static_cast<TW_INT16>(value.Item & 0xFFFF);
    if (value.ItemType != TWTY_INT16 || (count != -1 && count < 1))
        return Fail(TWCC_BADVALUE);
    transferCount_ = count;
    return TWRC_SUCCESS;
}

TW_UINT16 SaneSource::UserInterface(TW_UINT16 msg, const TW_USERINTERFACE& ui)
{
    if (msg == MSG_ENABLEDS) {
        if (state_ != 4)
            return Fail(TWCC_SEQERROR);
        state_ = 5;
        transfersDone_ = 0;
        if (ui.ShowUI)
            ShowInterface(ui);
        else
            ReadyForTransfer();
        return TWRC_SUCCESS;
    }
    if (msg == MSG_DISABLEDS) {
        if (state_ != 5)
            return Fail(TWCC_SEQERROR);
        if (dialog_)
            dialog_->hide();
        QCoreApplication::removePostedEvents(receiver_.get(), SourceEventType());
        state_ = 4;
        return TWRC_SUCCESS;
    }
    return Fail(TWCC_BADPROTOCOL);
}

void SaneSource::ShowInterface(const TW_USERINTERFACE& ui)
{
    auto* parent = static_cast<QWidget*>(ui.hParent);
    if (!dialog_)
        dialog_ = new SourceDialog(
            device_, QString::fromStdString(Cp932ToUtf8(Str32(identity_.ProductName))), parent,
            [this] { ScanRequested(); }, [this] { CloseRequested(); });
    dialog_->setWindowModality(ui.ModalUI ? Qt::ApplicationModal : Qt::NonModal);
    dialog_->SetScanEnabled(true);
    dialog_->show();
}

void SaneSource::ScanRequested()
{
    if (state_ != 5)
        return;
    if (dialog_) {
        dialog_->ApplySettings();
        dialog_->SetScanEnabled(false);
    }
    ReadyForTransfer();
}

void SaneSource::CloseRequested()
{
    // Pages still waiting in the feeder are given up, so that the source is
    // back where the application can disable it.
    if (state_ == 6) {
        StopScan();
        QCoreApplication::removePostedEvents(receiver_.get(), SourceEventType());
        state_ = 5;
    }
    if (dialog_)
        dialog_->hide();
    if (state_ == 5)
        Post(MSG_CLOSEDSREQ);
}

void SaneSource::ReadyForTransfer()
{
    state_ = 6;
    Post(MSG_XFERREADY);
}

void SaneSource::Post(TW_UINT16 message) { QCoreApplication::postEvent(receiver_.get(), new SourceEvent(message)); }

TW_UINT16 SaneSource::ProcessEvent(TW_EVENT& event) const
{
    const auto* message = static_cast<const TwThreadMessage*>(event.pEvent);
    if (!message)
        return TWRC_NOTDSEVENT;
    const auto* qtEvent = static_cast<const QEvent*>(message->event);
    if (message->receiver != receiver_.get() || !qtEvent || qtEvent->type() != SourceEventType()) {
        event.TWMessage = MSG_NULL;
        return TWRC_NOTDSEVENT;
    }
    event.TWMessage = static_cast<const SourceEvent*>(qtEvent)->Message();
    return TWRC_DSEVENT;
}

SANE_Status SaneSource::StartScan()
{
    if (scanning_)
        return SANE_STATUS_GOOD;
    const SANE_Status status = sane_start(device_);
    if (status != SANE_STATUS_GOOD) {
        sane_cancel(device_);
        return status;
    }
    scanning_ = true;
    SANE_Parameters p{};
    if (sane_get_parameters(device_, &p) == SANE_STATUS_GOOD)
        DescribeImage(p.pixels_per_line, p.lines);
    return SANE_STATUS_GOOD;
}

void SaneSource::StopScan()
{
    sane_cancel(device_);
    scanning_ = false;
}

void SaneSource::DescribeImage(int width, int length)
{
    // Every image is handed over as 24-bit RGB, whatever the device scanned.
    const double dpi = NumberOption(device_, SANE_NAME_SCAN_RESOLUTION).value_or(0.0);
    info_ = {};
    info_.XResolution = Fix32(dpi);
    info_.YResolution = Fix32(dpi);
    info_.ImageWidth = width;
    info_.ImageLength = length;
    info_.SamplesPerPixel = 3;
    info_.BitsPerSample[0] = info_.BitsPerSample[1] = info_.BitsPerSample[2] = 8;
    info_.BitsPerPixel = 24;
    info_.Planar = 0;
    info_.PixelType = TWPT_RGB;
    info_.Compression = TWCP_NONE;
}

TW_UINT16 SaneSource::ImageInfo(TW_IMAGEINFO& info)
{
    if (state_ != 6 && state_ != 7)
        return Fail(TWCC_SEQERROR);
    if (state_ == 6)
        if (const SANE_Status status = StartScan(); status != SANE_STATUS_GOOD)
            return Fail(ConditionOf(status));
    info = info_;
    return TWRC_SUCCESS;
}

TW_UINT16 SaneSource::NativeTransfer(TW_HANDLE& dib)
{
    if (state_ != 6)
        return Fail(TWCC_SEQERROR);
    ScanResult scan;
    scan.status = StartScan();
    if (scan.status == SANE_STATUS_GOOD)
        scan = ReadScan(device_);
    scanning_ = false;
    if (scan.status != SANE_STATUS_GOOD) {
        StopScan();
        if (scan.status == SANE_STATUS_CANCELLED) {
            state_ = 7;
            return TWRC_CANCEL;
        }
        return Fail(ConditionOf(scan.status));
    }
    const std::string packed = PackedDib(scan.image);
    TW_HANDLE handle = AllocHandle(packed.size());
    if (!handle) {
        StopScan();
        return Fail(TWCC_LOWMEMORY);
    }
    std::memcpy(LockHandle(handle), packed.data(), packed.size());
    UnlockHandle(handle);
    DescribeImage(scan.image.Width(), scan.image.Height());
    dib = handle;
    ++transfersDone_;
    state_ = 7;
    return TWRC_XFERDONE;
}

bool SaneSource::NextPageStarted()
{
    if (transferCount_ > 0 && transfersDone_ >= transferCount_)
        return false;
    if (!FeederSelected(device_))
        return false;
    return StartScan() == SANE_STATUS_GOOD;
}

TW_UINT16 SaneSource::PendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS& pending)
{
    if (msg == MSG_ENDXFER) {
        if (state_ != 6 && state_ != 7)
            return Fail(TWCC_SEQERROR);
        if (state_ == 6) {
            // The pending image is given up without a transfer.
            StopScan();
            ++transfersDone_;
        }
        pending.Count = 0;
        if (NextPageStarted()) {
            pending.Count = 0xFFFF; // more, how many is unknown
            ReadyForTransfer();
        } else {
            StopScan();
            state_ = 5;
            if (dialog_)
                dialog_->SetScanEnabled(true);
        }
        return TWRC_SUCCESS;
    }
    if (msg == MSG_RESET) {
        if (state_ != 6)
            return Fail(TWCC_SEQERROR);
        StopScan();
        QCoreApplication::removePostedEvents(receiver_.get(), SourceEventType());
        state_ = 5;
        pending.Count = 0;
        if (dialog_)
            dialog_->SetScanEnabled(true);
        return TWRC_SUCCESS;
    }
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 SaneSource::Status(TW_STATUS& status)
{
    status.ConditionCode = condition_;
    status.Reserved = 0;
    condition_ = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

} // namespace lx::twain
