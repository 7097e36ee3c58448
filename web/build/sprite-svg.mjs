// Joins artwork files of one size into a single sprite for the web bundle:
// node sprite-svg.mjs OUT NAME=IN... (IN already minified by minify-svg.mjs).
// Each picture becomes a nested <svg> (which clips to its box, as the file's edge did) in a
// column, and a <view id="NAME"> shows it alone: `sprite.svg#NAME` in an <img> draws that
// picture at the same size. The browser fetches and parses one file for all of them.
// Without a fragment the sprite shows its first picture.
import { readFileSync, writeFileSync } from 'node:fs';

const [output, ...pictures] = process.argv.slice(2);
let size = null;
const parts = pictures.map((arg, k) => {
  const [name, input] = arg.split('=');
  const svg = readFileSync(input, 'utf8');
  const root = /^<svg [^>]*>/.exec(svg)?.[0];
  if (!root || !svg.endsWith('</svg>')) throw new Error(`${input}: not one <svg> element`);
  const attribute = (key) => new RegExp(` ${key}="([^"]*)"`).exec(root)?.[1];
  const [width, height, viewBox] = ['width', 'height', 'viewBox'].map(attribute);
  if (!width || !height || !viewBox || / (id|xmlns:\w+|preserveAspectRatio)=/.test(root))
    throw new Error(`${input}: the sprite needs width, height and viewBox and nothing more`);
  if (/ id="/.test(svg)) throw new Error(`${input}: ids would clash in the sprite`);
  size ??= { width, height };
  if (size.width !== width || size.height !== height)
    throw new Error(`${input}: ${width} x ${height}, the sprite's pictures are ${size.width} x ${size.height}`);
  const y = k * Number(height);
  const inner = svg.slice(root.length, -'</svg>'.length);
  return `<view id="${name}" viewBox="0 ${y} ${width} ${height}"/>` +
    `<svg y="${y}" width="${width}" height="${height}" viewBox="${viewBox}">${inner}</svg>`;
});
writeFileSync(output, `<svg xmlns="http://www.w3.org/2000/svg" width="${size.width}" ` +
  `height="${size.height}" viewBox="0 0 ${size.width} ${size.height}">${parts.join('')}</svg>`);
