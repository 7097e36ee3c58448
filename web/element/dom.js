// What the element and the page overlay both draw with: the control's units, its artwork, and
// small DOM builders. Colours and fonts come from the module's state in CSS terms.
export const PX = 15; // twips to a CSS pixel
export const PT = 96 / 72; // CSS pixels to a point

// Where the bundle is, and so its artwork: one file, artwork.svg, holds the background and the
// ten glyphs, each glyph one of its views (artwork.svg#glyph-N), as the module's markup names
// them.
export const BASE = new URL('./', import.meta.url).href;
const ARTWORK = new URL('artwork.svg', BASE).href;

// Starts downloading the chart's artwork now, beside the module, rather than when the first
// chart is drawn. A preload starts at once, but serves only a request for the very same
// address, fragment included (the background's); an image kept here serves the chart's images
// of the same address less any fragment (the glyphs' views). Both share one response. The
// pointing hand is fetched by the style sheet's cursor when the first sign label shows.
let kept = null;
export function preloadArtwork() {
  const link = document.createElement('link');
  link.rel = 'preload';
  link.as = 'image';
  link.href = ARTWORK;
  document.head.append(link);
  kept = new Image();
  kept.src = ARTWORK;
}
export function applyFont(style, font) {
  style.fontFamily = font.family;
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

// A constructed stylesheet; its relative addresses resolve against baseURL when given.
export function sheet(text, baseURL = undefined) {
  const s = new CSSStyleSheet(baseURL ? { baseURL } : {});
  s.replaceSync(text);
  return s;
}

// Brings the live node to the shape of next (a parsed node of the same kind), changing only
// what differs: attributes, text, and children by position; a child of another kind is
// replaced. Nodes that stay keep their focus, their listeners and their loaded pictures; an
// address that resolves to the same as before is left as it is, so no picture loads again.
export function morph(live, next) {
  for (const { name } of [...live.attributes]) if (!next.hasAttribute(name)) live.removeAttribute(name);
  for (const { name, value } of next.attributes) {
    const old = live.getAttribute(name);
    if (old === value) continue;
    if (name === 'href' && old !== null && new URL(old, document.baseURI).href === value) continue;
    live.setAttribute(name, value);
  }
  let l = live.firstChild;
  for (let n = next.firstChild; n; n = n.nextSibling) {
    if (l && l.nodeType === n.nodeType && l.nodeName === n.nodeName) {
      if (l.nodeType === Node.ELEMENT_NODE) morph(l, n);
      else if (l.nodeValue !== n.nodeValue) l.nodeValue = n.nodeValue;
      l = l.nextSibling;
    } else {
      live.insertBefore(document.importNode(n, true), l);
    }
  }
  while (l) {
    const after = l.nextSibling;
    l.remove();
    l = after;
  }
}

export const SVG_NS = 'http://www.w3.org/2000/svg';
export function svg(name, attributes = {}) {
  const e = document.createElementNS(SVG_NS, name);
  for (const [k, v] of Object.entries(attributes)) e.setAttribute(k, String(v));
  return e;
}

// The date label's text for instant d: the visitor's short date and medium time with the year
// always in full (four digits, in the visitor's digits). A local day before 1582-10-15 is the
// Julian calendar's, as the control computed it: that date in the same format, followed by
// the mark "(يولياني)". julianDate(year, month, day) gives the Julian date [y, m, d] of a
// proleptic Gregorian date before the reform, else null (the module's calendar).
export const JULIAN_MARK = '(يولياني)';
export function dateLabel(d, julianDate = () => null, locale = undefined) {
  const local = new Intl.DateTimeFormat(locale, { dateStyle: 'short', timeStyle: 'medium' });
  const { calendar, numberingSystem, timeZone } = local.resolvedOptions();
  const field = (f, date, type) => Number(f.formatToParts(date).find((p) => p.type === type)?.value);
  // The local reading in the proleptic Gregorian calendar.
  const g = new Intl.DateTimeFormat('en-US', { timeZone, calendar: 'gregory', numberingSystem: 'latn',
    hourCycle: 'h23', year: 'numeric', month: 'numeric', day: 'numeric', hour: 'numeric',
    minute: 'numeric', second: 'numeric', era: 'short' });
  const era = g.formatToParts(d).find((p) => p.type === 'era')?.value;
  const year = era === 'BC' ? 1 - field(g, d, 'year') : field(g, d, 'year');
  const julian = julianDate(year, field(g, d, 'month'), field(g, d, 'day'));
  if (!julian) return withFullYear(local, d, locale, calendar, numberingSystem);
  // The Julian date with the local time of day, shown through a UTC formatter.
  const [jy, jm, jd] = julian;
  const j = new Date(0);
  j.setUTCFullYear(jy, jm - 1, jd);
  j.setUTCHours(field(g, d, 'hour'), field(g, d, 'minute'), field(g, d, 'second'));
  const utc = new Intl.DateTimeFormat(locale, { dateStyle: 'short', timeStyle: 'medium',
    calendar: 'gregory', numberingSystem, timeZone: 'UTC' });
  // First-strong isolates keep the date's own order inside the Arabic line.
  return `\u2068${withFullYear(utc, j, locale, 'gregory', numberingSystem)}\u2069 ${JULIAN_MARK}`;
}

// format's text of d with its year part replaced by the whole year (four digits at least in
// the Gregorian calendar).
function withFullYear(format, d, locale, calendar, numberingSystem) {
  const { timeZone } = format.resolvedOptions();
  const yearOnly = new Intl.DateTimeFormat(locale, { calendar, numberingSystem, timeZone,
    year: 'numeric' }).formatToParts(d).find((p) => p.type === 'year')?.value;
  const latin = new Intl.DateTimeFormat('en-US', { calendar, numberingSystem: 'latn', timeZone,
    year: 'numeric' }).formatToParts(d).find((p) => p.type === 'year')?.value;
  const full = calendar === 'gregory' && /^\d+$/.test(latin ?? '')
    ? new Intl.NumberFormat(locale, { numberingSystem, minimumIntegerDigits: 4, useGrouping: false })
      .format(Number(latin))
    : yearOnly;
  return format.formatToParts(d).map((p) => (p.type === 'year' && full ? full : p.value)).join('');
}
