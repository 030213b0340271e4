// A stand-in for the running program as the page reaches it, for the page's modules: the
// three reply files and the selected one, the axis registers, --limits, the API (/pos,
// /halt), the tool hook, and one request acted on at a time (a request that arrives while a
// line runs is only answered, as the program does). Every request is recorded.

export function fakeProgram({ api = false, limits = null, hook = true, markers = true, at = { x: 0, y: 0 } } = {}) {
  const program = {
    selected: 's', x: at.x, y: at.y, delay: 0, tool: hook ? 0 : null, port: 'open',
    requests: [], lines: [], running: null,
    // Set by a test: called as each line starts, awaited; may return a point where the line
    // stops early (as "!" or /halt end it).
    onLine: null,
    // Set by a test: makes the request whose path it names fail, as a broken connection does.
    failOn: null,
  };
  let halted = null;  // resolves the waiting line when /halt arrives

  const answer = () => ({ reply: markers ? program.selected : null, json: null });
  const position = () => ({ x: program.x, y: program.y, line: program.running ? 'running' : 'idle',
    done: 0, total: 0, delay: program.delay, port: program.port, tool: program.tool });

  // The line's request waits here while a test holds it; /halt lets it go at the point given.
  program.haltable = (stopAt) => {
    program.onLine = () => new Promise((resolve) => { halted = () => resolve(stopAt); });
  };

  async function movement(query) {
    const values = {};
    for (const [, key, value] of query.matchAll(/(e=|p=|X|Y)(-?\d+)/g)) values[key] = Number(value);
    if ('p=' in values) program.delay = values['p='];
    const target = { x: values.X ?? program.x, y: values.Y ?? program.y };
    if (values['e='] !== 1) {
      program.x = target.x;
      program.y = target.y;
      return;
    }
    if (limits && (target.x > limits.x || target.y > limits.y || target.x < 0 || target.y < 0)) return;
    const line = { from: { x: program.x, y: program.y }, to: target, p: program.delay, tool: program.tool };
    program.running = line;
    const stopAt = program.onLine ? await program.onLine(line) : undefined;
    program.running = null;
    const end = stopAt || target;
    program.x = end.x;
    program.y = end.y;
    line.end = { ...end };
    program.lines.push(line);
    program.selected = 's';
  }

  program.get = async (path) => {
    program.requests.push(path);
    await Promise.resolve();
    if (program.failOn && path.startsWith(program.failOn)) throw new TypeError('Failed to fetch');
    if (api && (path === '/pos' || path === '/halt')) {
      if (path === '/halt' && halted) { halted(); halted = null; }
      return { reply: null, json: position() };
    }
    if (program.running) return answer();
    if (path === '/') program.selected = 'a';
    else if (path === '/c') program.selected = 'c';
    else if (path.startsWith('/s')) await movement(path);
    else if (path === '/?a=1A' && hook) program.tool = 1;
    else if (path === '/?a=1S' && hook) program.tool = 0;
    return answer();
  };

  // The requests made, without the reply-file selections and position reads between them.
  program.actions = () => program.requests.filter((r) => r !== '/c' && r !== '/pos');
  return program;
}

// A clock whose sleeps end at once and whose time moves only by them.
export function fakeClock() {
  const clock = { t: 0, slept: [] };
  clock.now = () => clock.t;
  clock.sleep = async (ms) => { clock.slept.push(ms); clock.t += ms; };
  return clock;
}
