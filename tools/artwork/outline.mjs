// Text as outlines: shapes a string with HarfBuzz's hb-view (libharfbuzz-bin) and
// returns its glyph outlines as one compact SVG path, placed and scaled as asked.
// A visitor's machine has none of our fonts, so text that belongs to a picture ships
// as paths. hb-view writes glyphs as <symbol>s of absolute M/L/C/Z paths and places
// them with <use x y>; we flatten that into absolute points, transform and round.

import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

// Shapes `text` with the font at `fontFile` and returns its contours:
// [{ cmd: 'M'|'L'|'C'|'Z', pts: [[x, y], ...] }], in hb-view units (font size
// `size`, y down, origin at the top left of hb-view's canvas). `features` is
// hb-view's comma-separated feature list. Throws when hb-view fails.
export function shapeText(fontFile, text, { size = 100, features = '' } = {}) {
  const dir = mkdtempSync(join(tmpdir(), 'outline-'));
  const out = join(dir, 'text.svg');
  try {
    const args = [`--font-file=${fontFile}`, `--font-size=${size}`, '--output-format=svg', '-o', out];
    if (features) args.push(`--features=${features}`);
    execFileSync('hb-view', [...args, text]);
    return parseHbSvg(readFileSync(out, 'utf8'));
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}

// Reads hb-view's SVG: every <use> of a glyph symbol becomes that symbol's
// commands shifted by the use's x and y.
function parseHbSvg(svg) {
  const symbols = new Map();
  for (const m of svg.matchAll(/<symbol[^>]*id="([^"]+)"[^>]*>\s*<path[^>]*\sd="([^"]*)"/g)) {
    symbols.set(m[1], parsePathData(m[2]));
  }
  const commands = [];
  for (const m of svg.matchAll(/<use xlink:href="#([^"]+)" x="([-\d.]+)" y="([-\d.]+)"/g)) {
    const glyph = symbols.get(m[1]);
    if (!glyph) continue; // a space or a glyph with no outline
    const dx = Number(m[2]), dy = Number(m[3]);
    for (const c of glyph) commands.push({ cmd: c.cmd, pts: c.pts.map(([x, y]) => [x + dx, y + dy]) });
  }
  return commands;
}

// Splits absolute path data made of M, L, C and Z into commands with point lists.
function parsePathData(d) {
  const tokens = d.match(/[MLCZ]|-?\d*\.?\d+(?:e-?\d+)?/g) ?? [];
  const perCommand = { M: 1, L: 1, C: 3, Z: 0 };
  const commands = [];
  let i = 0;
  while (i < tokens.length) {
    const cmd = tokens[i++];
    if (!(cmd in perCommand)) throw new Error(`unexpected path token ${cmd}`);
    const pts = [];
    for (let k = 0; k < perCommand[cmd]; k++) pts.push([Number(tokens[i++]), Number(tokens[i++])]);
    commands.push({ cmd, pts });
  }
  return commands;
}

// Returns the bounding box { x0, y0, x1, y1 } of the commands' points (control
// points included, so the box may be slightly larger than the ink).
export function bounds(commands) {
  let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
  for (const c of commands) {
    for (const [x, y] of c.pts) {
      x0 = Math.min(x0, x); y0 = Math.min(y0, y); x1 = Math.max(x1, x); y1 = Math.max(y1, y);
    }
  }
  return { x0, y0, x1, y1 };
}

// Maps every point through `f([x, y]) -> [x, y]`.
export function transform(commands, f) {
  return commands.map((c) => ({ cmd: c.cmd, pts: c.pts.map(f) }));
}

// Serialises commands as a compact path: coordinates rounded to `step` (1 = whole
// units) in absolute space first, then written as relative moves, so rounding
// never accumulates along a contour.
export function toPathData(commands, step = 1) {
  const decimals = Math.max(0, -Math.floor(Math.log10(step) + 1e-9));
  const round = (v) => Math.round(v / step) * step;
  const writer = pathWriter(decimals);
  let cx = 0, cy = 0, sx = 0, sy = 0;
  for (const c of commands) {
    const pts = c.pts.map(([x, y]) => [round(x), round(y)]);
    if (c.cmd === 'M') {
      writer.command('M', pts[0]);
      [cx, cy] = pts[0]; [sx, sy] = pts[0];
    } else if (c.cmd === 'L') {
      const [x, y] = pts[0];
      if (x === cx && y === cy) continue;
      if (y === cy) writer.command('h', [x - cx]);
      else if (x === cx) writer.command('v', [y - cy]);
      else writer.command('l', [x - cx, y - cy]);
      [cx, cy] = [x, y];
    } else if (c.cmd === 'C') {
      writer.command('c', pts.flatMap(([x, y]) => [x - cx, y - cy]));
      [cx, cy] = pts[2];
    } else {
      writer.command('z', []);
      [cx, cy] = [sx, sy];
    }
  }
  return writer.text();
}

// Writes path commands with the fewest separators: a repeated relative command
// letter is left out, and numbers are spaced only where the next one would
// otherwise run into the previous.
export function pathWriter(decimals = 0) {
  let out = '';
  let lastLetter = '';
  let lastNumber = null;
  const fmt = (v) => {
    const s = String(Number(v.toFixed(decimals)));
    return s === '-0' ? '0' : s.replace(/^(-?)0\./, '$1.');
  };
  return {
    command(letter, nums) {
      const repeat = letter === lastLetter && /[a-y]/.test(letter);
      if (!repeat || nums.length === 0) { out += letter; lastNumber = null; }
      lastLetter = letter;
      for (const n of nums) {
        const t = fmt(n);
        const glued = lastNumber === null || t.startsWith('-') || (t.startsWith('.') && lastNumber.includes('.'));
        out += (glued ? '' : ' ') + t;
        lastNumber = t;
      }
    },
    text: () => out,
  };
}

// Shapes `text` and places it in twips: the ink's height (cap to descender, from
// hb-view's box) becomes `height`, horizontally anchored at `x` ('start' = left
// edge, 'middle', 'end' = right edge), with the ink's vertical centre at `y`.
// Returns { d, box, commands }: the path data, the placed bounds and the placed commands.
export function outlineText(fontFile, text, { x, y, height, anchor = 'middle', features = '', step = 1 }) {
  const shaped = shapeText(fontFile, text, { features });
  const b = bounds(shaped);
  const s = height / (b.y1 - b.y0);
  const w = (b.x1 - b.x0) * s;
  const left = anchor === 'start' ? x : anchor === 'end' ? x - w : x - w / 2;
  const top = y - height / 2;
  const placed = transform(shaped, ([px, py]) => [left + (px - b.x0) * s, top + (py - b.y0) * s]);
  return { d: toPathData(placed, step), box: { x0: left, y0: top, x1: left + w, y1: top + height }, commands: placed };
}
