// Jogging while a button or an arrow key is held: one short line of the jog's size at a time,
// the next only while it is still held, so that the machine stops at most one short line after
// the release. A tap makes exactly one.

import { MachineError } from './machine.js';

const MAX_TARGET = 2147483647;

// The target of one jog from `at` by `step` steps in the direction dx, dy (each -1, 0 or 1):
// the machine's positions run from 0 up, so a jog stops at 0.
export function jogTarget(at, dx, dy, step) {
  const clamp = (v) => Math.min(MAX_TARGET, Math.max(0, v));
  return { x: clamp(at.x + dx * step), y: clamp(at.y + dy * step) };
}

export function createJogger(machine) {
  let held = false;
  let running = null;
  const jogger = {
    get active() { return running !== null; },

    // hold(dx, dy, {step, p}): jogs until release(); resolves with {lines, result, message}:
    // result 'released', 'edge' (at 0), 'refused', 'stopped' or 'error'.
    hold(dx, dy, { step, p }) {
      if (running) return running;
      held = true;
      running = (async () => {
        let lines = 0;
        try {
          do {
            const target = jogTarget(machine.position, dx, dy, step);
            if (target.x === machine.position.x && target.y === machine.position.y) {
              return { lines, result: 'edge', message: 'At 0: a jog does not go below it.' };
            }
            const result = await machine.line(target.x, target.y, p);
            if (result !== 'done') {
              return { lines, result, message: `The program ${result === 'refused' ? 'refused' : 'stopped'} the jog.` };
            }
            lines += 1;
          } while (held);
          return { lines, result: 'released', message: '' };
        } catch (error) {
          if (!(error instanceof MachineError)) throw error;
          return { lines, result: 'error', message: `The jog failed: ${error.message}.` };
        } finally {
          held = false;
          running = null;
        }
      })();
      return running;
    },

    release() {
      held = false;
    },
  };
  return jogger;
}
