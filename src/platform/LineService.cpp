#include "LineService.h"

#include "ModemManagerLine.h"

#include <memory>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

LineService* installed = nullptr;

// Chosen once, on first use: VESTREL_LINE forces a backend, else the one the system offers.
LineService& defaultService()
{
    static const std::unique_ptr<LineService> service =
        CreateDefaultLineService(QDBusConnection::systemBus());
    return *service;
}

} // namespace

LineResult<qint32> LineService::initialize(const QString&, LineMessageHandler)
{
    return {LineUnavailable, 0};
}

LineCode LineService::shutdown()
{
    return LineUnavailable;
}

LineResult<LineDeviceCaps> LineService::deviceCaps(qint32)
{
    return {LineUnavailable, {}};
}

LineResult<LineHandle> LineService::openMonitor(qint32)
{
    return {LineUnavailable, 0};
}

LineCode LineService::close(LineHandle)
{
    return LineUnavailable;
}

LineResult<LineCallInfo> LineService::callInfo(LineCallHandle)
{
    return {LineUnavailable, {}};
}

LineCode LineService::deallocateCall(LineCallHandle)
{
    return LineUnavailable;
}

QString LineService::errorText(LineCode code) const
{
    return StandardLineErrorText(code);
}

QString StandardLineErrorText(LineCode code)
{
    switch (code) {
    case LineUnavailable: return u"The telephony service does not offer this operation."_s;
    case LineErrBadDeviceId: return u"The device identifier is out of range."_s;
    case LineErrInvalCallHandle: return u"The call handle is not valid."_s;
    case LineErrInvalLineHandle: return u"The line handle is not valid."_s;
    case LineErrInvalMediaMode: return u"The device does not handle the requested media mode."_s;
    case LineErrOperationFailed: return u"The operation failed for an unspecified reason."_s;
    case LineErrUninitialized: return u"The telephony service has not been initialized."_s;
    default: return {};
    }
}

LineService& LineService::instance()
{
    return installed ? *installed : defaultService();
}

void LineService::setInstance(LineService* service)
{
    installed = service;
}

} // namespace vestrel::platform
