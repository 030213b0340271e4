// A job planned for the machine: each action as the request it becomes, in motor steps from
// where the machine started, with its step delay and its time; the job's size, bounds, totals;
// and the plan of a restart from a given line.

import { lineTime, stepDelay, MAX_STEP_DELAY } from './calibration.js';

const MAX_TARGET = 2147483647;

// Entries:
//   {kind: 'move', line, from: {x, y}, x, y, steps, p, cut, timeMs}   x, y: the target in steps
//   {kind: 'tool', line, on}   {kind: 'dwell', line, ms, timeMs}   {kind: 'pause', line}
function moveEntry(line, from, to, feed, cut, calibration) {
  const dx = to.x - from.x;
  const dy = to.y - from.y;
  const steps = Math.abs(dx) + Math.abs(dy);
  const p = stepDelay(dx, dy, feed, calibration);
  return { kind: 'move', line, from: { ...from }, x: to.x, y: to.y, steps, p, cut, timeMs: lineTime(steps, p) };
}

// What a list of entries comes to: moves and steps (cut and travel), time, the job's lines.
export function summarise(entries) {
  const totals = { moves: 0, steps: 0, cutSteps: 0, timeMs: 0, lines: 0 };
  const lines = new Set();
  for (const entry of entries) {
    lines.add(entry.line);
    totals.timeMs += entry.timeMs || 0;
    if (entry.kind !== 'move') continue;
    totals.moves += 1;
    totals.steps += entry.steps;
    if (entry.cut) totals.cutSteps += entry.steps;
  }
  totals.lines = lines.size;
  return totals;
}

function bounds(points) {
  const box = { minX: Infinity, minY: Infinity, maxX: -Infinity, maxY: -Infinity };
  for (const p of points) {
    box.minX = Math.min(box.minX, p.x);
    box.minY = Math.min(box.minY, p.y);
    box.maxX = Math.max(box.maxX, p.x);
    box.maxY = Math.max(box.maxY, p.y);
  }
  return box;
}

// planJob(job, calibration, origin, shift): the job (parseGcode's or the SVG's actions, in mm
// from the job's origin) run from origin (the machine's position in steps), moved by shift
// steps. A move that rounds to no step is left out: it would ask the program for nothing.
export function planJob(job, calibration, origin, shift = { x: 0, y: 0 }) {
  const entries = [];
  let at = { x: origin.x, y: origin.y };
  const jobPoints = [{ x: 0, y: 0 }];
  for (const action of job.actions) {
    if (action.kind !== 'move') {
      entries.push(action.kind === 'dwell' ? { ...action, timeMs: action.ms } : { ...action });
      continue;
    }
    jobPoints.push(action);
    const to = {
      x: origin.x + shift.x + Math.round(action.x * calibration.stepsPerMmX),
      y: origin.y + shift.y + Math.round(action.y * calibration.stepsPerMmY),
    };
    if (to.x === at.x && to.y === at.y) continue;
    const feed = action.rapid || action.feed == null ? calibration.feed : action.feed;
    entries.push(moveEntry(action.line, at, to, feed, action.tool, calibration));
    at = to;
  }
  const steps = bounds([origin, ...entries.filter((e) => e.kind === 'move')]);
  const mm = bounds(jobPoints);
  return {
    entries,
    origin: { ...origin },
    shift: { ...shift },
    totals: summarise(entries),
    bounds: { steps, mm },
    size: {
      steps: { x: steps.maxX - steps.minX, y: steps.maxY - steps.minY },
      mm: { x: mm.maxX - mm.minX, y: mm.maxY - mm.minY },
    },
    // Below 0 the program cannot go (its positions are unsigned); the offer moves the job up
    // just far enough.
    below: { x: steps.minX < 0, y: steps.minY < 0 },
    shiftOffer: { x: shift.x + Math.max(0, -steps.minX), y: shift.y + Math.max(0, -steps.minY) },
    beyond: steps.maxX > MAX_TARGET || steps.maxY > MAX_TARGET,
    // A move whose feed needs a longer step delay than the program takes.
    tooSlow: entries.find((e) => e.kind === 'move' && e.p > MAX_STEP_DELAY) || null,
  };
}

// The job's time from entry `index` on: the delays of what is still to come.
export function timeLeft(entries, index) {
  let ms = 0;
  for (let i = index; i < entries.length; i++) ms += entries[i].timeMs || 0;
  return ms;
}

// restartFrom(plan, line, position, calibration): the entries that run the job from its line
// `line` on, with the machine at `position`. The job's state there (position, tool, and the
// feed of each later move, all resolved by the parser) is rebuilt without moving: the tool off,
// a travel to where the line starts, the tool back as the job had it there, then the rest.
export function restartFrom(plan, line, position, calibration) {
  const index = plan.entries.findIndex((entry) => entry.line >= line);
  if (!Number.isInteger(line) || line < 1 || index < 0) {
    return { ok: false, message: `the job has nothing to run from line ${line}` };
  }
  let start = plan.origin;
  let tool = false;
  for (const entry of plan.entries.slice(0, index)) {
    if (entry.kind === 'move') start = { x: entry.x, y: entry.y };
    if (entry.kind === 'tool') tool = entry.on;
  }
  const entries = [{ kind: 'tool', line, on: false }];
  if (start.x !== position.x || start.y !== position.y) {
    entries.push(moveEntry(line, position, start, calibration.feed, false, calibration));
  }
  if (tool) entries.push({ kind: 'tool', line, on: true });
  entries.push(...plan.entries.slice(index));
  return { ok: true, entries, totals: summarise(entries) };
}
