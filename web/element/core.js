// The bridge to the WebAssembly module: fetched and compiled once for the page, on first use;
// its calls wrapped for JavaScript, and the page side of the control's platform that the
// module calls back (web/module/host_library.js).
import { dateLabel, preloadArtwork } from './dom.js';
import { pageOverlay } from './overlay.js';
import { withUtf8 } from './module-text.js';
// emscripten's minimal loader, bundled into the element's script: no request of its own. It
// looks for nothing beside itself (the .wasm comes through instantiateWasm below; see
// web/build/adapt-loader.mjs).
import createZodiacChartCore from './zodiac-chart-core.mjs';

// Status of the module's calls (web/module/exports.cpp).
export const Status = { ok: 0, fault: 1, badInstant: 2, noControl: 3, failed: 4, calendarGap: 5 };


let corePromise = null;
export let loadedCore = null; // the module's calls, once it has loaded
let nextElement = 1;
export const newElementId = () => nextElement++;

// The .wasm and the chart's pictures are requested side by side as soon as this script runs,
// before any element starts (a page imports the script to show the element); a failure of
// the .wasm is reported where the response is used. The .wasm is compiled while it streams.
// Outside a browser (a server-side framework importing the package to render a page) the
// import does nothing: no request, no timer, no DOM; the module is fetched on first use.
export const inBrowser = typeof document !== 'undefined' && typeof customElements !== 'undefined';
let wasm = null;
const wasmResponse = () => {
  wasm ??= fetch(new URL('zodiac-chart-core.wasm', import.meta.url));
  wasm.catch(() => {});
  return wasm;
};
// A page whose charts came in its HTML (declarative shadow roots, parsed before this module
// runs) shows those first: the requests and the date data wait for the frame that paints
// them, so they take nothing from it (a hidden page paints no frame and waits for none).
const painted = inBrowser &&
  [...document.getElementsByTagName('zodiac-chart')].some((el) => el.shadowRoot) && !document.hidden
  ? new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)))
  : null;
if (inBrowser) {
  const start = (artwork) => {
    if (artwork) preloadArtwork();
    wasmResponse();
    // The browser's first date format loads its calendar and zone data (some 30 ms): done
    // once the requests are out, while the .wasm downloads, rather than when a chart first
    // asks for its date.
    setTimeout(guarded('the date text', () => dateLabel(new Date())));
  };
  // The charts in the HTML have loaded the artwork themselves: asked for again, it only came
  // back revalidated, so only a page without them preloads it.
  if (painted) painted.then(() => start(false));
  else start(true);
}

export function loadCore() {
  corePromise ??= (async () => {
    await painted;
    let wasmFailed;
    const failure = new Promise((_, reject) => { wasmFailed = reject; });
    const m = await Promise.race([failure, createZodiacChartCore({
      zcHost: pageHost,
      // The loader waits for { instance, module }; a failure ends the race above instead.
      instantiateWasm(imports) {
        return instantiate(wasmResponse(), imports).catch((e) => {
          wasmFailed(e);
          return new Promise(() => {});
        });
      },
    })]);
    performance.mark('zodiac-chart:module-ready');
    loadedCore = wrapCore(m);
    return loadedCore;
  })();
  return corePromise;
}

// Streaming compilation needs the application/wasm type; other servers get the plain way.
async function instantiate(responsePromise, imports) {
  const response = await responsePromise;
  if (!response.ok) throw new Error(`${response.url}: status ${response.status}`);
  try {
    return await WebAssembly.instantiateStreaming(response.clone(), imports);
  } catch {
    return WebAssembly.instantiate(await response.arrayBuffer(), imports);
  }
}

function wrapCore(m) {
  const withText = (text, f) => withUtf8(m, text, f);
  const json = (p) => JSON.parse(m.UTF8ToString(p));
  return {
    create: (id, at) => withText(at, (p) => m._zc_create(id, p)),
    destroy: (id) => m._zc_destroy(id),
    initialize: (id) => m._zc_initialize(id),
    resize: (id) => m._zc_resize(id),
    drawTheme: (id) => m._zc_draw_theme(id),
    showAspects: (id) => m._zc_show_aspects(id),
    controlCount: () => m._zc_control_count(),
    // A DOM mouse event's button and keys, at (x, y) twips within sign label `index`.
    labelMouseUp: (id, index, { button, shiftKey, ctrlKey, altKey }, x, y) =>
      m._zc_label_mouse_up(id, index, button, shiftKey, ctrlKey, altKey, x, y),
    // The chart's SVG with its pictures under base, or null (control/chart_markup.h).
    chartSvg: (id, base) => withText(base, (p) => {
      const text = m.UTF8ToString(m._zc_chart_svg(id, p));
      return text === 'null' ? null : text;
    }),
    windowState: () => json(m._zc_window_state()),
    windowClose: () => m._zc_window_close(),
    windowPress: (x, y, button) => m._zc_window_press(x, y, button),
    lastError: () => m.UTF8ToString(m._zc_last_error()),
    // The Julian date [y, m, d] of a proleptic Gregorian date before the 1582 reform, or null.
    julianDate: (y, mo, d) => {
      const k = m._zc_julian_date(y, mo, d);
      return k ? [Math.floor(k / 10000), Math.floor(k / 100) % 100, k % 100] : null;
    },
    timeStartup: (runs) => m._zc_time_startup(runs),
  };
}

// A page-side failure inside a call from the module would unwind through it to the page:
// it is reported on the console instead, and the call answers `fallback`.
function guarded(what, f, fallback) {
  return (...args) => {
    try {
      return f(...args);
    } catch (e) {
      console.warn(`<zodiac-chart>: ${what} failed`, e);
      return fallback;
    }
  };
}

// The page side of the control's platform (web/module/host_library.js calls these).
const pageHost = {
  clockUtc: guarded('reading the clock', () => {
    const d = new Date();
    return [d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate(), d.getUTCHours(),
      d.getUTCMinutes(), d.getUTCSeconds()];
  }, [2000, 1, 1, 0, 0, 0]),
  // The visitor's general date format: short date, then the time with seconds.
  dateText: guarded('the date text',
    (id, unixMs) => dateLabel(Number.isNaN(unixMs) ? new Date() : new Date(unixMs),
      loadedCore?.julianDate), ''),
  messageBox: guarded('the message box',
    (id, text, icon, font) => pageOverlay(loadedCore).messageBox(text, icon, font)),
  // The window opens when the event that showed it has been handled (overlay.js).
  showWindow: guarded('showing the analysis window',
    () => pageOverlay(loadedCore).inDocument(), false),
  hideWindow: guarded('hiding the analysis window', () => pageOverlay(loadedCore).hideWindow()),
};

/** Times the start-up computation in this page's WebAssembly module: `runs` runs, the mean
 * in microseconds. The charts on the page are not affected. */
export async function timeStartup(runs = 2000) {
  const core = await loadCore();
  return (core.timeStartup(runs) * 1000) / runs;
}

/** The number of controls alive in this page's module: one per connected element. */
export async function controlCount() {
  return (await loadCore()).controlCount();
}
