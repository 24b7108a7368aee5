'''python3-dbusmock template standing in for ModemManager in the tests: modems with or
without the voice interface, and calls on them that the test moves through their states.

The mock interface adds:
  AddModem(manufacturer, model, primary port, voice) -> modem path
  AddCall(modem, number, direction, state) -> call path, with CallAdded on the modem
  SetCallState(call, state, reason): the StateChanged and PropertiesChanged signals
  SetCallNumber(call, number): PropertiesChanged
  DeleteCall(modem, call): the call object goes, with CallDeleted on the modem
'''

import dbus

import dbusmock
from dbusmock import MOCK_IFACE

BUS_NAME = 'org.freedesktop.ModemManager1'
MAIN_OBJ = '/org/freedesktop/ModemManager1'
MAIN_IFACE = 'org.freedesktop.ModemManager1'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

MODEM_IFACE = 'org.freedesktop.ModemManager1.Modem'
VOICE_IFACE = 'org.freedesktop.ModemManager1.Modem.Voice'
CALL_IFACE = 'org.freedesktop.ModemManager1.Call'
PROPERTIES_IFACE = 'org.freedesktop.DBus.Properties'

COUNTERS = {'modem': 0, 'call': 0}


def load(mock, _parameters):
    mock.AddProperties(MAIN_IFACE, {'Version': '1.20.0'})


@dbus.service.method(MOCK_IFACE, in_signature='sssb', out_signature='o')
def AddModem(self, manufacturer, model, primary_port, voice):
    path = f'{MAIN_OBJ}/Modem/{COUNTERS["modem"]}'
    COUNTERS['modem'] += 1
    self.AddObject(path, MODEM_IFACE, {
        'Manufacturer': dbus.String(manufacturer),
        'Model': dbus.String(model),
        'PrimaryPort': dbus.String(primary_port),
        'Device': dbus.String('/sys/devices/dbusmock/' + primary_port),
        # GSM/UMTS | LTE: the capabilities tell nothing of voice.
        'CurrentCapabilities': dbus.UInt32(0xC),
        'State': dbus.Int32(8),
    }, [])
    modem = dbusmock.get_object(path)
    if voice:
        modem.AddProperties(VOICE_IFACE, {
            'Calls': dbus.Array([], signature='o'),
            'EmergencyOnly': dbus.Boolean(False),
        })
        modem.AddMethod(VOICE_IFACE, 'ListCalls', '', 'ao',
                        f'ret = self.props["{VOICE_IFACE}"]["Calls"]')
    self.object_manager_emit_added(path)
    return path


@dbus.service.method(MOCK_IFACE, in_signature='osii', out_signature='o')
def AddCall(self, modem_path, number, direction, state):
    path = f'{MAIN_OBJ}/Call/{COUNTERS["call"]}'
    COUNTERS['call'] += 1
    self.AddObject(path, CALL_IFACE, {
        'Number': dbus.String(number),
        'Direction': dbus.Int32(direction),
        'State': dbus.Int32(state),
        'StateReason': dbus.Int32(0),
        'Multiparty': dbus.Boolean(False),
    }, [])
    modem = dbusmock.get_object(modem_path)
    calls = modem.props[VOICE_IFACE]['Calls']
    modem.props[VOICE_IFACE]['Calls'] = dbus.Array(list(calls) + [dbus.ObjectPath(path)],
                                                    signature='o')
    modem.EmitSignal(VOICE_IFACE, 'CallAdded', 'o', [dbus.ObjectPath(path)])
    return path


@dbus.service.method(MOCK_IFACE, in_signature='oiu', out_signature='')
def SetCallState(_self, call_path, state, reason):
    call = dbusmock.get_object(call_path)
    old = call.props[CALL_IFACE]['State']
    call.props[CALL_IFACE]['State'] = dbus.Int32(state)
    call.props[CALL_IFACE]['StateReason'] = dbus.Int32(reason)
    call.EmitSignal(PROPERTIES_IFACE, 'PropertiesChanged', 'sa{sv}as', [
        CALL_IFACE,
        dbus.Dictionary({'State': dbus.Int32(state), 'StateReason': dbus.Int32(reason)},
                        signature='sv'),
        dbus.Array([], signature='s')])
    call.EmitSignal(CALL_IFACE, 'StateChanged', 'iiu', [old, state, reason])


@dbus.service.method(MOCK_IFACE, in_signature='os', out_signature='')
def SetCallNumber(_self, call_path, number):
    call = dbusmock.get_object(call_path)
    call.UpdateProperties(CALL_IFACE, {'Number': dbus.String(number)})


@dbus.service.method(MOCK_IFACE, in_signature='oo', out_signature='')
def DeleteCall(self, modem_path, call_path):
    modem = dbusmock.get_object(modem_path)
    calls = [c for c in modem.props[VOICE_IFACE]['Calls'] if c != call_path]
    modem.props[VOICE_IFACE]['Calls'] = dbus.Array(calls, signature='o')
    self.RemoveObject(call_path)
    modem.EmitSignal(VOICE_IFACE, 'CallDeleted', 'o', [dbus.ObjectPath(call_path)])
