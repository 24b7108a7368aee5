#include "ErrorText.h"

#include <cstring>
#include <utility>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

ErrorTextProvider& dialUpProvider()
{
    static ErrorTextProvider provider;
    return provider;
}

ErrorTextProvider& internetProvider()
{
    static ErrorTextProvider provider;
    return provider;
}

QString socketText(int number)
{
    switch (number) {
    case 10004: return u"The operation is canceled."_s;
    case 10013: return u"The requested address is a broadcast address, but flag is not set."_s;
    case 10014: return u"Invalid argument."_s;
    case 10022: return u"Socket not bound, invalid address or listen is not invoked prior to accept."_s;
    case 10024: return u"No more file descriptors are available, accept queue is empty."_s;
    case 10035: return u"Socket is non-blocking and the specified operation will block."_s;
    case 10036: return u"A blocking Winsock operation is in progress."_s;
    case 10037: return u"The operation is completed.  No blocking operation is in progress."_s;
    case 10038: return u"The descriptor is not a socket."_s;
    case 10039: return u"Destination address is required."_s;
    case 10040: return u"The datagram is too large to fit into the buffer and is truncated."_s;
    case 10041: return u"The specified port is the wrong type for this socket."_s;
    case 10042: return u"Option unknown, or unsupported."_s;
    case 10043: return u"The specified port is not supported."_s;
    case 10044: return u"Socket type not supported in this address family."_s;
    case 10045: return u"Socket is not a type that supports connection oriented service."_s;
    case 10047: return u"Address Family is not supported."_s;
    case 10048: return u"Address in use."_s;
    case 10049: return u"Address is not available from the local machine."_s;
    case 10050: return u"Network subsystem failed."_s;
    case 10051: return u"The network cannot be reached from this host at this time."_s;
    case 10052: return u"Connection has timed out when SO_KEEPALIVE is set."_s;
    case 10053: return u"Connection is aborted due to timeout or other failure."_s;
    case 10054: return u"The connection is reset by remote side."_s;
    case 10055: return u"No buffer space is available."_s;
    case 10056: return u"Socket is already connected."_s;
    case 10057: return u"Socket is not connected."_s;
    case 10058: return u"Socket has been shut down."_s;
    case 10060: return u"The attempt to connect timed out."_s;
    case 10061: return u"Connection is forcefully rejected."_s;
    case 10201: return u"Socket already created for this object."_s;
    case 10202: return u"Socket has not been created for this object."_s;
    case 11001: return u"Authoritative answer: Host not found."_s;
    case 11002: return u"Non-Authoritative answer: Host not found."_s;
    case 11003: return u"Non-recoverable errors."_s;
    case 11004: return u"Valid name, no data record of requested type."_s;
    default: return {};
    }
}

// strerror_r comes in two shapes: the GNU one returns the text, the POSIX one fills the buffer.
[[maybe_unused]] const char* strerrorResult(const char* text, const char*)
{
    return text;
}
[[maybe_unused]] const char* strerrorResult(int, const char* buffer)
{
    return buffer;
}

QString systemText(int number)
{
    char buffer[256] = {};
    const char* text = strerrorResult(strerror_r(number, buffer, sizeof buffer), buffer);
    return QString::fromLocal8Bit(text).trimmed();
}

QString fromProvider(const ErrorTextProvider& provider, int number)
{
    return provider ? provider(number) : QString();
}

} // namespace

QString ErrorText(int number)
{
    if (number >= 600 && number <= 993)
        return fromProvider(dialUpProvider(), number);
    if (number >= 10001 && number <= 11999)
        return socketText(number);
    if (number >= 12001)
        return fromProvider(internetProvider(), number);
    return systemText(number);
}

void SetDialUpErrorTextProvider(ErrorTextProvider provider)
{
    dialUpProvider() = std::move(provider);
}

void SetInternetErrorTextProvider(ErrorTextProvider provider)
{
    internetProvider() = std::move(provider);
}

} // namespace vestrel
