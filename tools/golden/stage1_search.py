#!/usr/bin/env python3
# Usage: stage1_search.py VORNE DATA_DIR OUT.keys MAX_TICKS
# Finds a keys script that plays stage 1 through the first boss with fire held, dodging by
# trial. The ship's moves are chosen per segment of L ticks. Segments not yet settled steer the
# ship towards a home point (under the boss while it is there); whenever the ship is hit, the
# segments before the hit are retried with other moves until the hit is avoided or pushed back.
import glob, json, os, subprocess, sys, tempfile

VORNE = os.path.abspath(sys.argv[1])
DATA = os.path.abspath(sys.argv[2])
OUT = sys.argv[3]
MAX_TICKS = int(sys.argv[4])
START = 100
L = 6
LOOK = 36
AHEAD = 300
MOVES = [(), ('left',), ('right',), ('up',), ('down',), ('left', 'up'), ('right', 'up'), ('left', 'down'), ('right', 'down')]
nseg = (MAX_TICKS - START) // L + 1
moves = [0] * nseg
work = tempfile.mkdtemp()
for f in glob.glob(DATA + '/*.dat') + glob.glob(DATA + '/*.mid'):
    os.symlink(f, os.path.join(work, os.path.basename(f)))


def write_keys(path, ticks):
    with open(path, 'w') as f:
        f.write('# Stage 1 through the first boss: ship A, fire held from the title on, moving to dodge\n')
        f.write('# (found by tools/golden/stage1_search.py).\n')
        f.write('# ticks: %d\n1 z\n' % ticks)
        for s in range(nseg):
            t = START + s * L
            if t > ticks:
                break
            f.write('%d %s\n' % (t, ' '.join(('z',) + MOVES[moves[s]])))


def run(ticks):
    write_keys(work + '/try2.keys', ticks)
    subprocess.run([VORNE, '--headless', '--keys', work + '/try2.keys', '--ticks', str(ticks), '--trace',
                    work + '/try2.jsonl'], cwd=work, check=True, stdout=subprocess.DEVNULL)
    rows = {}
    with open(work + '/try2.jsonl') as f:
        for line in f:
            d = json.loads(line)
            ship = d['ships'][0]
            boss = d['bosses']['g_bossOne']
            rows[d['tick']] = dict(health=d['g_shield'] + 4 * ship[4], x=ship[0], y=ship[1],
                                   cont=d['g_continueActive'], bx=boss[0], by=boss[1], alive=boss[2], hp=boss[3])
    return rows


def first_hit(rows, after):
    prev = None
    for tick in sorted(rows):
        r = rows[tick]
        if prev is not None and r['health'] < prev and tick > after:
            return tick
        if r['cont']:
            return tick
        prev = r['health']
    return None


def boss_death(rows):
    seen = False
    for tick in sorted(rows):
        if rows[tick]['alive'] == 1:
            seen = True
        elif seen:
            return tick
    return None


def home_move(r):
    hx = r['bx'] + 52 if r['alive'] == 1 else 88
    hy = 192
    dx = hx - r['x']
    dy = hy - r['y']
    h = 'left' if dx < -8 else ('right' if dx > 8 else None)
    v = 'up' if dy < -20 else ('down' if dy > 20 else None)
    keys = tuple(k for k in (h, v) if k)
    order = {(): 0, ('left',): 1, ('right',): 2, ('up',): 3, ('down',): 4, ('left', 'up'): 5, ('right', 'up'): 6,
             ('left', 'down'): 7, ('right', 'down'): 8}
    return order[keys]


frozen = -1       # segments up to this one are settled
fixed_until = 0   # hits up to this tick are accepted
end = MAX_TICKS
while True:
    frozen_tick = START + (frozen + 1) * L
    horizon = min(end, frozen_tick + AHEAD)
    rows = run(horizon)
    # steer the unsettled segments in range towards home, from this run's positions
    for s in range(frozen + 1, nseg):
        t = START + s * L - 1
        if t not in rows:
            break
        moves[s] = home_move(rows[t])
    rows = run(horizon)
    death = boss_death(rows)
    if death is not None and end == MAX_TICKS:
        end = min(MAX_TICKS, death + 150)
        print('boss dies at tick', death, flush=True)
    hit = first_hit(rows, fixed_until)
    if hit is None:
        if horizon >= end:
            break
        frozen = (horizon - START) // L - LOOK // L
        continue
    seg = (hit - START) // L
    print('hit at', hit, flush=True)
    best = None
    done = False
    saved = list(moves)
    for back in range(1, 8):
        s = seg - back
        if s <= frozen - 6 or s < 0:
            break
        for m in range(len(MOVES)):
            if m == saved[s]:
                continue
            moves[:] = saved
            moves[s] = m
            r = run(min(end, hit + LOOK))
            h = first_hit(r, fixed_until)
            if h is None or h > hit + LOOK - 1:
                done = True
                break
            if best is None or h > best[0]:
                best = (h, list(moves))
        if done:
            break
    if not done:
        if best is not None and best[0] > hit:
            moves[:] = best[1]
            print('  pushed to', best[0], flush=True)
        else:
            moves[:] = saved
            fixed_until = hit
            print('  accepted hit at', hit, flush=True)
    frozen = max(frozen, seg)
    write_keys(OUT, end)

write_keys(OUT, end)
print('done, ticks', end)
