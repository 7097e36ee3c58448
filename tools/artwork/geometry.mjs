// Geometry shared by the background picture and its preview, in twips (15 to a CSS
// pixel), origin top left, y down. Written by tools/artwork/geometry_mjs.cpp from the
// control's own constants; do not edit: rebuild and run
//   build/geometry-mjs > tools/artwork/geometry.mjs

export const TWIPS_PER_PX = 15;
export const PICTURE = { width: 7695, height: 6870 };
export const CONTROL = { width: 7695, height: 6885 };

// The zodiac wheel: centre, the inner circle the aspect chords live in, the outer edge
// of the sign ring (where body ticks end) and the radius the body glyphs are placed at.
export const WHEEL = {
  cx: 3200,
  cy: 3900,
  inner: 6000 / 4.6,
  outer: 6000 / 2.8999999523162843,
  body: 6000 / 2.799999952316284,
};

// The body glyph images: 300 x 300 twips, centred at the body radius shifted by this much.
export const BODY_GLYPH = { size: 300, shift: -70 };

// The date label: its top left, and how far it may grow.
export const DATE_LABEL = { left: 5265, top: 855, right: 7500, height: 225 };

// The twelve sign labels, Aries first: left, top, width, height.
export const SIGN_LABELS = [
  [6450, 1530, 750, 210], [6645, 1875, 570, 210], [6435, 2250, 750, 210],
  [6255, 2565, 960, 210], [6465, 2895, 720, 210], [6330, 3240, 870, 210],
  [6405, 3570, 780, 210], [6390, 3870, 780, 210], [6405, 4275, 780, 210],
  [6420, 4635, 750, 210], [6420, 4980, 750, 210], [6435, 5310, 720, 210],
].map(([left, top, width, height]) => ({ left, top, width, height }));

// Returns the screen point { x, y } of ecliptic longitude `lonDeg` (degrees) at radius
// `r` (twips): 0° of Aries lies straight left of the centre, and longitude runs
// counter-clockwise on screen (90° straight below, 270° at the top).
export function wheelPoint(lonDeg, r) {
  const a = (lonDeg * Math.PI) / 180;
  return { x: WHEEL.cx - r * Math.cos(a), y: WHEEL.cy + r * Math.sin(a) };
}

// Returns the top left { left, top } (twips) of the 300 x 300 glyph image of a body at
// longitude `lonDeg`.
export function bodyGlyphBox(lonDeg) {
  const p = wheelPoint(lonDeg, WHEEL.body);
  const half = BODY_GLYPH.size / 2;
  return { left: p.x + BODY_GLYPH.shift - half, top: p.y + BODY_GLYPH.shift - half };
}
