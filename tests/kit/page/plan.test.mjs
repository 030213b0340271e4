// Calibration and the plan of a job: step delays from feeds, targets in steps from the
// machine's position, cut and travel, bounds, time, the shift off 0, a restart's plan.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { stepDelay, lineTime, normaliseCalibration, calibrationFault } from '../../../tools/reply_pages/calibration.js';
import { planJob, restartFrom, timeLeft } from '../../../tools/reply_pages/preview.js';
import { parseGcode } from '../../../tools/reply_pages/gcode.js';

const cal = (x = 1, y = 1, feed = 600) => ({ stepsPerMmX: x, stepsPerMmY: y, feed });

test('a feed becomes the whole-ms step delay of the line\'s longer axis: 60000 / (F × its steps per mm)', () => {
  const cases = [
    // dx, dy, feed mm/min, calibration, delay
    [100, 0, 600, cal(), 100],         // 60000 / (600 × 1)
    [30, 40, 600, cal(), 100],         // Y makes more steps; both axes at 1 step per mm
    [-30, -40, 600, cal(), 100],       // the direction does not matter
    [1000, 0, 600, cal(10, 10), 10],   // 60000 / (600 × 10)
    [0, 800, 60, cal(1, 80), 13],      // Y's own steps per mm: 60000 / (60 × 80) = 12.5, rounded
    [50, 10, 60, cal(1, 80), 1000],    // X makes more steps: X's steps per mm, not Y's finer one
    [10, 50, 60, cal(80, 1), 1000],    // and the other way round
    [20, 20, 600, cal(2, 4), 25],      // a tie: the axis with more steps per mm (the shorter delay)
    [-20, 20, 600, cal(4, 2), 25],
    [3, 2, 7000, cal(3, 1), 3],        // 60000 / 21000 = 2.86: rounded to the nearest ms
    [1, 0, 1e6, cal(), 0],             // faster than a ms a step: 0, never below
    [0, 0, 600, cal(), 0],             // no steps: nothing to pace
    [5, 0, 0, cal(), 0],               // no feed: no pause asked for
  ];
  for (const [dx, dy, feed, calibration, want] of cases) {
    assert.equal(stepDelay(dx, dy, feed, calibration), want, `${dx},${dy} at F${feed} with ${JSON.stringify(calibration)}`);
  }
  assert.equal(lineTime(100, 99), 101 * 99);
  assert.deepEqual(normaliseCalibration({ stepsPerMmX: '80', stepsPerMmY: -1, feed: 'fast' }), cal(80, 1, 600));
  assert.equal(calibrationFault('stepsPerMmX', '0'), 'Steps per mm must be a number from 0.001 to 100000.');
  assert.equal(calibrationFault('feed', ' 1200 '), null);
});

test('a plan runs the job from the machine\'s position, in steps, with its cut, travel, bounds and time', () => {
  const job = parseGcode('G0 X10 Y5\nM3\nG1 X20 F300\nG1 X20.2\nG4 P2\nM5\nG0 X0 Y0');
  const plan = planJob(job, cal(2, 4), { x: 100, y: 50 });
  const moves = plan.entries.filter((e) => e.kind === 'move');
  // X20.2 is 40.4 steps: it rounds onto the line before and asks for nothing.
  assert.deepEqual(moves.map((m) => [m.line, m.x, m.y, m.steps, m.cut]),
    [[1, 120, 70, 40, false], [3, 140, 70, 20, true], [7, 100, 50, 60, false]]);
  // 20 × 20 steps: a tie, Y's 4 steps per mm; 20 X steps at F300 and 2 steps per mm; X longer.
  assert.deepEqual(moves.map((m) => m.p), [25, 100, 50]);
  assert.deepEqual(plan.entries.map((e) => e.kind), ['move', 'tool', 'move', 'dwell', 'tool', 'move']);
  assert.deepEqual(plan.bounds.steps, { minX: 100, minY: 50, maxX: 140, maxY: 70 });
  assert.deepEqual(plan.bounds.mm, { minX: 0, minY: 0, maxX: 20.2, maxY: 5 });
  assert.deepEqual(plan.size.steps, { x: 40, y: 20 });
  assert.deepEqual(plan.totals, { moves: 3, steps: 120, cutSteps: 20, lines: 6,
    timeMs: moves.reduce((t, m) => t + lineTime(m.steps, m.p), 0) + 2000 });
  assert.equal(timeLeft(plan.entries, 3), plan.entries.slice(3).reduce((t, e) => t + (e.timeMs || 0), 0));
  assert.deepEqual([plan.below, plan.beyond, plan.tooSlow], [{ x: false, y: false }, false, null]);
  // Slower than the longest delay the program takes: the plan names the line.
  const slow = planJob(parseGcode('G1 X10 F20\nG1 X11 F0.1\nG1 X12 F0.2'), cal(), { x: 0, y: 0 });
  assert.deepEqual([slow.tooSlow.line, slow.tooSlow.p], [2, 600000]);
});

test('a job that would go below 0 is flagged, and its shift brings it to 0', () => {
  const job = parseGcode('G0 X-10 Y3\nG1 X5 Y-7 F100');
  const plan = planJob(job, cal(), { x: 4, y: 2 });
  assert.deepEqual(plan.below, { x: true, y: true });
  assert.deepEqual(plan.shiftOffer, { x: 6, y: 5 });
  const shifted = planJob(job, cal(), { x: 4, y: 2 }, plan.shiftOffer);
  assert.deepEqual(shifted.below, { x: false, y: false });
  assert.deepEqual([shifted.bounds.steps.minX, shifted.bounds.steps.minY], [0, 0]);
  assert.deepEqual(planJob(parseGcode('G0 X5'), cal(), { x: 0, y: 0 }).below, { x: false, y: false });
});

test('a restart from line N rebuilds the state there: tool off, travel, the tool as the job had it, the rest', () => {
  const text = 'G91\nG0 X10\nM3\nG1 Y10 F60\nG1 X-10\nM5\nG0 Y5\nM4\nG1 X3';
  const plan = planJob(parseGcode(text), cal(), { x: 0, y: 0 });
  const brief = (entries) => entries.map((e) => (e.kind === 'move' ? `${e.line}:${e.x},${e.y}${e.cut ? '+' : ''}` : `${e.line}:${e.kind}${'on' in e ? (e.on ? ' on' : ' off') : ''}`));
  const cases = [
    // line, where the machine stands, the entries run
    [5, { x: 3, y: 3 }, ['5:tool off', '5:10,10', '5:tool on', '5:0,10+', '6:tool off', '7:0,15', '8:tool on', '9:3,15+']],
    [4, { x: 10, y: 0 }, ['4:tool off', '4:tool on', '4:10,10+', '5:0,10+', '6:tool off', '7:0,15', '8:tool on', '9:3,15+']],
    [7, { x: 0, y: 0 }, ['7:tool off', '7:0,10', '7:0,15', '8:tool on', '9:3,15+']],
    [1, { x: 9, y: 9 }, ['1:tool off', '1:0,0', '2:10,0', '3:tool on', '4:10,10+', '5:0,10+', '6:tool off', '7:0,15', '8:tool on', '9:3,15+']],
  ];
  for (const [line, at, want] of cases) {
    const restart = restartFrom(plan, line, at, cal());
    assert.equal(restart.ok, true, restart.message);
    assert.deepEqual(brief(restart.entries), want, `from line ${line}`);
  }
  const travel = restartFrom(plan, 5, { x: 3, y: 3 }, cal()).entries[1];
  assert.deepEqual([travel.from, travel.steps, travel.cut, travel.p], [{ x: 3, y: 3 }, 14, false, 100]);
  for (const line of [0, 10, 2.5]) assert.equal(restartFrom(plan, line, { x: 0, y: 0 }, cal()).ok, false, `line ${line}`);
});
