// The page a site would build without the widget, for the side-by-side report: astronomy-engine
// for the ten apparent longitudes of date, now and one day later (the retrograde ones move
// backward), and AstroChart for a radix wheel with the aspects between them.
import { Chart } from '@astrodraw/astrochart';
import * as Astronomy from 'astronomy-engine';

const BODIES = ['Sun', 'Moon', 'Mercury', 'Venus', 'Mars', 'Jupiter', 'Saturn', 'Uranus',
  'Neptune', 'Pluto'];

// Apparent geocentric ecliptic longitude of date, degrees.
function longitude(body, time) {
  if (body === 'Sun') return Astronomy.SunPosition(time).elon;
  if (body === 'Moon') return Astronomy.EclipticGeoMoon(time).lon;
  const eqj = Astronomy.GeoVector(body, time, true);
  return Astronomy.SphereFromVector(Astronomy.RotateVector(Astronomy.Rotation_EQJ_ECT(time), eqj)).lon;
}

// AstroChart's points: [longitude, daily motion]; a negative motion marks a retrograde body.
export function positions(date) {
  const now = Astronomy.MakeTime(date);
  const later = now.AddDays(1);
  const planets = {};
  for (const body of BODIES) {
    const lon = longitude(body, now);
    const step = (((longitude(body, later) - lon) % 360) + 540) % 360 - 180;
    planets[body] = [lon, step];
  }
  return planets;
}

const cusps = Array.from({ length: 12 }, (_, k) => 30 * k);
new Chart('chart', 513, 459).radix({ planets: positions(new Date()), cusps }).aspects();
performance.mark('peer:drawn');
globalThis.peerPositions = positions;
