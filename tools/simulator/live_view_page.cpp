// The live view: a page that shows the tool path and redraws it while the line moves it.
#include "tools/simulator/view_server.h"

namespace simulator {

namespace {

constexpr const char kHead[] = R"page(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Mini-Tarvo simulator: tool path</title>
<link rel="icon" href="data:,">
<style>
body { font-family: system-ui, sans-serif; margin: 0; background: #eef1f4; color: #1d2327; }
header { background: #263238; color: #fff; padding: .6rem 1rem; }
header h1 { font-size: 1.1rem; margin: 0; }
main { max-width: 44rem; margin: 0 auto; padding: .8rem; }
#figures { display: flex; flex-wrap: wrap; gap: .4rem 1.2rem; margin: 0 0 .6rem; }
#figures div { font-variant-numeric: tabular-nums; }
#figures span { color: #5f6b73; font-size: .85rem; margin-right: .3rem; }
#view { background: #fff; border: 1px solid #cfd8dc; border-radius: 6px; padding: .3rem; }
#view svg { width: 100%; height: auto; display: block; }
p.legend { font-size: .85rem; color: #5f6b73; }
a { color: #1565c0; }
</style>
</head>
<body>
<header><h1>Mini-Tarvo simulator: the tool path</h1></header>
<main>
<div id="figures">
<div><span>X</span><b id="x">0</b></div>
<div><span>Y</span><b id="y">0</b></div>
<div><span>steps</span><b id="steps">0</b></div>
<div><span>bytes</span><b id="bytes">0</b></div>
<div><span>line</span><b id="line">open</b></div>
<div><span>tool</span><b id="tool">-</b></div>
</div>
<div id="view">
)page";

constexpr const char kTail[] = R"page(</div>
<p class="legend">Green: where the simulator started. Red: where the tool is now. Solid: moves
made with the tool on (the cut); thin and dashed: moves with it off (travel). X grows to the
right, Y upwards; one unit is one motor step.</p>
<p><a id="control-link" href="http://127.0.0.1/">Control page</a></p>
</main>
<script>
(function () {
  'use strict';
  var link = document.getElementById('control-link');
  link.href = location.protocol + '//' + location.hostname + '/';
  var shown = -1;
  function show(state) {
    ['x', 'y', 'steps', 'bytes', 'line'].forEach(function (name) {
      document.getElementById(name).textContent = state[name];
    });
    document.getElementById('tool').textContent =
        state.tool === null ? '-' : state.tool === 0 ? 'off' : 'on (' + state.tool + ')';
    if (state.version === shown) return Promise.resolve();
    shown = state.version;
    return fetch('/path.svg?max=20000', {cache: 'no-store'})
      .then(function (r) { return r.text(); })
      .then(function (svg) { document.getElementById('view').innerHTML = svg; });
  }
  function poll() {
    fetch('/state', {cache: 'no-store'})
      .then(function (r) { return r.json(); })
      .then(show)
      .catch(function () {})
      .then(function () { setTimeout(poll, 400); });
  }
  poll();
})();
</script>
</body>
</html>
)page";

}  // namespace

std::string LiveViewPage(const std::string& svg) {
    return std::string(kHead) + svg + kTail;
}

}  // namespace simulator
