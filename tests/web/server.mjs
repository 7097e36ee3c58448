// A tiny static server for the web bundle, as a site would host it: the strict CSP header,
// proper MIME types, GET and HEAD only, nothing outside the bundle folder.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, resolve, sep } from 'node:path';

export const CSP = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'";

const MIME = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
};

// Serves folder on 127.0.0.1 at port (0: a free one); resolves to { url, close }.
export function serveFolder(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (req, res) => {
    if (req.method !== 'GET' && req.method !== 'HEAD') {
      res.writeHead(405, { Allow: 'GET, HEAD' }).end();
      return;
    }
    let path;
    try {
      path = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    } catch {
      res.writeHead(400).end();
      return;
    }
    if (path.endsWith('/')) path += 'index.html';
    const file = resolve(join(root, path));
    if (!file.startsWith(root + sep) || !MIME[extname(file)]) {
      res.writeHead(404).end();
      return;
    }
    try {
      const body = await readFile(file);
      res.writeHead(200, {
        'Content-Type': MIME[extname(file)],
        'Content-Length': body.length,
        'Content-Security-Policy': CSP,
        'Cache-Control': 'no-cache',
      });
      res.end(req.method === 'HEAD' ? undefined : body);
    } catch {
      res.writeHead(404).end();
    }
  });
  return new Promise((ok, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => {
      ok({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((done) => server.close(done)),
      });
    });
  });
}

// Run directly: serves FOLDER (default build-web/bundle) and prints its address first.
//   node tests/web/server.mjs [FOLDER] [--port N]
if (import.meta.url === `file://${process.argv[1]}`) {
  const args = process.argv.slice(2);
  const portAt = args.indexOf('--port');
  const port = portAt >= 0 ? Number(args.splice(portAt, 2)[1]) : 8080;
  const folder = args[0] ?? new URL('../../build-web/bundle', import.meta.url).pathname;
  const { url } = await serveFolder(folder, port);
  console.log(url);
}
