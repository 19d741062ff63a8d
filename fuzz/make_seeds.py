#!/usr/bin/python3
"""Lays down the seed corpora of the fuzz targets from the files the project ships, its test data
and, for the X-Plane 11 and 12 world data versions, small files written here from the formats'
descriptions: fuzz/make_seeds.py NAVDATA_DIR, where NAVDATA_DIR holds the five NavData files
navimport made from tests/data/navdata. Seeds are cut small: the fuzzers mutate bytes, not volume."""
import gzip
import pathlib
import struct
import sys

root = pathlib.Path(__file__).resolve().parent.parent
corpus = root / 'fuzz' / 'corpus'


def put(target, name, data):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode('latin-1'))


def head_lines(data, n):
    return b''.join(data.splitlines(keepends=True)[:n])


plans = sorted((root / 'data/root/NavData/FlightPlans').glob('*.pln')) + \
    sorted(p for p in (root / 'tests/data/fmc').glob('*.pln') if p.stat().st_size < 4096)

# The panel file, the scenario.
put('panel_config', 'default.cfg', (root / 'data/panel/default.cfg').read_bytes())
put('scenario', 'demo.txt', (root / 'data/scenarios/demo.txt').read_bytes())

# Plans as files (the FMC's reader) and as the published block holds them (the display's reader):
# a zero over every record's CR and over the last byte.
for p in plans:
    text = p.read_bytes()
    put('fmc_plan', p.name, text)
    block = bytearray(text)
    at = block.find(b'[WAYPOINTS]')
    if at >= 0:
        at += len('[WAYPOINTS]') + 2
        while at + 104 < len(block):
            block[at + 103] = 0
            at += 105
    if block:
        block[-1] = 0
    put('nd_plan', p.name, bytes(block))

put('fmc_scratch', 'ksfo_legs.tmp', 'NavData/FlightPlans/KSFO-KLAX.pln\n2\n1\n0\n1\n1\n1\n')
put('fmc_scratch', 'progress_exec.tmp', 'NavData/FlightPlans/KSFO-KLAX.pln\n3\n2\n1\n1\n0\n1\n')
put('fmc_scratch', 'no_plan.tmp', '')

put('nd_mode_file', 'arc_map.tmp', '1\n1\n30\n40\n')
put('nd_mode_file', 'centred_plan.tmp', '0\n2\n255\n640\n')

for name in ('FS2002.cfg', 'Fltsim98.cfg'):
    put('host_config', name, (root / 'data/root' / name).read_bytes())
put('host_config', 'both.cfg', '[PANELS]\r\nPANEL_8=49,9\r\nPANEL_9=48,9\r\n')

put('speed_limits', 'default.cfg',
    '// Config file for flightdisplay\n// WARNING : Modify only numbers !\n\n' +
    ''.join(f'StallSpeedFlap{f}={v}\n' for f, v in zip(
        ['40', '30', '25', '15', '10', '05', '02', '01', '00'], [135, 140, 145, 150, 160, 165, 175, 190, 200])) +
    '\n' + ''.join(f'Maxi_SpeedFlap{f}={v}\n' for f, v in zip(
        ['40', '30', '25', '15', '10', '05', '02', '01'], [160, 180, 205, 220, 240, 260, 275, 280])) +
    '\nDecision_Height =480\n\n')

put('bugs_file', 'default.txt', '153 158 164 200 240 0.000000 0.000000 0 0 480\r\n')

# The five NavData files, whole and cut to a few records each with the index listing just those.
navdata = pathlib.Path(sys.argv[1])
files = {k: (navdata / f'{k}.dat').read_bytes() for k in ('idx', 'ndb', 'vor', 'apt', 'int')}
sep = b'\n@@file@@\n'
put('navdata', 'test_world', sep.join(files[k] for k in ('idx', 'ndb', 'vor', 'apt', 'int')))
keep = 4
kinds = {'N': 'ndb', 'V': 'vor', 'A': 'apt', 'I': 'int'}
small = {k: head_lines(v, keep + 1) for k, v in files.items() if k != 'idx'}
idx_lines = files['idx'].splitlines(keepends=True)
kept = [l for l in idx_lines[1:] if int(l[27:32]) < keep]
small['idx'] = idx_lines[0] + b''.join(kept)
put('navdata', 'small_world', sep.join(small[k] for k in ('idx', 'ndb', 'vor', 'apt', 'int')))

# The X-Plane-format world data: the test files and the head of each shipped file.
for kind in ('nav', 'fix', 'awy', 'apt'):
    put(f'xplane_{kind}', 'test.dat', (root / 'tests/data/navdata' / f'{kind}.dat').read_bytes())
    shipped = gzip.decompress((root / 'data/navdata' / f'{kind}.dat.gz').read_bytes())
    put(f'xplane_{kind}', 'shipped_head.dat', head_lines(shipped, 60))


# The versions X-Plane 11 and 12 write, from X-Plane's published format notes (nav 1100/1150/1200,
# fix 1101/1200, airways 1101, apt.dat 1100 and 1200): small files of an invented region, with CR LF
# line ends, right-aligned row codes and tabs, as real files have them.
def xplane_file(version, kind, rows):
    head = (f'I\r\n{version} Version - data cycle 2601, build 20260105, metadata {kind}XP{version}. '
            'Written from the format description.\r\n\r\n')
    return head + ''.join(row + '\r\n' for row in rows) + '99\r\n'


NAV_COMMON = [
    ' 2  45.05000000 -100.00000000      0   350    50      0.000 QNB  ENRT K1 QUILL NDB',
    ' 3  44.95000000 -100.00000000   1800 11370   130      8.000 QVR  ENRT K1 QUARRY VOR/DME',
    '12  44.95000000 -100.00000000   1800 11370   130      0.000 QVR  ENRT K1 QUARRY VOR/DME',
    ' 3\t45.60000000\t-100.60000000   1700 11520   130     -0.000 QVT  ENRT K1 QUORUM VORTAC',
    ' 6  45.18500000 -100.30100000   1650 10990    10 300180.000 IQAA KQAA K1 18 GS',
    ' 7  45.00000000 -100.30000000   1650     0     0    180.000 ---- KQAA K1 18 OM',
    '12  45.18500000 -100.30100000   1650 10990    18      0.000 IQAA KQAA K1 QUARRY RGNL DME-ILS',
    '13  45.40000000 -100.90000000   1700 11280    40      0.000 QDM  ENRT K1 QUEUE DME',
]
put('xplane_nav_1100', 'xplane11.dat', xplane_file(1100, 'Nav', NAV_COMMON + [
    ' 4  45.21000000 -100.30000000   1650 10990    18    180.000 IQAA KQAA K1 18 ILS-cat-I']))
put('xplane_nav_1150', 'xplane11_50.dat', xplane_file(1150, 'Nav', NAV_COMMON + [
    ' 4  45.21000000 -100.30000000   1650 10990    18  62100.000 IQAA KQAA K1 18 ILS-cat-I',
    ' 5  45.70000000 -100.69000000   1720 11110    18    270.000 IQBB KQBB K1 27 LOC']))
put('xplane_nav_1200', 'xplane12.dat', xplane_file(1200, 'Nav', NAV_COMMON + [
    ' 2  45.90000000 -101.00000000      0   272    25      1.000 QB   KQBB K1 QUORUM FIELD NDB',
    ' 4  45.21000000 -100.30000000   1650 10990    18  62100.000 IQAA KQAA K1 18 ILS-cat-I',
    '14  45.21500000 -100.30000000   1650     0     0    180.000 R18  KQAA K1 18 WAAS',
    '15  45.21500000 -100.30000000   1650 22790     0 300180.000 G18A KQAA K1 18 GLS',
    '16  45.18000000 -100.30000000   1650 56100    52 300180.000 R18  KQAA K1 18 W18A']))

FIXES = [(' 45.20000000 -100.10000000 QALFA ENRT K1', '2105426', 'QALFA'),
         (' 45.40000000\t-100.40000000 QBRAV ENRT K1', '2105426', 'BRAVO ABEAM QUORUM VOR  '),
         (' 45.19000000 -100.25000000 QBRAV KQAA K1', '2105431', 'QBRAV')]
put('xplane_fix_1100', 'xplane11.dat', xplane_file(1100, 'Fix', [f[0] for f in FIXES]))
put('xplane_fix_1101', 'xplane11.dat', xplane_file(1101, 'Fix', [f'{f[0]} {f[1]}' for f in FIXES]))
put('xplane_fix_1200', 'xplane12.dat', xplane_file(1200, 'Fix', [f'{f[0]} {f[1]} {f[2]}' for f in FIXES]))

AIRWAYS = ['QVR   K1  3 QALFA K1 11 N 2 180 450 Q101',
           'QALFA K1 11 QBRAV K1 11 N 2 180 450 Q101',
           'QBRAV\tK1 11 QVT   K1  3 N 2 180 450 Q101-Q102',
           'QVT   K1  3 QNB   K1  2 F 1  30 180 V99',
           'QBRAV K1 11 QMISS K1 11 B 1  30 180 V98']
put('xplane_awy_1100', 'xplane11.dat', xplane_file(1100, 'Awy', AIRWAYS))
# The target also reads its input as fix and nav rows, on which the segments are placed.
put('xplane_awy_1100', 'with_points.dat', xplane_file(1100, 'Awy', AIRWAYS + [f'{f[0]} {f[1]} {f[2]}' for f in FIXES]
                                                       + NAV_COMMON[:4]))

AIRPORTS = ['   1   1650 0 0 KQAA Quarry Regional',
            '1302 city Quarry',
            '1302 datum_lat 45.19500000',
            '1302 datum_lon -100.29500000',
            ' 100 45.00 1 0 0.25 1 2 1 18   45.21000000 -100.30000000 0.00 0.00 3 8 1 1 36   45.18000000 '
            '-100.30000000 0.00 0.00 3 0 0 0',
            '   1   1720 0 0 KQBB Quorum Field',
            ' 100 30.00 50 0 0.25 0 2 0 09   45.70000000 -100.75000000 0.00 0.00 2 0 0 0 27   45.70000000 '
            '-100.70000000 0.00 0.00 2 0 0 0',
            '  17   1700 0 0 QH1 Quarry Hospital Heliport',
            ' 102 H1 45.10000000 -100.10000000 0.00 15.00 15.00 1 0 0 0.25 0']
put('xplane_apt', 'xplane11.dat', xplane_file(1100, 'Apt', AIRPORTS))
put('xplane_apt', 'xplane11_30.dat', xplane_file(1130, 'Apt', AIRPORTS))
put('xplane_apt', 'xplane12.dat', xplane_file(1200, 'Apt', AIRPORTS + ['1402 45.20 -100.30 1 KQAA parking',
                                                                       '1500 45.21 -100.30 1 2']))

# WAV: the shipped call-outs with their samples cut to a few hundred bytes, lengths made to fit.
def cut_wave(data, keep_samples):
    out = bytearray(data[:12])
    at = 12
    while at + 8 <= len(data):
        cid, n = data[at:at + 4], struct.unpack('<I', data[at + 4:at + 8])[0]
        body = data[at + 8:at + 8 + n]
        if cid == b'data':
            body = body[:keep_samples]
        out += cid + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')
        at += 8 + n + (n % 2)
    out[4:8] = struct.pack('<I', len(out) - 8)
    return bytes(out)


for name in ('talkup.wav', 'talkdn.wav'):
    put('wav', name, cut_wave((root / 'data/root/Sound' / name).read_bytes(), 256))

for p in sorted((root / 'tests/data/host').glob('*.bmp')) + [root / 'tests/data/resources/tiny.bmp']:
    if p.stat().st_size <= 2048:
        put('bmp', p.name, p.read_bytes())

put('fg_answers', 'answers.txt', '\x08'
    "/position/latitude-deg = '37.618800' (double)\r\n/> "
    "/position/longitude-deg = '-122.375400' (double)\r\n/> "
    "/instrumentation/nav/in-range = 'true' (bool)\r\n/> "
    "/instrumentation/nav/nav-id = 'SFO' (string)\r\n/> "
    "/autopilot/locks/altitude = '' (none)\r\n/> "
    "/sim/absent = '' (unknown)\r\n")

# An answer for every property the link polls, as the prompting server gives them.
import re
paths = sorted(set(re.findall(r'(?:text:)?(/[a-z][^\s=#]*)', (root / 'data/sim/flightgear-generic').read_text())))
put('fg_answers', 'every_property.txt', '\x10' + ''.join(f"{p} = '1' (double)\r\n/> " for p in paths))

for i, route in enumerate(('KSFO SFO V25 SNS PRB RZS KLAX', 'KSFO SFO KSNS', 'KSFO SFO V25 ZZGBP KLAX',
                           'KSFO ZZGAP V999 ZZGDP KLAX')):
    put('route', f'route{i}.txt', route)

for i, message in enumerate(('press 16 43', 'release', 'keydown 9', 'keyup 65', 'ping', 'press 0 65535')):
    put('web_message', f'message{i}.txt', message)

# Line protocol connections, as boards and scripts write them: the first byte chooses the size of the
# reads the bytes arrive in.
for i, session in enumerate(('\x10windows\nclick 1 16 43\r\nwatch fmcomputer 2\nwatch token gear_lever\n'
                             'event gear_toggle\nkey TAB down\nkey TAB up\n',
                             '\x01press 0 20 190\nrelease\nunwatch token 116\nevent speed_set 250\nevent 0x10022 -1\n',
                             '\x05token s3cret\nclick x y\n\xc3\xa9\n\x00\xff\n',
                             '\x20' + 'a' * 300 + '\n')):
    put('io_line', f'session{i}.txt', session)

# Controls files: a gamepad, a button box by index, a fault.
put('controls_file', 'gamepad.txt',
    '# a gamepad\nbutton "Xbox 360 Controller" 0 click 1 16 43\nbutton 0 1 press 0 20 190\nbutton 0 2 key G\n'
    'axis 0 1 throttle reverse deadzone 0.05\naxis 0 0 roll deadzone 0.1\naxis "Pad" 3 flaps\n')
put('controls_file', 'box.txt',
    'button 0 5 event gear_toggle\r\nbutton 1 0 key F5 down\naxis 1 2 speedbrake\naxis 1 3 pitch reverse\n')
put('controls_file', 'fault.txt', 'button "unclosed 0 1 click 1 1 1\n')

# Other simulators' plans: every reader starts from the test files of every format (as the tools
# write them) and from the FMC's own plan, so each sees the others' files too; route strings with
# every kind of word go to the resolving step.
plan_readers = ['plan_fms', 'plan_fg_route', 'plan_msfs_pln', 'plan_fs9_pln', 'plan_simbrief', 'plan_fmc_plan',
                'plan_resolve']
plan_files = sorted((root / 'tests/data/plans').iterdir())
for target in plan_readers:
    for path in plan_files:
        put(target, path.name, path.read_bytes())
    put(target, 'KSFO-KLAX.pln', (root / 'data/root/NavData/FlightPlans/KSFO-KLAX.pln').read_bytes())
for i, route in enumerate(('KSFO/28R M078F350 SFO V25 SNS 3630N12100W 35N120W DCT RZS KLAX/24R',
                           'KSFO SSTIK5 N0450F330 SFO V25 MOVER/N0460F350 V25 SNS SEAVU2 KLAX',
                           'KSFO ZZGAP V999 ZZGDP KLAX', 'KSFO SNS V25 V999 ZZGDP K0830S1000 KLAX')):
    put('plan_resolve', f'route{i}.txt', route)

# X-Plane's replies: an RREF reply of a few values (X-Plane 11's "RREF," and 10's "RREFO"), an RPOS
# reply, and a beacon as X-Plane 12 sends it.
pairs = b''.join(struct.pack('<if', i, v) for i, v in ((0, 37.6188), (1, -122.375), (4, 250.0), (70, 78.0)))
put('xplane_rref', 'rref.bin', b'RREF,' + pairs)
put('xplane_rref', 'rrefo.bin', b'RREFO' + pairs[:16])
put('xplane_rref', 'rpos.bin', b'RPOS4' + struct.pack('<ddd', -122.375423987, 37.618817234, 4.0) + bytes(44))
put('xplane_beacon', 'becn.bin', b'BECN\0' + struct.pack('<BBiiIH', 1, 2, 1, 120100, 1, 49000) + b'simpc\0' + struct.pack('<H', 0))

# Binding files: the shipped ones, and a user's over a base.
for name in ('flightgear-generic', 'xplane'):
    put('sim_bindings', name, (root / 'data/sim' / name).read_bytes())
put('sim_bindings', 'over_base', 'simulator flightgear\nbase flightgear-generic\n'
    'setting heading_bug_deg /it-autoflight/input/hdg\nswitch master set /it-autoflight/input/ap1 1 0\n'
    'token ap_master number on_off /it-autoflight/output/ap1\n')
