// What a visitor gets from the demo page in headless Chromium, with the clock frozen and the
// time zone fixed: the sky and the analyses the command line computes for the same instant,
// the window's mouse and keyboard handling, several elements on one page; all
// under the strict CSP with no error, failed request or violation.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { cli, launch, startServer, watch } from './harness.mjs';

const NOW = '2024-04-12T12:00Z'; // Mercury retrograde: the chart carries a mark
const ZONE = 'Asia/Riyadh'; // UTC+3 all year
const LOCALE = 'en-GB';
const PX = 15; // twips to a CSS pixel
const CAPTIONS = ['برج الحمل', 'برج الثور', 'برج الجوزاء', 'برج السرطان', 'برج الأسد',
  'برج السنبلة', 'برج الميزان', 'برج العقرب', 'برج القوس', 'برج الجدي', 'برج الدالي', 'برج الحوت'];

let server;
let browser;
before(async () => {
  server = await startServer();
  browser = await launch({ timezoneId: ZONE, locale: LOCALE });
});
after(async () => {
  await browser?.close();
  await server?.close();
});

async function openDemo() {
  const page = await browser.context.newPage();
  const seen = await watch(page);
  await page.clock.setFixedTime(new Date(NOW));
  await page.goto(server.url);
  // Started when the date label no longer shows its design caption, and every chart the
  // server rendered taken over: no chart changes its tree under a test's keys or clicks.
  await page.locator('#chart-now [part=label]').filter({ hasNotText: 'Label1' }).waitFor();
  await page.waitForFunction(() => [...document.querySelectorAll('zodiac-chart')]
    .every((el) => el.shadowRoot?.querySelector('[part=label]')));
  return { page, seen };
}

// The accessible names of the chart's images, in document order (BodyIndex order).
async function glyphNames(chart) {
  const tree = await chart.ariaSnapshot();
  return [...tree.matchAll(/^\s*- img "(.*)"/gm)].map((m) => m[1]);
}

const spaced = (text) => text.replace(/\s+/g, ' ').trim();
// A glyph's accessible name: its tooltip, and whether it is retrograde.
const glyphName = (body) => spaced(body.tooltip) + (body.retro ? '، متراجع' : '');
const windowText = (sign, at = NOW) => cli('analysis', '--sign', String(sign), '--at', at).text;

test('the chart shows the frozen instant\'s sky with the command line\'s tooltips', async () => {
  const { page, seen } = await openDemo();
  const chart = page.locator('#chart-now');
  const bodies = cli('positions', '--at', NOW).bodies;
  const tooltips = bodies.map((b) => b.tooltip);
  assert.deepEqual(await glyphNames(chart), bodies.map(glyphName));
  const glyphs = chart.locator('[part=glyph]');
  for (const [k, tooltip] of tooltips.entries())
    assert.equal(await glyphs.nth(k).evaluate((g) => g.querySelector('title').textContent), tooltip);

  const seenByPointer = await chart.evaluate((el) => {
    const box = el.getBoundingClientRect();
    const at = (x, y) => el.shadowRoot.elementFromPoint(box.left + x, box.top + y);
    const leo = el.shadowRoot.querySelectorAll('[role=button]')[4];
    // The tooltip the browser shows: the nearest title, the element's or an ancestor's.
    const tooltip = (e) => e.closest(':has(> title)').querySelector(':scope > title').textContent;
    return {
      surface: tooltip(at(6, 440)), // the lower left corner: nothing but the surface
      sign: tooltip(leo),
      cursor: getComputedStyle(leo).cursor,
      date: el.shadowRoot.querySelector('[part=label]').textContent,
      marks: [...el.shadowRoot.querySelectorAll('.layer text')].map((t) => t.textContent),
    };
  });
  assert.equal(seenByPointer.surface, 'مرّر الفأرة فوق الكواكب لتحصل على طولها بالدرج');
  assert.equal(seenByPointer.sign, 'أنقر هنا لتحصل على توقعاتك المنتظرة');
  assert.match(seenByPointer.cursor, /hand\.svg/);
  assert.equal(seenByPointer.date, '12/04/2024, 15:00:00'); // the visitor's zone and format
  assert.deepEqual(seenByPointer.marks, ['(ع)']);

  // A new host size redraws in place: nothing moves or scales.
  // Boxes of the glyphs and labels relative to the host's top left corner.
  const places = () => chart.evaluate((el) => {
    const host = el.getBoundingClientRect();
    return [...el.shadowRoot.querySelectorAll('[part=glyph], [part$=label]')].map((g) => {
      const r = g.getBoundingClientRect();
      return [r.left - host.left, r.top - host.top, r.width, r.height];
    });
  });
  const before = await places();
  const lines = await chart.evaluate((el) => el.shadowRoot.querySelectorAll('line').length);
  // Wider than its container: the page lifts the element's max-width of 100 % too.
  await chart.evaluate((el) => Object.assign(el.style, { width: '700px', maxWidth: 'none' }));
  await page.waitForFunction(() => document.querySelector('#chart-now').offsetWidth === 700);
  // Two frames: the resize observer reports after the first one's layout.
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
  const afterResize = await places();
  assert.deepEqual(afterResize, before);
  assert.equal(await chart.evaluate((el) => el.shadowRoot.querySelectorAll('line').length), lines);

  // Nor does any page direction or page CSS change it.
  await page.evaluate(() => {
    const hostile = new CSSStyleSheet();
    hostile.replaceSync(`html { direction: ltr; }
      zodiac-chart { font: italic 40px serif; line-height: 5; letter-spacing: 4px;
        word-spacing: 9px; text-transform: uppercase; text-align: left; writing-mode: horizontal-tb;
        white-space: pre; color: red; }`);
    document.documentElement.dir = 'ltr';
    document.adoptedStyleSheets = [hostile];
  });
  assert.deepEqual(await places(), before);
  assert.deepEqual(seen.problems, []);
});

test('each sign label opens the window with the command line\'s analysis', async () => {
  const { page, seen } = await openDemo();
  const chart = page.locator('#chart-now');
  for (const [sign, caption] of CAPTIONS.entries()) {
    // Any mouse button opens it.
    await chart.getByRole('button', { name: caption }).click({ button: sign % 3 ? 'left' : 'right' });
    const dialog = page.getByRole('dialog', { name: caption });
    await dialog.waitFor();
    assert.equal(await dialog.getByRole('textbox').inputValue(),
      windowText(sign).replaceAll('\r\n', '\n'), caption);
    // Closed by its button, the focus goes back to the label that opened it.
    await dialog.getByRole('button', { name: 'إغلاق' }).click();
    await dialog.waitFor({ state: 'hidden' });
    assert.equal(await chart.evaluate((el) => el.shadowRoot.activeElement?.textContent), caption);
  }
  assert.deepEqual(seen.problems, []);
});

test('the window is dragged by its uncovered strip only, with any button', async () => {
  const { page, seen } = await openDemo();
  await page.locator('#chart-now').getByRole('button', { name: CAPTIONS[4] }).click();
  const dialog = page.getByRole('dialog', { name: CAPTIONS[4] });
  await dialog.waitFor();
  const cases = [ // press point in twips of the client area
    { what: 'strip', x: 8700, y: 2000, button: 'left', moves: true },
    { what: 'strip, right button', x: 8600, y: 3000, button: 'right', moves: true },
    { what: 'text box', x: 4000, y: 1500, button: 'left', moves: false },
    { what: 'credits label', x: 4000, y: 5000, button: 'left', moves: false },
    { what: 'close button', x: 8640, y: 120, button: 'left', moves: false },
  ];
  for (const c of cases) {
    const box = await dialog.boundingBox();
    const frame = (box.width - 8850 / PX) / 2;
    const [x, y] = [box.x + frame + c.x / PX, box.y + frame + c.y / PX];
    const [dx, dy] = [-37, 23];
    await page.mouse.move(x, y);
    await page.mouse.down({ button: c.button });
    await page.mouse.move(x + dx, y + dy, { steps: 4 });
    await page.mouse.up({ button: c.button });
    const moved = await dialog.boundingBox();
    const expected = c.moves ? { x: box.x + dx, y: box.y + dy } : { x: box.x, y: box.y };
    assert.deepEqual({ x: moved.x, y: moved.y }, expected, c.what);
    assert.ok(await dialog.isVisible(), c.what);
  }
  assert.deepEqual(seen.problems, []);
});

test('the keyboard opens a sign, Escape closes it, and the focus returns', async () => {
  const { page, seen } = await openDemo();
  const chart = page.locator('#chart-now');
  const focused = () => chart.evaluate((el) => el.shadowRoot.activeElement?.textContent ?? null);
  await page.keyboard.press('Tab');
  assert.equal(await focused(), CAPTIONS[0]); // the labels in sign order
  for (let k = 0; k < 3; k++) await page.keyboard.press('Tab');
  assert.equal(await focused(), CAPTIONS[3]);
  for (const key of ['Enter', 'Space']) {
    await page.keyboard.press(key);
    const dialog = page.getByRole('dialog', { name: CAPTIONS[3] });
    await dialog.waitFor();
    assert.equal(await dialog.getByRole('textbox').evaluate((t) => t === document.activeElement
      || t.getRootNode().activeElement === t), true, key);
    await page.keyboard.press('Escape');
    await dialog.waitFor({ state: 'hidden' });
    assert.equal(await focused(), CAPTIONS[3], key);
  }
  assert.deepEqual(seen.problems, []);
});

test('elements share one module; one with `at` shows its own sky and leaves the clock\'s alone', async () => {
  const { page, seen } = await openDemo();
  const now = page.locator('#chart-now');
  const y2000 = page.locator('#chart-2000');
  const sky = (at) => cli('positions', '--at', at).bodies.map(glyphName);
  await y2000.locator('[part=label]').filter({ hasNotText: 'Label1' }).waitFor();
  assert.deepEqual(await glyphNames(now), sky(NOW));
  assert.deepEqual(await glyphNames(y2000), sky('2000-01-01T12:00Z'));

  // A third element starts later; then every element redraws.
  await page.evaluate(() => {
    const late = document.createElement('zodiac-chart');
    late.id = 'chart-2030';
    late.setAttribute('at', '2030-06-01T00:00Z');
    document.body.append(late);
  });
  const late = page.locator('#chart-2030');
  await late.locator('[part=label]').filter({ hasNotText: 'Label1' }).waitFor();
  await page.evaluate(() => {
    for (const el of document.querySelectorAll('zodiac-chart')) el.DrawThéme();
  });
  assert.deepEqual(await glyphNames(y2000), sky('2000-01-01T12:00Z'));
  assert.deepEqual(await glyphNames(late), sky('2030-06-01T00:00Z'));
  assert.deepEqual(await glyphNames(now), sky(NOW));

  // Each chart's analysis is of its own sky, in either order.
  for (const [chart, at] of [[y2000, '2000-01-01T12:00Z'], [now, NOW]]) {
    await chart.getByRole('button', { name: CAPTIONS[9] }).click();
    const dialog = page.getByRole('dialog', { name: CAPTIONS[9] });
    await dialog.waitFor();
    assert.equal(await dialog.getByRole('textbox').inputValue(),
      windowText(9, at).replaceAll('\r\n', '\n'), at);
    await page.keyboard.press('Escape');
    await dialog.waitFor({ state: 'hidden' });
  }

  const fetched = (name) => seen.requests.filter((p) => p.endsWith(name)).length;
  assert.equal(fetched('.wasm'), 1);
  assert.equal(fetched('zodiac-chart-core.mjs'), 0); // bundled into the element
  assert.equal(await page.evaluate(() => customElements.get('zodiac-chart').progId),
    'ActiveX_Prj.ActiveX_Ctl');
  assert.deepEqual(seen.problems, []);
});
