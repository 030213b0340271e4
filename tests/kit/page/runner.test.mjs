// The job runner and the jogger against a stand-in for the program: what reaches the
// program, in which order, and what the page is told.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fakeProgram, fakeClock } from './fake_program.mjs';
import { createMachine } from '../../../tools/reply_pages/machine.js';
import { createRunner, statusText } from '../../../tools/reply_pages/runner.js';
import { createJogger } from '../../../tools/reply_pages/jog.js';
import { parseGcode } from '../../../tools/reply_pages/gcode.js';
import { planJob, restartFrom } from '../../../tools/reply_pages/preview.js';

const CAL = { stepsPerMmX: 1, stepsPerMmY: 1, feed: 6000 };
// Eight lines: a travel, the tool on, five cuts (lines 3 to 7), the tool off, a travel back.
const JOB = 'G0 X10 Y10\nM3\nG1 X20 F6000\nY20\nX10\nY10\nX15\nM5\nG0 X0 Y0';

async function setUp(options = {}, text = JOB) {
  const program = fakeProgram(options);
  const machine = createMachine(program, options.at || { x: 0, y: 0 });
  await machine.status();
  const states = [];
  const runner = createRunner({ machine, clock: fakeClock(), onChange: (s) => states.push(s) });
  const plan = planJob(parseGcode(text), CAL, machine.position);
  return { program, machine, runner, plan, states };
}
const targets = (program) => program.lines.map((l) => `${l.end.x},${l.end.y}`);
const lineWithTool = (program) => program.lines.map((l) => `${l.to.x},${l.to.y}${l.tool ? '+' : ''}`);
// Lets the runner go on until the program holds its next line (or the job has ended).
async function untilLine(program, runner) {
  for (let i = 0; i < 1000 && !program.running && ['running', 'pausing'].includes(runner.state.phase); i++) {
    await new Promise((resolve) => setImmediate(resolve));
  }
}

test('a job runs to its end, each line after a selection of C:\\c, the tool where the job switches it', async () => {
  for (const api of [false, true]) {
    const { program, runner, plan, states } = await setUp({ api });
    const final = await runner.run(plan.entries);
    assert.equal(statusText(final), 'done', `api ${api}: ${final.message}`);
    assert.deepEqual(lineWithTool(program), ['10,10', '20,10+', '20,20+', '10,20+', '10,10+', '15,10+', '0,0']);
    const moves = program.requests.filter((r) => r.startsWith('/s'));
    moves.forEach((path) => assert.equal(program.requests[program.requests.indexOf(path) - 1], '/c', `${path} without /c before it`));
    assert.equal(program.actions().filter((r) => r.startsWith('/?a')).join(' '), '/?a=1A /?a=1S /?a=1S', 'on, off, off at the end');
    assert.equal(moves[0], `/s?e=1&p=${plan.entries[0].p}&X10&Y10`);
    assert.deepEqual([final.stepsDone, final.movesDone, final.leftMs], [plan.totals.steps, 7, 0]);
    assert.deepEqual(final.position, { x: 0, y: 0 });
    // Progress counts only lines the program answered: it never runs ahead of them.
    const done = states.map((s) => s.stepsDone);
    assert.deepEqual(done, [...done].sort((a, b) => a - b), 'steps done only rise');
    assert.ok(states.every((s) => s.stepsDone <= program.lines.length * 20), 'no more steps than the lines ran');
  }
});

test('pause then resume loses and repeats no line, with the tool off while paused', async () => {
  for (const api of [false, true]) {
    const { program, runner, plan } = await setUp({ api });
    let release;
    program.onLine = (line) => (line.to.x === 20 && line.to.y === 20 ? new Promise((r) => { release = r; }) : undefined);
    const running = runner.run(plan.entries);
    await untilLine(program, runner);
    runner.pause();
    assert.equal(statusText(runner.state), 'pausing after line 4');
    program.onLine = null;
    release();
    for (let i = 0; i < 50 && runner.state.phase !== 'paused'; i++) await new Promise((r) => setImmediate(r));
    assert.equal(statusText(runner.state), 'paused at line 4');
    assert.equal(program.tool, 0, 'the tool is off while paused');
    assert.deepEqual(targets(program), ['10,10', '20,10', '20,20'], 'no line after the one running');
    runner.resume();
    const final = await running;
    assert.equal(statusText(final), 'done');
    assert.deepEqual(lineWithTool(program), ['10,10', '20,10+', '20,20+', '10,20+', '10,10+', '15,10+', '0,0'], 'every line once, the tool back on');
    assert.equal(final.stepsDone, plan.totals.steps);
  }
});

test('stop: with the API the line running is halted at once; without it no further line runs', async () => {
  for (const api of [true, false]) {
    const { program, runner, plan } = await setUp({ api });
    if (api) program.haltable({ x: 14, y: 20 }); else program.onLine = null;
    let release;
    program.onLine = api ? program.onLine : (line) => (line.to.x === 10 && line.to.y === 20 ? new Promise((r) => { release = r; }) : undefined);
    if (api) {
      const halting = program.onLine;
      program.onLine = (line) => (line.to.x === 10 && line.to.y === 20 ? halting(line) : undefined);
    }
    const running = runner.run(plan.entries);
    await untilLine(program, runner);
    const stopped = runner.stop();
    if (!api) release();
    await stopped;
    const final = await running;
    assert.equal(statusText(final), 'stopped at line 5', `api ${api}`);
    assert.deepEqual(targets(program), ['10,10', '20,10', '20,20', api ? '14,20' : '10,20']);
    assert.equal(program.requests.includes('/halt'), api);
    assert.equal(program.actions().at(-1), '/?a=1S', 'the tool off last');
    assert.deepEqual(final.position, api ? { x: 14, y: 20 } : { x: 10, y: 20 });
    assert.equal(final.stepsDone, api ? 40 : 50, 'a halted line does not count as done');
  }
});

test('a line stopped at the program ("!") ends the job there', async () => {
  const { program, runner, plan } = await setUp({ api: true });
  program.onLine = (line) => (line.to.x === 20 && line.to.y === 10 ? { x: 13, y: 10 } : undefined);
  const final = await runner.run(plan.entries);
  assert.equal(statusText(final), 'stopped at line 3');
  assert.deepEqual(targets(program), ['10,10', '13,10']);
});

test('a refused line or a failed request ends the job at once, naming its line', async () => {
  const refused = 'error at line 3: the program refused the line (outside --limits, or out of reach)';
  const cases = [
    // options, the request that fails, the status, the last line asked for
    [{ limits: { x: 15, y: 100 } }, null, refused, 'X20&Y10'],
    [{ api: true, limits: { x: 15, y: 100 } }, null, refused, 'X20&Y10'],
    [{ api: true, limits: { x: 15, y: 100 }, markers: false }, null, refused, 'X20&Y10'],
    [{}, '/s?e=1&p=0&X20&Y20', 'error at line 4: the request /s?e=1&p=0&X20&Y20 failed (Failed to fetch)', 'X20&Y20'],
    [{ api: true }, '/?a=1A', 'error at line 2: the request /?a=1A failed (Failed to fetch)', 'X10&Y10'],
    [{ markers: false }, null, 'error at line 1: the program did not answer /c with the reply file C:\\c (is it the kit\'s?)', undefined],
    [{ slowFrom: 3 }, null, 'error at line 3: the step delay 10001 ms is above the 10000 ms the program takes', 'X10&Y10'],
  ];
  for (const [options, failOn, want, last] of cases) {
    const { program, runner, plan } = await setUp(options);
    program.failOn = failOn;
    const final = await runner.run(plan.entries.map((e) => (e.kind === 'move' ? { ...e, p: e.line >= options.slowFrom ? 10001 : 0 } : e)));
    assert.equal(statusText(final), want, JSON.stringify(options));
    const lines = program.requests.filter((r) => r.startsWith('/s'));
    assert.equal(lines.length ? lines.at(-1).replace(/.*&X/, 'X') : undefined, last, `${want}: a line after the fault`);
    assert.equal(program.actions().at(-1), '/?a=1S', 'the tool off');
  }
});

test('restart from line N draws only the rest, from where the machine stands', async () => {
  const { program, runner, plan, machine } = await setUp({ api: true, at: { x: 0, y: 0 } });
  machine.position = { x: 0, y: 0 };
  const restart = restartFrom(plan, 5, machine.position, CAL);
  const final = await runner.run(restart.entries);
  assert.equal(statusText(final), 'done');
  assert.deepEqual(lineWithTool(program), ['20,20', '10,20+', '10,10+', '15,10+', '0,0']);
  assert.equal(program.actions().filter((r) => r.startsWith('/?a')).join(' '), '/?a=1S /?a=1A /?a=1S /?a=1S');
  assert.equal(final.stepsDone, restart.totals.steps);
});

test('a dwell and an M0 pause wait; a stop ends the wait', async () => {
  const { program, runner, plan } = await setUp({}, 'G4 P3\nG0 X5\nM0\nG0 X0');
  const running = runner.run(plan.entries);
  for (let i = 0; i < 50 && runner.state.phase !== 'paused'; i++) await new Promise((r) => setImmediate(r));
  assert.equal(statusText(runner.state), 'paused at line 3');
  assert.deepEqual(targets(program), ['5,0']);
  await runner.stop();
  assert.equal(statusText(await running), 'stopped at line 3');
  assert.deepEqual(targets(program), ['5,0']);
});

test('a jog runs short lines while held, one for a tap, and stops at 0', async () => {
  const program = fakeProgram({ at: { x: 5, y: 0 } });
  const machine = createMachine(program, { x: 5, y: 0 });
  const jogger = createJogger(machine);
  // Held for three lines: the third line's start sees the release.
  let count = 0;
  program.onLine = () => { count += 1; if (count === 3) jogger.release(); };
  assert.deepEqual(await jogger.hold(1, 0, { step: 10, p: 2 }), { lines: 3, result: 'released', message: '' });
  assert.deepEqual(targets(program), ['15,0', '25,0', '35,0']);
  program.onLine = null;
  const tap = jogger.hold(0, 1, { step: 4, p: 0 });
  jogger.release();
  assert.equal((await tap).lines, 1);
  const edge = jogger.hold(-1, -1, { step: 100, p: 0 });
  await new Promise((r) => setImmediate(r));
  jogger.release();
  assert.equal((await edge).lines, 1);
  assert.deepEqual(targets(program).slice(3), ['35,4', '0,0']);
  assert.equal((await jogger.hold(-1, 0, { step: 1, p: 0 })).result, 'edge');
  assert.ok(program.requests.filter((r) => r.startsWith('/s')).every((r) => /^\/s\?e=1&p=\d+&X\d+&Y\d+$/.test(r)));
});
