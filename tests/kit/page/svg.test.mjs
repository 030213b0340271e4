// The SVG arithmetic: units and viewBox to mm on the machine, transforms, and the cut of a
// shape within its tolerance, with shapes whose geometry is known here exactly.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { rootMatrix, parseTransform, applyMatrix, samplePath, lengthMm, SvgError } from '../../../tools/reply_pages/svg.js';

const close = (p, q, what) => assert.ok(Math.hypot(p.x - q.x, p.y - q.y) < 1e-9, `${what}: ${JSON.stringify(p)} for ${JSON.stringify(q)}`);

test('the page\'s units and viewBox put its corners where they belong on the machine, Y up', () => {
  const cases = [
    // root attributes, a point in user units, where it lands in mm
    [{ width: '100mm', height: '50mm', viewBox: '0 0 100 50' }, { x: 10, y: 10 }, { x: 10, y: 40 }],
    [{ width: '10cm', height: '5cm', viewBox: '0 0 1000 500' }, { x: 1000, y: 0 }, { x: 100, y: 50 }],
    [{ width: '2in', height: '1in' }, { x: 96, y: 96 }, { x: 25.4, y: 0 }],
    [{ width: '192', height: '96px' }, { x: 96, y: 0 }, { x: 25.4, y: 25.4 }],
    [{ width: '72pt', height: '6pc' }, { x: 0, y: 0 }, { x: 0, y: 25.4 }],
    [{ viewBox: '-10 -10 96 48' }, { x: -10, y: 38 }, { x: 0, y: 0 }],
    // meet: the drawing scaled to fit and centred; none: stretched; xMinYMax slice: cut
    [{ width: '200mm', height: '100mm', viewBox: '0 0 50 50' }, { x: 0, y: 0 }, { x: 50, y: 100 }],
    [{ width: '200mm', height: '100mm', viewBox: '0 0 50 50', preserveAspectRatio: 'none' }, { x: 50, y: 50 }, { x: 200, y: 0 }],
    [{ width: '200mm', height: '100mm', viewBox: '0 0 50 50', preserveAspectRatio: 'xMinYMax slice' }, { x: 0, y: 50 }, { x: 0, y: 0 }],
  ];
  for (const [root, point, want] of cases) close(applyMatrix(rootMatrix(root).matrix, point), want, JSON.stringify(root));
  assert.throws(() => rootMatrix({ width: '50%' }), SvgError);
  assert.deepEqual(['3mm', '1e1mm', ' 2 ', '5em', '-1mm', null].map(lengthMm), [3, 10, 2 * 25.4 / 96, null, null, null]);
});

test('transforms compose as SVG\'s do', () => {
  const cases = [
    ['translate(10 5)', { x: 1, y: 1 }, { x: 11, y: 6 }],
    ['translate(10)', { x: 1, y: 1 }, { x: 11, y: 1 }],
    ['scale(2,3)', { x: 1, y: 1 }, { x: 2, y: 3 }],
    ['rotate(90)', { x: 1, y: 0 }, { x: 0, y: 1 }],
    ['rotate(90 5 5)', { x: 5, y: 0 }, { x: 10, y: 5 }],
    ['translate(10,0) scale(2)', { x: 1, y: 1 }, { x: 12, y: 2 }],
    ['scale(2) translate(10,0)', { x: 1, y: 1 }, { x: 22, y: 2 }],
    ['matrix(1 0 0 1 3 4)', { x: 0, y: 0 }, { x: 3, y: 4 }],
    ['skewX(45)', { x: 0, y: 2 }, { x: 2, y: 2 }],
    ['skewY(45)', { x: 2, y: 0 }, { x: 2, y: 2 }],
  ];
  for (const [text, point, want] of cases) close(applyMatrix(parseTransform(text), point), want, text);
  for (const bad of ['translate(1 2 3)', 'spin(4)', 'scale()']) assert.throws(() => parseTransform(bad), SvgError, bad);
});

test('a shape is cut into chords within the tolerance, and split where it jumps', () => {
  const circle = (r) => ({ length: 2 * Math.PI * r, pointAt: (s) => ({ x: r * Math.cos(s / r), y: r * Math.sin(s / r) }) });
  for (const [r, tolerance] of [[10, 0.5], [200, 0.5], [3, 0.01]]) {
    const { length, pointAt } = circle(r);
    const [line, ...more] = samplePath(pointAt, length, tolerance);
    assert.equal(more.length, 0);
    for (let i = 1; i < line.length; i++) {
      const mid = { x: (line[i].x + line[i - 1].x) / 2, y: (line[i].y + line[i - 1].y) / 2 };
      assert.ok(r - Math.hypot(mid.x, mid.y) <= tolerance, `r ${r}: a chord strays ${r - Math.hypot(mid.x, mid.y)}`);
    }
    close(line.at(-1), line[0], `r ${r}: the circle closes`);
  }
  // Two strokes, (0,0)-(10,0) and (0,5)-(0,15), as a path with two "M" gives them.
  const strokes = { length: 20, pointAt: (s) => (s <= 10 ? { x: s, y: 0 } : { x: 0, y: 5 + (s - 10) }) };
  const lines = samplePath(strokes.pointAt, strokes.length, 0.5);
  assert.equal(lines.length, 2);
  close(lines[0][0], { x: 0, y: 0 }, 'first start');
  assert.ok(Math.abs(lines[0].at(-1).x - 10) < 1e-6 && Math.abs(lines[1][0].y - 5) < 1e-6, 'the jump is found where it is');
  close(lines[1].at(-1), { x: 0, y: 15 }, 'second end');
});
