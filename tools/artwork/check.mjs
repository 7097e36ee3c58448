#!/usr/bin/env node
// Checks the artwork in assets/ before it is embedded in the control: each file is a
// self-contained SVG 1.1 picture of the expected size (no script, no <style>, no <text>,
// no style attributes, no reference outside the file) and within its gzip budget.
// Prints one line per file and exits with status 1 when any check fails.
//
// Usage: node tools/artwork/check.mjs

import { readFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const assets = resolve(dirname(fileURLToPath(import.meta.url)), '../../assets');

const FILES = [
  { name: 'background.svg', width: 513, height: 458, gzipBudget: 25 * 1024 },
  ...Array.from({ length: 10 }, (_, k) => ({ name: `glyph-${k}.svg`, width: 20, height: 20, gzipBudget: 1024 })),
  { name: 'hand.svg', width: 32, height: 32, gzipBudget: 1024 },
];

const FORBIDDEN = [
  [/<script\b/i, 'a script'],
  [/<style\b/i, 'a <style> element'],
  [/<text\b/i, 'a <text> element (text must be outlines)'],
  [/<foreignObject\b/i, 'a foreignObject'],
  [/<image\b/i, 'an embedded image'],
  [/\sstyle\s*=/i, 'a style attribute'],
  [/\s(?:xlink:)?href\s*=\s*"(?!#)/i, 'a reference outside the file'],
  [/url\(\s*(?!#)/i, 'a url() outside the file'],
  [/\son[a-z]+\s*=/i, 'an event handler'],
];

// Returns the problems found in one file's text; empty when it passes.
function problems(text, { width, height, gzipBudget }) {
  const found = [];
  const markup = text.replace(/<!--[\s\S]*?-->/g, '');
  const root = markup.match(/<svg\b[^>]*>/)?.[0] ?? '';
  if (!/xmlns="http:\/\/www\.w3\.org\/2000\/svg"/.test(root)) found.push('no SVG namespace on the root');
  if (!/version="1\.1"/.test(root)) found.push('not marked SVG 1.1');
  if (!root.includes(`width="${width}"`) || !root.includes(`height="${height}"`)) {
    found.push(`root is not ${width} x ${height}`);
  }
  for (const [pattern, what] of FORBIDDEN) if (pattern.test(markup)) found.push(`contains ${what}`);
  const ids = new Set([...markup.matchAll(/\sid="([^"]+)"/g)].map((m) => m[1]));
  for (const m of markup.matchAll(/(?:href="#|url\(#)([^")]+)/g)) {
    if (!ids.has(m[1])) found.push(`refers to a missing #${m[1]}`);
  }
  const gz = gzipSync(text, { level: 9 }).length;
  if (gz > gzipBudget) found.push(`${gz} bytes gzip, over the ${gzipBudget} budget`);
  return { found, gz };
}

let failed = 0;
for (const file of FILES) {
  let text;
  try {
    text = readFileSync(join(assets, file.name), 'utf8');
  } catch (e) {
    console.log(`${file.name}: cannot read (${e.code})`);
    failed++;
    continue;
  }
  const { found, gz } = problems(text, file);
  console.log(`${file.name}: ${Buffer.byteLength(text)} bytes, ${gz} gzip${found.length ? ' - ' + found.join('; ') : ''}`);
  if (found.length) failed++;
}
process.exitCode = failed ? 1 : 0;
