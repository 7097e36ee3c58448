// The report's three pages and their files over plain HTTP on a free port, nothing compressed
// or cached. The server runs in a thread of its own: in the report's thread it would answer
// only between the browser driver's messages, and a page of many requests would wait longer
// for each than one of few.
import { existsSync, readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';
import { Worker, isMainThread, parentPort, workerData } from 'node:worker_threads';
import { BUNDLE } from './harness.mjs';

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.css': 'text/css' };

const SCRIPT = '<script type="module" src="/widget/zodiac-chart.js"></script>';
export const PAGES = [
  { name: '`<zodiac-chart>`', path: '/widget.html', html: `${SCRIPT}<zodiac-chart></zodiac-chart>` },
  // As `zodiac-chart serve` sends its demo page: the chart rendered for the present instant on
  // each request (by the package's server entry here), the element's script beside it.
  { name: '`<zodiac-chart>` rendered by the server', path: '/rendered.html', rendered: true,
    html: async (renderChart) => `${SCRIPT}${await renderChart({ base: '/widget/' })}` },
  { name: 'astronomy-engine + AstroChart (esbuild, minified)', path: '/peer.html',
    html: '<div id="chart"></div><script type="module" src="/peer/peer-chart.js"></script>' },
];
const page = (body) => `<!doctype html><html lang="ar"><meta charset="utf-8"><title>chart</title>${body}</html>`;

// A file under the bundle (/widget/) or the peer's folder (/peer/), or null.
function fileBody(peerFolder, path) {
  const folders = { '/widget/': BUNDLE, '/peer/': peerFolder };
  const prefix = Object.keys(folders).find((p) => path.startsWith(p));
  const rest = prefix && normalize(path.slice(prefix.length));
  if (!rest || rest.startsWith('..') || !existsSync(join(folders[prefix], rest))) return null;
  return readFileSync(join(folders[prefix], rest));
}

// Resolves to { url, body(path), close } (a page's body: the last one sent).
export async function servePages(peerFolder) {
  const worker = new Worker(new URL(import.meta.url), { workerData: { peerFolder } });
  const sent = new Map();
  const url = await new Promise((ok, fail) => {
    worker.once('error', fail);
    worker.on('message', (m) => (m.url ? ok(m.url) : sent.set(m.path, Buffer.from(m.body))));
  });
  return { url, body: (path) => sent.get(path) ?? fileBody(peerFolder, path),
    close: () => worker.terminate() };
}

async function serve({ peerFolder }) {
  const { renderChart } = await import(join(BUNDLE, 'server.js'));
  const server = createServer(async (req, res) => {
    const path = new URL(req.url, 'http://x').pathname;
    const known = PAGES.find((p) => p.path === path);
    let content;
    if (known) {
      content = Buffer.from(page(typeof known.html === 'string' ? known.html : await known.html(renderChart)));
      parentPort.postMessage({ path, body: content });
    } else {
      content = fileBody(peerFolder, path);
    }
    if (!content) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, { 'content-type': TYPES[extname(path)] ?? 'application/octet-stream',
      'cache-control': 'no-store' }).end(content);
  });
  await new Promise((ok) => server.listen(0, '127.0.0.1', ok));
  parentPort.postMessage({ url: `http://127.0.0.1:${server.address().port}` });
}

if (!isMainThread) await serve(workerData);
