// G-code to a job: the moves, tool changes, dwells and pauses a G-code file asks for, in mm
// from the job's origin, with every modal state resolved on each action.
//
// Understood: G0 G1 G2 G3 (X Y, and I J for arcs), G4 P (seconds), G17 (the XY plane, the only
// one), G20 G21, G90 G91, G94 (feed per minute, the only mode), F (per minute, in the units in
// force), M0, M2, M30, M3 M4 (tool on; S is read and not used) and M5 (tool off), N numbers,
// comments in parentheses and after ";", a line holding only "%". Anything else refuses the
// whole file, naming its line and the code: a job that silently skipped a code would draw
// something else than the file.

const MM_PER_INCH = 25.4;
const WORD = /^([A-Za-z])\s*([+-]?(?:\d+\.?\d*|\.\d+))/;

// The codes a line may carry, by letter and value; the table says what each one sets.
const G_CODES = {
  0: { motion: 'G0' }, 1: { motion: 'G1' }, 2: { motion: 'G2' }, 3: { motion: 'G3' },
  4: { dwell: true }, 17: {}, 20: { units: MM_PER_INCH }, 21: { units: 1 },
  90: { absolute: true }, 91: { absolute: false }, 94: {},
};
const M_CODES = {
  0: { pause: true }, 2: { end: true }, 30: { end: true },
  3: { tool: true }, 4: { tool: true }, 5: { tool: false },
};
const VALUE_WORDS = new Set(['X', 'Y', 'I', 'J', 'F', 'P', 'S', 'N']);

class LoadError extends Error {
  constructor(code, message) {
    super(message);
    this.code = code;
  }
}

// The text of a line without its comments.
function stripComments(text) {
  let out = '';
  for (let i = 0; i < text.length; i++) {
    const c = text[i];
    if (c === ';') break;
    if (c === '(') {
      const close = text.indexOf(')', i + 1);
      if (close < 0) throw new LoadError('(', 'a comment "(" is not closed on its line');
      i = close;
      out += ' ';
      continue;
    }
    out += c;
  }
  return out;
}

// The words of a line: [{letter, value, text}], letters in upper case.
function splitWords(text) {
  const words = [];
  let rest = text.trim();
  while (rest.length > 0) {
    const match = WORD.exec(rest);
    if (!match) {
      const code = rest.split(/\s/)[0];
      throw new LoadError(code, `"${code}" is not a G-code word`);
    }
    const letter = match[1].toUpperCase();
    words.push({ letter, value: Number(match[2]), text: letter + match[2] });
    rest = rest.slice(match[0].length).trimStart();
  }
  return words;
}

// What one line asks for, checked against the codes understood.
function readLine(words) {
  const asked = { g: [], m: [], values: {} };
  for (const word of words) {
    if (word.letter === 'G' || word.letter === 'M') {
      const table = word.letter === 'G' ? G_CODES : M_CODES;
      if (!Number.isInteger(word.value) || !(word.value in table)) {
        throw new LoadError(word.text, `${word.text} is not supported`);
      }
      asked[word.letter.toLowerCase()].push(table[word.value]);
      continue;
    }
    if (!VALUE_WORDS.has(word.letter)) throw new LoadError(word.text, `${word.text} is not supported`);
    if (word.letter in asked.values) throw new LoadError(word.text, `${word.letter} twice on one line`);
    asked.values[word.letter] = word;
  }
  const motions = asked.g.filter((code) => code.motion);
  if (motions.length > 1) throw new LoadError('G', 'two motion codes on one line');
  const tools = asked.m.filter((code) => 'tool' in code);
  if (tools.length > 1) throw new LoadError('M', 'two tool codes on one line');
  asked.motion = motions.length ? motions[0].motion : null;
  asked.dwell = asked.g.some((code) => code.dwell);
  asked.tool = tools.length ? tools[0].tool : null;
  asked.pause = asked.m.some((code) => code.pause);
  asked.end = asked.m.some((code) => code.end);
  return asked;
}

// The corners of an arc from start to end around center, clockwise or not, cut so that no
// chord strays more than tolerance from the arc. The last corner is the end itself.
export function arcPoints(start, end, center, clockwise, tolerance) {
  const r0 = Math.hypot(start.x - center.x, start.y - center.y);
  const r1 = Math.hypot(end.x - center.x, end.y - center.y);
  const a0 = Math.atan2(start.y - center.y, start.x - center.x);
  const a1 = Math.atan2(end.y - center.y, end.x - center.x);
  let sweep = clockwise ? a0 - a1 : a1 - a0;
  while (sweep <= 1e-12) sweep += 2 * Math.PI;  // an arc back to its start is a whole circle
  const r = Math.max(r0, r1);
  // A chord over the angle t strays r(1 - cos(t/2)) from its arc.
  const widest = tolerance >= r ? Math.PI / 2 : Math.min(Math.PI / 2, 2 * Math.acos(1 - tolerance / r));
  const count = Math.max(1, Math.ceil(sweep / widest));
  const points = [];
  for (let k = 1; k < count; k++) {
    const t = k / count;
    const angle = a0 + (clockwise ? -sweep : sweep) * t;
    const radius = r0 + (r1 - r0) * t;
    points.push({ x: center.x + radius * Math.cos(angle), y: center.y + radius * Math.sin(angle) });
  }
  points.push({ x: end.x, y: end.y });
  return points;
}

// parseGcode(text, {tolerance}): tolerance in mm, how far an arc's chords may stray from it.
// Gives {ok: true, actions, lines, notes} or {ok: false, line, code, message}. Actions:
//   {kind: 'move', line, x, y, rapid, feed, tool}  x, y in mm; feed in mm/min or null (the
//                                                 default feed); tool on or off during it
//   {kind: 'tool', line, on}    {kind: 'dwell', line, ms}    {kind: 'pause', line}
export function parseGcode(text, options = {}) {
  const tolerance = options.tolerance > 0 ? options.tolerance : 0.5;
  const lines = String(text).split(/\r\n|\r|\n/);
  const state = { x: 0, y: 0, motion: 'G0', absolute: true, units: 1, feed: null, tool: false };
  const actions = [];
  const notes = [];
  let sawS = false;
  for (let index = 0; index < lines.length; index++) {
    const line = index + 1;
    let asked;
    try {
      const body = stripComments(lines[index]).trim();
      if (body === '' || body === '%') continue;
      asked = readLine(splitWords(body));
      runLine(asked, state, line, actions, tolerance);
    } catch (error) {
      if (!(error instanceof LoadError)) throw error;
      return { ok: false, line, code: error.code, message: `line ${line}: ${error.message}` };
    }
    if ('S' in asked.values) sawS = true;
    if (asked.end) {
      const rest = lines.slice(index + 1).some((l) => !['', '%'].includes(stripCommentsSafe(l).trim()));
      if (rest) notes.push(`The job ends at line ${line}: the lines after it are not run.`);
      break;
    }
  }
  if (sawS) notes.push('S values are read and not used: the tool is only switched on and off.');
  return { ok: true, actions, lines: lines.length, notes };
}

function stripCommentsSafe(text) {
  try { return stripComments(text); } catch (error) { return text; }
}

// One line's effects, in the order a controller applies them: units and distance mode, feed,
// tool, dwell, motion, then a pause or the end.
function runLine(asked, state, line, actions, tolerance) {
  for (const code of asked.g) {
    if ('units' in code) state.units = code.units;
    if ('absolute' in code) state.absolute = code.absolute;
  }
  const v = asked.values;
  if (v.F) {
    if (!(v.F.value > 0)) throw new LoadError(v.F.text, 'F must be above 0');
    state.feed = v.F.value * state.units;
  }
  if (asked.tool !== null && asked.tool !== state.tool) {
    state.tool = asked.tool;
    actions.push({ kind: 'tool', line, on: state.tool });
  }
  if (asked.dwell) {
    if (!v.P || v.P.value < 0) throw new LoadError('G4', 'G4 needs P, the dwell in seconds');
    actions.push({ kind: 'dwell', line, ms: Math.round(v.P.value * 1000) });
  } else if (v.P) {
    throw new LoadError(v.P.text, 'P without G4');
  }
  if (asked.motion) state.motion = asked.motion;
  const moves = v.X || v.Y;
  const arcWords = v.I || v.J;
  if (arcWords && (asked.dwell || (state.motion !== 'G2' && state.motion !== 'G3'))) {
    throw new LoadError((v.I || v.J).text, 'I and J belong to G2 and G3');
  }
  if (asked.dwell && moves) throw new LoadError('G4', 'G4 and a move on one line');
  if (moves || (arcWords && !asked.dwell)) {
    const end = {
      x: axisTarget(state.x, v.X, state),
      y: axisTarget(state.y, v.Y, state),
    };
    const move = { rapid: state.motion === 'G0', feed: state.feed, tool: state.tool, line, kind: 'move' };
    if (state.motion === 'G2' || state.motion === 'G3') {
      if (!arcWords) throw new LoadError(state.motion, `${state.motion} needs I or J (the centre)`);
      const center = {
        x: state.x + (v.I ? v.I.value : 0) * state.units,
        y: state.y + (v.J ? v.J.value : 0) * state.units,
      };
      const r0 = Math.hypot(state.x - center.x, state.y - center.y);
      const r1 = Math.hypot(end.x - center.x, end.y - center.y);
      if (r0 === 0) throw new LoadError(state.motion, 'the arc has no radius');
      if (Math.abs(r0 - r1) > Math.max(tolerance, 0.001 * r0)) {
        throw new LoadError(state.motion, `the arc's end is ${Math.abs(r0 - r1).toFixed(4)} mm off its circle`);
      }
      for (const point of arcPoints(state, end, center, state.motion === 'G2', tolerance)) {
        actions.push({ ...move, x: point.x, y: point.y });
      }
    } else {
      actions.push({ ...move, x: end.x, y: end.y });
    }
    state.x = end.x;
    state.y = end.y;
  }
  if (asked.pause) actions.push({ kind: 'pause', line });
}

function axisTarget(current, word, state) {
  if (!word) return current;
  const mm = word.value * state.units;
  return state.absolute ? mm : current + mm;
}
