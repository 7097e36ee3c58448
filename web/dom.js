// What the element and the page overlay both draw with: the control's units, kinds, colours
// and fonts in CSS terms, and small DOM builders.
export const PX = 15; // twips to a CSS pixel
export const PT = 96 / 72; // CSS pixels to a point

// Child control kinds and alignments (analysis/child_control.h).
export const Kind = { label: 0, image: 1, textBox: 2, button: 3, pictureBox: 4 };
export const ALIGN = ['left', 'right', 'center'];
export const POINTER_HAND = 1;
export const STOP_ICON = 16;
export const PEN_DASH = 1;
export const PEN_DOT = 2;
// DOM mouse buttons (0 main, 1 middle, 2 secondary) as the control numbers them.
export const MOUSE_BUTTONS = [1, 4, 2];

// The design's fonts onto fonts that pages have.
export const FONT_STACKS = {
  'Arabic Transparent': '"Noto Sans Arabic", "Noto Naskh Arabic", Amiri, "DejaVu Sans", sans-serif',
  Tahoma: 'Tahoma, "Noto Sans Arabic", "DejaVu Sans", sans-serif',
};
export const SYSTEM_COLOURS = { 0x8000000f: '#F0F0F0' }; // button face

export const art = (name) => new URL(`${name}.svg`, import.meta.url).href;
// Where the pointing hand's fingertip is in hand.svg (pixels from its top left).
export const HAND_HOTSPOT = '11 1';

// A colour 0x00BBGGRR (or a system colour 0x800000nn) as CSS.
export function cssColour(colour) {
  if (colour >= 0x80000000) return SYSTEM_COLOURS[colour] ?? '#F0F0F0';
  const hex = (v) => v.toString(16).padStart(2, '0');
  return `#${hex(colour & 255)}${hex((colour >>> 8) & 255)}${hex((colour >>> 16) & 255)}`;
}

export const fontStack = (name) => FONT_STACKS[name] ?? FONT_STACKS.Tahoma;

export function applyFont(style, font) {
  style.fontFamily = fontStack(font.name);
  style.fontSize = `${font.size * PT}px`;
  style.fontWeight = String(font.weight);
}

// Position (and size) of a child control, twips to CSS pixels.
export function place(style, c, withSize = true) {
  style.left = `${c.left / PX}px`;
  style.top = `${c.top / PX}px`;
  if (withSize) {
    style.width = `${c.width / PX}px`;
    style.height = `${c.height / PX}px`;
  }
}

export function sheet(text) {
  const s = new CSSStyleSheet();
  s.replaceSync(text);
  return s;
}

export const SVG_NS = 'http://www.w3.org/2000/svg';
export function svg(name, attributes = {}) {
  const e = document.createElementNS(SVG_NS, name);
  for (const [k, v] of Object.entries(attributes)) e.setAttribute(k, String(v));
  return e;
}
