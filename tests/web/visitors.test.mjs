// The widget for every visitor, in headless Chromium under the strict CSP on a left-to-right
// page with a hostile stylesheet: phones and 400 % zoom (touch and mouse), the keyboard, an
// accessibility audit with axe-core, dates far from today and bad instants.
import assert from 'node:assert/strict';
import { mkdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { BUNDLE, cli, launch, startServer, watch } from './harness.mjs';

const NOW = '2024-04-12T12:00Z';
const ZONE = 'Asia/Riyadh';
const LOCALE = 'en-GB';
const PX = 15;
const LEO = 'برج الأسد';
const FAILED_OPEN = 'أغلق النافذة المفتوحة مسبقاً أو أعد تحديث صفحة الويب';
const SCREENSHOTS = join(BUNDLE, '..', 'screenshots');
const AXE = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

let server;
before(async () => {
  server = await startServer();
  mkdirSync(SCREENSHOTS, { recursive: true });
});
after(async () => server?.close());

// The demo page with the clock frozen, turned left to right with a hostile stylesheet.
async function openDemo(browser) {
  const page = await browser.context.newPage();
  const seen = await watch(page);
  await page.clock.setFixedTime(new Date(NOW));
  await page.goto(server.url);
  await page.locator('#chart-now [part=label]').filter({ hasNotText: 'Label1' }).waitFor();
  await page.evaluate(() => {
    const hostile = new CSSStyleSheet();
    hostile.replaceSync(`html { direction: ltr; } zodiac-chart { font: italic 40px serif;
      line-height: 5; letter-spacing: 4px; text-align: left; color: red; }`);
    document.documentElement.dir = 'ltr';
    document.adoptedStyleSheets = [hostile];
  });
  return { page, seen };
}

async function withBrowser(options, f) {
  const browser = await launch({ timezoneId: ZONE, locale: LOCALE, ...options });
  try {
    return await f(browser);
  } finally {
    await browser.close();
  }
}

const analysis = (sign) => cli('analysis', '--sign', String(sign), '--at', NOW).text
  .replaceAll('\r\n', '\n');
const inside = (box, view) => box.x >= 0 && box.y >= 0 && box.x + box.width <= view.width + 0.5
  && box.y + box.height <= view.height + 0.5;

// A drag of the pointer by delta from a point: one finger on a touch screen, else the mouse.
async function drag(page, touch, from, delta) {
  const steps = 5;
  if (!touch) {
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move(from.x + delta.x, from.y + delta.y, { steps });
    await page.mouse.up();
    return;
  }
  // A finger moving a step each 0.1 s and resting before it lifts: a drag, not a fling.
  const cdp = await page.context().newCDPSession(page);
  const start = Date.now() / 1000;
  const send = (type, k, t) => cdp.send('Input.dispatchTouchEvent', { type, timestamp: start + t,
    touchPoints: type === 'touchEnd' ? [] : [{ x: from.x + (delta.x * k) / steps,
      y: from.y + (delta.y * k) / steps, id: 1 }] });
  await send('touchStart', 0, 0);
  for (let k = 1; k <= steps; k++) await send('touchMove', k, k / 10);
  await send('touchMove', steps, steps / 10 + 0.3);
  await send('touchEnd', steps, steps / 10 + 0.3);
  await cdp.detach();
}

// axe-core's serious and critical WCAG 2.1 A/AA violations on the page, as 'rule: targets'.
async function seriousViolations(page) {
  if (!await page.evaluate(() => 'axe' in globalThis)) await page.evaluate(AXE);
  return page.evaluate(async () => {
    const r = await globalThis.axe.run(document, { runOnly: { type: 'tag',
      values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] } });
    return r.violations.filter((v) => ['serious', 'critical'].includes(v.impact))
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  });
}

test('on a phone and at 400 % zoom the chart fits and the window opens, reads, drags and closes', async () => {
  const devices = [
    { name: 'phone-2x', viewport: { width: 375, height: 667 }, deviceScaleFactor: 2, touch: true },
    { name: 'phone-1x', viewport: { width: 375, height: 667 }, deviceScaleFactor: 1, touch: true },
    // A 1280 × 1024 desktop at 400 % zoom: 320 × 256 CSS pixels, with the mouse.
    { name: 'zoom-400', viewport: { width: 320, height: 256 }, deviceScaleFactor: 1, touch: false },
  ];
  const bodies = cli('positions', '--at', NOW).bodies;
  for (const d of devices) {
    await withBrowser({ viewport: d.viewport, deviceScaleFactor: d.deviceScaleFactor,
      isMobile: d.touch, hasTouch: d.touch }, async (browser) => {
      const { page, seen } = await openDemo(browser);
      const view = d.viewport;
      const pageWidth = () => page.evaluate(() => document.documentElement.scrollWidth);
      assert.ok(await pageWidth() <= view.width, `${d.name}: page ${await pageWidth()} px wide`);
      const chart = page.locator('#chart-now');
      const box = await chart.boundingBox();
      assert.ok(box.x >= 0 && box.x + box.width <= view.width, `${d.name}: chart at ${box.x}`);
      // The same picture, smaller: aspect kept.
      assert.ok(Math.abs(box.width / box.height - 513 / 459) < 0.01, `${d.name}: ${box.width}×${box.height}`);

      if (d.touch) { // a tap on a glyph shows its position
        const glyph = chart.locator('[part=glyph]').nth(1); // the Moon, by no other glyph
        await chart.evaluate((el) => el.scrollIntoView());
        await glyph.tap();
        const tip = chart.locator('[part=glyph-tip]');
        await tip.waitFor();
        assert.equal(await tip.textContent(), bodies[1].tooltip, d.name);
        const [t, c] = [await tip.boundingBox(), await chart.boundingBox()];
        assert.ok(inside(t, view) && t.y >= c.y && t.y + t.height <= c.y + c.height + 0.5,
          `${d.name}: tip at ${JSON.stringify(t)}`);
      }

      const sign = chart.getByRole('button', { name: LEO });
      await sign.scrollIntoViewIfNeeded();
      await (d.touch ? sign.tap() : sign.click());
      const dialog = page.getByRole('dialog', { name: LEO });
      await dialog.waitFor();
      assert.equal(await dialog.getByRole('textbox').inputValue(), analysis(4), d.name);
      const opened = await dialog.boundingBox();
      assert.ok(inside(opened, view), `${d.name}: window at ${JSON.stringify(opened)}`);
      const close = dialog.getByRole('button', { name: 'إغلاق' });
      const button = await close.boundingBox();
      assert.ok(button.width >= 24 && button.height >= 24, `${d.name}: close ${button.width}×${button.height}`);
      assert.ok(await pageWidth() <= view.width, d.name);
      await page.screenshot({ path: join(SCREENSHOTS, `${d.name}-window.png`) });
      assert.deepEqual(await seriousViolations(page), [], `${d.name}: window open`);

      // The strip drags it by the pointer's displacement; dragged far off, it stays where its
      // close button can be reached.
      const scale = opened.width / (8850 / PX + 6);
      const strip = { x: opened.x + (3 + 8700 / PX) * scale, y: opened.y + (3 + 2000 / PX) * scale };
      await drag(page, d.touch, strip, { x: -40, y: 30 });
      const moved = await dialog.boundingBox();
      assert.deepEqual([moved.x - opened.x, moved.y - opened.y].map(Math.round), [-40, 30], d.name);
      const held = { x: strip.x - 40, y: strip.y + 30 }; // to the lower left corner of the screen
      await drag(page, d.touch, held, { x: 2 - held.x, y: view.height - 2 - held.y });
      assert.ok(inside(await close.boundingBox(), view), `${d.name}: close button off screen`);
      assert.ok(await pageWidth() <= view.width, d.name);

      await (d.touch ? close.tap() : close.click());
      await dialog.waitFor({ state: 'hidden' });

      // fit="none" keeps the design size, whatever the page's width.
      await page.evaluate(() => {
        const el = document.createElement('zodiac-chart');
        el.id = 'fixed';
        el.setAttribute('fit', 'none');
        document.body.append(el);
      });
      const fixed = page.locator('#fixed');
      await fixed.locator('[part=label]').filter({ hasNotText: 'Label1' }).waitFor();
      const size = await fixed.boundingBox();
      assert.deepEqual([size.width, size.height], [513, 459], d.name);
      assert.deepEqual(seen.problems, [], d.name);
    });
  }
});

test('Tab reaches every glyph after the sign labels, and each shows its position', async () => {
  await withBrowser({}, async (browser) => {
    const { page, seen } = await openDemo(browser);
    const chart = page.locator('#chart-now');
    const chartBox = await chart.boundingBox();
    const tooltips = cli('positions', '--at', NOW).bodies.map((b) => b.tooltip);
    // Each sign label's hit area is its row in the background's column: 6090..7470 twips
    // across, from 30 twips above the label, 270 twips tall.
    const rowsHit = await chart.evaluate((el) => {
      const host = el.getBoundingClientRect();
      return [...el.shadowRoot.querySelectorAll('[part=sign-label]')].map((label) => {
        const top = Number(label.parentNode.querySelector('.row').getAttribute('y'));
        return [[407, top + 1], [497, top + 1], [407, top + 17], [497, top + 17]].every(([x, y]) =>
          el.shadowRoot.elementFromPoint(host.left + x, host.top + y).closest('.sign') === label.parentNode);
      });
    });
    assert.deepEqual(rowsHit, Array(12).fill(true));
    for (let k = 0; k < 12; k++) await page.keyboard.press('Tab');
    assert.equal(await chart.evaluate((el) => el.shadowRoot.activeElement.textContent), 'برج الحوت');
    for (const [k, tooltip] of tooltips.entries()) {
      await page.keyboard.press('Tab');
      const focused = await chart.evaluate((el) => {
        const g = el.shadowRoot.activeElement;
        const tip = el.shadowRoot.querySelector('[part=glyph-tip]');
        return { part: g.getAttribute('part'), title: g.querySelector('title').textContent, ring: getComputedStyle(g).outlineWidth,
          tip: tip.hidden ? null : tip.textContent };
      });
      assert.deepEqual(focused, { part: 'glyph', title: tooltip, ring: '2px', tip: tooltip }, `glyph ${k}`);
      const tip = await chart.locator('[part=glyph-tip]').boundingBox();
      assert.ok(tip.x >= chartBox.x && tip.x + tip.width <= chartBox.x + chartBox.width + 0.5, `tip ${k}`);
    }
    assert.deepEqual(seen.problems, []);
  });
});

// The aspects the chart draws, by the table of the aspect lines (orbs strict), for the
// chart's description.
const ASPECTS = [['اقتران', [[0, 10], [350, 370]]], ['تسديس', [[54, 66], [294, 306]]],
  ['تربيع', [[82, 98], [262, 278]]], ['مقابلة', [[170, 190]]], ['تثليث', [[112, 128], [232, 248]]]];
function aspectsOf(bodies) {
  const name = (b) => b.tooltip.split(' في ')[0];
  const lines = [];
  for (let i = 0; i < 10; i++) {
    for (let j = i + 1; j < 10; j++) {
      const d = Math.abs(bodies[i].lon - bodies[j].lon);
      const hit = ASPECTS.find(([, ranges]) => ranges.some(([lo, hi]) => d > lo && d < hi));
      if (hit) lines.push(`${hit[0]} ${name(bodies[i])} و${name(bodies[j])}`);
    }
  }
  return `خطوط المظاهر المرسومة: ${lines.join('، ')}`;
}

test('assistive technology reads a named chart, its aspects and the window; axe finds no serious fault', async () => {
  await withBrowser({}, async (browser) => {
    const { page, seen } = await openDemo(browser);
    const cdp = await page.context().newCDPSession(page);
    const readable = async (role) => (await cdp.send('Accessibility.getFullAXTree')).nodes
      .filter((n) => !n.ignored && n.role?.value === role)
      .map((n) => ({ name: n.name?.value, description: n.description?.value ?? '' }));
    const groups = await readable('group');
    const at2000 = '2000-01-01T12:00Z';
    const birth = '1990-06-15T05:30Z'; // the demo picker's 08:30 in Riyadh
    assert.deepEqual(groups, [
      { name: 'خريطة الأبراج اليومية 12/04/2024, 15:00:00',
        description: aspectsOf(cli('positions', '--at', NOW).bodies) },
      { name: 'خريطة الأبراج اليومية 01/01/2000, 15:00:00',
        description: aspectsOf(cli('positions', '--at', at2000).bodies) },
      { name: 'خريطة الأبراج اليومية 15/06/1990, 08:30:00',
        description: aspectsOf(cli('positions', '--at', birth).bodies) },
    ]);
    // No name read twice: the glyphs and buttons carry no description that repeats it.
    for (const role of ['image', 'button'])
      for (const n of await readable(role)) assert.notEqual(n.description, n.name, n.name);

    const audit = () => seriousViolations(page);
    assert.deepEqual(await audit(), [], 'window closed');
    await page.locator('#chart-now').getByRole('button', { name: LEO }).click();
    await page.getByRole('dialog', { name: LEO }).waitFor();
    const textbox = await readable('textbox');
    assert.deepEqual(textbox.map((n) => n.name), [`توقعات ${LEO}`]);
    assert.deepEqual(await audit(), [], 'window open');
    await cdp.detach();
    assert.deepEqual(seen.problems, []);
  });
});

test('far dates name the day computed; a bad or refused `at` says why and reads nothing', async () => {
  const REFUSED = 'تاريخ مرفوض: انتقال التقويم عام 1582';
  const GAP_MESSAGE = 'لا يوجد هذا التاريخ في الحسابات الفلكية';
  const julian = (date) => `\u2068${date}\u2069 (يولياني)`;
  const cases = [ // the zone's local mean time before 1947 is UTC+3:06:52
    { at: '1824-04-12T12:00Z', date: '12/04/1824, 15:06:52' },
    { at: '1582-10-15T00:00Z', date: '15/10/1582, 03:06:52' },
    { at: '1582-10-04T00:00Z', date: julian('04/10/1582, 03:06:52') },
    { at: '1000-01-01T12:00Z', date: julian('01/01/1000, 15:06:52') },
    { at: '2024-13-45', reason: 'تاريخ غير صالح' },
    { at: '1582-10-10T12:00', reason: REFUSED, message: GAP_MESSAGE },
    { at: '1582-10-04T12:00Z', reason: REFUSED, message: GAP_MESSAGE },
  ];
  await withBrowser({}, async (browser) => {
    const { page, seen } = await openDemo(browser);
    for (const [k, c] of cases.entries()) {
      await page.evaluate(({ id, at }) => {
        const el = document.createElement('zodiac-chart');
        el.id = id;
        el.setAttribute('at', at);
        document.body.append(el);
      }, { id: `far-${k}`, at: c.at });
      const chart = page.locator(`#far-${k}`);
      if (c.message) { // the time base's own message at start-up
        const box = page.getByRole('alertdialog');
        await box.waitFor();
        assert.match(await box.textContent(), new RegExp(c.message));
        await box.getByRole('button', { name: 'موافق' }).click();
        await box.waitFor({ state: 'hidden' });
      }
      if (c.date) {
        await chart.locator('[part=label]').filter({ hasNotText: 'Label1' }).waitFor();
        assert.equal(await chart.locator('[part=label]').textContent(), c.date, c.at);
        const names = await chart.getByRole('img').evaluateAll((gs) => gs.map((g) => g.getAttribute('aria-label')));
        assert.deepEqual(names.map((n) => n.replace(/\s+/g, ' ').trim()),
          cli('positions', '--at', c.at).bodies.map((b) => b.tooltip.replace(/\s+/g, ' ').trim()
            + (b.retro ? '، متراجع' : '')), c.at);
        continue;
      }
      const alert = chart.getByRole('alert');
      await alert.waitFor();
      assert.equal(await alert.textContent(), c.reason, c.at);
      const shown = await chart.evaluate((el) => {
        // Chromium's checkVisibility() passes an SVG element under display="none": its box tells.
        const seen = (e) => Boolean(e?.checkVisibility() && e.getBoundingClientRect().width > 0);
        return { glyphs: [...el.shadowRoot.querySelectorAll('[part=glyph]')].filter(seen).length,
          layer: seen(el.shadowRoot.querySelector('.layer')) };
      });
      assert.deepEqual(shown, { glyphs: 0, layer: false }, c.at);
      await chart.getByRole('button', { name: LEO }).click();
      const box = page.getByRole('alertdialog');
      await box.waitFor();
      assert.equal(await box.locator('p').textContent(), FAILED_OPEN, c.at);
      assert.equal(await page.getByRole('dialog', { name: LEO }).count(), 0, c.at);
      await box.getByRole('button', { name: 'موافق' }).click();
      await box.waitFor({ state: 'hidden' });
    }
    assert.deepEqual(seen.problems, []);
  });
});
