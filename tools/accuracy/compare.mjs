#!/usr/bin/env node
// Compares the body longitudes printed by `zodiac-chart positions --json`
// with astronomy-engine's apparent geocentric longitudes (true ecliptic and
// equinox of date) and prints a Markdown accuracy report.
//
// Usage: node tools/accuracy/compare.mjs [--bin PATH] [--out FILE] [--jobs N]

import { execFile } from 'node:child_process';
import { accessSync, constants, readFileSync, writeFileSync } from 'node:fs';
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import * as Astro from 'astronomy-engine';

const run = promisify(execFile);
const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');

const BODIES = ['Sun', 'Moon', 'Mercury', 'Venus', 'Mars',
                'Jupiter', 'Saturn', 'Uranus', 'Neptune', 'Pluto'];

const SETS = [
  { title: '1900-01-01 .. 2100-01-01', from: '1900-01-01', to: '2100-01-01', count: 2000 },
  { title: '2000-01-01 .. 2050-01-01', from: '2000-01-01', to: '2050-01-01', count: 2000 },
];

function parseArgs(argv) {
  const opts = { bin: resolve(repoRoot, 'build-release/zodiac-chart'), out: null, jobs: 4 };
  for (let i = 0; i < argv.length; i++) {
    const value = argv[i + 1];
    if (argv[i] === '--bin' && value) { opts.bin = resolve(value); i++; }
    else if (argv[i] === '--out' && value) { opts.out = resolve(value); i++; }
    else if (argv[i] === '--jobs' && value) { opts.jobs = Math.max(1, Number(value) | 0); i++; }
    else throw new Error(`unknown or incomplete argument: ${argv[i]}`);
  }
  return opts;
}

// `count` whole-minute instants from `from` to `to` inclusive. The step is
// span/(count-1) minutes, rounded per instant, so it is not a whole number of
// days and the time of day drifts through the set.
function instants(from, to, count) {
  const startMin = Date.parse(`${from}T00:00Z`) / 60000;
  const endMin = Date.parse(`${to}T00:00Z`) / 60000;
  const step = (endMin - startMin) / (count - 1);
  return Array.from({ length: count },
    (_, i) => new Date((startMin + Math.round(i * step)) * 60000));
}

// 2000-01-01T12:00Z, the form the program accepts and echoes.
function isoMinute(date) {
  return date.toISOString().slice(0, 16) + 'Z';
}

async function ourPositions(bin, date) {
  const at = isoMinute(date);
  const { stdout } = await run(bin, ['positions', '--at', at, '--json']);
  const result = JSON.parse(stdout);
  if (result.instant_utc !== at) throw new Error(`asked for ${at}, got ${result.instant_utc}`);
  return result.bodies;
}

// Calls fn on every item, keeping at most `jobs` calls in flight.
async function forEachLimited(items, jobs, fn) {
  let next = 0;
  async function worker() {
    while (next < items.length) await fn(items[next++]);
  }
  await Promise.all(Array.from({ length: jobs }, worker));
}

// Apparent geocentric ecliptic longitude of date, degrees 0..360.
// Sun: SunPosition is light-time corrected and in the true ecliptic of date.
// Moon: EclipticGeoMoon is already in the true ecliptic of date; its
// light-time effect (~0.7") is below anything this report resolves.
// Planets: light-time and aberration corrected EQJ vector, rotated into the
// true ecliptic of date.
function referenceLongitude(body, time) {
  if (body === 'Sun') return Astro.SunPosition(time).elon;
  if (body === 'Moon') return Astro.EclipticGeoMoon(time).lon;
  const eqj = Astro.GeoVector(body, time, true);
  return Astro.SphereFromVector(Astro.RotateVector(Astro.Rotation_EQJ_ECT(time), eqj)).lon;
}

// Guards the reference against a wrong call or frame: at 2000-01-01T12:00Z
// the Sun's apparent longitude is about 280.37 and the Moon's about 223.3.
function checkReference() {
  const time = Astro.MakeTime(new Date(Date.UTC(2000, 0, 1, 12, 0)));
  const sun = referenceLongitude('Sun', time);
  const moon = referenceLongitude('Moon', time);
  if (Math.abs(sun - 280.37) > 0.01 || Math.abs(moon - 223.3) > 0.05) {
    throw new Error(`reference self-check failed: Sun ${sun}, Moon ${moon}`);
  }
}

function normalize(deg) {
  const d = deg % 360;
  return d < 0 ? d + 360 : d;
}

// Same rule as the program: 30-degree signs from Aries, an exact multiple of
// 30 belongs to the lower sign (so 0 is Pisces). Equal to floor(lon/30)
// everywhere except on exact cusps.
function signOf(lon) {
  return (Math.ceil(normalize(lon) / 30) + 11) % 12;
}

// Difference wrapped into -180..180.
function wrapDiff(a, b) {
  const d = normalize(a - b);
  return d > 180 ? d - 360 : d;
}

function newStats() {
  return { n: 0, sumSq: 0, maxAbs: -1, worstAt: null, ours: 0, ref: 0, signMiss: 0, selfMiss: 0 };
}

function accumulate(stats, date, ours, ref) {
  const diff = wrapDiff(ours.lon, ref);
  stats.n++;
  stats.sumSq += diff * diff;
  if (Math.abs(diff) > stats.maxAbs) {
    Object.assign(stats, { maxAbs: Math.abs(diff), worstAt: date, ours: ours.lon, ref });
  }
  if (ours.sign !== signOf(ref)) stats.signMiss++;
  if (ours.sign !== signOf(ours.lon)) stats.selfMiss++;
}

async function measureSet(set, opts) {
  const dates = instants(set.from, set.to, set.count);
  const stats = Object.fromEntries(BODIES.map((b) => [b, newStats()]));
  const failures = [];
  await forEachLimited(dates, opts.jobs, async (date) => {
    let bodies;
    try {
      bodies = await ourPositions(opts.bin, date);
    } catch (err) {
      failures.push(`${isoMinute(date)}: ${String(err.message).split('\n')[0]}`);
      return;
    }
    const time = Astro.MakeTime(date);
    for (const name of BODIES) {
      const ours = bodies.find((b) => b.name === name);
      if (!ours) { failures.push(`${isoMinute(date)}: no ${name} in output`); continue; }
      accumulate(stats[name], date, ours, referenceLongitude(name, time));
    }
  });
  return { set, stats, failures };
}

const fmt = (x, digits) => x.toFixed(digits);

function tableFor({ set, stats, failures }) {
  const lines = [
    `## ${set.title} (${set.count} instants)`,
    '',
    '| Body | max \\|Δ\\| (°) | RMS Δ (°) | max \\|Δ\\| (″) | sign differs | worst case (UT) | ours (°) | reference (°) |',
    '| --- | ---: | ---: | ---: | ---: | --- | ---: | ---: |',
  ];
  for (const name of BODIES) {
    const s = stats[name];
    if (s.n === 0) { lines.push(`| ${name} | – | – | – | – | – | – | – |`); continue; }
    const pct = (100 * s.signMiss) / s.n;
    lines.push(`| ${name} | ${fmt(s.maxAbs, 5)} | ${fmt(Math.sqrt(s.sumSq / s.n), 5)} | `
      + `${fmt(s.maxAbs * 3600, 1)} | ${s.signMiss} (${fmt(pct, 2)} %) | `
      + `${isoMinute(s.worstAt)} | ${fmt(s.ours, 5)} | ${fmt(s.ref, 5)} |`);
  }
  const selfMiss = BODIES.reduce((sum, b) => sum + stats[b].selfMiss, 0);
  lines.push('', `Rows where our "sign" disagrees with our own "lon": ${selfMiss}.`);
  lines.push(`Runs that failed: ${failures.length}.`);
  for (const f of failures.slice(0, 10)) lines.push(`- ${f}`);
  return lines.join('\n');
}

function header(opts) {
  return [
    '# zodiac-chart longitude accuracy',
    '',
    `Program: \`${opts.bin}\`. Reference: astronomy-engine ${referenceVersion()},`
      + ' apparent geocentric ecliptic longitude, true equinox and ecliptic of date,'
      + ' at the same UT instant (astronomy-engine applies its own ΔT model).',
    'Δ = ours − reference, wrapped into −180..180. The reference sign uses the same rule as'
      + ' the program (exact multiples of 30° belong to the lower sign).',
    'Pluto: astronomy-engine integrates Pluto from tabulated states covering years 0..4000,'
      + ' so the reference is valid over both ranges here.',
    'Moon: the reference is geometric (EclipticGeoMoon); light-time would move it by under 1″.',
  ].join('\n');
}

// Version of the installed astronomy-engine, so the report says what it was
// compared against. The package's exports hide package.json, so find it next
// to the resolved entry point (esm/astronomy.js).
function referenceVersion() {
  const entry = fileURLToPath(import.meta.resolve('astronomy-engine'));
  return JSON.parse(readFileSync(resolve(dirname(entry), '../package.json'), 'utf8')).version;
}

async function main() {
  const opts = parseArgs(process.argv.slice(2));
  // Fail once, clearly, rather than 4,000 times when the program is not built.
  accessSync(opts.bin, constants.X_OK);
  checkReference();
  const started = Date.now();
  const sections = [header(opts)];
  for (const set of SETS) sections.push(tableFor(await measureSet(set, opts)));
  sections.push(`Runtime: ${fmt((Date.now() - started) / 1000, 1)} s with ${opts.jobs} parallel runs.`);
  const report = sections.join('\n\n') + '\n';
  process.stdout.write(report);
  if (opts.out) writeFileSync(opts.out, report);
}

main().catch((err) => {
  console.error(err.message);
  process.exit(1);
});
