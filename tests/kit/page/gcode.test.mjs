// G-code files against the moves, delays and tool changes they give.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { parseGcode } from '../../../tools/reply_pages/gcode.js';

// The actions as short texts: "G0 10,5", "G1 20,5 F600 on", "tool on", "dwell 1500", "pause".
function brief(actions) {
  const mm = (v) => Number(v.toFixed(4));
  return actions.map((a) => {
    if (a.kind === 'move') return `${a.rapid ? 'G0' : 'G1'} ${mm(a.x)},${mm(a.y)}${a.feed ? ` F${mm(a.feed)}` : ''}${a.tool ? ' on' : ''}`;
    if (a.kind === 'tool') return `tool ${a.on ? 'on' : 'off'}`;
    if (a.kind === 'dwell') return `dwell ${a.ms}`;
    return a.kind;
  });
}

test('codes understood give their moves, feeds, tool changes, dwells and pauses', () => {
  const cases = [
    ['absolute mm, modal motion', 'G21 G90\nG0 X10 Y5\nG1 X20 F600\nY8', ['G0 10,5', 'G1 20,5 F600', 'G1 20,8 F600']],
    ['relative', 'G91\nG1 X5 Y5 F100\nX5\nG90 X1', ['G1 5,5 F100', 'G1 10,5 F100', 'G1 1,5 F100']],
    ['inch: coordinates and feed', 'G20\nG1 X1 Y2 F10\nG21 X1', ['G1 25.4,50.8 F254', 'G1 1,50.8 F254']],
    ['words without spaces, N, comments, lower case', 'N10 G1X10Y5F300 (cut it) ; a note\nn20 g0 x0(back)y0\n%\n\n',
      ['G1 10,5 F300', 'G0 0,0 F300']],
    ['tool on and off, S read', 'M3 S1000\nG1 X1 F60\nM5\nG0 X0\nM4\nM3\nM5', ['tool on', 'G1 1,0 F60 on', 'tool off', 'G0 0,0 F60', 'tool on', 'tool off']],
    ['dwell, pause, preamble codes', 'G17 G94 G21\nG4 P1.5\nM0\nG1 X2 F50', ['dwell 1500', 'pause', 'G1 2,0 F50']],
    ['a line runs tool, dwell, motion, pause in that order', 'M0 G1 X3 F10 M3', ['tool on', 'G1 3,0 F10 on', 'pause']],
    ['M30 ends the job', 'G1 X1 F10\nM30\nG1 X99\nG28', ['G1 1,0 F10']],
    ['a motion code alone sets the mode', 'G1 F20\nX4', ['G1 4,0 F20']],
  ];
  for (const [name, text, want] of cases) {
    const job = parseGcode(text);
    assert.equal(job.ok, true, `${name}: ${job.message}`);
    assert.deepEqual(brief(job.actions), want, name);
  }
  assert.match(parseGcode('M30\nG1 X99').notes.join(), /ends at line 1/);
  assert.match(parseGcode('M3 S200').notes.join(), /S values are read and not used/);
  const lines = parseGcode('G0 X1\n\n(only a comment)\nG1 X2 F5').actions.map((a) => a.line);
  assert.deepEqual(lines, [1, 4], 'actions carry the file line they come from');
});

test('any other code refuses the file, naming its line and the code', () => {
  const cases = [
    ['G1 X1 Z5', 1, 'Z5'],
    ['G0 X0\nG18', 2, 'G18'],
    ['G0 X0\n\nM6 T1', 3, 'M6'],
    ['T1', 1, 'T1'],
    ['G1 X1\nG28', 2, 'G28'],
    ['G90.1', 1, 'G90.1'],
    ['G1 X1 X2', 1, 'X2'],
    ['G2 X10 Y0', 1, 'G2'],
    ['G1 X1 I3', 1, 'I3'],
    ['G1 X1 (no end', 1, '('],
    ['G1 X1 @', 1, '@'],
    ['G1 F0', 1, 'F0'],
    ['G4', 1, 'G4'],
    ['G1 P3', 1, 'P3'],
    ['G0 G1 X1', 1, 'G'],
    ['G2 X20 Y5 I10 J0', 1, 'G2'],
  ];
  for (const [text, line, code] of cases) {
    const job = parseGcode(text);
    assert.equal(job.ok, false, `${JSON.stringify(text)} was accepted`);
    assert.deepEqual([job.line, job.code], [line, code], `${JSON.stringify(text)}: ${job.message}`);
    assert.ok(job.message.startsWith(`line ${line}: `), job.message);
  }
});

test('arcs are cut into chords within the tolerance, in their direction, ending exactly', () => {
  const cases = [
    // text, centre, radius, clockwise, end, sweep in degrees, tolerance
    ['G0 X10 Y0\nG2 X0 Y-10 I-10 J0', { x: 0, y: 0 }, 10, true, { x: 0, y: -10 }, 90, 0.5],
    ['G0 X10 Y0\nG3 X0 Y10 I-10 J0', { x: 0, y: 0 }, 10, false, { x: 0, y: 10 }, 90, 0.5],
    ['G0 X10 Y0\nG3 X10 Y0 I-10 J0', { x: 0, y: 0 }, 10, false, { x: 10, y: 0 }, 360, 0.05],
    ['G91 G0 X5 Y5\nG2 X10 Y0 I5 J0', { x: 10, y: 5 }, 5, true, { x: 15, y: 5 }, 180, 0.01],
    ['G20 G0 X1\nG3 X-1 Y0 I-1', { x: 0, y: 0 }, 25.4, false, { x: -25.4, y: 0 }, 180, 0.005],
  ];
  for (const [text, centre, radius, clockwise, end, degrees, tolerance] of cases) {
    const job = parseGcode(text, { tolerance });
    assert.equal(job.ok, true, job.message);
    const start = job.actions[0];
    const arc = job.actions.slice(1);
    const last = arc[arc.length - 1];
    assert.deepEqual([last.x, last.y].map((v) => Number(v.toFixed(9))), [end.x, end.y], text);
    let prev = start;
    let swept = 0;
    for (const point of arc) {
      assert.ok(Math.abs(Math.hypot(point.x - centre.x, point.y - centre.y) - radius) < 1e-9, `${text}: a corner off the arc`);
      const half = Math.hypot(point.x - prev.x, point.y - prev.y) / 2;
      const sagitta = radius - Math.sqrt(radius * radius - half * half);
      assert.ok(sagitta <= tolerance + 1e-12, `${text}: a chord ${sagitta} from the arc`);
      const turn = Math.atan2((prev.x - centre.x) * (point.y - centre.y) - (prev.y - centre.y) * (point.x - centre.x),
        (prev.x - centre.x) * (point.x - centre.x) + (prev.y - centre.y) * (point.y - centre.y));
      assert.equal(turn < 0, clockwise, `${text}: a chord turns the wrong way`);
      swept += Math.abs(turn);
      prev = point;
    }
    assert.ok(Math.abs(swept * 180 / Math.PI - degrees) < 1e-6, `${text}: swept ${swept * 180 / Math.PI}`);
    // No more chords than the tolerance needs: a finer cut would only slow the job.
    const widest = 2 * Math.acos(1 - tolerance / radius);
    assert.equal(arc.length, Math.ceil(degrees * Math.PI / 180 / widest), `${text}: ${arc.length} chords`);
  }
});
