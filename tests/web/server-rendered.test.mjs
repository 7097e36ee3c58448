// The chart in the page's own HTML (render --html), served under the strict CSP: complete and
// readable with JavaScript off and on a phone, then taken over by the element's script with
// no visible change but the date, and working as a one-tag chart afterwards.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { BUNDLE, CLI, cli, launch, startServer, watch } from './harness.mjs';

const AT = '2024-04-12T12:00Z'; // Mercury retrograde: a glyph's name carries the mark
let site;
let server;
before(async () => {
  site = mkdtempSync(join(tmpdir(), 'zodiac-chart-ssr-'));
  cpSync(BUNDLE, site, { recursive: true });
  const fragment = execFileSync(CLI, ['render', '--html', '--at', AT], { encoding: 'utf8' });
  const page = (script) => `<!doctype html><html lang="ar" dir="rtl"><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1"><title>خريطة</title>
<link rel="icon" href="artwork.svg#glyph-0" type="image/svg+xml">
${script ? '<script type="module" src="zodiac-chart.js"></script>' : ''}<main>${fragment}</main></html>\n`;
  writeFileSync(join(site, 'plain.html'), page(false));
  writeFileSync(join(site, 'taken.html'), page(true));
  server = await startServer(site);
});
after(async () => {
  await server?.close();
  rmSync(site, { recursive: true, force: true });
});

const spaced = (text) => text.replace(/\s+/g, ' ').trim();

test('with no script the chart is complete, named, fits a phone and passes axe', async () => {
  // The page has no script of its own (the audit's is injected): what a visitor without
  // JavaScript gets.
  const browser = await launch({ viewport: { width: 375, height: 740 } });
  try {
    const page = await browser.context.newPage();
    const seen = await watch(page);
    await page.goto(`${new URL('plain.html', server.url)}`, { waitUntil: 'load' });
    const bodies = cli('positions', '--at', AT).bodies;
    const tree = await page.locator('zodiac-chart').ariaSnapshot();
    const names = [...tree.matchAll(/- img "(.*)"/g)].map((m) => spaced(m[1]));
    // In the bodies' order.
    assert.deepEqual(names, bodies.map((b) => spaced(b.tooltip) + (b.retro ? '، متراجع' : '')));
    assert.doesNotMatch(tree, /button/); // the sign labels are text until the script runs
    assert.match(tree, /برج الأسد/);
    const shown = await page.locator('zodiac-chart').evaluate((el) => ({
      width: el.getBoundingClientRect().width,
      described: el.shadowRoot.querySelector('#chart-aspects').textContent,
      date: el.shadowRoot.querySelector('#chart-date').textContent,
      lines: el.shadowRoot.querySelectorAll('.layer line').length,
      sheet: el.shadowRoot.styleSheets.length,
    }));
    assert.ok(shown.width <= 375 && shown.width > 300, `width ${shown.width}`);
    assert.match(shown.described, /^خطوط المظاهر المرسومة: /);
    assert.equal(shown.date, '2024-04-12 12:00:00 UTC');
    assert.ok(shown.lines > 10);
    assert.equal(shown.sheet, 1);
    for (const name of ['zodiac-chart.css', 'artwork.svg'])
      assert.ok(seen.requests.includes(`/${name}`), name);
    assert.deepEqual(seen.problems, []);
    const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core'), 'utf8');
    await page.evaluate(axe);
    const found = await page.evaluate(async () => (await globalThis.axe.run(document,
      { runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] })).violations
      .filter((v) => v.impact === 'serious' || v.impact === 'critical').map((v) => v.id));
    assert.deepEqual(found, []);
  } finally {
    await browser.close();
  }
});

// Pixels that differ between two PNG screenshots outside boxes (CSS pixels of the clip), counted
// in a page of its own (the chart's page allows no data: images).
async function differingOutside(context, a, b, boxes) {
  const page = await context.newPage();
  try {
    return await page.evaluate(async ([a, b, boxes]) => {
      const pixels = async (png) => {
        const image = new Image();
        image.src = `data:image/png;base64,${png}`;
        await image.decode();
        const canvas = new OffscreenCanvas(image.width, image.height);
        const g = canvas.getContext('2d');
        g.drawImage(image, 0, 0);
        return g.getImageData(0, 0, image.width, image.height);
      };
      const [p, q] = [await pixels(a), await pixels(b)];
      let n = 0;
      for (let y = 0; y < p.height; y++)
        for (let x = 0; x < p.width; x++) {
          const k = 4 * (y * p.width + x);
          const inside = boxes.some((b) => x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height);
          if (!inside && p.data.slice(k, k + 4).some((v, c) => Math.abs(v - q.data[k + c]) > 8)) n++;
        }
      return n;
    }, [a.toString('base64'), b.toString('base64'), boxes]);
  } finally {
    await page.close();
  }
}

test('the script takes the chart over with no change but the date, and it works then', async () => {
  const browser = await launch({ timezoneId: 'Asia/Riyadh', locale: 'en-GB' });
  try {
    const page = await browser.context.newPage();
    const seen = await watch(page);
    // The .wasm held back until the server-rendered chart has been seen.
    let release;
    const held = new Promise((resolve) => { release = resolve; });
    await page.route('**/zodiac-chart-core.wasm', async (route) => { await held; await route.continue(); });
    await page.goto(`${new URL('taken.html', server.url)}`, { waitUntil: 'load' });
    const chart = page.locator('zodiac-chart');
    const box = await chart.boundingBox();
    const before = await page.screenshot({ clip: box });
    const dateBox = (selector) => chart.evaluate((el, selector) => {
      const d = el.shadowRoot.querySelector(selector).getBoundingClientRect();
      const host = el.getBoundingClientRect();
      return [d.left - host.left, d.top - host.top, d.right - host.left, d.bottom - host.top];
    }, selector);
    const serverDate = await dateBox('#chart-date');
    // The listener is in place before the .wasm goes out: a `load` cannot pass unheard.
    await chart.evaluate((el) => {
      el.loaded = new Promise((resolve) => el.addEventListener('load', resolve, { once: true }));
    });
    release();
    await chart.evaluate((el) => el.loaded);
    const after = await page.screenshot({ clip: box });
    // The date label's box: the server's and the element's together, a pixel around.
    const ownDate = await dateBox('#chart-date');
    const [x0, y0] = [Math.min(serverDate[0], ownDate[0]) - 1, Math.min(serverDate[1], ownDate[1]) - 1];
    const [x1, y1] = [Math.max(serverDate[2], ownDate[2]) + 1, Math.max(serverDate[3], ownDate[3]) + 1];
    const date = { x: Math.floor(x0), y: Math.floor(y0), width: Math.ceil(x1 - x0), height: Math.ceil(y1 - y0) };
    writeFileSync(join(tmpdir(), 'zodiac-chart-takeover-before.png'), before);
    writeFileSync(join(tmpdir(), 'zodiac-chart-takeover-after.png'), after);
    assert.equal(await differingOutside(browser.context, before, after, [date]), 0);

    // Now a one-tag chart: buttons, a glyph's tooltip, the window by keyboard.
    await chart.getByRole('button', { name: 'برج الأسد' }).focus();
    await page.keyboard.press('Enter');
    const dialog = page.getByRole('dialog');
    await dialog.waitFor();
    assert.equal(spaced(await dialog.locator('textarea').inputValue()),
      spaced(cli('analysis', '--sign', '4', '--at', AT).text));
    await page.keyboard.press('Escape');
    await dialog.waitFor({ state: 'hidden' });
    assert.deepEqual(seen.problems, []);
  } finally {
    await browser.close();
  }
});
