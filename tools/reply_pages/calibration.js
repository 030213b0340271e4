// Calibration: how many motor steps make a mm on each axis, and the feed used where a job
// names none (G0 travel, G1 before its first F, SVG drawings). Kept in the browser's local
// storage by the page; here only plain values.

export const DEFAULT_CALIBRATION = Object.freeze({ stepsPerMmX: 1, stepsPerMmY: 1, feed: 600 });
// The longest step delay the program takes: it refuses a larger "p=" and keeps the delay it had.
export const MAX_STEP_DELAY = 10000;
const LIMITS = { stepsPerMm: [0.001, 100000], feed: [0.001, 1000000] };

function within(value, [low, high], fallback) {
  const n = Number(value);
  return Number.isFinite(n) && n >= low && n <= high ? n : fallback;
}

// A calibration from what was saved (or typed): each value in its range, or its default.
export function normaliseCalibration(saved = {}) {
  const d = DEFAULT_CALIBRATION;
  return {
    stepsPerMmX: within(saved.stepsPerMmX, LIMITS.stepsPerMm, d.stepsPerMmX),
    stepsPerMmY: within(saved.stepsPerMmY, LIMITS.stepsPerMm, d.stepsPerMmY),
    feed: within(saved.feed, LIMITS.feed, d.feed),
  };
}

// What a typed value must be, or null when it is good.
export function calibrationFault(name, text) {
  const range = name === 'feed' ? LIMITS.feed : LIMITS.stepsPerMm;
  const n = Number(String(text).trim());
  if (String(text).trim() !== '' && Number.isFinite(n) && n >= range[0] && n <= range[1]) return null;
  return `${name === 'feed' ? 'The feed' : 'Steps per mm'} must be a number from ${range[0]} to ${range[1]}.`;
}

// Half a step of the finer axis, in mm: how far a cut curve may stray from its shape.
export function toleranceMm(calibration) {
  return 0.5 / Math.max(calibration.stepsPerMmX, calibration.stepsPerMmY);
}

// The time a line of `steps` steps takes at the step delay p: the program pauses p once when
// it reads the request's "p=" and then after every step, on either axis.
export function lineTime(steps, p) {
  return steps > 0 ? (steps + 1) * p : p;
}

// The step delay (whole ms, never below 0) of a line of dx, dy steps at `feed` mm/min: its
// longer axis (the one on which it makes more steps; on a tie, the one with more steps per mm,
// the shorter delay of the two) moves at the feed, one step of that axis per delay:
// 60000 / (feed * that axis's steps per mm). A line with no steps gets 0: it asks for nothing.
export function stepDelay(dx, dy, feed, calibration) {
  const sx = Math.abs(dx);
  const sy = Math.abs(dy);
  if (sx + sy === 0 || !(feed > 0)) return 0;
  const { stepsPerMmX: mx, stepsPerMmY: my } = calibration;
  const perMm = sx > sy ? mx : sy > sx ? my : Math.max(mx, my);
  return Math.max(0, Math.round(60000 / (feed * perMm)));
}
