// The checks that matter most on a visitor's phone, in the three engines Debian ships: Chromium
// (playwright-core), Firefox ESR (puppeteer-core over WebDriver BiDi) and WebKitGTK, Safari's
// engine (WebKitWebDriver and selenium-webdriver, on an Xvfb display of its own). Each engine
// gets the same pages under the strict CSP: a one-tag chart at a fixed instant, the
// server-rendered chart in a page with no script and in one that loads the element, and the
// analysis window by keyboard alone. Screenshots go to build-web/screenshots/.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { cpSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import puppeteer from 'puppeteer-core';
import { Builder, Key } from 'selenium-webdriver';
import { BUNDLE, CLI, ROOT, cli, launch, startServer } from './harness.mjs';

const AT = '2024-04-12T12:00Z'; // Mercury retrograde: a glyph's name carries the mark
const LEO = 'برج الأسد';
const SHOTS = join(ROOT, 'build-web', 'screenshots');
const LAUNCH_MS = 120_000;

let site;
let server;
before(async () => {
  site = mkdtempSync(join(tmpdir(), 'zodiac-chart-engines-'));
  cpSync(BUNDLE, site, { recursive: true });
  // Problems a visitor never sees are kept for the test: CSP violations and uncaught errors.
  writeFileSync(join(site, 'watch.js'), `globalThis.seen = [];
for (const type of ['securitypolicyviolation', 'error', 'unhandledrejection'])
  addEventListener(type, (e) => seen.push(type + ': ' + (e.violatedDirective ?? e.message ?? e.reason
    ?? e.target?.outerHTML?.slice(0, 100))), true);\n`);
  const fragment = execFileSync(CLI, ['render', '--html', '--at', AT], { encoding: 'utf8' });
  const page = (script, body) => `<!doctype html><html lang="ar" dir="rtl"><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1"><title>خريطة</title>
<link rel="icon" href="artwork.svg#glyph-0" type="image/svg+xml"><script src="watch.js"></script>
${script ? '<script type="module" src="zodiac-chart.js"></script>' : ''}<main>${body}</main></html>\n`;
  writeFileSync(join(site, 'one.html'), page(true, `<zodiac-chart at="${AT}"></zodiac-chart>`));
  writeFileSync(join(site, 'plain.html'), page(false, fragment));
  writeFileSync(join(site, 'taken.html'), page(true, fragment));
  mkdirSync(SHOTS, { recursive: true });
  server = await startServer(site);
});
after(async () => {
  await server?.close();
  if (site) rmSync(site, { recursive: true, force: true });
});

// An engine: open(url), run(fn, arg) in the page, key(name, shift), shot(file), close().
const ENGINES = {
  async chromium() {
    const browser = await launch({ viewport: { width: 1000, height: 800 } });
    const page = await browser.context.newPage().catch(async (e) => { await browser.close(); throw e; });
    return {
      open: (url) => page.goto(url),
      run: (fn, arg) => page.evaluate(fn, arg),
      key: (name, shift) => page.keyboard.press(shift ? `Shift+${name}` : name),
      shot: (file) => page.screenshot({ path: file }),
      close: () => browser.close(),
    };
  },

  async firefox() {
    const browser = await puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
      headless: true, timeout: LAUNCH_MS, protocolTimeout: LAUNCH_MS,
      defaultViewport: { width: 1000, height: 800 } });
    const page = await browser.newPage().catch(async (e) => { await browser.close(); throw e; });
    return {
      open: (url) => page.goto(url),
      run: (fn, arg) => page.evaluate(fn, arg),
      async key(name, shift) {
        if (shift) await page.keyboard.down('Shift');
        await page.keyboard.press(name);
        if (shift) await page.keyboard.up('Shift');
      },
      shot: (file) => page.screenshot({ path: file }),
      close: () => browser.close(),
    };
  },

  async webkit() {
    const stop = [];
    const close = async () => { for (const f of stop.reverse()) await f(); };
    try {
      const display = await startXvfb(stop);
      const port = await freePort();
      const driver = spawn('WebKitWebDriver', [`--port=${port}`],
        { stdio: 'ignore', env: { ...process.env, DISPLAY: display } });
      stop.push(() => void driver.kill());
      await untilAnswers(`http://127.0.0.1:${port}/status`);
      const session = await new Builder().usingServer(`http://127.0.0.1:${port}`)
        .withCapabilities({ browserName: 'MiniBrowser', 'webkitgtk:browserOptions': {
          binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'] } })
        .build();
      stop.push(() => session.quit());
      await session.manage().setTimeouts({ script: LAUNCH_MS, pageLoad: LAUNCH_MS });
      await session.manage().window().setRect({ width: 1000, height: 800 });
      const keys = { Tab: Key.TAB, Enter: Key.ENTER, Escape: Key.ESCAPE };
      return {
        open: (url) => session.get(url),
        run: (fn, arg) => session.executeScript(`return (${fn})(arguments[0])`, arg),
        key: (name, shift) => (shift
          ? session.actions().keyDown(Key.SHIFT).sendKeys(keys[name]).keyUp(Key.SHIFT)
          : session.actions().sendKeys(keys[name])).perform(),
        shot: async (file) => writeFileSync(file, await session.takeScreenshot(), 'base64'),
        close,
      };
    } catch (e) {
      await close();
      throw e;
    }
  },
};

// An X server on a free display (it writes the number it took to fd 3).
async function startXvfb(stop) {
  const x = spawn('Xvfb', ['-displayfd', '3', '-nolisten', 'tcp', '-screen', '0', '1280x1024x24'],
    { stdio: ['ignore', 'ignore', 'inherit', 'pipe'] });
  stop.push(() => void x.kill());
  return new Promise((ok, fail) => {
    x.once('error', fail);
    x.once('exit', (code) => fail(new Error(`Xvfb exited with ${code}`)));
    x.stdio[3].once('data', (chunk) => ok(`:${String(chunk).trim()}`));
  });
}

function freePort() {
  return new Promise((ok, fail) => {
    const s = createServer().once('error', fail).listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => ok(port));
    });
  });
}

// Polls until check() gives something truthy, which it returns; fails with `what` after a minute.
async function until(check, what) {
  const end = Date.now() + 60_000;
  for (let last = '';;) {
    const value = await check().catch((e) => void (last = ` (${e.message})`));
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out: ${what}${last}`);
    await new Promise((tick) => setTimeout(tick, 100));
  }
}

const untilAnswers = (url) => until(() => fetch(url).then((r) => r.ok), `${url} answers`);

const spaced = (text) => text.replace(/\s+/g, ' ').trim();
const bodies = () => cli('positions', '--at', AT).bodies;
const glyphName = (body) => spaced(body.tooltip) + (body.retro ? '، متراجع' : '');

// What the chart shows, read in the page: its glyphs' names and tooltips in document order, its
// sign labels, whether every picture has loaded, its aspect description; the page's problems.
function chartSeen() {
  const root = document.querySelector('zodiac-chart').shadowRoot;
  if (!root) return null;
  const signs = [...root.querySelectorAll('[part=sign-label]')];
  // Every picture the chart names has arrived (the page's resource timing).
  const arrived = new Set(performance.getEntriesByType('resource').map((e) => e.name.split('#')[0]));
  const pictures = [...root.querySelectorAll('image[href]')]
    .map((i) => new URL(i.getAttribute('href'), location).href.split('#')[0]);
  return {
    glyphs: [...root.querySelectorAll('[part=glyph]')]
      .map((g) => [g.getAttribute('aria-label'), g.querySelector('title')?.textContent]),
    signs: signs.map((s) => s.textContent.trim()),
    buttons: signs.filter((s) => s.getAttribute('role') === 'button').length,
    loaded: document.readyState === 'complete' && pictures.length > 0 && pictures.every((u) => arrived.has(u)),
    described: root.querySelector('#chart-aspects')?.textContent ?? '',
    problems: globalThis.seen,
  };
}

// The focused element through the shadow roots, and the open analysis window's text.
function focusSeen() {
  let e = document.activeElement;
  while (e?.shadowRoot?.activeElement) e = e.shadowRoot.activeElement;
  const dialog = [...document.body.children].map((c) => c.shadowRoot?.querySelector('dialog'))
    .find((d) => d?.open);
  return { focused: e?.getAttribute('aria-label') ?? e?.textContent.trim(),
    window: dialog ? dialog.querySelector('textarea').value : null };
}

// Opens Leo's window by a click, closes it by its button and at once opens it again by an Enter
// keydown; whether it is still open a few tasks later.
async function reopenAtOnce() {
  const leo = document.querySelector('zodiac-chart').shadowRoot.querySelectorAll('[role=button]')[4];
  const dialog = () => [...document.body.children].map((c) => c.shadowRoot?.querySelector('dialog'))
    .find(Boolean);
  const enter = () => leo.dispatchEvent(new KeyboardEvent('keydown', { key: 'Enter', bubbles: true }));
  enter();
  dialog().querySelector('button').click();
  enter();
  for (let k = 0; k < 3; k++) await new Promise((task) => setTimeout(task, 0));
  return dialog().open;
}

function assertChart(seen) {
  const expected = bodies();
  const names = seen.glyphs.map(([alt]) => spaced(alt));
  assert.deepEqual(names, expected.map(glyphName));
  const titles = seen.glyphs.map(([, title]) => title);
  assert.deepEqual(titles, expected.map((b) => b.tooltip));
  assert.equal(seen.signs.length, 12);
  assert.ok(seen.signs.includes(LEO));
  assert.match(seen.described, /^خطوط المظاهر المرسومة: /);
  assert.deepEqual(seen.problems, []);
}

// ZC_ENGINES=firefox,webkit runs only those.
const chosen = process.env.ZC_ENGINES?.split(',') ?? Object.keys(ENGINES);
for (const [name, start] of Object.entries(ENGINES).filter(([n]) => chosen.includes(n))) {
  describe(name, () => {
    let engine;
    const open = async (file) => {
      await engine.open(`${new URL(file, server.url)}`);
      return until(() => engine.run(chartSeen).then((s) => s?.loaded && s), `${file} drawn`);
    };
    const shot = (what) => engine.shot(join(SHOTS, `${name}-${what}.png`));
    before(async () => { engine = await start(); }, { timeout: LAUNCH_MS });
    after(async () => { await engine?.close(); });

    test('a one-tag chart at a fixed instant names its glyphs as the command line does', async () => {
      await open('one.html');
      const seen = await until(() => engine.run(chartSeen).then((s) => s.glyphs.length > 0
        && s.glyphs.every(([alt]) => alt) && s),
        'glyphs named');
      assertChart(seen);
      assert.equal(seen.buttons, 12);
      await shot('one-tag');
    });

    test('the server-rendered chart is complete with no script; its sign labels are text', async () => {
      const seen = await open('plain.html');
      assertChart(seen);
      assert.equal(seen.buttons, 0);
      await shot('server-rendered');
    });

    test('the element takes the server-rendered chart over; the window by keyboard alone', async () => {
      await open('taken.html');
      const seen = await until(() => engine.run(chartSeen).then((s) => s.buttons === 12 && s),
        'sign labels become buttons');
      assertChart(seen);
      await shot('taken-over');
      const focus = () => engine.run(focusSeen);
      for (let k = 0; k < 30 && (await focus()).focused !== LEO; k++) await engine.key('Tab');
      assert.equal((await focus()).focused, LEO);
      const text = spaced(cli('analysis', '--sign', '4', '--at', AT).text);
      for (const close of ['Escape', 'close button']) {
        await engine.key('Enter');
        const opened = await until(() => focus().then((f) => f.window && f), `the window opens (${close})`);
        assert.equal(spaced(opened.window), text);
        if (close === 'Escape') {
          await shot('window');
          await engine.key('Escape');
        } else {
          await engine.key('Tab', true); // from the text box back to the close button
          assert.equal((await focus()).focused, 'إغلاق');
          await engine.key('Enter');
        }
        const closed = await until(() => focus().then((f) => f.window === null && f), 'the window closes');
        assert.equal(closed.focused, LEO, close);
      }
      // Closed and opened again within one task: the closing's late `close` event must not
      // close the new window (it did, when a quick Enter followed Escape).
      assert.equal(await engine.run(reopenAtOnce), true);
      await engine.key('Escape');
      assert.deepEqual((await engine.run(chartSeen)).problems, []);
    });
  });
}
