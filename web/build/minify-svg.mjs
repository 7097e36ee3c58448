// Minifies an artwork file for the web bundle: node minify-svg.mjs IN OUT.
// Drops the XML declaration, comments, the version attribute and the white space between tags
// (no file holds <text>, whose spaces would count). In a file whose user units are finer than a
// fifth of a pixel (the background is in twips, 15 to a pixel), the outlines of filled paths
// (the text and symbols drawn as outlines) are written on a grid of a fifth of a pixel under a
// scale transform: each point moves by at most a tenth of a pixel, and the numbers get shorter.
import { readFileSync, writeFileSync } from 'node:fs';

const [input, output] = process.argv.slice(2);
let svg = readFileSync(input, 'utf8');
if (svg.includes('<text')) throw new Error(`${input} holds <text>: its white space may count`);
svg = svg.replace(/<\?xml[^>]*\?>/g, '').replace(/<!--[\s\S]*?-->/g, '')
  .replace(/ version="1\.1"/, '').replace(/>\s+/g, '>').replace(/\s+</g, '<').replace(/\s+/g, ' ');

const root = /<svg [^>]*>/.exec(svg)[0];
const width = Number(/ width="([\d.]+)"/.exec(root)?.[1]);
const viewWidth = Number(/ viewBox="[\d.-]+ [\d.-]+ ([\d.]+) /.exec(root)?.[1]);
const grid = Math.floor(viewWidth / width / 5);
if (grid >= 2) svg = svg.replace(/<path [^>]*>/g, (tag) => onGrid(tag, grid));
writeFileSync(output, svg);

// A filled path without stroke or transform, drawn with moves, lines and cubic curves, on the
// grid (its points rounded where they are absolute, so no error adds up); other paths as they are.
function onGrid(tag, step) {
  const d = / d="([^"]*)"/.exec(tag)?.[1];
  if (!d || / (stroke|transform)=/.test(tag) || /[^MmLlHhVvCcZz\d.,\s-]/.test(d)) return tag;
  const arity = { M: 2, L: 2, H: 1, V: 1, C: 6, Z: 0 };
  const tokens = d.match(/[A-Za-z]|-?(\d+\.?\d*|\.\d+)/g);
  const at = (v) => Math.round(v / step);
  let out = '';
  let x = 0, y = 0, startX = 0, startY = 0, command = null;
  for (let i = 0; i < tokens.length;) {
    if (/[A-Za-z]/.test(tokens[i])) command = tokens[i++];
    const upper = command.toUpperCase();
    const relative = command !== upper;
    if (upper === 'Z') {
      out += 'z';
      [x, y] = [startX, startY];
      continue;
    }
    const a = tokens.slice(i, i + arity[upper]).map(Number);
    i += arity[upper];
    const point = (k) => (relative ? [x + a[k], y + a[k + 1]] : [a[k], a[k + 1]]);
    const delta = ([px, py]) => `${at(px) - at(x)} ${at(py) - at(y)}`;
    if (upper === 'M') {
      [x, y] = point(0);
      [startX, startY] = [x, y];
      out += `M${at(x)} ${at(y)}`;
      command = relative ? 'l' : 'L'; // further pairs are lines
    } else if (upper === 'L') {
      const p = point(0);
      out += `l${delta(p)}`;
      [x, y] = p;
    } else if (upper === 'H') {
      const nx = relative ? x + a[0] : a[0];
      out += `h${at(nx) - at(x)}`;
      x = nx;
    } else if (upper === 'V') {
      const ny = relative ? y + a[0] : a[0];
      out += `v${at(ny) - at(y)}`;
      y = ny;
    } else {
      const points = [0, 2, 4].map(point);
      out += `c${points.map(delta).join(' ')}`;
      [x, y] = points[2];
    }
  }
  return tag.replace(/ d="[^"]*"/, ` transform="scale(${step})" d="${compact(out)}"`);
}

// Path data written shorter with the same outline: a command letter repeated right after the
// same command is left out (its numbers continue the previous ones), and no space before a
// minus sign.
function compact(d) {
  let previous = null;
  return d.replace(/([A-Za-z])([^A-Za-z]*)/g, (_, command, numbers) => {
    const repeated = command === previous && 'lchv'.includes(command);
    previous = command;
    const text = numbers.replace(/ -/g, '-');
    if (!repeated) return command + text;
    return text.startsWith('-') ? text : ` ${text}`;
  });
}
