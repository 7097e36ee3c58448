#!/usr/bin/env node
// Screenshots the artwork preview (preview.html) with Debian's Chromium at device scale
// 1 and 2: the chart for each sample set of longitudes, and the sheet of body glyphs and
// cursors. Serves the repository root on a loopback port for the page's module imports.
//
// Usage: node tools/artwork/shoot.mjs [--out DIR]   (default /tmp/art-shots)

import { createReadStream, mkdirSync, mkdtempSync, rmSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const MIME = { '.html': 'text/html; charset=utf-8', '.mjs': 'text/javascript', '.js': 'text/javascript',
               '.svg': 'image/svg+xml', '.png': 'image/png' };
const SETS = ['sample', 'spread', 'crowd'];
// Close-ups (CSS px of the chart) shot at device scale 4 for a careful look.
const DETAILS = {
  title: { x: 60, y: 0, width: 400, height: 90 },
  rows: { x: 330, y: 50, width: 183, height: 140 },
  wheel: { x: 40, y: 90, width: 200, height: 200 },
  emblem: { x: 0, y: 370, width: 120, height: 89 },
  lower: { x: 240, y: 390, width: 273, height: 69 },
};

// Serves files under the repository root; anything outside it, or missing, is a 404.
function serveRepo() {
  const server = createServer((req, res) => {
    const path = normalize(join(repoRoot, decodeURIComponent(new URL(req.url, 'http://x').pathname)));
    let ok = path.startsWith(repoRoot + sep);
    try { ok = ok && statSync(path).isFile(); } catch { ok = false; }
    if (!ok) { res.writeHead(404).end(); return; }
    res.writeHead(200, { 'content-type': MIME[extname(path)] ?? 'application/octet-stream' });
    createReadStream(path).pipe(res);
  });
  return new Promise((done) => server.listen(0, '127.0.0.1', () => done(server)));
}

async function shoot(base, outDir, scale, details = false) {
  const profile = mkdtempSync(join(tmpdir(), 'art-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium', headless: true, deviceScaleFactor: scale,
    viewport: { width: 900, height: 700 },
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'],
  });
  const written = [];
  try {
    const page = await context.newPage();
    page.on('console', (m) => { if (m.type() === 'error') console.error(`page: ${m.text()}`); });
    page.on('pageerror', (e) => console.error(`page: ${e.message}`));
    if (details) {
      await page.goto(`${base}/tools/artwork/preview.html?set=sample`);
      await page.waitForSelector('body[data-ready=yes]');
      for (const [name, clip] of Object.entries(DETAILS)) {
        const file = join(outDir, `detail-${name}@${scale}x.png`);
        await page.screenshot({ path: file, clip });
        written.push(file);
      }
      return written;
    }
    for (const set of SETS) {
      await page.goto(`${base}/tools/artwork/preview.html?set=${set}`);
      await page.waitForSelector('body[data-ready=yes]');
      const file = join(outDir, `chart-${set}@${scale}x.png`);
      await page.locator('#chart').screenshot({ path: file });
      written.push(file);
      if (set === SETS[0]) {
        const sheet = join(outDir, `sheet@${scale}x.png`);
        await page.locator('#sheet').screenshot({ path: sheet });
        written.push(sheet);
      }
    }
  } finally {
    await context.close();
    rmSync(profile, { recursive: true, force: true });
  }
  return written;
}

const i = process.argv.indexOf('--out');
const outDir = resolve(i > 0 && process.argv[i + 1] ? process.argv[i + 1] : '/tmp/art-shots');
mkdirSync(outDir, { recursive: true });
const server = await serveRepo();
try {
  const base = `http://127.0.0.1:${server.address().port}`;
  for (const scale of [1, 2]) for (const file of await shoot(base, outDir, scale)) console.log(file);
  for (const file of await shoot(base, outDir, 4, true)) console.log(file);
} finally {
  server.close();
}
