// The npm package as a site with a bundler uses it: the tarball that scripts/build-web packs is
// installed into an empty project, a page that imports 'zodiac-chart' by name is bundled with
// esbuild (the package's .wasm and artwork copied beside the bundle, as the README says) and
// served under the strict CSP. The chart must appear with the command line's sky, and the
// package's custom elements manifest and types must describe the element that runs.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { after, before, test } from 'node:test';
import { build } from 'esbuild';
import { BUNDLE, CLI, cli, launch, startServer, watch } from './harness.mjs';

const AT = '2000-01-01T12:00Z';
const GAP = '1582-10-10T12:00Z'; // in the ten days of the calendar reform: a message box

let project;
let site;
let installed;
before(async () => {
  const { version } = JSON.parse(readFileSync(join(BUNDLE, 'package.json'), 'utf8'));
  const tarball = join(dirname(BUNDLE), `zodiac-chart-${version}.tgz`);
  project = mkdtempSync(join(tmpdir(), 'zodiac-chart-site-'));
  writeFileSync(join(project, 'package.json'), '{ "name": "a-site", "private": true, "type": "module" }\n');
  execFileSync('npm', ['install', tarball, '--no-audit', '--no-fund', '--loglevel=error'],
    { cwd: project, stdio: ['ignore', 'ignore', 'inherit'] });
  installed = join(project, 'node_modules', 'zodiac-chart');

  writeFileSync(join(project, 'main.js'),
    "import { ActiveX_Ctl } from 'zodiac-chart';\nglobalThis.imported = ActiveX_Ctl;\n");
  site = join(project, 'site');
  mkdirSync(site);
  await build({ entryPoints: [join(project, 'main.js')], bundle: true, minify: true, format: 'esm',
    outfile: join(site, 'main.js'), absWorkingDir: project, logLevel: 'warning' });
  const { files } = JSON.parse(readFileSync(join(installed, 'package.json'), 'utf8'));
  for (const name of files.filter((f) => /\.(wasm|svg|css)$/.test(f)))
    copyFileSync(join(installed, name), join(site, name));
  writeFileSync(join(site, 'index.html'), `<!doctype html><html lang="en"><meta charset="utf-8">
<title>A site</title><link rel="icon" href="artwork.svg#glyph-0"><script type="module" src="main.js"></script>
<zodiac-chart id="chart" at="${AT}"></zodiac-chart><zodiac-chart id="gap" at="${GAP}"></zodiac-chart>
</html>\n`);
});
after(() => rmSync(project, { recursive: true, force: true }));

test('the package\'s manifest names the element, its module, types and files', () => {
  const manifest = JSON.parse(readFileSync(join(installed, 'package.json'), 'utf8'));
  assert.equal(manifest.name, 'zodiac-chart');
  assert.equal(manifest.type, 'module');
  assert.deepEqual(manifest.exports['.'], { types: './zodiac-chart.d.ts', default: './zodiac-chart.js' });
  assert.deepEqual(manifest.exports['./server'], { types: './server.d.ts', default: './server.js' });
  assert.equal(manifest.customElements, 'custom-elements.json');
  const packed = execFileSync('tar', ['tzf', join(dirname(BUNDLE), `zodiac-chart-${manifest.version}.tgz`)],
    { encoding: 'utf8' }).trim().split('\n').map((p) => p.replace(/^package\//, '')).sort();
  assert.deepEqual(packed, [...manifest.files, 'package.json'].sort());
});

// What a server-side framework does with the package: both entries imported in plain Node
// (no DOM), with fetch, timers and the DOM's globals watched; the process must then end by
// itself, and renderChart must give the command line's fragment byte for byte.
test('in plain Node the imports do nothing, and renderChart writes render --html\'s fragment', async () => {
  const script = `
    const touched = [];
    globalThis.fetch = () => { touched.push('fetch'); return new Promise(() => {}); };
    for (const name of ['setTimeout', 'setInterval', 'queueMicrotask'])
      globalThis[name] = ((f) => (...a) => { touched.push(name); return f(...a); })(globalThis[name]);
    const element = await import('zodiac-chart');
    const server = await import('zodiac-chart/server');
    const defined = typeof element.ActiveX_Ctl === 'function' && typeof server.renderChart === 'function';
    console.log(JSON.stringify({ touched, defined }));
    const charts = [];
    for (const options of JSON.parse(process.argv[1]))
      charts.push(await server.renderChart(options).catch((e) => 'refused: ' + e.message));
    console.log(JSON.stringify(charts));`;
  const rows = [{ at: AT, base: '/zc/' }, { at: '1990-06-15T08:30+03:00' }, { at: GAP }, { at: 'noon' }];
  const [imported, charts] = execFileSync('node', ['--input-type=module', '-e', script, JSON.stringify(rows)],
    { cwd: project, encoding: 'utf8', timeout: 20000 }).trim().split('\n').map((l) => JSON.parse(l));
  assert.deepEqual(imported, { touched: [], defined: true });
  const command = (o) => ['render', '--html', '--at', o.at, ...(o.base ? ['--base', o.base] : [])];
  assert.equal(charts[0], execFileSync(CLI, command(rows[0]), { encoding: 'utf8' }).trimEnd());
  assert.equal(charts[1], execFileSync(CLI, command(rows[1]), { encoding: 'utf8' }).trimEnd());
  assert.match(charts[0], /^<zodiac-chart at="2000-01-01T12:00Z"><template shadowrootmode="open"><link rel="stylesheet" href="\/zc\/zodiac-chart.css">/);
  assert.match(charts[2], /^refused: /);
  assert.match(charts[3], /^refused: /);
});

test('a bundled page that imports the package by name shows the chart under the strict CSP', async () => {
  const server = await startServer(site);
  const browser = await launch();
  try {
    const page = await browser.context.newPage();
    const seen = await watch(page);
    await page.goto(server.url);
    const chart = page.locator('#chart');
    await chart.locator('[part=label]').filter({ hasText: /\d/ }).waitFor();
    const tooltips = cli('positions', '--at', AT).bodies.map((b) => b.tooltip);
    const shown = await chart.evaluate(async (el) => {
      // Every picture the chart names decodes (each address as an image of its own).
      const pictures = new Set([...el.shadowRoot.querySelectorAll('image[href]')]
        .map((i) => new URL(i.getAttribute('href'), location).href.split('#')[0]));
      const decoded = await Promise.all([...pictures].map((src) => Object.assign(new Image(), { src })
        .decode().then(() => true, () => false)));
      return {
        sameClass: customElements.get('zodiac-chart') === globalThis.imported,
        loaded: decoded.length >= 2 && decoded.every(Boolean),
        glyphs: [...el.shadowRoot.querySelectorAll('[part=glyph]')]
          .map((g) => g.querySelector('title').textContent),
      };
    });
    assert.deepEqual(shown, { sameClass: true, loaded: true, glyphs: tooltips });

    // What the custom elements manifest and the types declare is there.
    const manifest = JSON.parse(readFileSync(join(installed, 'custom-elements.json'), 'utf8'));
    const element = manifest.modules[0].declarations[0];
    const types = readFileSync(join(installed, 'zodiac-chart.d.ts'), 'utf8');
    assert.equal(element.tagName, 'zodiac-chart');
    assert.match(types, new RegExp(`class ${element.name} extends HTMLElement`));
    assert.match(types, new RegExp(`'${element.tagName}': ${element.name};`));
    for (const method of element.members.filter((m) => m.kind === 'method')) {
      assert.equal(await chart.evaluate((el, name) => typeof el[name], method.name), 'function', method.name);
      assert.match(types, new RegExp(`${method.name}\\(\\): void;`));
    }
    for (const event of element.events) assert.match(types, new RegExp(`${event.name}: `), event.name);
    // The parts, with the calendar gap's message box and then an analysis window open.
    const parts = new Set();
    const notePartsShown = async () => {
      for (const part of element.cssParts)
        if (await page.locator(`[part=${part.name}]:visible`).count() > 0) parts.add(part.name);
    };
    const box = page.getByRole('alertdialog');
    await box.waitFor();
    await notePartsShown();
    await box.getByRole('button', { name: 'موافق' }).click();
    await chart.getByRole('button', { name: 'برج الأسد' }).click();
    await page.getByRole('dialog').waitFor();
    await notePartsShown();
    assert.deepEqual([...parts].sort(), element.cssParts.map((p) => p.name).sort());
    assert.deepEqual(seen.problems, []);
  } finally {
    await browser.close();
    await server.close();
  }
});
