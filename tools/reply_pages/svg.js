// An SVG drawing to a job: the arithmetic of its units, viewBox and transforms, and the cut of
// each shape into straight lines within half a step. The shapes' own geometry (a point at a
// given length along a shape) comes from outside, from the browser (svg_geometry.js), behind
// the interface {transforms, length, pointAt(s)}.
//
// The drawing's page lies with its lower left corner at the job's origin, Y up as the
// machine's Y: SVG's Y runs down the page, so the page is turned over onto the machine.

// A matrix [a, b, c, d, e, f] takes x, y to a·x + c·y + e, b·x + d·y + f, as SVG's do.
export const IDENTITY = Object.freeze([1, 0, 0, 1, 0, 0]);
const MM_PER_UNIT = { mm: 1, cm: 10, in: 25.4, px: 25.4 / 96, pt: 25.4 / 72, pc: 25.4 / 6, '': 25.4 / 96 };
const NUMBER = /[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?/g;

export class SvgError extends Error {}

// A length attribute ("210mm", "8.5in", "300", "300px") in mm; null when absent or relative.
export function lengthMm(text) {
  if (text == null) return null;
  const match = /^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)\s*(mm|cm|in|px|pt|pc)?\s*$/.exec(String(text));
  if (!match) return null;
  const value = Number(match[1]) * MM_PER_UNIT[match[2] || ''];
  return value > 0 ? value : null;
}

function numbers(text) {
  return (String(text).match(NUMBER) || []).map(Number);
}

export function parseViewBox(text) {
  if (text == null) return null;
  const n = numbers(text);
  if (n.length !== 4 || !(n[2] > 0) || !(n[3] > 0)) return null;
  return { x: n[0], y: n[1], width: n[2], height: n[3] };
}

export function multiply(m, n) {
  return [
    m[0] * n[0] + m[2] * n[1], m[1] * n[0] + m[3] * n[1],
    m[0] * n[2] + m[2] * n[3], m[1] * n[2] + m[3] * n[3],
    m[0] * n[4] + m[2] * n[5] + m[4], m[1] * n[4] + m[3] * n[5] + m[5],
  ];
}

export function applyMatrix(m, p) {
  return { x: m[0] * p.x + m[2] * p.y + m[4], y: m[1] * p.x + m[3] * p.y + m[5] };
}

// How far the matrix stretches a distance at most (its largest singular value).
export function largestStretch(m) {
  const [a, b, c, d] = m;
  const s = (a * a + b * b + c * c + d * d) / 2;
  const det = a * d - b * c;
  return Math.sqrt(s + Math.sqrt(Math.max(0, s * s - det * det)));
}

// A transform attribute ("translate(10 5) rotate(30, 2, 2) scale(2)") as one matrix.
export function parseTransform(text) {
  let m = IDENTITY;
  if (text == null) return m;
  const source = String(text).trim();
  const item = /\s*(matrix|translate|scale|rotate|skewX|skewY)\s*\(([^)]*)\)\s*,?/y;
  let at = 0;
  while (at < source.length) {
    item.lastIndex = at;
    const match = item.exec(source);
    if (!match) throw new SvgError(`the transform "${source}" cannot be read`);
    at = item.lastIndex;
    const v = numbers(match[2]);
    const rad = (deg) => (deg * Math.PI) / 180;
    const want = { matrix: [6], translate: [1, 2], scale: [1, 2], rotate: [1, 3], skewX: [1], skewY: [1] }[match[1]];
    if (!want.includes(v.length)) throw new SvgError(`the transform ${match[1]}(${match[2]}) has ${v.length} values`);
    let t;
    switch (match[1]) {
    case 'matrix': t = v; break;
    case 'translate': t = [1, 0, 0, 1, v[0], v[1] || 0]; break;
    case 'scale': t = [v[0], 0, 0, v.length > 1 ? v[1] : v[0], 0, 0]; break;
    case 'rotate': {
      const cos = Math.cos(rad(v[0]));
      const sin = Math.sin(rad(v[0]));
      const [cx, cy] = v.length === 3 ? [v[1], v[2]] : [0, 0];
      t = [cos, sin, -sin, cos, cx - cos * cx + sin * cy, cy - sin * cx - cos * cy];
      break;
    }
    case 'skewX': t = [1, 0, Math.tan(rad(v[0])), 1, 0, 0]; break;
    default: t = [1, Math.tan(rad(v[0])), 0, 1, 0, 0]; break;
    }
    m = multiply(m, t);
  }
  return m;
}

// The root's user units to mm on the machine (Y up, the page's lower left corner at 0, 0):
// its width and height, its viewBox and preserveAspectRatio as a browser places the drawing.
export function rootMatrix({ width, height, viewBox, preserveAspectRatio }) {
  const box = parseViewBox(viewBox);
  let w = lengthMm(width);
  let h = lengthMm(height);
  // Without a size of its own, a drawing is as large as its viewBox in px.
  if (w === null) w = box ? (h !== null ? (h * box.width) / box.height : box.width * MM_PER_UNIT.px) : null;
  if (h === null) h = box ? (w * box.height) / box.width : null;
  if (w === null || h === null) throw new SvgError('the drawing has neither a width and height nor a viewBox');
  let view = [MM_PER_UNIT.px, 0, 0, MM_PER_UNIT.px, 0, 0];  // no viewBox: user units are px
  if (box) {
    const [align = 'xMidYMid', fit = 'meet'] = String(preserveAspectRatio || 'xMidYMid meet').trim().split(/\s+/);
    let sx = w / box.width;
    let sy = h / box.height;
    let tx = 0;
    let ty = 0;
    if (align !== 'none') {
      sx = sy = fit === 'slice' ? Math.max(sx, sy) : Math.min(sx, sy);
      const share = (part) => (part === 'Min' ? 0 : part === 'Max' ? 1 : 0.5);
      tx = (w - box.width * sx) * share(align.slice(1, 4));
      ty = (h - box.height * sy) * share(align.slice(5, 8));
    }
    view = [sx, 0, 0, sy, tx - box.x * sx, ty - box.y * sy];
  }
  return { matrix: multiply([1, 0, 0, -1, 0, h], view), widthMm: w, heightMm: h };
}

function distanceToSegment(p, a, b) {
  const dx = b.x - a.x;
  const dy = b.y - a.y;
  const span = dx * dx + dy * dy;
  const t = span > 0 ? Math.max(0, Math.min(1, ((p.x - a.x) * dx + (p.y - a.y) * dy) / span)) : 0;
  return Math.hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// samplePath(pointAt, length, tolerance): a shape of the given length as polylines whose chords
// stay within tolerance of it (all in the shape's own units). Each stretch is checked at three
// inner points and halved until it fits. Where two points lie farther apart than the length
// between them the shape jumps (a path's next "M"): the polyline ends there and a new one starts.
export function samplePath(pointAt, length, tolerance) {
  if (!(length > 0)) return [];
  const tiny = length * 1e-12;
  const lines = [[pointAt(0)]];
  // The browser's points at given lengths are close, not exact: only a gap that stays as the
  // stretch shrinks is a jump.
  const apart = (a, pa, b, pb) => Math.hypot(pb.x - pa.x, pb.y - pa.y) > (b - a) * 1.01 + tolerance * 0.01;
  function findJump(a, pa, b, pb) {
    let [lo, plo, hi, phi] = [a, pa, b, pb];
    while (hi - lo > tiny * 16) {
      const m = (lo + hi) / 2;
      const pm = pointAt(m);
      if (apart(lo, plo, m, pm)) [hi, phi] = [m, pm];
      else [lo, plo] = [m, pm];
    }
    return Math.hypot(phi.x - plo.x, phi.y - plo.y) > tolerance * 0.01 ? { lo, plo, hi, phi } : null;
  }
  function refine(a, pa, b, pb, depth) {
    const span = b - a;
    const jump = depth < 60 && apart(a, pa, b, pb) ? findJump(a, pa, b, pb) : null;
    if (jump) {
      // The stretch before the jump ends the polyline, the one after it starts a new one.
      if (jump.lo > a) refine(a, pa, jump.lo, jump.plo, depth + 1);
      lines.push([jump.phi]);
      if (jump.hi < b) refine(jump.hi, jump.phi, b, pb, depth + 1);
      return;
    }
    const inner = [0.25, 0.5, 0.75].map((q) => pointAt(a + span * q));
    const off = Math.max(...inner.map((p) => distanceToSegment(p, pa, pb)));
    if (off > tolerance && depth < 40 && span > tiny * 1e4) {
      refine(a, pa, a + span / 2, inner[1], depth + 1);
      refine(a + span / 2, inner[1], b, pb, depth + 1);
      return;
    }
    lines[lines.length - 1].push(...inner, pb);
  }
  // A first cut fine enough that a feature of the shape cannot hide between three inner checks.
  const count = Math.min(20000, Math.max(8, Math.ceil(length / (tolerance * 16))));
  let before = lines[0][0];
  for (let k = 1; k <= count; k++) {
    const s = (length * k) / count;
    const p = pointAt(s);
    refine((length * (k - 1)) / count, before, s, p, 0);
    before = p;
  }
  // Every point measured lies on the shape; the fewest of them that keep each chord within
  // the tolerance are kept (a straight stretch becomes one line, whatever its length). Part of
  // the tolerance is left for the shape between two measured points.
  return lines.filter((line) => line.length > 1).map((line) => simplify(line, tolerance * 0.75));
}

// The corners of a polyline that keep every other point within `tolerance` of the chords
// between them (Douglas and Peucker's method), the first and last always kept.
export function simplify(points, tolerance) {
  const keep = new Uint8Array(points.length);
  keep[0] = keep[points.length - 1] = 1;
  const spans = [[0, points.length - 1]];
  while (spans.length) {
    const [first, last] = spans.pop();
    let worst = -1;
    let at = -1;
    for (let i = first + 1; i < last; i++) {
      const d = distanceToSegment(points[i], points[first], points[last]);
      if (d > worst) [worst, at] = [d, i];
    }
    if (worst > tolerance) {
      keep[at] = 1;
      spans.push([first, at], [at, last]);
    }
  }
  return points.filter((_, i) => keep[i]);
}

// svgJob(drawing, calibration): the job of a drawing read by svg_geometry.js, as parseGcode
// gives one: each shape's polylines in mm, the tool on along them and off between; a shape's
// number (1, 2, ...) is its "line". Moves carry no feed of their own (the default feed).
export function svgJob(drawing, calibration) {
  const root = rootMatrix(drawing.root);
  const toSteps = [calibration.stepsPerMmX, 0, 0, calibration.stepsPerMmY, 0, 0];
  const actions = [];
  drawing.shapes.forEach((shape, index) => {
    const line = index + 1;
    const matrix = shape.transforms.reduce((m, t) => multiply(m, parseTransform(t)), root.matrix);
    // Half a step on the machine, in the shape's own units.
    const tolerance = 0.5 / largestStretch(multiply(toSteps, matrix));
    for (const polyline of samplePath(shape.pointAt, shape.length, tolerance)) {
      const points = polyline.map((p) => applyMatrix(matrix, p));
      actions.push({ kind: 'move', line, x: points[0].x, y: points[0].y, rapid: true, feed: null, tool: false });
      actions.push({ kind: 'tool', line, on: true });
      for (const p of points.slice(1)) actions.push({ kind: 'move', line, x: p.x, y: p.y, rapid: false, feed: null, tool: true });
      actions.push({ kind: 'tool', line, on: false });
    }
  });
  return { ok: true, actions, lines: drawing.shapes.length, notes: drawing.notes || [], widthMm: root.widthMm, heightMm: root.heightMm };
}
