// The machine as the page reaches it through the program: one request per action, and what
// the answer says. The transport is injected: transport.get(path) resolves to {reply, json}
// (reply: 'a', 'c' or 's' by the reply file's marker, null for a file without one; json: the
// body of a JSON answer, null otherwise) and rejects when the request fails.
//
// A movement request is answered only once its line is done or refused. The program selects
// C:\s only after a line that ran, so the page selects C:\c first: an answer from C:\s says
// the line ran, one from C:\c that it was refused. With the API (/pos) the position after the
// line confirms it, and tells a line stopped at the program ("!", /halt) from one that ended.

import { MAX_STEP_DELAY } from './calibration.js';

export const TOOL_OFF = '/?a=1S';
export const TOOL_ON = '/?a=1A';

export class MachineError extends Error {}

// The request of a line to x, y (steps) with the step delay p. Each value is followed by "&"
// or the end of the request line: the program reads a value up to the first byte below "0".
export function lineRequest(x, y, p) {
  return `/s?e=1&p=${p}&X${x}&Y${y}`;
}

// What /pos said, when it is the API's answer: {x, y, line, done, total, delay, port, tool}.
function positionFrom(json) {
  return json && Number.isFinite(json.x) && Number.isFinite(json.y) ? json : null;
}

export function createMachine(transport, known = { x: 0, y: 0 }) {
  const machine = {
    position: { x: known.x, y: known.y },
    api: null,         // true, false, or null before the first /pos
    tool: null,        // the hook's last value as /pos tells it (null: no hook, or no API)
    port: null,        // 'open' or 'closed' as /pos tells it
    busy: false,
    lastStatus: null,  // the last /pos answer
  };

  async function get(path) {
    try {
      return await transport.get(path);
    } catch (error) {
      throw new MachineError(`the request ${path} failed (${error && error.message ? error.message : error})`);
    }
  }

  // /pos: the program's own position when the API is on; whether it is on.
  machine.status = async function status() {
    const answer = await get('/pos');
    const pos = positionFrom(answer.json);
    machine.api = pos !== null;
    if (pos) {
      machine.lastStatus = pos;
      machine.position = { x: pos.x, y: pos.y };
      machine.tool = pos.tool;
      machine.port = pos.port;
    }
    return pos;
  };

  machine.halt = async function halt() {
    const answer = await get('/halt');
    return positionFrom(answer.json);
  };

  // line(x, y, p): 'done' (the machine is at x, y), 'refused' (the program did not run it:
  // outside --limits, out of reach) or 'stopped' (it ran and ended early). Throws a
  // MachineError when a request fails or an answer cannot be read.
  machine.line = async function line(x, y, p) {
    if (machine.busy) throw new MachineError('another line is still running');
    // The program would refuse the delay and run the line at the one it had.
    if (!(p <= MAX_STEP_DELAY)) throw new MachineError(`the step delay ${p} ms is above the ${MAX_STEP_DELAY} ms the program takes`);
    machine.busy = true;
    const start = machine.position;
    try {
      const selected = await get('/c');
      const marked = selected.reply === 'c';
      if (!marked && machine.api !== true) {
        throw new MachineError('the program did not answer /c with the reply file C:\\c (is it the kit\'s?)');
      }
      const answer = await get(lineRequest(x, y, p));
      if (machine.api !== true) {
        if (answer.reply === 's') machine.position = { x, y };
        if (answer.reply === 's') return 'done';
        if (answer.reply === 'c') return 'refused';
        throw new MachineError('the line\'s answer was neither C:\\s nor C:\\c');
      }
      const pos = await machine.status();
      if (!pos) throw new MachineError('/pos gave no position');
      if (pos.port === 'closed') throw new MachineError('the serial port is not open (press ">" in the program\'s window)');
      if (pos.x === x && pos.y === y) return 'done';
      if (marked && answer.reply === 'c') return 'refused';
      if (marked && answer.reply === 's') return 'stopped';
      // Reply files without markers: a refused line moved nothing.
      return pos.x === start.x && pos.y === start.y ? 'refused' : 'stopped';
    } finally {
      machine.busy = false;
    }
  };

  // tool(on): the hook's value after it, when the API tells it.
  machine.setTool = async function setTool(on) {
    await get(on ? TOOL_ON : TOOL_OFF);
    if (machine.api !== true) return null;
    const pos = await machine.status();
    return pos ? pos.tool : null;
  };

  // Declares the machine's position 0, 0: recorded twice, so that the previous and the current
  // X and Y are both 0 and the next line starts from there.
  machine.setZero = async function setZero() {
    if (machine.busy) throw new MachineError('a line is still running');
    await get('/s?e=0&X0&Y0');
    await get('/s?e=0&X0&Y0');
    machine.position = { x: 0, y: 0 };
    if (machine.api === true) await machine.status();
  };

  return machine;
}
