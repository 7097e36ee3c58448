#!/usr/bin/env node
// Writes the ten body glyphs (assets/glyph-0.svg ... glyph-9.svg: Sun, Moon, Mercury,
// Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto) and the pointing-hand cursor
// (assets/hand.svg). Each glyph is drawn on a 20 x 20 grid: its line work is stroked wide
// in dark blue, then the same path narrower in cream on top, so the symbol keeps a dark
// outline on any ground; solid parts (the Moon) are filled cream over a dark stroke.
//
// Usage: node tools/artwork/build-glyphs.mjs [--out DIR]   (default: assets/)

import { writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const CREAM = '#F3E7C3';
const INK = '#1B2452';
const OUTER = 3.4; // width of the dark stroke, px
const INNER = 1.6; // width of the cream stroke on top, px
const num = (v) => String(Number(v.toFixed(2)));

// `lines`: path data stroked dark then cream; `solid`: path data filled cream over a dark
// stroke; `dots`: [x, y] points drawn as round dots a little heavier than the lines.
export const BODIES = [
  { name: 'Sun', lines: 'M3.5 10a6.5 6.5 0 1 0 13 0a6.5 6.5 0 1 0-13 0', dots: [[10, 10]] },
  { name: 'Moon', solid: 'M5 2.8A7.7 7.7 0 1 1 5 17.2A7.4 7.4 0 0 0 5 2.8z' },
  { name: 'Mercury', lines: 'M6.6 2.4a3.4 2.6 0 0 0 6.8 0M6.8 8.6a3.2 3.2 0 1 0 6.4 0a3.2 3.2 0 1 0-6.4 0M10 11.8V18M7 15h6' },
  { name: 'Venus', lines: 'M5.6 7.2a4.4 4.4 0 1 0 8.8 0a4.4 4.4 0 1 0-8.8 0M10 11.6V18M6.8 15h6.4' },
  { name: 'Mars', lines: 'M3.6 12a4.6 4.6 0 1 0 9.2 0a4.6 4.6 0 1 0-9.2 0M11.5 8.5L16.8 3.2M11.6 3h5.4v5.4' },
  { name: 'Jupiter', lines: 'M3.6 6.2C3.6 3.4 5.6 2.4 7.2 2.4c2 0 3.2 1.6 2.6 3.8c-.7 2.6-3.3 5.3-6.2 7.8H17M13.6 3v15' },
  { name: 'Saturn', lines: 'M6.8 2.4V13.2M3.8 5.4h6.2M6.8 11c.9-2.3 3.1-3.3 5-3.3c2.3 0 3.5 1.6 3.5 3.6c0 2.4-2.6 3.4-2.6 5.2c0 1 .8 1.5 1.9 1.3' },
  { name: 'Uranus', lines: 'M4.2 2.8v8M15.8 2.8v8M4.2 6.8h11.6M10 2.4v9.4M7.3 14.6a2.7 2.7 0 1 0 5.4 0a2.7 2.7 0 1 0-5.4 0' },
  { name: 'Neptune', lines: 'M4 2.6c0 4 2.4 6 6 6s6-2 6-6M10 2.4v9.4M7.3 14.6a2.7 2.7 0 1 0 5.4 0a2.7 2.7 0 1 0-5.4 0' },
  { name: 'Pluto', lines: 'M4.4 2.6a5.6 5.6 0 0 0 11.2 0M8.2 3.6a1.8 1.8 0 1 0 3.6 0a1.8 1.8 0 1 0-3.6 0M10 8.2V18M6.8 13.8h6.4' },
];

// Returns the SVG text of one 20 x 20 body glyph.
export function glyphSvg(body) {
  const parts = [];
  if (body.solid) {
    parts.push(`<path d="${body.solid}" fill="${CREAM}" stroke="${INK}" stroke-width="${num(OUTER - INNER)}" stroke-linejoin="round"/>`);
  }
  const dots = (body.dots ?? []).map(([x, y]) => `M${x} ${y}h.01`).join('');
  if (body.lines) {
    parts.push(`<g fill="none" stroke-linecap="round" stroke-linejoin="round">`);
    parts.push(`<path d="${body.lines}" stroke="${INK}" stroke-width="${OUTER}"/>`);
    if (dots) parts.push(`<path d="${dots}" stroke="${INK}" stroke-width="${num(OUTER + 1)}"/>`);
    parts.push(`<path d="${body.lines}" stroke="${CREAM}" stroke-width="${INNER}"/>`);
    if (dots) parts.push(`<path d="${dots}" stroke="${CREAM}" stroke-width="${num(INNER + 1)}"/>`);
    parts.push('</g>');
  }
  return `<?xml version="1.0" encoding="UTF-8"?>
<!-- ${body.name}, chart body glyph: 20 x 20 px, transparent ground. -->
<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="20" height="20" viewBox="0 0 20 20">
${parts.join('\n')}
</svg>
`;
}

// The pointing hand: index finger up, the other fingers folded, thumb to the left.
export const HAND = {
  outline: 'M8.5 4a2.5 2.5 0 0 1 5 0V12.5a2 2 0 0 1 4 0a2 2 0 0 1 4 .5a2 2 0 0 1 4 1V21c0 3.5-1.2 5.5-3 7.5V30.5H11.5V28.5c-2-1.5-3.5-3.5-5-6l-3-4.5a1.8 1.8 0 0 1 2.8-2.2l2.2 2.8z',
  creases: 'M17.5 12.5v2.5M21.5 13v2.5M11 27.6h11.6',
  hotSpot: [11, 1],
};

// Returns the SVG text of the 32 x 32 cursor.
export function handSvg() {
  const [x, y] = HAND.hotSpot;
  return `<?xml version="1.0" encoding="UTF-8"?>
<!-- Pointing-hand cursor, 32 x 32 px, transparent ground. Hot spot at the fingertip:
     x ${x}, y ${y} (px from the top left), i.e. cursor: url(hand.svg) ${x} ${y}, pointer. -->
<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="32" height="32" viewBox="0 0 32 32">
<path d="${HAND.outline}" fill="#fff" stroke="#1A1A1A" stroke-width="1.5" stroke-linejoin="round"/>
<path d="${HAND.creases}" fill="none" stroke="#1A1A1A" stroke-width="1" stroke-linecap="round"/>
</svg>
`;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const i = process.argv.indexOf('--out');
  const outDir = i > 0 && process.argv[i + 1] ? resolve(process.argv[i + 1]) : join(repoRoot, 'assets');
  BODIES.forEach((body, k) => writeFileSync(join(outDir, `glyph-${k}.svg`), glyphSvg(body)));
  writeFileSync(join(outDir, 'hand.svg'), handSvg());
  console.log(`wrote ${BODIES.length} glyphs and hand.svg to ${outDir}`);
}
