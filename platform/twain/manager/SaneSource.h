#pragma once
// A data source backed by one open SANE device: the source side of the
// triplets, from open (state 4) through enabled (5), transfer ready (6) and
// transferring (7). It tells the application about a ready transfer or a
// wish to be closed by events posted to a receiver of its own, which the
// application hands back through MSG_PROCESSEVENT.
#include <sane/sane.h>

#include <QObject>
#include <QPointer>
#include <memory>

#include "platform/twain/TwainTypes.h"

namespace lx::twain {

class SourceDialog;

class SaneSource {
public:
    SaneSource(SANE_Handle device, const TW_IDENTITY& identity);
    ~SaneSource();
    SaneSource(const SaneSource&) = delete;
    SaneSource& operator=(const SaneSource&) = delete;

    const TW_IDENTITY& Identity() const { return identity_; }
    int State() const { return state_; }
    // The condition of the last failure, kept until read through DAT_STATUS.
    TW_UINT16 Condition() const { return condition_; }

    TW_UINT16 Entry(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

private:
    TW_UINT16 Fail(TW_UINT16 condition);
    TW_UINT16 Capability(TW_UINT16 msg, TW_CAPABILITY& capability);
    TW_UINT16 UserInterface(TW_UINT16 msg, const TW_USERINTERFACE& ui);
    TW_UINT16 ProcessEvent(TW_EVENT& event) const;
    TW_UINT16 ImageInfo(TW_IMAGEINFO& info);
    TW_UINT16 NativeTransfer(TW_HANDLE& dib);
    TW_UINT16 PendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS& pending);
    TW_UINT16 Status(TW_STATUS& status);

    void ShowInterface(const TW_USERINTERFACE& ui);
    // The user asked for a scan, or to close the source.
    void ScanRequested();
    void CloseRequested();
    void ReadyForTransfer();
    SANE_Status StartScan();
    void StopScan();
    // Starts the next page from a feeder; false when there is none.
    bool NextPageStarted();
    void Post(TW_UINT16 message);
    void DescribeImage(int width, int length);

    SANE_Handle device_;
    TW_IDENTITY identity_;
    int state_ = 4;
    TW_UINT16 condition_ = TWCC_SUCCESS;
    // CAP_XFERCOUNT: -1 for as many as the device has.
    TW_INT16 transferCount_ = -1;
    int transfersDone_ = 0;
    // sane_start has begun the image not yet read.
    bool scanning_ = false;
    // What DAT_IMAGEINFO tells of the pending or last transferred image.
    TW_IMAGEINFO info_{};
    std::unique_ptr<QObject> receiver_;
    QPointer<SourceDialog> dialog_;
};

} // namespace lx::twain
