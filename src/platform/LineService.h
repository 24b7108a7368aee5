#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace vestrel::platform {

// Result codes of the telephone-line service: 0 success, 1 an operation the backend lacks,
// otherwise the classic line error numbers (0x80000000 and up).
using LineCode = quint32;
inline constexpr LineCode LineOk = 0;
inline constexpr LineCode LineUnavailable = 1;
inline constexpr LineCode LineErrBadDeviceId = 0x80000002;
inline constexpr LineCode LineErrInvalCallHandle = 0x80000018;
inline constexpr LineCode LineErrInvalLineHandle = 0x8000002B;
inline constexpr LineCode LineErrInvalMediaMode = 0x8000002F;
inline constexpr LineCode LineErrOperationFailed = 0x80000048;
inline constexpr LineCode LineErrUninitialized = 0x80000051;

// Kinds of call a device handles (bits).
namespace LineMediaMode {
inline constexpr quint32 Unknown = 0x2;
inline constexpr quint32 InteractiveVoice = 0x4;
inline constexpr quint32 AutomatedVoice = 0x8;
inline constexpr quint32 DataModem = 0x10;
inline constexpr quint32 Fax = 0x20;
inline constexpr quint32 Mixed = 0x1000;
} // namespace LineMediaMode

// The line messages the service delivers.
namespace LineMessage {
// The call's information changed; p1 tells which parts.
inline constexpr qint32 CallInfo = 1;
// The call's state changed; p1 is a LineCallState value, p2 its mode.
inline constexpr qint32 CallState = 2;
} // namespace LineMessage

namespace LineCallState {
inline constexpr quint32 Idle = 0x1;
inline constexpr quint32 Offering = 0x2;
inline constexpr quint32 Accepted = 0x4;
inline constexpr quint32 DialTone = 0x8;
inline constexpr quint32 Dialing = 0x10;
inline constexpr quint32 RingBack = 0x20;
inline constexpr quint32 Busy = 0x40;
inline constexpr quint32 SpecialInfo = 0x80;
inline constexpr quint32 Connected = 0x100;
inline constexpr quint32 Proceeding = 0x200;
inline constexpr quint32 OnHold = 0x400;
inline constexpr quint32 Conferenced = 0x800;
inline constexpr quint32 OnHoldPendingConference = 0x1000;
inline constexpr quint32 OnHoldPendingTransfer = 0x2000;
inline constexpr quint32 Disconnected = 0x4000;
inline constexpr quint32 Unknown = 0x8000;
} // namespace LineCallState

// The modes that come with some call states (bits, one set at a time).
namespace LineDisconnectMode {
inline constexpr quint32 Normal = 0x1;
inline constexpr quint32 Unknown = 0x2;
inline constexpr quint32 Reject = 0x4;
inline constexpr quint32 Pickup = 0x8;
inline constexpr quint32 Forwarded = 0x10;
inline constexpr quint32 Busy = 0x20;
inline constexpr quint32 NoAnswer = 0x40;
inline constexpr quint32 BadAddress = 0x80;
inline constexpr quint32 Unreachable = 0x100;
inline constexpr quint32 Congestion = 0x200;
inline constexpr quint32 Incompatible = 0x400;
inline constexpr quint32 Unavailable = 0x800;
inline constexpr quint32 NoDialTone = 0x1000;
} // namespace LineDisconnectMode

using LineHandle = quint64;
using LineCallHandle = quint64;

template <class T>
struct LineResult {
    LineCode code = LineOk;
    T value{};
    bool ok() const { return code == LineOk; }
};

struct LineDeviceCaps {
    QString name;
    quint32 mediaModes = 0;
};

// What the service knows of a call. A text the backend does not have is absent (an empty text
// is a text).
struct LineCallInfo {
    std::optional<QString> appName;
    std::optional<QString> displayableAddress;
    std::optional<QString> callerId;
    std::optional<QString> calledId;
    // Bits per second.
    qint32 rate = 0;
    qint32 lineDeviceId = 0;
};

// (call handle for call messages, message, p1, p2, p3), on the user-interface thread.
using LineMessageHandler =
    std::function<void(LineCallHandle handle, qint32 message, qint64 p1, qint64 p2, qint64 p3)>;

// The telephone lines of the machine: devices with the kinds of call they handle, one device
// opened to watch (monitor only: the program neither places nor drops calls) and the messages of
// its calls. Every operation answers with a code; one a backend does not offer answers
// LineUnavailable, which is all this base class does.
class LineService {
public:
    virtual ~LineService() = default;

    // The device count; `handler` receives the messages of every line opened afterwards.
    virtual LineResult<qint32> initialize(const QString& appName, LineMessageHandler handler);
    virtual LineCode shutdown();
    // Device identifiers run from 0 to the count − 1.
    virtual LineResult<LineDeviceCaps> deviceCaps(qint32 deviceId);
    // Watches the data calls of the device; LineErrInvalMediaMode when it handles neither data
    // modem nor mixed calls.
    virtual LineResult<LineHandle> openMonitor(qint32 deviceId);
    virtual LineCode close(LineHandle line);
    virtual LineResult<LineCallInfo> callInfo(LineCallHandle call);
    // Releases a call handle once the call is idle.
    virtual LineCode deallocateCall(LineCallHandle call);
    // English text of a code, empty when there is none.
    virtual QString errorText(LineCode code) const;

    // The process-wide service: the one installed last, else the backend VESTREL_LINE names,
    // else the best one present on this machine.
    static LineService& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(LineService* service);
};

QString StandardLineErrorText(LineCode code);

} // namespace vestrel::platform
