// The element's asynchronous paths: a page that changes `at` or moves the element while the
// module is still on its way, and a chart in its error state as a screen reader gets it.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { cli, launch, startServer, watch } from './harness.mjs';

const TITLE = 'خريطة الأبراج اليومية';
const [A, B, C] = ['2030-06-01T00:00Z', '1990-06-15T05:30Z', '2000-01-01T12:00Z'];
const NOW = '2024-04-12T12:00Z'; // the pages' clock, for a chart with no `at`

let server;
let browser;
before(async () => { [server, browser] = [await startServer(), await launch()]; });
after(async () => { await browser?.close(); await server?.close(); });

// The demo page with its own charts taken out, its clock at NOW; with `hold`, its .wasm
// answered only on release().
async function openPage({ hold = false } = {}) {
  const page = await browser.context.newPage();
  const seen = await watch(page);
  await page.clock.setFixedTime(new Date(NOW));
  let release;
  const held = new Promise((done) => { release = done; });
  if (hold) await page.route('**/zodiac-chart-core.wasm', (r) => held.then(() => r.continue()));
  else release();
  await page.goto(server.url, { waitUntil: 'domcontentloaded' });
  await page.waitForFunction(() => customElements.get('zodiac-chart'));
  await page.evaluate(() => document.body.replaceChildren());
  return { page, seen, release };
}

// Adds one element per row (id, first `at`), recording its events in window.events[id], then
// runs every row's steps: ['at', value] (null: the clock's), 'remove', 'append', 'task' (waits
// for the next task, so a stop queued as a microtask has run).
const run = (page, rows) => page.evaluate(async (rows) => {
  window.events = {};
  const els = rows.map(({ id, at }) => {
    const el = Object.assign(document.createElement('zodiac-chart'), { id });
    el.setAttribute('at', at);
    const events = window.events[id] = [];
    el.addEventListener('load', () => events.push('load'));
    el.addEventListener('error', (e) => events.push(`error: ${e.detail.reason}`));
    document.body.append(el);
    return el;
  });
  for (const [k, { steps }] of rows.entries()) for (const step of steps) {
    if (step === 'task') await new Promise((done) => setTimeout(done));
    else if (step === 'remove') els[k].remove();
    else if (step === 'append') document.body.append(els[k]);
    else els[k].at = step[1];
  }
}, rows);

const controlCount = (page) => page.evaluate(async () =>
  (await import(new URL('zodiac-chart.js', document.baseURI).href)).controlCount());
const spaced = (text) => text.replace(/\s+/g, ' ').trim();
const sky = (at) => cli('positions', '--at', at).bodies
  .map((b) => spaced(b.tooltip) + (b.retro ? '، متراجع' : ''));
const FORM = "expected YYYY-MM-DDTHH:MM[:SS][Z|+HH:MM|-HH:MM] or 'now'";

test('moved and changed while the module loads: one control each, the last instant', async () => {
  const rows = [ // shows: the instant drawn at the end; out: it ends outside the page
    { steps: [['at', B], ['at', C]], shows: C },
    { steps: ['remove', 'task', 'append'], shows: A },
    { steps: ['remove', 'append'], shows: A },
    { steps: [['at', B], 'task', ['at', C], 'remove', 'task', 'append'], shows: C },
    { steps: ['remove', 'task', ['at', B], ['at', C], 'append'], shows: C },
    { steps: [['at', B], 'remove', 'task', 'append', ['at', C], 'remove', 'append'], shows: C },
    { steps: [['at', B], 'task', ['at', null]], shows: NOW },
    { steps: [['at', B], 'remove'], out: true },
    { steps: [['at', 'yesterday'], 'remove', 'task', 'append'],
      refused: `at="yesterday": ${FORM}` },
  ].map((r, k) => ({ ...r, id: `race-${k}`, at: A }));
  const { page, seen, release } = await openPage({ hold: true });
  await run(page, rows);
  release();
  await page.waitForFunction((ids) => ids.every((id) => window.events[id].length),
    rows.filter((r) => !r.out).map((r) => r.id));
  // Read once every start has run: they all resumed when the module came.
  assert.equal(await controlCount(page), rows.filter((r) => !r.out).length);
  const events = await page.evaluate(() => window.events);
  for (const r of rows) {
    const what = `${r.id}: ${JSON.stringify(r.steps)}`;
    const expected = r.out ? [] : r.refused ? [`error: ${r.refused}`] : ['load'];
    assert.deepEqual(events[r.id], expected, what);
    if (!r.shows) continue;
    const tree = await page.locator(`#${r.id}`).ariaSnapshot();
    assert.deepEqual([...tree.matchAll(/^\s*- img "(.*)"/gm)].map((m) => m[1]), sky(r.shows), what);
  }
  await page.evaluate(() => document.body.replaceChildren());
  assert.equal(await controlCount(page), 0, 'controls left after every element went');
  assert.deepEqual(seen.problems, []);
});

test('a refused instant: the error event says why, a screen reader hears only that', async () => {
  const rows = [ // a good chart, then `at` refused
    { at: '2024-13-45', shown: 'تاريخ غير صالح', reason: `at="2024-13-45": ${FORM}` },
    { at: '1582-10-10T12:00', shown: 'تاريخ مرفوض: انتقال التقويم عام 1582', message: true,
      reason: 'at="1582-10-10T12:00": a day the Gregorian reform skipped (1582-10-05..14)' },
  ];
  for (const r of rows) {
    const { page, seen } = await openPage();
    await run(page, [{ id: 'chart', at: A, steps: [] }]);
    await page.waitForFunction(() => window.events.chart.length);
    await page.evaluate((at) => { document.getElementById('chart').at = at; }, r.at);
    await page.waitForFunction(() => window.events.chart.length > 1);
    if (r.message) { // the time base's message box, then the chart
      const box = page.getByRole('alertdialog');
      await box.getByRole('button', { name: 'موافق' }).click();
      await box.waitFor({ state: 'hidden' });
    }
    // The good instant's load, then the refusal; a day in the gap still ends its start-up.
    assert.deepEqual(await page.evaluate(() => window.events.chart),
      ['load', `error: ${r.reason}`, ...(r.message ? ['load'] : [])], r.at);
    // What a screen reader gets: the accessibility tree's unignored nodes.
    const cdp = await page.context().newCDPSession(page);
    const nodes = (await cdp.send('Accessibility.getFullAXTree')).nodes.filter((n) => !n.ignored)
      .map((n) => ({ role: n.role?.value, name: n.name?.value ?? '',
        description: n.description?.value ?? '' }));
    const of = (role) => nodes.filter((n) => n.role === role);
    assert.deepEqual(of('group').map(({ name, description }) => ({ name, description })),
      [{ name: `${TITLE} ${r.shown}`, description: '' }], r.at);
    assert.equal(of('alert').length, 1, r.at);
    const stale = new Set(sky(A)); // no glyph, and none of the good chart's names
    assert.deepEqual([...of('image'), ...nodes.filter((n) => stale.has(spaced(n.name)))], [], r.at);
    await page.close();
    assert.deepEqual(seen.problems, []);
  }
});
