// The control page's own layer: the DOM, fetch, timers and local storage. It feeds the pure
// modules and carries out what they decide; it decides nothing about jobs itself.

import { parseGcode } from './gcode.js';
import { svgJob, SvgError } from './svg.js';
import { withSvgDrawing } from './svg_geometry.js';
import { normaliseCalibration, calibrationFault, toleranceMm, MAX_STEP_DELAY } from './calibration.js';
import { planJob, restartFrom } from './preview.js';
import { createMachine, MachineError } from './machine.js';
import { createRunner, statusText } from './runner.js';
import { createJogger } from './jog.js';

const KEY = 'mini-tarvo-server';
const MAX = 2147483647;
const POLL_MS = 250;
const $ = (id) => document.getElementById(id);

// --- What the browser keeps: the position last known, the fields, the calibration.
function loadSaved() {
  try { return JSON.parse(localStorage.getItem(KEY)) || {}; } catch (error) { return {}; }
}
function whole(value, fallback) {
  const n = Number(value);
  return Number.isInteger(n) && n >= 0 && n <= MAX ? n : fallback;
}
const saved = loadSaved();
const kept = {
  x: whole(saved.x, 0), y: whole(saved.y, 0), delay: whole(saved.delay, 5), step: whole(saved.step, 10),
  calibration: normaliseCalibration(saved.calibration),
};
function save() {
  kept.x = machine.position.x;
  kept.y = machine.position.y;
  try { localStorage.setItem(KEY, JSON.stringify(kept)); } catch (error) { /* private mode */ }
}

// --- The transport: one fetch per request, the reply file told by the marker the kit's files
// carry in their headers (X-Reply-File: a, c or s), a JSON answer read as such.
const transport = {
  async get(path) {
    const response = await fetch(path, { cache: 'no-store' });
    const type = response.headers.get('Content-Type') || '';
    const reply = response.headers.get('X-Reply-File');
    if (type.startsWith('application/json')) return { reply: null, json: await response.json() };
    await response.arrayBuffer();
    return { reply: ['a', 'c', 's'].includes(reply) ? reply : null, json: null };
  },
};
const clock = {
  now: () => performance.now(),
  sleep: (ms) => new Promise((resolve) => setTimeout(resolve, ms)),
};

const machine = createMachine(transport, kept);
const jogger = createJogger(machine);
const runner = createRunner({ machine, clock, onChange: showJob });

// --- The machine's position, the tool, and what is busy.
function showPosition(pos = machine.position) {
  const cal = kept.calibration;
  $('target-x').textContent = pos.x;
  $('target-y').textContent = pos.y;
  $('pos-mm').textContent = `${(pos.x / cal.stepsPerMmX).toFixed(2)}, ${(pos.y / cal.stepsPerMmY).toFixed(2)} mm`;
  if (machine.api === true) {
    const line = pos.line || machine.lastStatus.line;
    $('pos-source').textContent = `From the program (/pos): ${line === 'running' ? 'a line is running' : 'idle'}, the serial port ${pos.port || machine.port}.`;
    $('tool-state').textContent = machine.tool === null ? 'no tool hook (--hook)' : machine.tool === 0 ? 'off' : `on (${machine.tool})`;
  } else if (machine.api === false) {
    $('pos-source').textContent = 'The API is off (start the program with --api): the position is counted from the lines this page ran, and Stop ends a job after its line.';
    $('tool-state').textContent = 'not known without the API';
  }
}
function message(text) {
  $('message').textContent = text;
}
function jobActive() {
  return ['running', 'pausing', 'paused', 'stopping'].includes(runner.state.phase);
}
function setBusy() {
  const job = jobActive();
  const line = machine.busy || jogger.active;
  for (const id of ['move', 'set-zero', 'go-zero', 'tool-on', 'tool-off', 'job-file']) $(id).disabled = job || line;
  document.querySelectorAll('.jog button').forEach((b) => { b.disabled = job || (line && !jogger.active); });
  $('job-run').disabled = job || line || !current.plan || current.plan.beyond || current.plan.tooSlow !== null;
  $('job-restart').disabled = job || line || !current.plan;
  $('job-pause').disabled = !['running', 'pausing', 'paused'].includes(runner.state.phase);
  $('job-pause').textContent = ['pausing', 'paused'].includes(runner.state.phase) ? 'Resume' : 'Pause';
  $('job-stop').disabled = !job;
  $('stop').disabled = !(job || line) || (machine.api !== true && !job);
}

// While a line runs the position is read from the program as it moves; once more after it.
let polling = null;
function pollWhileBusy() {
  if (polling || machine.api !== true) return;
  polling = setInterval(async () => {
    if (!machine.busy) {
      clearInterval(polling);
      polling = null;
      showPosition();
      return;
    }
    try {
      const answer = await transport.get('/pos');
      if (machine.busy && answer.json) showPosition(answer.json);
    } catch (error) { /* the next reading will tell */ }
  }, POLL_MS);
}

// Runs one action on the machine (a Move, a jog, a zero), the page busy meanwhile. The action
// makes its first request before it first waits, so the page is busy from here on.
async function act(what, action) {
  const running = action();
  setBusy();
  pollWhileBusy();
  try {
    const said = await running;
    if (said !== undefined) message(said);
  } catch (error) {
    if (!(error instanceof MachineError)) throw error;
    message(`${what}: ${error.message}.`);
  } finally {
    save();
    showPosition();
    setBusy();
  }
}
function lineTo(x, y, delay) {
  return act('The line', async () => {
    const result = await machine.line(x, y, delay);
    return result === 'done' ? `At X ${x}, Y ${y}.` : `The program ${result} the line to X ${x}, Y ${y}.`;
  });
}

// --- Move, jog, zero, the tool, Stop.
function fieldValue(field, name, max) {
  const text = field.value.trim();
  const n = whole(text, -1);
  if (text === '' || n < 0 || n > max) {
    message(`${name} must be a whole number from 0 to ${max}.`);
    field.focus();
    return -1;
  }
  return n;
}
function delayField() {
  return whole($('delay').value, kept.delay);
}
$('move-form').addEventListener('submit', (event) => {
  event.preventDefault();
  const x = fieldValue($('x'), 'X', MAX);
  if (x < 0) return;
  const y = fieldValue($('y'), 'Y', MAX);
  if (y < 0) return;
  const delay = fieldValue($('delay'), 'The delay', 10000);
  if (delay < 0) return;
  kept.delay = delay;
  message(`Moving to X ${x}, Y ${y}...`);
  lineTo(x, y, delay);
});
$('step-size').addEventListener('change', () => {
  kept.step = whole($('step-size').value, 10);
  save();
});

function jog(dx, dy) {
  if (jogger.active || machine.busy || jobActive()) return;
  const step = whole($('step-size').value, 10);
  act('The jog', async () => {
    const result = await jogger.hold(dx, dy, { step, p: delayField() });
    return result.message || `At X ${machine.position.x}, Y ${machine.position.y}.`;
  });
}
document.querySelectorAll('.jog button').forEach((button) => {
  const d = [Number(button.dataset.dx), Number(button.dataset.dy)];
  let pressed = false;
  button.addEventListener('pointerdown', (event) => {
    if (event.button !== 0) return;
    pressed = true;
    button.setPointerCapture(event.pointerId);
    jog(...d);
  });
  for (const end of ['pointerup', 'pointercancel', 'lostpointercapture']) {
    button.addEventListener(end, () => { if (pressed) jogger.release(); });
  }
  // A click without a press (Enter or Space on the button) is one jog.
  button.addEventListener('click', () => {
    if (pressed) { pressed = false; return; }
    jog(...d);
    jogger.release();
  });
});
const ARROWS = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, 1], ArrowDown: [0, -1] };
let heldKey = null;
document.addEventListener('keydown', (event) => {
  const d = ARROWS[event.key];
  const tag = event.target && event.target.tagName;
  if (!d || event.altKey || event.ctrlKey || event.metaKey) return;
  if (tag === 'INPUT' || tag === 'SELECT' || tag === 'TEXTAREA') return;
  event.preventDefault();
  if (event.repeat || heldKey) return;
  heldKey = event.key;
  jog(...d);
});
document.addEventListener('keyup', (event) => {
  if (event.key !== heldKey) return;
  heldKey = null;
  jogger.release();
});
window.addEventListener('blur', () => { heldKey = null; jogger.release(); });

$('set-zero').addEventListener('click', () => act('Set zero', async () => {
  await machine.setZero();
  current.origin = null;
  replan();
  return 'The machine is at 0, 0 now.';
}));
$('go-zero').addEventListener('click', () => { message('Going to 0, 0...'); lineTo(0, 0, delayField()); });
for (const [id, on] of [['tool-on', true], ['tool-off', false]]) {
  $(id).addEventListener('click', () => act(`Tool ${on ? 'on' : 'off'}`, async () => {
    await machine.setTool(on);
    return `Tool ${on ? 'on' : 'off'} asked for.`;
  }));
}

// Stop: a job ends (its line halted at once with the API); a line alone is halted; the tool
// goes off.
async function stopAll() {
  jogger.release();
  if (['running', 'pausing', 'paused'].includes(runner.state.phase)) {
    await runner.stop();
    return;
  }
  if (machine.api !== true) return;
  try {
    await machine.halt();
    // The tool request waits for the halted line's own answer: a request that arrives while a
    // line runs is only answered.
    for (let i = 0; i < 100 && machine.busy; i++) await clock.sleep(20);
    await machine.setTool(false);
    message('Stopped.');
  } catch (error) {
    if (!(error instanceof MachineError)) throw error;
    message(`Stop: ${error.message}.`);
  }
}
$('stop').addEventListener('click', stopAll);
$('job-stop').addEventListener('click', stopAll);

// --- Calibration.
const CALIBRATION_FIELDS = { 'steps-per-mm-x': 'stepsPerMmX', 'steps-per-mm-y': 'stepsPerMmY', feed: 'feed' };
for (const [id, name] of Object.entries(CALIBRATION_FIELDS)) {
  $(id).value = kept.calibration[name];
  $(id).addEventListener('change', () => {
    const fault = calibrationFault(name, $(id).value);
    $('calibration-message').textContent = fault || '';
    if (fault) return;
    kept.calibration = normaliseCalibration({ ...kept.calibration, [name]: Number($(id).value) });
    save();
    showPosition();
    if (current.text !== null) loadJob(current.name, current.text);
  });
}

// --- The job: load, preview, run, pause, stop, restart.
const current = { name: '', text: null, job: null, plan: null, origin: null, shift: { x: 0, y: 0 } };

function jobStatus(text) {
  $('job-status').textContent = text;
}
function loadJob(name, text) {
  // A job newly loaded (or planned anew) is placed where the machine stands.
  Object.assign(current, { name, text, job: null, plan: null, origin: null, shift: { x: 0, y: 0 } });
  const cal = kept.calibration;
  let job;
  try {
    job = /\.svg$/i.test(name) || /^\s*(<\?xml|<svg|<!DOCTYPE svg)/i.test(text)
      ? withSvgDrawing(text, (drawing) => svgJob(drawing, cal))
      : parseGcode(text, { tolerance: toleranceMm(cal) });
  } catch (error) {
    if (!(error instanceof SvgError)) throw error;
    job = { ok: false, line: 1, message: `line 1: ${error.message}` };
  }
  if (!job.ok) {
    jobStatus(`error at line ${job.line}: ${job.message.replace(/^line \d+: /, '')}`);
    $('job-notes').textContent = `${name} is not loaded.`;
    drawPreview(null);
    setBusy();
    return;
  }
  current.job = job;
  $('job-notes').textContent = job.notes.join(' ');
  jobStatus(`loaded ${name}`);
  replan();
}
function replan() {
  if (!current.job) return;
  current.plan = planJob(current.job, kept.calibration, current.origin || machine.position, current.shift);
  drawPreview(current.plan);
  setBusy();
}

function duration(ms) {
  const s = Math.round(ms / 1000);
  const h = Math.floor(s / 3600);
  const mmss = `${String(Math.floor((s % 3600) / 60)).padStart(h ? 2 : 1, '0')}:${String(s % 60).padStart(2, '0')}`;
  return h ? `${h}:${mmss}` : mmss;
}
function drawPreview(plan) {
  const preview = $('job-preview');
  const summary = $('job-summary');
  $('job-below').hidden = !(plan && (plan.below.x || plan.below.y));
  if (!plan) {
    preview.querySelector('.cut').setAttribute('d', '');
    preview.querySelector('.travel').setAttribute('d', '');
    summary.textContent = '';
    return;
  }
  const cut = [];
  const travel = [];
  for (const e of plan.entries) {
    if (e.kind === 'move') (e.cut ? cut : travel).push(`M${e.from.x} ${-e.from.y}L${e.x} ${-e.y}`);
  }
  preview.querySelector('.cut').setAttribute('d', cut.join(''));
  preview.querySelector('.travel').setAttribute('d', travel.join(''));
  const b = plan.bounds.steps;
  const pad = Math.max(1, (b.maxX - b.minX + b.maxY - b.minY) * 0.03);
  preview.setAttribute('viewBox', `${b.minX - pad} ${-b.maxY - pad} ${b.maxX - b.minX + 2 * pad} ${b.maxY - b.minY + 2 * pad}`);
  preview.querySelector('.origin').setAttribute('transform', `translate(${plan.origin.x + plan.shift.x} ${-plan.origin.y - plan.shift.y})`);
  const t = plan.totals;
  const mm = plan.size.mm;
  const m = plan.bounds.mm;
  const faults = [];
  if (plan.beyond) faults.push(`The job reaches beyond ${MAX} steps, which the program cannot go to.`);
  if (plan.tooSlow) {
    faults.push(`Line ${plan.tooSlow.line} is too slow: its feed needs ${plan.tooSlow.p} ms a step, the program takes at most ${MAX_STEP_DELAY}.`);
  }
  summary.textContent = `Size ${mm.x.toFixed(2)} × ${mm.y.toFixed(2)} mm (${plan.size.steps.x} × ${plan.size.steps.y} steps); ` +
    `X ${m.minX.toFixed(2)} to ${m.maxX.toFixed(2)} mm, Y ${m.minY.toFixed(2)} to ${m.maxY.toFixed(2)} mm from the job's 0, 0; ` +
    `X ${b.minX} to ${b.maxX}, Y ${b.minY} to ${b.maxY} steps on the machine. ${t.lines} job lines, ${t.moves} moves, ` +
    `${t.steps} steps (${t.cutSteps} cutting). Time ${duration(t.timeMs)}. ${faults.join(' ')}`.trim();
  $('job-below-text').textContent = `The job would go below 0 on ${[plan.below.x && 'X', plan.below.y && 'Y'].filter(Boolean).join(' and ')}: ` +
    `the machine cannot go there. Shift it by X ${plan.shiftOffer.x - plan.shift.x}, Y ${plan.shiftOffer.y - plan.shift.y} steps?`;
}
$('job-shift').addEventListener('click', () => {
  if (!current.plan) return;
  current.shift = current.plan.shiftOffer;
  replan();
});

function showJob(state) {
  const t = state.totals;
  $('job-progress').max = Math.max(1, t.steps);
  $('job-progress').value = state.stepsDone;
  $('job-done').textContent = `${state.movesDone} of ${t.moves} moves, ${state.stepsDone} of ${t.steps} steps`;
  $('job-time').textContent = `${duration(state.elapsedMs)} elapsed, ${duration(state.leftMs)} left`;
  jobStatus(statusText(state));
  $('job-notes').textContent = state.notes.join(' ');
  showPosition(state.position);
  setBusy();
  if (machine.busy) pollWhileBusy();
}
async function runEntries(entries) {
  const final = await runner.run(entries);
  save();
  showJob(final);
}
$('job-run').addEventListener('click', async () => {
  if (!current.job) return;
  await machine.status().catch(() => null);
  // A job runs from where the machine stands now.
  current.origin = { ...machine.position };
  replan();
  if (current.plan.below.x || current.plan.below.y) {
    jobStatus('error at line 1: the job would go below 0 (shift it first)');
    return;
  }
  runEntries(current.plan.entries);
});
$('job-pause').addEventListener('click', () => {
  if (runner.state.phase === 'running') runner.pause();
  else runner.resume();
});
$('job-restart').addEventListener('click', () => {
  if (!current.plan) return;
  const line = Number($('job-restart-line').value);
  const restart = restartFrom(current.plan, line, machine.position, kept.calibration);
  if (!restart.ok) {
    jobStatus(`error at line ${line}: ${restart.message}`);
    return;
  }
  runEntries(restart.entries);
});
$('job-file').addEventListener('change', async () => {
  const file = $('job-file').files[0];
  if (file) loadJob(file.name, await file.text());
});
document.addEventListener('dragover', (event) => { event.preventDefault(); document.body.classList.add('dropping'); });
document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
document.addEventListener('drop', async (event) => {
  event.preventDefault();
  document.body.classList.remove('dropping');
  const file = event.dataTransfer && event.dataTransfer.files[0];
  if (file && !$('job-file').disabled) loadJob(file.name, await file.text());
});

// --- Start: the fields, then whether the program has the API, and where the machine is.
$('x').value = kept.x;
$('y').value = kept.y;
$('delay').value = kept.delay;
$('step-size').value = String(kept.step);
if ($('step-size').value !== String(kept.step)) $('step-size').value = '10';
const view = $('view-link');
view.href = `${location.protocol}//${location.hostname}:${view.dataset.port}/`;
showPosition();
setBusy();
machine.status().catch(() => null).then(() => {
  save();
  showPosition();
  setBusy();
  document.body.dataset.api = String(machine.api);
});
