// The job runner: carries out a planned job's entries on the machine one after another, and
// pauses, resumes and stops it. Its effects are injected: the machine (machine.js) and the
// clock ({now(), sleep(ms)}). Every change of its state goes to onChange(state).
//
// Progress counts only what the program has finished: a move counts once its answer says it
// ran, so the steps done and the time left are those of the lines the program has done.

import { timeLeft, summarise } from './preview.js';
import { MachineError } from './machine.js';

// The one line of text the page shows for a state.
export function statusText(state) {
  switch (state.phase) {
  case 'done': return 'done';
  case 'paused': return `paused at line ${state.line}`;
  case 'stopped': return `stopped at line ${state.line}`;
  case 'error': return `error at line ${state.line}: ${state.message}`;
  case 'running': return `running line ${state.line}`;
  case 'pausing': return `pausing after line ${state.line}`;
  case 'stopping': return `stopping at line ${state.line}`;
  default: return '';
  }
}

export function createRunner({ machine, clock, onChange = () => {} }) {
  let entries = [];
  let pauseAsked = false;
  let stopAsked = false;
  let wake = null;          // ends a pause or a dwell early
  let runningSince = null;  // the clock's time when running last began
  const state = {
    phase: 'idle', line: null, message: '', index: 0,
    movesDone: 0, stepsDone: 0, totals: summarise([]),
    elapsedMs: 0, leftMs: 0, jobTool: false, notes: [],
  };

  function snapshot() {
    const elapsed = state.elapsedMs + (runningSince === null ? 0 : clock.now() - runningSince);
    return { ...state, elapsedMs: elapsed, position: { ...machine.position } };
  }
  function changed() {
    onChange(snapshot());
  }
  function clockStart() {
    if (runningSince === null) runningSince = clock.now();
  }
  function clockStop() {
    if (runningSince !== null) state.elapsedMs += clock.now() - runningSince;
    runningSince = null;
  }
  // Waits for ms or until woken (a stop); resolves either way.
  function rest(ms) {
    return new Promise((resolve) => {
      let done = false;
      const finish = () => { if (!done) { done = true; wake = null; resolve(); } };
      wake = finish;
      if (ms !== Infinity) clock.sleep(ms).then(finish);
    });
  }

  async function toolOff() {
    try {
      await machine.setTool(false);
    } catch (error) {
      state.notes.push(`The tool could not be switched off: ${error.message}.`);
    }
  }

  async function runMove(entry) {
    const result = await machine.line(entry.x, entry.y, entry.p);
    if (result === 'done') {
      state.movesDone += 1;
      state.stepsDone += entry.steps;
      return;
    }
    if (result === 'refused') {
      throw new MachineError('the program refused the line (outside --limits, or out of reach)');
    }
    // The line ended early: stopped from here (/halt) or at the program ("!").
    stopAsked = true;
  }

  async function runEntry(entry) {
    switch (entry.kind) {
    case 'move': return runMove(entry);
    case 'tool':
      state.jobTool = entry.on;
      return checkTool(entry.on, await machine.setTool(entry.on));
    case 'dwell': return rest(entry.ms);
    case 'pause':
      pauseAsked = true;
      return undefined;
    default: throw new MachineError(`the job holds an entry of kind ${entry.kind}`);
    }
  }

  function checkTool(on, value) {
    // With the API the hook's value shows whether the tool followed; without a hook it is null.
    if (value === null || value === undefined) {
      const note = 'The program has no tool hook (--hook): the tool is not switched.';
      if (machine.api === true && !state.notes.includes(note)) state.notes.push(note);
      return;
    }
    if ((value !== 0) !== on) throw new MachineError(`the tool hook holds ${value} after the tool was switched ${on ? 'on' : 'off'}`);
  }

  async function pauseHere() {
    pauseAsked = false;
    clockStop();
    await toolOff();
    state.phase = 'paused';
    changed();
    await rest(Infinity);
    if (stopAsked) return;
    state.phase = 'running';
    clockStart();
    if (state.jobTool) checkTool(true, await machine.setTool(true));
    changed();
  }

  async function end(phase, message = '') {
    clockStop();
    await toolOff();
    if (phase === 'stopped' && machine.api === true) {
      try { await machine.status(); } catch (error) { /* the position stays the last one known */ }
    }
    state.phase = phase;
    state.message = message;
    if (phase === 'stopped' && state.stopLine !== undefined) state.line = state.stopLine;
    state.leftMs = timeLeft(entries, state.index);
    changed();
    return snapshot();
  }

  async function loop() {
    while (state.index < entries.length) {
      if (stopAsked) return end('stopped');
      if (pauseAsked) {
        await pauseHere();
        continue;
      }
      const entry = entries[state.index];
      state.line = entry.line;
      changed();
      await runEntry(entry);
      if (stopAsked && entry.kind === 'move' && state.stopLine === undefined) state.stopLine = entry.line;
      state.index += 1;
      state.leftMs = timeLeft(entries, state.index);
    }
    if (stopAsked) return end('stopped');
    return end('done');
  }

  const runner = {
    get state() { return snapshot(); },

    // run(planEntries): runs them from the first; resolves with the final state.
    async run(planEntries) {
      if (['running', 'pausing', 'paused', 'stopping'].includes(state.phase)) {
        throw new Error('a job is running');
      }
      entries = planEntries;
      pauseAsked = false;
      stopAsked = false;
      Object.assign(state, {
        phase: 'running', line: entries.length ? entries[0].line : null, message: '', index: 0,
        movesDone: 0, stepsDone: 0, totals: summarise(entries), elapsedMs: 0,
        leftMs: timeLeft(entries, 0), jobTool: false, notes: [], stopLine: undefined,
      });
      runningSince = null;
      clockStart();
      changed();
      try {
        return await loop();
      } catch (error) {
        if (!(error instanceof MachineError)) throw error;
        return end('error', error.message);
      }
    },

    // No further line after the one running; the tool off until resume.
    pause() {
      if (state.phase !== 'running') return;
      pauseAsked = true;
      state.phase = 'pausing';
      changed();
    },

    // The tool back as the job had it, then on.
    resume() {
      if (state.phase === 'pausing') {
        pauseAsked = false;
        state.phase = 'running';
        changed();
      } else if (state.phase === 'paused' && wake) {
        wake();
      }
    },

    // Ends the job: with the API the line running is halted at once; without it, it runs to
    // its end. The tool goes off either way.
    stop() {
      if (!['running', 'pausing', 'paused'].includes(state.phase)) return Promise.resolve();
      stopAsked = true;
      state.stopLine = machine.busy ? state.line : undefined;
      state.phase = 'stopping';
      changed();
      if (wake) wake();
      if (machine.api !== true) return Promise.resolve();
      return machine.halt().catch((error) => {
        state.notes.push(`/halt failed: ${error.message}.`);
      });
    },
  };
  return runner;
}
