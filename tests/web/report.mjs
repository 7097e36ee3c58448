// Size and speed of the web component, measured and printed, never asserted: every file the
// page loads for the widget (raw and gzip), the time from navigation to the first chart drawn
// in headless Chromium, and the start-up computation in the page's WebAssembly beside the
// native build's figure from the same run. Also saves screenshots of the demo (1x and 2x)
// under the build folder.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync } from 'node:fs';
import { loadavg } from 'node:os';
import { dirname, join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { BUNDLE, ROOT, launch, startServer } from './harness.mjs';

const RUNS = 7;
const WIDGET_FILES = ['zodiac-chart.js', 'zodiac-chart-core.mjs', 'zodiac-chart-core.wasm',
  'background.svg', ...Array.from({ length: 10 }, (_, k) => `glyph-${k}.svg`), 'hand.svg'];
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

function sizeReport() {
  const rows = WIDGET_FILES.map((name) => {
    const body = readFileSync(join(BUNDLE, name));
    return { name, raw: body.length, gzip: gzipSync(body, { level: 9 }).length };
  });
  const artwork = rows.filter((r) => r.name.endsWith('.svg'));
  const shown = [...rows.filter((r) => !r.name.endsWith('.svg')),
    { name: `artwork (${artwork.length} SVG files)`, raw: artwork.reduce((s, r) => s + r.raw, 0),
      gzip: artwork.reduce((s, r) => s + r.gzip, 0) }];
  const total = { raw: rows.reduce((s, r) => s + r.raw, 0), gzip: rows.reduce((s, r) => s + r.gzip, 0) };
  console.log('Web component: what the page loads for the widget');
  for (const r of shown) console.log(`  ${r.name.padEnd(28)} ${kb(r.raw).padStart(10)} ${kb(r.gzip).padStart(10)} gzip`);
  console.log(`  ${'total'.padEnd(28)} ${kb(total.raw).padStart(10)} ${kb(total.gzip).padStart(10)} gzip` +
    '   (goal 100 KB gzip, stretch 60)');
}

// Medians over RUNS visits, each in a new tab of one running browser: navigation to the
// first chart drawn and to the module ready; then the WebAssembly start-up computation.
async function pageTimes(server) {
  const drawn = [], ready = [], wasm = [];
  const browser = await launch();
  for (let k = 0; k < RUNS; k++) {
    const page = await browser.context.newPage();
    await page.goto(server.url);
    await page.waitForFunction(() => performance.getEntriesByName('zodiac-chart:drawn').length > 0);
    const marks = await page.evaluate(() => ({
      drawn: performance.getEntriesByName('zodiac-chart:drawn')[0].startTime,
      ready: performance.getEntriesByName('zodiac-chart:module-ready')[0].startTime,
    }));
    drawn.push(marks.drawn);
    ready.push(marks.ready);
    // After one warm-up round, so the engine's optimising tier runs the code.
    wasm.push(await page.evaluate(async () => {
      const { timeStartup } = await import('/zodiac-chart.js');
      const rounds = [];
      for (let j = 0; j < 4; j++) rounds.push(await timeStartup(2000));
      return rounds.slice(1).sort((a, b) => a - b)[1];
    }));
    await page.close();
  }
  await browser.close();
  return { drawn: median(drawn), ready: median(ready), wasm: median(wasm) };
}

// The native start-up computation (same instant, same steps) from the benchmark program.
function nativeStartupMicros() {
  const bench = ['build-release', 'build-test'].map((dir) => join(ROOT, dir, 'bench', 'zodiac-bench'))
    .find((path) => existsSync(path));
  if (!bench) return null;
  const out = JSON.parse(execFileSync(bench, ['--benchmark_filter=^BM_Startup$',
    '--benchmark_repetitions=5', '--benchmark_format=json'], { encoding: 'utf8' }));
  const run = out.benchmarks.find((b) => b.aggregate_name === 'median');
  return run.real_time / (run.time_unit === 'ns' ? 1000 : 1);
}

async function screenshots(server) {
  const folder = join(dirname(BUNDLE), 'screenshots');
  mkdirSync(folder, { recursive: true });
  for (const scale of [1, 2]) {
    const browser = await launch({ deviceScaleFactor: scale, timezoneId: 'Asia/Riyadh', locale: 'ar-SA' });
    const page = await browser.context.newPage();
    await page.clock.setFixedTime(new Date('2024-04-12T12:00Z'));
    await page.goto(server.url);
    await page.locator('#chart-2000 [part=label]').filter({ hasNotText: 'Label1' }).waitFor();
    await page.screenshot({ path: join(folder, `demo-${scale}x.png`), fullPage: true });
    await page.locator('#chart-now').getByRole('button', { name: 'برج الأسد' }).click();
    await page.getByRole('dialog').waitFor();
    await page.screenshot({ path: join(folder, `demo-analysis-${scale}x.png`) });
    await browser.close();
  }
  return folder;
}

const server = await startServer();
try {
  sizeReport();
  const t = await pageTimes(server);
  const native = nativeStartupMicros();
  console.log(`Navigation to the first chart drawn: ${t.drawn.toFixed(0)} ms (module ready at ` +
    `${t.ready.toFixed(0)} ms; median of ${RUNS} visits; goal 150 ms; machine load average ` +
    `${loadavg()[0].toFixed(1)} on the 2 cores)`);
  console.log(`Start-up computation: WebAssembly ${t.wasm.toFixed(1)} µs, native ` +
    (native === null ? 'n/a (no zodiac-bench in build-release or build-test)'
      : `${native.toFixed(1)} µs, ratio ${(t.wasm / native).toFixed(2)} (goal 1.2)`));
  console.log(`Screenshots: ${await screenshots(server)}`);
} finally {
  await server.close();
}
