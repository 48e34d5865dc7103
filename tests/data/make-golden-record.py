#!/usr/bin/env python3
"""Writes golden-record.cfg: a full 4096-byte settings record in which every
field holds a distinct value at its limit. Texts fill their slots to the last
character (with Windows-1252 letters beyond ASCII), numbers sit at a range
end, the masks and the schedule are valid for the runtime-variant layout it
selects, and every reserved and kept byte is non-zero.

Run it again only when the record's layout changes; the tests compare against
the checked-in file."""
import os
import struct

record = bytearray(4096)


def int32(offset, value):
    record[offset:offset + 4] = struct.pack('<i', value)


def int16(offset, value):
    record[offset:offset + 2] = struct.pack('<h', value)


def text(offset, capacity, value):
    data = value.encode('cp1252')
    assert len(data) == capacity, (offset, value, len(data))
    record[offset] = len(data)
    record[offset + 1:offset + 1 + len(data)] = data


def fill(value, capacity, pad):
    return (value + pad * capacity)[:capacity]


def reserved(offset, size):
    for i in range(size):
        record[offset + i] = 0xA0 + (offset + i) % 0x50


int32(0, 6)             # BaudRateIndex: 115200
int32(4, 15)            # ComPortIndex: Com16
int32(8, 100000)        # WaitSmsTimeout
int32(12, 2147483647)   # StoredPollFactor: kept as read, unclamped
module_number = '+4917099988877766655'
text(16, 20, module_number)  # ModuleNumberCopy (a save writes both copies alike)
reserved(37, 23)
for n in range(1, 58):  # ExternalTexts: some end in a blank
    tail = ' ' if n % 5 == 0 else 'ÿ'
    text(60 + 27 * (n - 1), 26, fill(f'E{n:02d} Außen-Alarm € Grüße', 25, '#') + tail)
for n in range(1, 98):  # ShortTexts
    text(1599 + 16 * (n - 1), 15, fill(f'I{n:02d} Tür‰öffnen', 15, '.'))
reserved(3151, 1)
int32(3152, 99)         # TempTimeoutFilter
reserved(3156, 4)
int32(3160, 99)         # AnalogTimeoutFilter
reserved(3164, 4)
int32(3168, 9)          # DigitalInputFilter
for n in range(1, 9):   # OutputPulse: 9 and 0 alternate, so a swap shows
    int32(3172 + 4 * (n - 1), 9 if n % 2 else 0)
int32(3204, 9)          # SamplingRate
record[3208] = 1        # DeleteIncomingSms
record[3209] = 1        # SmsModeOn
reserved(3210, 2)
for n in range(1, 9):   # AnalogMin / AnalogMax at opposite ends
    int32(3212 + 8 * (n - 1), 99 if n % 2 else 0)
    int32(3216 + 8 * (n - 1), 0 if n % 2 else 99)
for n in range(1, 4):   # TempMin / TempMax
    int32(3276 + 8 * (n - 1), -99)
    int32(3280 + 8 * (n - 1), 149)
reserved(3300, 8)
text(3308, 4, '7EAx')           # TempEventMask: three rows and a fourth character
text(3313, 8, 'FEDC----')       # AnalogEventMask: inputs 5..8 off in the variant
text(3322, 12, 'ABC1235000--')  # DigitalEventMask: inputs 8..12 off in the variant
text(3335, 40, fill('internet.müller-gmbh.example.com/€apn', 40, 'a'))
text(3376, 40, fill('GPRS-Benutzer_mit_langem_Namen_ß', 40, 'u'))
text(3417, 40, fill('Geheim!Passwort§GPRS', 40, 'p'))
text(3458, 40, fill('192.168.100.200:65535/zentorix/logger', 40, '9'))
text(3499, 40, fill('ftp.daten-server.example.org/öffentlich', 40, 'h'))
text(3540, 40, fill('ftp_benutzer_Jürgen', 40, 'f'))
reserved(3622, 2)
int32(3624, 3)          # TempFormatIndex
int32(3628, 9)          # DataLoggerPeriod
text(3632, 16, 'MPEDEEDEDEDDEDDE')  # OtherParameters
record[3649] = 0xB1     # KeptByteA
record[3650] = 0xB2     # KeptByteB
text(3651, 40, fill('/logger/daten/€-verzeichnis', 40, 'd'))
text(3581, 40, fill('FTP-Kennwort¤', 40, 'k'))  # FtpPassword
for n in range(1, 8):
    text(3692 + 21 * (n - 1), 20, f'+49170{n}' + str(n) * 13)   # AlarmNumbers
    text(3839 + 21 * (n - 1), 20, f'+43660{n}' + str(8 - n) * 13)  # PhoneBookNumbers
text(3986, 20, module_number)   # ModuleNumber
text(4007, 9, '733232221')      # StoredSchedule: all types, "Hours", three hours
record[4017] = 0xEE     # ScheduleTail: a save writes 0
reserved(4018, 2)
for n in range(1, 9):   # AnalogModes: 3 and 0 alternate
    int32(4020 + 4 * (n - 1), 3 if n % 2 else 0)
int32(4052, -123456789)  # KeptWordA
int32(4056, 987654321)   # KeptWordB
text(4060, 8, '54321543')  # AnalogCoefficients
text(4069, 8, '90123456')  # AnalogDividers
reserved(4078, 2)
int32(4080, 4)          # KeptSmall: the largest value start-up keeps
int16(4084, -32768)     # KeptHalfA
int16(4086, 32767)      # KeptHalfB
record[4088] = 1        # SkipCrLf
reserved(4089, 2)
record[4091] = 1        # RtVariant
record[4092] = 1        # EvenParity
reserved(4093, 3)

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'golden-record.cfg')
with open(out, 'wb') as f:
    f.write(record)
