// Joins the chart's artwork into one file for the web bundle:
// node sprite-svg.mjs OUT BASE NAME=IN... (every input already minified by minify-svg.mjs).
// BASE (the background) stays the file's own picture: its root, its size and its viewBox, so
// the file without a fragment draws it as before. Each NAME picture becomes a nested <svg>
// (which clips to its box, as the picture's own edge did) in a column to the right of BASE's
// viewBox, well clear of anything BASE draws, and a <view id="NAME"> shows it alone:
// `OUT#NAME` in an <image> or <img> of the picture's size draws that picture as its own file
// did (the view's preserveAspectRatio="none" maps its box onto the whole image, which the
// root's own size would otherwise letterbox). The browser fetches and parses one file.
import { readFileSync, writeFileSync } from 'node:fs';

const [output, basePath, ...pictures] = process.argv.slice(2);

function rootOf(svg, input) {
  const root = /^<svg [^>]*>/.exec(svg)?.[0];
  if (!root || !svg.endsWith('</svg>')) throw new Error(`${input}: not one <svg> element`);
  const attribute = (key) => new RegExp(` ${key}="([^"]*)"`).exec(root)?.[1];
  const [width, height, viewBox] = ['width', 'height', 'viewBox'].map(attribute);
  if (!width || !height || !viewBox || / preserveAspectRatio=/.test(root))
    throw new Error(`${input}: the artwork needs width, height and viewBox, and no preserveAspectRatio`);
  return { root, width, height, viewBox: viewBox.split(/[\s,]+/).map(Number) };
}

const base = readFileSync(basePath, 'utf8');
const baseRoot = rootOf(base, basePath);
const [bx, by, bw] = baseRoot.viewBox;
const ids = new Set([...base.matchAll(/ id="([^"]*)"/g)].map((m) => m[1]));
const x = bx + 2 * bw;
let y = by;
const parts = pictures.map((arg) => {
  const [name, input] = arg.split('=');
  const svg = readFileSync(input, 'utf8');
  const { root, width, height, viewBox } = rootOf(svg, input);
  if (/ (id|xmlns:\w+)=/.test(root)) throw new Error(`${input}: its root needs no id or namespace`);
  if (/ id="/.test(svg) || ids.has(name)) throw new Error(`${input}: ids would clash in ${output}`);
  ids.add(name);
  const [w, h] = [Number(width), Number(height)];
  const part = `<view id="${name}" viewBox="${x} ${y} ${w} ${h}" preserveAspectRatio="none"/>` +
    `<svg x="${x}" y="${y}" width="${w}" height="${h}" viewBox="${viewBox.join(' ')}">` +
    `${svg.slice(root.length, -'</svg>'.length)}</svg>`;
  y += h;
  return part;
});
writeFileSync(output, `${base.slice(0, -'</svg>'.length)}${parts.join('')}</svg>`);
