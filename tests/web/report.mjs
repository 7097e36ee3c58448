// Size and speed of the web component, measured and printed, never asserted:
// - what a page loads for the widget, per file, raw and gzip;
// - side by side with the page a site would otherwise build (peer/peer-chart.js: astronomy-engine
//   and AstroChart, bundled and minified here with esbuild): both pages are visited in turn,
//   each visit in a fresh browser context with the cache off, and timed from navigation until
//   the chart is complete (the widget: every image in its shadow root loaded, the background
//   and the ten glyphs; the peer: its SVG wheel drawn), with the bytes and requests it took;
// - the start-up computation in the page (WebAssembly; the peer's astronomy-engine) beside
//   the native build's figure;
// - screenshots of the demo (1x and 2x) under the build folder.
// The tables are printed as Markdown, as the README shows them.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { loadavg, tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import { build } from 'esbuild';
import { chromium } from 'playwright-core';
import { BUNDLE, CHROMIUM_ARGS, ROOT, launch, startServer } from './harness.mjs';
import { PAGES, servePages } from './page-server.mjs';

const VISITS = 15;
const SETTLE_MS = 300;
const HERE = dirname(fileURLToPath(import.meta.url));

const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;
const sorted = (xs) => [...xs].sort((a, b) => a - b);
const median = (xs) => sorted(xs)[Math.floor(xs.length / 2)];
const spread = (xs, unit, digits = 0) =>
  `${median(xs).toFixed(digits)} ${unit} (${sorted(xs)[0].toFixed(digits)}–${sorted(xs).at(-1).toFixed(digits)})`;
const sizes = (body) => ({ raw: body.length, gzip: gzipSync(body, { level: 9 }).length });

// The files of the npm package that a page loads: the scripts, the .wasm and the artwork (not
// the server entry and its module, which run in Node).
function widgetSizes() {
  const { files } = JSON.parse(readFileSync(join(BUNDLE, 'package.json'), 'utf8'));
  return files.filter((name) => /\.(js|mjs|wasm|svg)$/.test(name) && !/server\.(js|wasm)$/.test(name))
    .map((name) => ({ name, ...sizes(readFileSync(join(BUNDLE, name))) }));
}

function printSizes(rows) {
  const art = rows.filter((r) => r.name.endsWith('.svg'));
  const shown = [...rows.filter((r) => !r.name.endsWith('.svg')),
    { name: `artwork (${art.length} SVG files)`, raw: art.reduce((s, r) => s + r.raw, 0),
      gzip: art.reduce((s, r) => s + r.gzip, 0) }];
  const total = { raw: rows.reduce((s, r) => s + r.raw, 0), gzip: rows.reduce((s, r) => s + r.gzip, 0) };
  console.log('\n| What the page loads for the widget | raw | gzip |\n|---|---:|---:|');
  for (const r of shown) console.log(`| \`${r.name}\` | ${kb(r.raw)} | ${kb(r.gzip)} |`);
  console.log(`| **total** (goal 60 KB gzip) | **${kb(total.raw)}** | **${kb(total.gzip)}** |`);
}

// The peer page's script, bundled and minified as a site would ship it.
async function buildPeer(folder) {
  await build({ entryPoints: [join(HERE, 'peer', 'peer-chart.js')], bundle: true, minify: true,
    format: 'esm', target: 'es2022', outfile: join(folder, 'peer-chart.js'), logLevel: 'warning' });
}

// Runs in each visited page from its start: notes when the chart is complete, and says so on
// the console. The visit waits for that message rather than polling from outside: polling
// would run the driver's own script in the page while the chart is still loading.
const COMPLETE = 'report: chart complete';
function watchForCompleteChart(COMPLETE) {
  const complete = () => {
    const el = document.querySelector('zodiac-chart');
    const pictures = el?.shadowRoot?.querySelectorAll('image[href]');
    if (pictures?.length) {
      // Every picture the chart names (and a server-rendered chart's stylesheet) arrived: the
      // page's resource timing, what img.complete says of an <img>.
      const urls = new Set([...pictures].map((i) => new URL(i.getAttribute('href'), location).href.split('#')[0]));
      const sheet = el.shadowRoot.querySelector('link[rel=stylesheet]');
      if (sheet) urls.add(sheet.href);
      const arrived = new Set(performance.getEntriesByType('resource').map((e) => e.name.split('#')[0]));
      return [...urls].every((u) => arrived.has(u));
    }
    if (el) return false;
    return performance.getEntriesByName('peer:drawn').length > 0;
  };
  // The time is read before the check: nothing in the page changes while it runs, so the chart
  // was complete when it began, and the check's own work (a few ms of DOM and URL parsing for
  // the widget's eleven pictures, next to nothing for the peer's one mark) is the report's.
  const poll = () => {
    const now = performance.now();
    if (complete()) {
      globalThis.chartComplete = now;
      console.debug(COMPLETE);
    } else {
      setTimeout(poll, 2);
    }
  };
  poll();
}

// One visit in a fresh context with the cache off: { complete, drawn, requests: [paths] }.
async function visit(browser, server, path) {
  const context = await browser.newContext({ viewport: { width: 1200, height: 900 } });
  try {
    const tab = await context.newPage();
    const cdp = await context.newCDPSession(tab);
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    const requests = [];
    tab.on('request', (r) => requests.push(new URL(r.url()).pathname));
    await tab.addInitScript(watchForCompleteChart, COMPLETE);
    const complete = tab.waitForEvent('console', { predicate: (m) => m.text() === COMPLETE,
      timeout: 30000 });
    await tab.goto(server.url + path);
    await complete;
    // The first paint with content, as the browser times it (its entry may come later).
    const painted = await tab.evaluate(() => new Promise((resolve) => new PerformanceObserver((list, o) => {
      o.disconnect();
      resolve(list.getEntries()[0].startTime);
    }).observe({ type: 'paint', buffered: true })));
    const times = await tab.evaluate(() => ({
      complete: globalThis.chartComplete,
      drawn: performance.getEntriesByName('zodiac-chart:drawn')[0]?.startTime ??
        performance.getEntriesByName('peer:drawn')[0]?.startTime,
    }));
    return { ...times, painted, requests: [...requests] };
  } finally {
    await context.close();
    // The closed context's renderer winds down for some time after: the next visit waits for
    // it, so that no visit shares the two cores with the last one's teardown.
    await new Promise((ok) => setTimeout(ok, SETTLE_MS));
  }
}

async function sideBySide(server) {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', headless: true,
    args: CHROMIUM_ARGS });
  const runs = PAGES.map(() => []);
  try {
    for (let k = 0; k < VISITS; k++) {
      const order = PAGES.map((p, i) => i);
      if (k % 2) order.reverse();
      for (const i of order) runs[i].push(await visit(browser, server, PAGES[i].path));
    }
  } finally {
    await browser.close();
  }
  console.log(`\n| Page (same run, ${VISITS} visits each, alternating) | requests | raw | gzip | chart drawn | first paint | chart complete |`);
  console.log('|---|---:|---:|---:|---:|---:|---:|');
  PAGES.forEach((p, i) => {
    const paths = runs[i].at(-1).requests.filter((r) => r !== '/favicon.ico');
    const bytes = paths.map((r) => sizes(server.body(r) ?? Buffer.alloc(0)));
    const sum = (key) => bytes.reduce((s, b) => s + b[key], 0);
    const drawn = runs[i].map((r) => r.drawn).filter((t) => t !== undefined);
    const shown = !p.rendered ? (drawn.length ? spread(drawn, 'ms') : 'n/a') : 'in the HTML';
    console.log(`| ${p.name} | ${paths.length} | ${kb(sum('raw'))} | ${kb(sum('gzip'))} | ` +
      `${shown} | ${spread(runs[i].map((r) => r.painted), 'ms')} | ${spread(runs[i].map((r) => r.complete), 'ms')} |`);
  });
  const peer = median(runs[2].map((r) => r.complete));
  console.log(`\nChart complete against the peer's median: one tag ${(median(runs[0].map((r) => r.complete)) / peer).toFixed(2)}` +
    ` (goal 1), rendered by the server ${(median(runs[1].map((r) => r.complete)) / peer).toFixed(2)} (goal 0.5).`);
  console.log('\nTimes from navigation, median (range); drawn: the chart\'s DOM built; first paint: ' +
    'the browser\'s first contentful paint; complete: with every image loaded.');
}

// The start-up computation in the page: the widget's (both passes and the retrograde rule, in
// its WebAssembly module) and the peer's (its twenty longitudes), in µs: the fastest of many
// short batches after warm-up, so that a batch the busy machine did not interrupt counts.
async function computeTimes(server) {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', headless: true,
    args: CHROMIUM_ARGS });
  try {
    const tab = await browser.newPage();
    await tab.goto(`${server.url}/widget.html`);
    const wasm = await tab.evaluate(async () => {
      const { timeStartup } = await import('/widget/zodiac-chart.js');
      await timeStartup(4000);
      const batches = [];
      for (let k = 0; k < 60; k++) batches.push(await timeStartup(200));
      return Math.min(...batches);
    });
    await tab.goto(`${server.url}/peer.html`);
    await tab.waitForFunction(() => globalThis.peerPositions);
    const peer = await tab.evaluate(() => {
      const batch = (runs) => {
        const start = performance.now();
        for (let k = 0; k < runs; k++) globalThis.peerPositions(new Date(Date.UTC(2026, 11, 8, 14, 30)));
        return ((performance.now() - start) * 1000) / runs;
      };
      batch(200);
      return Math.min(...Array.from({ length: 30 }, () => batch(10)));
    });
    return { wasm, peer };
  } finally {
    await browser.close();
  }
}

// The native start-up computation (same instant, same steps) from the benchmark program: its
// processor time, which time slices given to other work do not inflate.
function nativeStartupMicros() {
  const bench = ['build-release', 'build-test'].map((dir) => join(ROOT, dir, 'bench', 'zodiac-bench'))
    .find((path) => existsSync(path));
  if (!bench) return null;
  const out = JSON.parse(execFileSync(bench, ['--benchmark_filter=^BM_Startup$',
    '--benchmark_repetitions=5', '--benchmark_format=json'], { encoding: 'utf8' }));
  const run = out.benchmarks.find((b) => b.aggregate_name === 'median');
  return run.cpu_time / (run.time_unit === 'ns' ? 1000 : 1);
}

async function screenshots() {
  const folder = join(dirname(BUNDLE), 'screenshots');
  mkdirSync(folder, { recursive: true });
  const server = await startServer();
  try {
    for (const scale of [1, 2]) {
      const browser = await launch({ deviceScaleFactor: scale, timezoneId: 'Asia/Riyadh', locale: 'ar-SA' });
      const tab = await browser.context.newPage();
      await tab.clock.setFixedTime(new Date('2024-04-12T12:00Z'));
      await tab.goto(server.url);
      await tab.locator('#chart-2000 [part=label]').filter({ hasNotText: 'Label1' }).waitFor();
      await tab.screenshot({ path: join(folder, `demo-${scale}x.png`), fullPage: true });
      await tab.locator('#chart-now').getByRole('button', { name: 'برج الأسد' }).click();
      await tab.getByRole('dialog').waitFor();
      await tab.screenshot({ path: join(folder, `demo-analysis-${scale}x.png`) });
      await browser.close();
    }
  } finally {
    await server.close();
  }
  return folder;
}

const peerFolder = mkdtempSync(join(tmpdir(), 'zodiac-chart-peer-'));
await buildPeer(peerFolder);
const server = await servePages(peerFolder);
try {
  console.log(`Web component size and speed (machine load average ${loadavg()[0].toFixed(1)} on ` +
    `the 2 cores at the start)`);
  printSizes(widgetSizes());
  await sideBySide(server);
  const compute = await computeTimes(server);
  const native = nativeStartupMicros();
  console.log(`\nStart-up computation in the page: WebAssembly ${compute.wasm.toFixed(1)} µs, ` +
    `the peer's astronomy-engine ${compute.peer.toFixed(0)} µs; native ` +
    (native === null ? 'n/a (no zodiac-bench in build-release or build-test)'
      : `${native.toFixed(1)} µs, ratio WebAssembly / native ${(compute.wasm / native).toFixed(2)} (goal 1.2)`));
  console.log(`Screenshots: ${await screenshots()}`);
} finally {
  await server.close();
  rmSync(peerFolder, { recursive: true, force: true });
}
