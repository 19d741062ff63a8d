#!/usr/bin/python3
"""Lays down the seed corpora of the fuzz targets from the files the project ships and its test
data: fuzz/make_seeds.py NAVDATA_DIR, where NAVDATA_DIR holds the five NavData files navimport
made from tests/data/navdata. Seeds are cut small: the fuzzers mutate bytes, not volume."""
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
paths = sorted(set(re.findall(r'"(/[a-z][^"]*)"', (root / 'simlink/flightgear/token_map.cpp').read_text())))
put('fg_answers', 'every_property.txt', '\x10' + ''.join(f"{p} = '1' (double)\r\n/> " for p in paths))

for i, route in enumerate(('KSFO SFO V25 SNS PRB RZS KLAX', 'KSFO SFO KSNS', 'KSFO SFO V25 ZZGBP KLAX',
                           'KSFO ZZGAP V999 ZZGDP KLAX')):
    put('route', f'route{i}.txt', route)

for i, message in enumerate(('press 16 43', 'release', 'keydown 9', 'keyup 65', 'ping', 'press 0 65535')):
    put('web_message', f'message{i}.txt', message)

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
