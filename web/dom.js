// What the element and the page overlay both draw with: the control's units, colours and
// fonts in CSS terms, its artwork, and small DOM builders.
export const PX = 15; // twips to a CSS pixel
export const PT = 96 / 72; // CSS pixels to a point

// The design's fonts onto fonts that pages have.
export const FONT_STACKS = {
  'Arabic Transparent': '"Noto Sans Arabic", "Noto Naskh Arabic", Amiri, "DejaVu Sans", sans-serif',
  Tahoma: 'Tahoma, "Noto Sans Arabic", "DejaVu Sans", sans-serif',
};
export const SYSTEM_COLOURS = { 0x8000000f: '#F0F0F0' }; // button face

export const art = (name) => new URL(`${name}.svg`, import.meta.url).href;
// Every picture a chart shows: its background, the ten glyphs and the pointing hand.
export const ARTWORK = ['background', ...Array.from({ length: 10 }, (_, k) => `glyph-${k}`),
  'hand'];

// Starts downloading the artwork now, beside the module, rather than when the first chart
// is drawn; the chart's images and cursor then take the preloaded responses.
export function preloadArtwork() {
  for (const name of ARTWORK) {
    const link = document.createElement('link');
    link.rel = 'preload';
    link.as = 'image';
    link.href = art(name);
    document.head.append(link);
  }
}
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
