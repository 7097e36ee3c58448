#!/usr/bin/env node
// Builds assets/background.svg, the chart's background picture, in twips: the framed
// panel, the calligraphic title, the zodiac wheel the control draws its ticks and aspect
// chords on, the twelve button rows behind the sign labels, the emblem and the lower line.
// Text is outlined with hb-view (Amiri, Noto Naskh Arabic, Noto Sans Symbols; all under
// the SIL Open Font License), so the picture needs no font at view time.
//
// Usage: node tools/artwork/build-background.mjs [--out FILE]

import { writeFileSync } from 'node:fs';
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { DATE_LABEL, PICTURE, SIGN_LABELS, WHEEL, wheelPoint } from './geometry.mjs';
import { bounds, outlineText, pathWriter, shapeText, toPathData, transform } from './outline.mjs';

const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const FONTS = {
  title: '/usr/share/fonts/opentype/fonts-hosny-amiri/Amiri-Bold.ttf',
  line: '/usr/share/fonts/truetype/noto/NotoNaskhArabic-Regular.ttf',
  symbols: '/usr/share/fonts/truetype/noto/NotoSansSymbols-Bold.ttf',
};

export const TITLE = 'خريطة الأبراج اليومية';
export const LOWER_LINE = 'السماء كما بدت لحظة فتح الصفحة';

const COLOURS = {
  panelTop: '#34425F',
  panelBottom: '#222C44',
  frameDark: '#161D30',
  brass: '#C2A467',
  brassLight: '#E9D6A0',
  cream: '#F3E7C3',
  ring: '#1E2840',
  field: '#121A2A',
  rowTop: '#3C4E72',
  rowBottom: '#2C3A58',
  rowEdge: '#9DB0D2',
  lowerLine: '#A3B1CC',
};

// Fire, earth, air, water: the colour of the sign glyphs of each element.
const ELEMENT_COLOURS = ['#F2A98C', '#BDD596', '#F1DC98', '#9CCAF0'];

const SIGN_CHARS = [...'♈♉♊♋♌♍♎♏♐♑♒♓'];

const fmt = (v, digits = 0) => String(Number(v.toFixed(digits)));

// Areas the control draws over, which the picture's text must leave free (twips).
const DATE_ZONE = {
  x0: DATE_LABEL.left - 65, y0: DATE_LABEL.top - 75,
  x1: PICTURE.width, y1: DATE_LABEL.top + DATE_LABEL.height + 70,
};
const PLATE_RADIUS = 2470; // the free band around the ring ends here

// The button rows behind the sign labels: centred on each label's vertical centre,
// with the sign's glyph in a slot at the right (reading) end.
const ROWS = { left: 6090, right: 7470, height: 270, slot: 7245 };
const LAST_ROW_BOTTOM = SIGN_LABELS[11].top + SIGN_LABELS[11].height / 2 + ROWS.height / 2;

// Throws when any point of `commands` (outline points, control points included) lies
// inside `zone`, within `radius` of the wheel centre or above `below`, so a longer
// wording or a bigger size cannot silently run under the control's date label, into
// the wheel or into the sign rows.
function assertClear(name, commands, { zone, radius, below }) {
  for (const c of commands) {
    for (const [x, y] of c.pts) {
      const inZone = zone && x >= zone.x0 && x <= zone.x1 && y >= zone.y0 && y <= zone.y1;
      const inWheel = radius && Math.hypot(x - WHEEL.cx, y - WHEEL.cy) < radius;
      const aboveLimit = below !== undefined && y < below;
      if (inZone || inWheel || aboveLimit) {
        throw new Error(`${name} reaches (${Math.round(x)}, ${Math.round(y)}), which must stay free`);
      }
    }
  }
}

// Returns the path data of the ring sector between longitudes `l0` and `l1` (degrees,
// l0 < l1) and radii `r0` < `r1`. Longitude grows counter-clockwise on screen, so the
// outer arc from l0 to l1 sweeps counter-clockwise (sweep flag 0).
function annularSector(l0, l1, r0, r1) {
  const a = wheelPoint(l0, r1), b = wheelPoint(l1, r1), c = wheelPoint(l1, r0), d = wheelPoint(l0, r0);
  const large = l1 - l0 > 180 ? 1 : 0;
  return `M${fmt(a.x)} ${fmt(a.y)}A${fmt(r1, 1)} ${fmt(r1, 1)} 0 ${large} 0 ${fmt(b.x)} ${fmt(b.y)}` +
    `L${fmt(c.x)} ${fmt(c.y)}A${fmt(r0, 1)} ${fmt(r0, 1)} 0 ${large} 1 ${fmt(d.x)} ${fmt(d.y)}z`;
}

// Returns path data of radial strokes at the given longitudes, each from radius r0 to r1.
function radialStrokes(longitudes, r0, r1) {
  const w = pathWriter(0);
  for (const lon of longitudes) {
    const a = wheelPoint(lon, r0), b = wheelPoint(lon, r1);
    const ax = Math.round(a.x), ay = Math.round(a.y);
    w.command('M', [ax, ay]);
    w.command('l', [Math.round(b.x) - ax, Math.round(b.y) - ay]);
  }
  return w.text();
}

function circle(r, attrs) {
  return `<circle cx="${WHEEL.cx}" cy="${WHEEL.cy}" r="${fmt(r, 1)}" ${attrs}/>`;
}

// Returns the outline of one zodiac sign glyph centred on (x, y), `size` twips per em.
function signGlyph(index, x, y, size) {
  const shaped = shapeText(FONTS.symbols, SIGN_CHARS[index]);
  const b = bounds(shaped);
  const s = size / 100;
  const mx = (b.x0 + b.x1) / 2, my = (b.y0 + b.y1) / 2;
  return transform(shaped, ([px, py]) => [x + (px - mx) * s, y + (py - my) * s]);
}

function panel() {
  const { width: W, height: H } = PICTURE;
  return [
    `<rect width="${W}" height="${H}" fill="${COLOURS.frameDark}"/>`,
    `<rect x="60" y="60" width="${W - 120}" height="${H - 120}" rx="60" fill="url(#panel)"/>`,
    `<rect x="60" y="60" width="${W - 120}" height="${H - 120}" rx="60" fill="url(#glow)"/>`,
    `<rect x="90" y="90" width="${W - 180}" height="${H - 180}" rx="45" fill="none" stroke="${COLOURS.brass}" stroke-width="15" stroke-opacity=".8"/>`,
    `<rect x="135" y="135" width="${W - 270}" height="${H - 270}" rx="30" fill="none" stroke="${COLOURS.brass}" stroke-width="8" stroke-opacity=".35"/>`,
  ].join('\n');
}

function title() {
  const t = outlineText(FONTS.title, TITLE, { x: PICTURE.width / 2, y: 460, height: 680 });
  assertClear('the title', t.commands, { zone: DATE_ZONE, radius: PLATE_RADIUS });
  // A soft dark copy below and to the right lifts the gilt letters off the panel.
  const svg = `<defs><path id="title" d="${t.d}"/></defs>` +
    `<use xlink:href="#title" transform="translate(14 20)" fill="#0B1020" fill-opacity=".55"/>` +
    `<use xlink:href="#title" fill="url(#gold)"/>`;
  return { svg, box: t.box };
}

// Thin rules either side of the title, each ending in a small diamond.
function titleRules(box) {
  const y = 520;
  const gap = 180, len = 1000;
  const parts = [];
  for (const side of [-1, 1]) {
    const x0 = side < 0 ? box.x0 - gap : box.x1 + gap;
    const x1 = x0 + side * len;
    parts.push(`M${fmt(x0)} ${y}H${fmt(x1)}`);
  }
  const diamonds = [box.x0 - gap - len, box.x1 + gap + len].map((x) =>
    `M${fmt(x)} ${y - 45}l45 45-45 45-45-45z`).join('');
  return `<path d="${parts.join('')}" stroke="${COLOURS.brass}" stroke-width="12" stroke-opacity=".7"/>` +
    `<path d="${diamonds}" fill="${COLOURS.brass}"/>`;
}

function wheel() {
  const { inner, outer } = WHEEL;
  const scaleOuter = inner + 105;
  const out = [];
  // The plate the wheel and the body glyphs sit on.
  out.push(circle(PLATE_RADIUS, `fill="#000" fill-opacity=".14" stroke="${COLOURS.brass}" stroke-width="12" stroke-opacity=".35"`));
  out.push(circle((inner + outer) / 2, `fill="none" stroke="${COLOURS.ring}" stroke-width="${fmt(outer - inner, 1)}"`));
  // Every other sector a shade lighter, Aries dark.
  const odd = [1, 3, 5, 7, 9, 11].map((k) => annularSector(30 * k, 30 * k + 30, scaleOuter, outer)).join('');
  out.push(`<path d="${odd}" fill="#fff" fill-opacity=".05"/>`);
  // Degree scale along the inner edge: a mark every 5°, longer every 10°.
  out.push(circle((inner + scaleOuter) / 2, `fill="none" stroke="#141C2E" stroke-width="105"`));
  const fives = [], tens = [];
  for (let lon = 0; lon < 360; lon += 5) {
    if (lon % 30 === 0) continue;
    (lon % 10 === 0 ? tens : fives).push(lon);
  }
  out.push(`<path d="${radialStrokes(fives, inner, inner + 45)}${radialStrokes(tens, inner, inner + 75)}" stroke="${COLOURS.brass}" stroke-width="10" stroke-opacity=".8"/>`);
  // Sector dividers and the circles.
  const cusps = Array.from({ length: 12 }, (_, k) => 30 * k);
  out.push(`<path d="${radialStrokes(cusps, inner, outer)}" stroke="${COLOURS.brass}" stroke-width="14" stroke-opacity=".75"/>`);
  out.push(circle(scaleOuter, `fill="none" stroke="${COLOURS.brass}" stroke-width="8" stroke-opacity=".45"`));
  out.push(circle(outer, `fill="none" stroke="${COLOURS.brass}" stroke-width="22"`));
  out.push(circle(outer + 55, `fill="none" stroke="${COLOURS.brass}" stroke-width="8" stroke-opacity=".5"`));
  out.push(circle(inner, `fill="${COLOURS.field}" stroke="${COLOURS.brass}" stroke-width="18"`));
  // Sign glyphs at the middle of their sectors, grouped by element colour.
  const glyphR = 1700;
  for (let e = 0; e < 4; e++) {
    const cmds = [e, e + 4, e + 8].flatMap((k) => {
      const p = wheelPoint(30 * k + 15, glyphR);
      return signGlyph(k, p.x, p.y, 300);
    });
    out.push(`<path fill="${ELEMENT_COLOURS[e]}" d="${toPathData(cmds)}"/>`);
  }
  return out.join('\n');
}

function rows() {
  const out = [];
  const glyphs = ELEMENT_COLOURS.map(() => []);
  let frames = '', highlights = '', dividers = '';
  for (let k = 0; k < 12; k++) {
    const label = SIGN_LABELS[k];
    const cy = label.top + label.height / 2;
    const top = cy - ROWS.height / 2;
    const w = ROWS.right - ROWS.left;
    if (label.left < ROWS.left || label.left + label.width > ROWS.slot || label.height > ROWS.height) {
      throw new Error(`sign label ${k} does not fit the text part of its row`);
    }
    frames += `<rect x="${ROWS.left}" y="${fmt(top)}" width="${w}" height="${ROWS.height}" rx="60"/>`;
    highlights += `M${ROWS.left + 60} ${fmt(top + 22)}h${w - 120}`;
    dividers += `M${ROWS.slot} ${fmt(top + 45)}v${ROWS.height - 90}`;
    glyphs[k % 4].push(...signGlyph(k, (ROWS.slot + ROWS.right) / 2, cy, 165));
  }
  out.push(`<g fill="url(#row)" stroke="${COLOURS.rowEdge}" stroke-width="14" stroke-opacity=".55">${frames}</g>`);
  out.push(`<path d="${highlights}" stroke="#fff" stroke-width="10" stroke-opacity=".1"/>`);
  out.push(`<path d="${dividers}" stroke="${COLOURS.rowEdge}" stroke-width="10" stroke-opacity=".35"/>`);
  glyphs.forEach((cmds, e) => out.push(`<path fill="${ELEMENT_COLOURS[e]}" d="${toPathData(cmds)}"/>`));
  return out.join('\n');
}

// The emblem: an eight-pointed star of two squares inside an astrolabe-like ring.
function emblem() {
  const cx = 600, cy = 6270, r = 360;
  const star = [0, 45].map((rot) => {
    const pts = [0, 90, 180, 270].map((a) => {
      const t = ((a + rot) * Math.PI) / 180;
      return `${fmt(cx + 245 * Math.cos(t))} ${fmt(cy + 245 * Math.sin(t))}`;
    });
    return `M${pts.join('L')}z`;
  }).join('');
  const ticks = pathWriter(0);
  for (let a = 0; a < 360; a += 15) {
    const t = (a * Math.PI) / 180;
    const r0 = a % 45 === 0 ? r - 70 : r - 40;
    const x0 = Math.round(cx + r0 * Math.cos(t)), y0 = Math.round(cy + r0 * Math.sin(t));
    ticks.command('M', [x0, y0]);
    ticks.command('l', [Math.round(cx + r * Math.cos(t)) - x0, Math.round(cy + r * Math.sin(t)) - y0]);
  }
  return [
    `<circle cx="${cx}" cy="${cy}" r="${r}" fill="#000" fill-opacity=".15" stroke="${COLOURS.brass}" stroke-width="18"/>`,
    `<circle cx="${cx}" cy="${cy}" r="${r - 95}" fill="none" stroke="${COLOURS.brass}" stroke-width="8" stroke-opacity=".6"/>`,
    `<path d="${ticks.text()}" stroke="${COLOURS.brass}" stroke-width="10"/>`,
    `<path d="${star}" fill="${COLOURS.brass}" fill-opacity=".18" stroke="${COLOURS.brassLight}" stroke-width="12" stroke-linejoin="round"/>`,
    `<circle cx="${cx}" cy="${cy}" r="105" fill="${COLOURS.frameDark}" stroke="${COLOURS.brass}" stroke-width="12"/>`,
    `<circle cx="${cx}" cy="${cy}" r="38" fill="${COLOURS.cream}"/>`,
  ].join('\n');
}

function lowerLine() {
  const t = outlineText(FONTS.line, LOWER_LINE, { x: ROWS.right, y: 6470, height: 250, anchor: 'end' });
  assertClear('the lower line', t.commands, { radius: PLATE_RADIUS, below: LAST_ROW_BOTTOM });
  return `<path fill="${COLOURS.lowerLine}" d="${t.d}"/>`;
}

function defs() {
  return `<defs>
<linearGradient id="panel" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="${COLOURS.panelTop}"/><stop offset="1" stop-color="${COLOURS.panelBottom}"/></linearGradient>
<radialGradient id="glow" cx="${fmt(WHEEL.cx / PICTURE.width, 3)}" cy="${fmt(WHEEL.cy / PICTURE.height, 3)}" r=".6"><stop offset="0" stop-color="#5A78A8" stop-opacity=".28"/><stop offset="1" stop-color="#5A78A8" stop-opacity="0"/></radialGradient>
<linearGradient id="gold" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="${COLOURS.brassLight}"/><stop offset="1" stop-color="${COLOURS.brass}"/></linearGradient>
<linearGradient id="row" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="${COLOURS.rowTop}"/><stop offset="1" stop-color="${COLOURS.rowBottom}"/></linearGradient>
</defs>`;
}

// Returns the whole picture as SVG text.
export function buildBackground() {
  const t = title();
  const body = [defs(), panel(), t.svg, titleRules(t.box), wheel(), rows(), emblem(), lowerLine()].join('\n');
  return `<?xml version="1.0" encoding="UTF-8"?>
<!-- Zodiac chart background, 513 x 458 px; coordinates in twips (15 to a pixel).
     Text outlined from Amiri, Noto Naskh Arabic and Noto Sans Symbols (SIL Open Font License 1.1). -->
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" version="1.1" width="513" height="458" viewBox="0 0 ${PICTURE.width} ${PICTURE.height}">
${body}
</svg>
`;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const i = process.argv.indexOf('--out');
  const out = i > 0 && process.argv[i + 1] ? resolve(process.argv[i + 1]) : resolve(repoRoot, 'assets/background.svg');
  writeFileSync(out, buildBackground());
  console.log(`wrote ${out}`);
}
