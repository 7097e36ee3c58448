// zodiac-chart/server: the chart as a page's own HTML, for a server or a framework rendering
// the page in Node: the element with its chart written as Declarative Shadow DOM, computed by
// the element's WebAssembly module, in its build that also exports the markup writer (so the
// same bytes as the command line's `render --html` and the demo server's /chart.html).
// Importing it does nothing; the module is read and compiled on the first call.
import { readFile } from 'node:fs/promises';
// emscripten's loader, bundled in, as in the element's script.
import createZodiacChartCore from './zodiac-chart-server.mjs';
import { withUtf8 } from './module-text.js';

const Status = { ok: 0, fault: 1, badInstant: 2, calendarGap: 5 };

// The platform a server-rendered chart needs: the clock; no date text (the fragment writes
// the date in UTC itself), no message box or window (nobody is there to see one).
const serverHost = {
  clockUtc: () => {
    const d = new Date();
    return [d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate(), d.getUTCHours(),
      d.getUTCMinutes(), d.getUTCSeconds()];
  },
  dateText: () => '',
  messageBox: () => {},
  showWindow: () => false,
  hideWindow: () => {},
};

let module = null;
const loadModule = () => {
  module ??= readFile(new URL('zodiac-chart-server.wasm', import.meta.url)).then((bytes) =>
    createZodiacChartCore({
      zcHost: serverHost,
      instantiateWasm: (imports) => WebAssembly.instantiate(bytes, imports),
    }));
  return module;
};

let nextChart = 1;

/**
 * The chart of instant `at` (ISO 8601, as the element's `at` attribute; the present instant
 * when absent or "now") as `<zodiac-chart at="…"><template shadowrootmode="open">…</template>
 * </zodiac-chart>`, its stylesheet and pictures under `base` (default "/": where the package's
 * files are served). Rejects an `at` that is no instant or that the time base refuses.
 */
export async function renderChart({ at, base = '/' } = {}) {
  const m = await loadModule();
  const text = (s, f) => withUtf8(m, s, f);
  const id = nextChart++;
  try {
    const fixed = at === undefined || at === null || at === 'now' ? '' : String(at);
    const created = text(fixed, (p) => m._zc_create(id, p));
    const started = created === Status.ok ? m._zc_initialize(id) : created;
    if (started !== Status.ok) throw new Error(`renderChart: ${m.UTF8ToString(m._zc_last_error())}`);
    const html = m.UTF8ToString(text(String(base), (p) => m._zc_chart_html(id, p)));
    if (html === 'null') throw new Error('renderChart: the chart shows no sky');
    return html;
  } finally {
    m._zc_destroy(id);
  }
}
