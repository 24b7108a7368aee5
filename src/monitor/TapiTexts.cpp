// The descriptions of call states and their modes, shown in the line-state log.
#include "TapiControl.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;
namespace CS = platform::LineCallState;

QString TTapiControl::CallStateText(quint32 state)
{
    switch (state) {
    case CS::Idle: return u"Idle: there is no call"_s;
    case CS::Offering: return u"Offering: a call is arriving"_s;
    case CS::Accepted: return u"Accepted: the arriving call was accepted"_s;
    case CS::DialTone: return u"Dial tone: the line is ready for dialing"_s;
    case CS::Dialing: return u"Dialing: the number is being sent"_s;
    case CS::RingBack: return u"Ring back: the called party is being rung"_s;
    case CS::Busy: return u"Busy: the call hears a busy signal"_s;
    case CS::SpecialInfo: return u"Special information: the network sent a special tone"_s;
    case CS::Connected: return u"Connected: the call is established"_s;
    case CS::Proceeding: return u"Proceeding: dialing is over and the call goes on"_s;
    case CS::OnHold: return u"On hold"_s;
    case CS::Conferenced: return u"Conferenced: the call is part of a conference"_s;
    case CS::OnHoldPendingConference: return u"On hold, a conference is being set up"_s;
    case CS::OnHoldPendingTransfer: return u"On hold, a transfer is being set up"_s;
    case CS::Disconnected: return u"Disconnected: the other party has hung up"_s;
    case CS::Unknown: return u"Unknown: the state of the call cannot be told"_s;
    default: return {};
    }
}

QString TTapiControl::CallStateModeText(quint32 state, quint32 mode)
{
    namespace DM = platform::LineDisconnectMode;
    switch (state) {
    case CS::Offering:
        switch (mode) {
        case 0x1: return u"the call is shown to this station"_s;
        case 0x2: return u"the call is offered elsewhere"_s;
        default: return {};
        }
    case CS::Connected:
        switch (mode) {
        case 0x1: return u"active at this station"_s;
        case 0x2: return u"active elsewhere"_s;
        default: return {};
        }
    case CS::DialTone:
        switch (mode) {
        case 0x1: return u"normal dial tone"_s;
        case 0x2: return u"special dial tone"_s;
        case 0x4: return u"internal dial tone"_s;
        case 0x8: return u"external dial tone"_s;
        case 0x10: return u"dial tone of unknown kind"_s;
        case 0x20: return u"dial tone kind not available"_s;
        default: return {};
        }
    case CS::Busy:
        switch (mode) {
        case 0x1: return u"the called station is busy"_s;
        case 0x2: return u"a trunk or circuit is busy"_s;
        case 0x4: return u"busy of unknown kind"_s;
        case 0x8: return u"busy kind not available"_s;
        default: return {};
        }
    case CS::SpecialInfo:
        switch (mode) {
        case 0x1: return u"no circuit"_s;
        case 0x2: return u"customer irregularity"_s;
        case 0x4: return u"reorder"_s;
        case 0x8: return u"special information of unknown kind"_s;
        case 0x10: return u"special information not available"_s;
        default: return {};
        }
    case CS::Disconnected:
        switch (mode) {
        case DM::Normal: return u"normal hang-up of the other party"_s;
        case DM::Unknown: return u"reason unknown"_s;
        case DM::Reject: return u"the other party rejected the call"_s;
        case DM::Pickup: return u"the call was picked up elsewhere"_s;
        case DM::Forwarded: return u"the call was forwarded"_s;
        case DM::Busy: return u"the other party was busy"_s;
        case DM::NoAnswer: return u"the other party did not answer"_s;
        case DM::BadAddress: return u"the number is not valid"_s;
        case DM::Unreachable: return u"the other party cannot be reached"_s;
        case DM::Congestion: return u"the network is congested"_s;
        case DM::Incompatible: return u"the other party's equipment is not compatible"_s;
        case DM::Unavailable: return u"reason not available"_s;
        case DM::NoDialTone: return u"no dial tone"_s;
        default: return {};
        }
    default:
        return {};
    }
}

} // namespace vestrel
