'''ModemManager mock template for python-dbusmock

The manager object with its ObjectManager and one modem object for each
entry of the parameter "modems": a list of dictionaries with Manufacturer,
Model, PrimaryPort, Device and Ports (a list of [name, type] pairs, the type
as MMModemPortType: 3 is an AT port). Only what the tool reads is there.
'''

import dbus

BUS_NAME = 'org.freedesktop.ModemManager1'
MAIN_OBJ = '/org/freedesktop/ModemManager1'
MAIN_IFACE = 'org.freedesktop.ModemManager1'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True
MODEM_IFACE = 'org.freedesktop.ModemManager1.Modem'


def load(mock, parameters):
    mock.AddMethods(MAIN_IFACE, [
        ('ScanDevices', '', '', ''),
        ('SetLogging', 's', '', ''),
    ])
    mock.AddProperties(MAIN_IFACE, {'Version': dbus.String('1.20.4', variant_level=1)})
    for number, modem in enumerate(parameters.get('modems', [])):
        ports = dbus.Array([dbus.Struct((dbus.String(name), dbus.UInt32(kind)), signature='su')
                            for name, kind in modem.get('Ports', [])], signature='(su)')
        mock.AddObject(f'{MAIN_OBJ}/Modem/{number}', MODEM_IFACE, {
            'Manufacturer': dbus.String(modem.get('Manufacturer', ''), variant_level=1),
            'Model': dbus.String(modem.get('Model', ''), variant_level=1),
            'PrimaryPort': dbus.String(modem.get('PrimaryPort', ''), variant_level=1),
            'Device': dbus.String(modem.get('Device', ''), variant_level=1),
            'Ports': dbus.Array(ports, signature='(su)', variant_level=1),
        }, [])
