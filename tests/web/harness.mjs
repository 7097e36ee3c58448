// What the browser tests share: the server they load the demo from, headless Debian
// Chromium through playwright-core, the command line's answers to compare with, and a
// watch over everything that would go wrong on a visitor's page.
import { execFileSync, spawn } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const BUNDLE = join(ROOT, process.env.ZC_WEB_BUILD_DIR ?? 'build-web', 'bundle');
export const CLI = join(ROOT, 'build-test', 'zodiac-chart');

// Starts `zodiac-chart serve` on a free port over the bundle (or another folder with an
// index.html), as a visitor's site would serve it (with the strict CSP); resolves to
// { url, close }. The server prints its address first.
export async function startServer(folder = BUNDLE) {
  if (!existsSync(join(folder, 'index.html')))
    throw new Error(`no index.html in ${folder}: run scripts/build-web first`);
  buildCli();
  const child = spawn(CLI, ['serve', '--port', '0', '--bundle', folder],
    { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((ok, fail) => {
    child.once('error', fail);
    child.stdout.once('data', (chunk) => ok(String(chunk).split('\n')[0].trim()));
  });
  return { url, close: async () => void child.kill() };
}

// Builds zodiac-chart when it is missing.
function buildCli() {
  if (existsSync(CLI)) return;
  execFileSync('cmake', ['-S', ROOT, '-B', join(ROOT, 'build-test'), '-G', 'Ninja',
    '-DCMAKE_BUILD_TYPE=RelWithDebInfo', '-DBUILD_TESTING=ON'], { stdio: 'inherit' });
  execFileSync('cmake', ['--build', join(ROOT, 'build-test'), '--target', 'zodiac-chart'],
    { stdio: 'inherit' });
}

// The command line's JSON answer: zodiac-chart ARGS --json (built first if missing).
export function cli(...args) {
  buildCli();
  return JSON.parse(execFileSync(CLI, [...args, '--json'], { encoding: 'utf8' }));
}

// Debian Chromium's switches for the tests and the report: the browser's own background work
// off, and the omnibox popup's WebUI too, which this Chromium (156) loads in a renderer of its
// own, some 290 files, for each new window: on two cores that competed with the page of every
// visit made in a fresh context, and a visitor's browser has its UI loaded before a page opens.
// A second --disable-features replaces the first rather than adding to it, so the features
// Playwright (1.61) turns off with its own are named here again.
const PLAYWRIGHT_DISABLED_FEATURES = ['AvoidUnnecessaryBeforeUnloadCheckSync',
  'BoundaryEventDispatchTracksNodeRemoval', 'DestroyProfileOnBrowserClose', 'DialMediaRouteProvider',
  'GlobalMediaControls', 'HttpsUpgrades', 'LensOverlay', 'MediaRouter', 'PaintHolding',
  'ThirdPartyStoragePartitioning', 'Translate', 'AutoDeElevate', 'RenderDocument', 'OptimizationHints'];
export const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-dev-shm-usage', `--disable-features=${[...PLAYWRIGHT_DISABLED_FEATURES,
    'WebUIOmniboxPopup', 'WebUIOmniboxAimPopup', 'WebUIOmniboxFullPopup'].join(',')}`];

// Headless Debian Chromium; resolves to { context, close }.
export async function launch(options = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'zodiac-chart-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: CHROMIUM_ARGS,
    viewport: { width: 1200, height: 900 },
    ...options,
  });
  return {
    context,
    close: async () => {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Records on page what a visitor should never get: uncaught errors, console errors, failed
// or refused requests, CSP violations; and every request, for counting.
export async function watch(page) {
  const seen = { problems: [], warnings: [], requests: [] };
  await page.addInitScript(() => {
    document.addEventListener('securitypolicyviolation', (e) => {
      console.error(`CSP violation: ${e.violatedDirective} ${e.blockedURI}`);
    });
  });
  page.on('pageerror', (e) => seen.problems.push(`page error: ${e.message}`));
  page.on('console', (m) => {
    if (m.type() === 'error') seen.problems.push(`console error: ${m.text()}`);
    if (m.type() === 'warning') seen.warnings.push(m.text());
  });
  page.on('request', (r) => seen.requests.push(new URL(r.url()).pathname));
  page.on('requestfailed', (r) => seen.problems.push(`request failed: ${r.url()}`));
  page.on('response', (r) => {
    if (r.status() >= 400) seen.problems.push(`status ${r.status()}: ${r.url()}`);
  });
  return seen;
}
