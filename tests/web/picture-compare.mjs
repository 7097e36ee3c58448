// Measures how far the server's PNG of the chart is from Chromium's screenshot of the element
// at the same instant (clock frozen, both in UTC): the share of pixels whose largest channel
// difference passes 32 and 96 of 255, and the mean difference. Writes both pictures and a map
// of the differences to build-web/picture-compare/. Run after scripts/build-web:
//   node tests/web/picture-compare.mjs [INSTANT]
import { mkdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { BUNDLE, ROOT, launch, startServer } from './harness.mjs';

const AT = process.argv[2] ?? '2020-12-21T18:00Z';
process.env.TZ = 'UTC'; // the server's date label, as the page's
process.env.LC_ALL = 'C';
const OUT = join(ROOT, 'build-web', 'picture-compare');

const server = await startServer(BUNDLE);
const browser = await launch({ timezoneId: 'UTC', locale: 'en-US', deviceScaleFactor: 1 });
try {
  const page = await browser.context.newPage();
  await page.clock.setFixedTime(new Date(AT));
  await page.goto(server.url);
  const chart = page.locator('#chart-now');
  await chart.locator('[part=label]').filter({ hasNotText: 'Label1' }).waitFor();
  await page.evaluate(() => document.fonts.ready);
  const shot = await chart.screenshot();
  const png = Buffer.from(await (await fetch(`${server.url}chart.png?at=${AT}`)).arrayBuffer());
  mkdirSync(OUT, { recursive: true });
  writeFileSync(join(OUT, 'chromium.png'), shot);
  writeFileSync(join(OUT, 'server.png'), png);

  // Both decoded by the browser and compared pixel by pixel, on a blank page (the demo's CSP
  // allows no data: images).
  await page.goto('about:blank');
  const result = await page.evaluate(async ([a, b]) => {
    const load = async (base64) => {
      const image = new Image();
      image.src = `data:image/png;base64,${base64}`;
      await image.decode();
      const canvas = document.createElement('canvas');
      canvas.width = image.naturalWidth;
      canvas.height = image.naturalHeight;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      return context.getImageData(0, 0, canvas.width, canvas.height);
    };
    const [x, y] = [await load(a), await load(b)];
    // The element may sit a fraction of a pixel off the screenshot's grid: the figures are
    // those of the best of the offsets -1..1 in each direction (stated with them).
    const width = Math.min(x.width, y.width) - 2, height = Math.min(x.height, y.height) - 2;
    const compare = (dx, dy, map) => {
      let over32 = 0, over96 = 0, sum = 0;
      for (let row = 0; row < height; ++row)
        for (let col = 0; col < width; ++col) {
          const i = 4 * ((row + 1 + dy) * x.width + col + 1 + dx), j = 4 * ((row + 1) * y.width + col + 1);
          let most = 0;
          for (let c = 0; c < 3; ++c) {
            const d = Math.abs(x.data[i + c] - y.data[j + c]);
            most = Math.max(most, d);
            sum += d;
          }
          over32 += most > 32;
          over96 += most > 96;
          if (map) {
            const k = 4 * (row * width + col);
            map.data[k] = map.data[k + 1] = map.data[k + 2] = 255 - Math.min(255, 2 * most);
            map.data[k + 3] = 255;
          }
        }
      const n = width * height;
      return { dx, dy, over32: over32 / n, over96: over96 / n, mean: sum / (3 * n) };
    };
    let best = compare(0, 0);
    const aligned = best;
    for (const dy of [-1, 0, 1])
      for (const dx of [-1, 0, 1]) {
        const r = compare(dx, dy);
        if (r.mean < best.mean) best = r;
      }
    const map = new ImageData(width, height);
    compare(best.dx, best.dy, map);
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    canvas.getContext('2d').putImageData(map, 0, 0);
    return {
      sizes: [[x.width, x.height], [y.width, y.height]], best, aligned,
      map: canvas.toDataURL('image/png').split(',')[1],
    };
  }, [shot.toString('base64'), png.toString('base64')]);
  writeFileSync(join(OUT, 'difference.png'), Buffer.from(result.map, 'base64'));
  const percent = (f) => `${(100 * f).toFixed(2)} %`;
  const figures = (r) => `offset (${r.dx}, ${r.dy}): pixels differing by more than 32/255` +
    ` ${percent(r.over32)}, by more than 96/255 ${percent(r.over96)}, mean difference` +
    ` ${r.mean.toFixed(2)}/255`;
  console.log(`${AT}: Chromium ${result.sizes[0].join(' x ')}, server ${result.sizes[1].join(' x ')};` +
    ` best ${figures(result.best)}; as placed ${figures(result.aligned)} (pictures in ${OUT})`);
} finally {
  await browser.close();
  await server.close();
}
