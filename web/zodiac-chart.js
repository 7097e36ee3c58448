// <zodiac-chart>: the zodiac chart control on a web page. The control compiled to WebAssembly
// owns all behaviour; this module renders its state (background picture, drawing layer, child
// controls) in an open shadow root and delivers the page's events to it. One module instance
// serves every element on the page, so they share one body table and one analysis window.
// Dependency-free; runs under `script-src 'self' 'wasm-unsafe-eval'` (no eval, no inline
// styles, text only through textContent) and finds its .wasm and artwork beside itself.
const TAG = 'zodiac-chart';
const PX = 15; // twips to a CSS pixel
const PT = 96 / 72; // CSS pixels to a point

// Status of the module's calls (web/exports.cpp).
const Status = { ok: 0, fault: 1, badInstant: 2, noControl: 3, failed: 4 };
// Child control kinds and alignments (analysis/child_control.h).
const Kind = { label: 0, image: 1, textBox: 2, button: 3, pictureBox: 4 };
const ALIGN = ['left', 'right', 'center'];
const POINTER_HAND = 1;
const STOP_ICON = 16;
const PEN_DASH = 1;
const PEN_DOT = 2;
// DOM mouse buttons (0 main, 1 middle, 2 secondary) as the control numbers them.
const MOUSE_BUTTONS = [1, 4, 2];

// The design's fonts onto fonts that pages have.
const FONT_STACKS = {
  'Arabic Transparent': '"Noto Sans Arabic", "Noto Naskh Arabic", Amiri, "DejaVu Sans", sans-serif',
  Tahoma: 'Tahoma, "Noto Sans Arabic", "DejaVu Sans", sans-serif',
};
const SYSTEM_COLOURS = { 0x8000000f: '#F0F0F0' }; // button face

const art = (name) => new URL(`${name}.svg`, import.meta.url).href;
// Where the pointing hand's fingertip is in hand.svg (pixels from its top left).
const HAND_HOTSPOT = '11 1';
const CLOSE_TEXT = 'إغلاق';
const OK_TEXT = 'موافق';

// A colour 0x00BBGGRR (or a system colour 0x800000nn) as CSS.
function cssColour(colour) {
  if (colour >= 0x80000000) return SYSTEM_COLOURS[colour] ?? '#F0F0F0';
  const hex = (v) => v.toString(16).padStart(2, '0');
  return `#${hex(colour & 255)}${hex((colour >>> 8) & 255)}${hex((colour >>> 16) & 255)}`;
}

const fontStack = (name) => FONT_STACKS[name] ?? FONT_STACKS.Tahoma;

function applyFont(style, font) {
  style.fontFamily = fontStack(font.name);
  style.fontSize = `${font.size * PT}px`;
  style.fontWeight = String(font.weight);
}

// Position (and size) of a child control, twips to CSS pixels.
function place(style, c, withSize = true) {
  style.left = `${c.left / PX}px`;
  style.top = `${c.top / PX}px`;
  if (withSize) {
    style.width = `${c.width / PX}px`;
    style.height = `${c.height / PX}px`;
  }
}

function sheet(text) {
  const s = new CSSStyleSheet();
  s.replaceSync(text);
  return s;
}

const SVG_NS = 'http://www.w3.org/2000/svg';
function svg(name, attributes = {}) {
  const e = document.createElementNS(SVG_NS, name);
  for (const [k, v] of Object.entries(attributes)) e.setAttribute(k, String(v));
  return e;
}

// The close cross, drawn, for the button whose design caption is Marlett's "r".
function crossIcon(size) {
  const icon = svg('svg', { width: size, height: size, viewBox: '0 0 10 10', 'aria-hidden': 'true' });
  icon.append(svg('path', { d: 'M1.5 1.5L8.5 8.5M8.5 1.5L1.5 8.5', stroke: 'currentColor',
    'stroke-width': 1.7 }));
  return icon;
}

function stopIcon() {
  const icon = svg('svg', { width: 32, height: 32, viewBox: '0 0 32 32', 'aria-hidden': 'true' });
  icon.append(
    svg('circle', { cx: 16, cy: 16, r: 15, fill: '#d32f2f', stroke: '#8e1c1c' }),
    svg('path', { d: 'M10.5 10.5L21.5 21.5M21.5 10.5L10.5 21.5', stroke: '#fff',
      'stroke-width': 3.2, 'stroke-linecap': 'round' }),
  );
  return icon;
}

// ---------------------------------------------------------------------------------------
// The module: fetched and compiled once for the page, on first use.

let corePromise = null;
let loadedCore = null; // the module's calls, once it has loaded
let openingLabel = null; // the sign label whose release is being handled
let nextElement = 1;

// The loader and the .wasm are fetched side by side; the .wasm is compiled while it streams.
function loadCore() {
  corePromise ??= (async () => {
    const wasm = fetch(new URL('zodiac-chart-core.wasm', import.meta.url));
    wasm.catch(() => {}); // a failure is reported where the response is used
    const { default: createZodiacChartCore } = await import('./zodiac-chart-core.mjs');
    let wasmFailed;
    const failure = new Promise((_, reject) => { wasmFailed = reject; });
    const m = await Promise.race([failure, createZodiacChartCore({
      zcHost: pageHost,
      instantiateWasm(imports, receive) {
        instantiate(wasm, imports).then(({ instance, module }) => receive(instance, module),
          wasmFailed);
        return {};
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
  const withText = (text, f) => {
    const size = m.lengthBytesUTF8(text) + 1;
    const p = m._malloc(size);
    try {
      m.stringToUTF8(text, p, size);
      return f(p);
    } finally {
      m._free(p);
    }
  };
  const json = (p) => JSON.parse(m.UTF8ToString(p));
  return {
    create: (id, at) => withText(at, (p) => m._zc_create(id, p)),
    destroy: (id) => m._zc_destroy(id),
    initialize: (id) => m._zc_initialize(id),
    resize: (id) => m._zc_resize(id),
    drawTheme: (id) => m._zc_draw_theme(id),
    showAspects: (id) => m._zc_show_aspects(id),
    labelMouseUp: (id, index, button, shift, x, y) =>
      m._zc_label_mouse_up(id, index, button, shift, x, y),
    controlState: (id) => json(m._zc_control_state(id)),
    windowState: () => json(m._zc_window_state()),
    windowClose: () => m._zc_window_close(),
    windowPress: (x, y, button) => m._zc_window_press(x, y, button),
    lastError: () => m.UTF8ToString(m._zc_last_error()),
    timeStartup: (runs) => m._zc_time_startup(runs),
  };
}

// Frees a control once its element is gone for good.
const finalizer = new FinalizationRegistry((id) => loadedCore?.destroy(id));

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

// The page side of the control's platform (web/host_library.js calls these).
const pageHost = {
  clockUtc: guarded('reading the clock', () => {
    const d = new Date();
    return [d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate(), d.getUTCHours(),
      d.getUTCMinutes(), d.getUTCSeconds()];
  }, [2000, 1, 1, 0, 0, 0]),
  // The visitor's general date format: short date, then the time with seconds.
  dateText: guarded('the date text', (id, unixMs) => {
    const d = Number.isNaN(unixMs) ? new Date() : new Date(unixMs);
    return d.toLocaleString(undefined, { dateStyle: 'short', timeStyle: 'medium' });
  }, ''),
  messageBox: guarded('the message box', (id, text, style) => pageOverlay().messageBox(text, style)),
  showWindow: guarded('showing the analysis window', () => pageOverlay().showWindow(), false),
  hideWindow: guarded('hiding the analysis window', () => pageOverlay().hideWindow()),
  startWindowMove: guarded('moving the analysis window', () => pageOverlay().startWindowMove()),
};

/** Times the start-up computation in this page's WebAssembly module: `runs` runs, the mean
 * in microseconds. The charts on the page are not affected. */
export async function timeStartup(runs = 2000) {
  const core = await loadCore();
  return (core.timeStartup(runs) * 1000) / runs;
}

// ---------------------------------------------------------------------------------------
// The analysis window and the message boxes: modal dialogs in one shadow root of the page.

const OVERLAY_CSS = `
:host { all: initial; }
dialog { box-sizing: content-box; max-width: none; max-height: none; color: #000; }
dialog::backdrop { background: transparent; }
.frm { position: fixed; inset: auto; margin: 0; padding: 0; overflow: hidden;
  border: 3px outset #F0F0F0; }
.client { all: initial; display: block; position: relative; overflow: hidden; direction: rtl;
  unicode-bidi: isolate; }
.client > *, .pic > * { position: absolute; margin: 0; box-sizing: border-box; }
.txt { resize: none; padding: 2px 6px; border: 2px inset #F0F0F0; outline: none;
  line-height: 1.35; user-select: text; -webkit-user-select: text; }
.txt:focus-visible { border-color: #9cc3ff; }
.lab { white-space: pre-wrap; line-height: 1.25; unicode-bidi: plaintext; user-select: none;
  -webkit-user-select: none; }
.cmd-exit { display: grid; place-items: center; padding: 0; border: 2px outset #fff;
  color: #000; cursor: default; }
.cmd-exit:focus-visible { outline: 1px dotted #000; outline-offset: -4px; }
.msgbox { margin: auto; padding: 0; border: 1px solid #7a7a7a; background: #F0F0F0;
  min-width: 260px; max-width: 420px; box-shadow: 0 4px 18px rgba(0,0,0,.35);
  font: 15px ${FONT_STACKS['Arabic Transparent']}; direction: rtl; }
.msg-body { display: flex; gap: 14px; align-items: center; padding: 18px 18px 12px;
  background: #fff; }
.msg-body svg { flex: none; }
.msg-text { margin: 0; white-space: pre-wrap; line-height: 1.5; }
.msg-buttons { display: flex; justify-content: flex-start; padding: 10px 18px; }
.msg-ok { min-width: 84px; padding: 4px 12px; font: inherit; }
`;

let overlay = null;
function pageOverlay() {
  overlay ??= new PageOverlay();
  return overlay;
}

class PageOverlay {
  #root;
  #frm = null; // the analysis window's dialog and text box, built on first use
  #opener = null; // the sign label that opened the window, for focus on close
  #pressed = null; // the pointer press being handled
  #drag = null;
  #messages = 0;

  constructor() {
    const host = document.createElement('div');
    host.style.setProperty('all', 'initial', 'important');
    this.#root = host.attachShadow({ mode: 'open' });
    this.#root.adoptedStyleSheets = [sheet(OVERLAY_CSS)];
    document.body.append(host);
  }

  // The control's window model drawn as a dialog: text box, close button in its picture
  // box, credits label, and the uncovered background by which it is moved.
  #buildWindow(state) {
    const dialog = document.createElement('dialog');
    dialog.className = 'frm';
    dialog.setAttribute('part', 'analysis-window');
    const client = document.createElement('div');
    client.className = 'client';
    client.dir = 'rtl';
    client.lang = 'ar';
    dialog.append(client);
    for (const s of [dialog.style, client.style]) {
      s.width = `${state.width / PX}px`;
      s.height = `${state.height / PX}px`;
      s.background = cssColour(state.back);
    }
    dialog.style.borderWidth = `${state.frame / PX}px`;

    const parts = {};
    for (const c of state.controls) {
      let e;
      if (c.kind === Kind.textBox) {
        e = document.createElement('textarea');
        e.className = 'txt';
        e.readOnly = true;
        e.dir = 'rtl';
        e.style.overflowY = c.vscroll ? 'scroll' : 'auto';
      } else if (c.kind === Kind.pictureBox) {
        e = document.createElement('div');
        e.className = 'pic';
      } else if (c.kind === Kind.button) {
        e = document.createElement('button');
        e.className = 'cmd-exit';
        e.type = 'button';
        e.setAttribute('aria-label', CLOSE_TEXT);
        e.title = CLOSE_TEXT;
        e.append(crossIcon(Math.round(c.height / PX / 2)));
        e.addEventListener('click', () => loadedCore?.windowClose());
      } else {
        e = document.createElement('div');
        e.className = 'lab';
        e.textContent = c.caption;
      }
      place(e.style, c);
      if (c.kind !== Kind.button) applyFont(e.style, c.font);
      e.style.color = cssColour(c.fore);
      if (!c.transparent) e.style.background = cssColour(c.back);
      e.style.textAlign = ALIGN[c.align];
      parts[c.name] = e;
    }
    // CmdExit lies inside Pic; windowed controls above the label.
    parts.Pic.append(parts.CmdExit);
    client.append(parts.Lab, parts.Pic, parts.TxtAnalyse);

    client.addEventListener('pointerdown', (e) => this.#press(e, client));
    client.addEventListener('contextmenu', (e) => {
      if (e.target === client) e.preventDefault();
    });
    dialog.addEventListener('pointermove', (e) => this.#move(e));
    for (const end of ['pointerup', 'pointercancel', 'lostpointercapture'])
      dialog.addEventListener(end, (e) => this.#endMove(e));
    // Escape closes it as the close button does.
    dialog.addEventListener('cancel', (e) => {
      e.preventDefault();
      loadedCore?.windowClose();
    });
    // Closed by the browser itself: the control hides it too.
    dialog.addEventListener('close', () => {
      if (loadedCore?.windowState()?.shown) loadedCore.windowClose();
    });
    this.#root.append(dialog);
    this.#frm = { dialog, text: parts.TxtAnalyse, placed: false };
  }

  // Opens the window the control has just filled, named by the sign label being released;
  // false when the page cannot show it.
  showWindow() {
    const state = loadedCore?.windowState();
    if (!state) return false;
    if (!this.#frm) this.#buildWindow(state);
    this.refresh(state);
    const { dialog, text } = this.#frm;
    this.#opener = openingLabel;
    dialog.setAttribute('aria-label', openingLabel?.textContent ?? '');
    if (dialog.open) return true;
    if (!this.#frm.placed) {
      // First shown in the middle of the viewport; later where it was left.
      const frame = state.frame / PX;
      dialog.style.left = `${Math.max(0, (innerWidth - state.width / PX) / 2 - frame)}px`;
      dialog.style.top = `${Math.max(0, (innerHeight - state.height / PX) / 2 - frame)}px`;
      this.#frm.placed = true;
    }
    try {
      dialog.showModal();
    } catch (e) {
      console.warn('<zodiac-chart>: cannot show the analysis window', e);
      return false;
    }
    text.focus({ preventScroll: true });
    return true;
  }

  // Puts the control's text into the text box.
  refresh(state = loadedCore?.windowState()) {
    if (!this.#frm || !state) return;
    const value = state.controls.find((c) => c.kind === Kind.textBox)?.caption ?? '';
    if (this.#frm.text.value !== value.replaceAll('\r\n', '\n')) {
      this.#frm.text.value = value;
      this.#frm.text.scrollTop = 0;
    }
  }

  hideWindow() {
    if (!this.#frm?.dialog.open) return;
    this.#drag = null;
    this.#frm.dialog.close();
    if (this.#opener?.isConnected) this.#opener.focus();
    this.#opener = null;
  }

  // A press on the client area goes to the window as a mouse press at that point; on its
  // own background the window then starts moving with the pointer.
  #press(e, client) {
    const r = client.getBoundingClientRect();
    this.#pressed = e;
    const moved = loadedCore?.windowPress((e.clientX - r.left) * PX, (e.clientY - r.top) * PX,
      MOUSE_BUTTONS[e.button] ?? 1);
    this.#pressed = null;
    if (moved) e.preventDefault();
  }

  // Called by the control during a press on the window's background: the pointer moves the
  // window until it is released.
  startWindowMove() {
    const e = this.#pressed;
    if (!e || !this.#frm) return;
    const { dialog } = this.#frm;
    dialog.setPointerCapture(e.pointerId);
    this.#drag = { pointer: e.pointerId, x: e.clientX, y: e.clientY,
      left: parseFloat(dialog.style.left), top: parseFloat(dialog.style.top) };
  }

  #move(e) {
    const d = this.#drag;
    if (!d || e.pointerId !== d.pointer) return;
    const style = this.#frm.dialog.style;
    style.left = `${d.left + e.clientX - d.x}px`;
    style.top = `${d.top + e.clientY - d.y}px`;
  }

  #endMove(e) {
    if (this.#drag && e.pointerId === this.#drag.pointer) this.#drag = null;
  }

  // A modal message box: the stop icon, the text and an OK button.
  messageBox(text, style) {
    const box = document.createElement('dialog');
    box.className = 'msgbox';
    box.setAttribute('role', 'alertdialog');
    box.setAttribute('part', 'message-box');
    const body = document.createElement('div');
    body.className = 'msg-body';
    body.dir = 'rtl';
    body.lang = 'ar';
    if (style === STOP_ICON) body.append(stopIcon());
    const p = document.createElement('p');
    p.className = 'msg-text';
    p.id = `message-${++this.#messages}`;
    p.textContent = text;
    body.append(p);
    box.setAttribute('aria-labelledby', p.id);
    const buttons = document.createElement('div');
    buttons.className = 'msg-buttons';
    const ok = document.createElement('button');
    ok.className = 'msg-ok';
    ok.type = 'button';
    ok.textContent = OK_TEXT;
    buttons.append(ok);
    box.append(body, buttons);
    let returnFocus = document.activeElement;
    while (returnFocus?.shadowRoot?.activeElement) returnFocus = returnFocus.shadowRoot.activeElement;
    ok.addEventListener('click', () => box.close());
    box.addEventListener('close', () => {
      box.remove();
      if (returnFocus?.isConnected) returnFocus.focus();
    });
    this.#root.append(box);
    box.showModal();
    ok.focus();
  }
}

// ---------------------------------------------------------------------------------------
// The element.

const CHART_CSS = `
:host { all: initial; display: inline-block; position: relative; width: 513px; height: 459px;
  overflow: hidden; contain: content; }
:host([hidden]) { display: none; }
.surface { all: initial; display: block; position: absolute; left: 0; top: 0; overflow: hidden;
  direction: rtl; unicode-bidi: isolate; line-height: normal; user-select: none;
  -webkit-user-select: none; }
.surface > * { position: absolute; margin: 0; padding: 0; box-sizing: content-box; }
.background, .layer { left: 0; top: 0; pointer-events: none; }
.layer { direction: ltr; overflow: visible; }
/* Each label takes the direction of its own text: a date in a Latin format reads left to right. */
.label { white-space: nowrap; line-height: 1.2; unicode-bidi: plaintext; }
.label.autosize { width: max-content !important; height: auto !important; }
.sign { cursor: url("${art('hand')}") ${HAND_HOTSPOT}, pointer; }
.sign:focus-visible { outline: 1px dotted #F0F0F0; outline-offset: 1px; }
.glyph { display: block; }
[hidden] { display: none !important; }
`;
let chartSheet = null;

class ActiveX_Ctl extends HTMLElement {
  // The programmatic identifier: library name, a dot, class name.
  static progId = 'ActiveX_Prj.ActiveX_Ctl';

  #id = 0;
  #startRequested = false;
  #started = false;
  #surface;
  #background;
  #layer;
  #children = new Map(); // "Name:index" -> DOM element
  #size = null;
  #resizeObserver = new ResizeObserver((entries) => this.#resized(entries.at(-1)));

  constructor() {
    super();
    const root = this.attachShadow({ mode: 'open' });
    chartSheet ??= sheet(CHART_CSS);
    root.adoptedStyleSheets = [chartSheet];
    this.#surface = document.createElement('div');
    this.#surface.className = 'surface';
    this.#surface.setAttribute('part', 'surface');
    this.#surface.dir = 'rtl';
    this.#surface.lang = 'ar';
    this.#background = document.createElement('img');
    this.#background.className = 'background';
    this.#background.alt = '';
    this.#layer = svg('svg', { class: 'layer', 'aria-hidden': 'true' });
    this.#surface.append(this.#background, this.#layer);
    root.append(this.#surface);
  }

  connectedCallback() {
    this.#resizeObserver.observe(this);
    if (!this.#startRequested) {
      this.#startRequested = true;
      this.#start();
    }
  }

  disconnectedCallback() {
    this.#resizeObserver.unobserve(this);
  }

  /** The public method DrawThéme: redraws the bodies on the wheel and the aspects. */
  DrawThéme() {
    this.#call((core) => core.drawTheme(this.#id), 'DrawThéme');
  }

  /** The public method ShowAspects_Pln: draws the aspect lines again. */
  ShowAspects_Pln() {
    this.#call((core) => core.showAspects(this.#id), 'ShowAspects_Pln');
  }

  // Created the first time it is connected: UserControl_Initialize, then the first drawing.
  async #start() {
    let core;
    try {
      core = await loadCore();
    } catch (e) {
      console.warn('<zodiac-chart>: the WebAssembly module did not load', e);
      return;
    }
    this.#id = nextElement++;
    finalizer.register(this, this.#id);
    try {
      const created = core.create(this.#id, this.getAttribute('at') ?? '');
      if (created === Status.failed) {
        console.warn(`<zodiac-chart>: the control was not created: ${core.lastError()}`);
        return;
      }
      const status = core.initialize(this.#id);
      if (status !== Status.ok) console.warn(`<zodiac-chart>: start-up stopped: ${core.lastError()}`);
      this.#started = true;
      this.#render(core);
      performance.mark('zodiac-chart:drawn');
    } catch (e) {
      console.warn('<zodiac-chart>: start-up failed', e);
    }
  }

  // A method or event delivered to the control, then the new state drawn; faults reach the
  // console, never the page.
  #call(f, what) {
    const core = loadedCore;
    if (!this.#started || !core) return;
    try {
      const status = f(core);
      if (status !== Status.ok) console.warn(`<zodiac-chart>: ${what}: ${core.lastError()}`);
      this.#render(core);
    } catch (e) {
      console.warn(`<zodiac-chart>: ${what} failed`, e);
    }
  }

  // UserControl_Resize on every change of the host's size (not on the first report).
  #resized(entry) {
    if (!entry) return;
    const { width, height } = entry.contentRect;
    const changed = this.#size && (this.#size.width !== width || this.#size.height !== height);
    this.#size = { width, height };
    if (changed) this.#call((core) => core.resize(this.#id), 'UserControl_Resize');
  }

  #signReleased(label, index, e) {
    const r = label.getBoundingClientRect();
    const button = e ? (MOUSE_BUTTONS[e.button] ?? 1) : 1;
    const shift = e ? (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0) : 0;
    const x = e ? (e.clientX - r.left) * PX : 0;
    const y = e ? (e.clientY - r.top) * PX : 0;
    openingLabel = label;
    try {
      this.#call((core) => core.labelMouseUp(this.#id, index, button, shift, x, y),
        'LabAnalyse_MouseUp');
    } finally {
      openingLabel = null;
    }
    overlay?.refresh();
  }

  #render(core) {
    const state = core.controlState(this.#id);
    if (!state) return;
    const { surface } = state;
    const s = this.#surface.style;
    s.width = `${surface.width / PX}px`;
    s.height = `${surface.height / PX}px`;
    s.background = cssColour(surface.back);
    if (!this.#background.src) {
      this.#background.src = art(surface.picture);
      this.#background.width = surface.pictureWidth / PX;
      this.#background.height = surface.pictureHeight / PX;
    }
    this.#drawLayer(state, surface);
    // Front to back in the model, and so in the DOM (the tab order runs through the sign
    // labels from Aries on); stacked by z-index.
    state.children.forEach((c, k) => this.#renderChild(c, state.children.length - k));
  }

  // The drawing layer: one <line> per line, one <text> per printed text at its top left.
  #drawLayer(state, surface) {
    const layer = this.#layer;
    layer.setAttribute('width', surface.width / PX);
    layer.setAttribute('height', surface.height / PX);
    const items = [];
    for (const item of state.layer) {
      if (item[0] === 'line') {
        const [, x1, y1, x2, y2, colour, width, style] = item;
        const line = svg('line', { x1: x1 / PX, y1: y1 / PX, x2: x2 / PX, y2: y2 / PX,
          stroke: cssColour(colour), 'stroke-width': width });
        if (width > 1) line.setAttribute('stroke-linecap', 'round');
        if (style === PEN_DASH) line.setAttribute('stroke-dasharray', '18 6');
        if (style === PEN_DOT) line.setAttribute('stroke-dasharray', '3 3');
        items.push(line);
      } else {
        const [, x, y, colour, text] = item;
        const t = svg('text', { x: x / PX, y: y / PX, fill: cssColour(colour),
          'dominant-baseline': 'text-before-edge', 'font-family': fontStack(state.font.name),
          'font-size': state.font.size * PT, 'font-weight': state.font.weight });
        t.textContent = text;
        items.push(t);
      }
    }
    layer.replaceChildren(...items);
  }

  #renderChild(c, z) {
    const key = `${c.name}:${c.index}`;
    let e = this.#children.get(key);
    if (!e) {
      e = this.#createChild(c);
      e.style.zIndex = String(z);
      this.#children.set(key, e);
      this.#surface.append(e);
    }
    e.hidden = !c.visible;
    place(e.style, c, !c.autosize);
    if (c.kind === Kind.label) {
      if (e.textContent !== c.caption) e.textContent = c.caption;
    } else if (c.picture) {
      e.alt = c.tooltip;
    }
    if (c.tooltip) e.title = c.tooltip;
    else e.removeAttribute('title');
  }

  #createChild(c) {
    let e;
    if (c.kind === Kind.image && c.picture) {
      e = document.createElement('img');
      e.className = 'glyph';
      e.setAttribute('part', c.name === 'ImgPln' ? 'glyph' : 'image');
      e.src = art(c.picture);
      e.draggable = false;
    } else if (c.kind === Kind.image) {
      // A picture-less image: only its tooltip shows.
      e = document.createElement('div');
    } else {
      e = document.createElement('div');
      e.className = c.autosize ? 'label autosize' : 'label';
      applyFont(e.style, c.font);
      e.style.color = cssColour(c.fore);
      if (!c.transparent) e.style.background = cssColour(c.back);
      e.style.textAlign = ALIGN[c.align];
      e.setAttribute('part', c.name === 'LabAnalyse' ? 'sign-label' : 'label');
    }
    if (c.name === 'LabAnalyse') this.#makeSignLabel(e, c.index);
    if (c.pointer === POINTER_HAND) e.classList.add('sign');
    return e;
  }

  // A sign label: a mouse release with any button opens the analysis; for the keyboard it
  // is a button that Enter or Space releases.
  #makeSignLabel(e, index) {
    e.setAttribute('role', 'button');
    e.tabIndex = 0;
    e.addEventListener('mouseup', (ev) => this.#signReleased(e, index, ev));
    e.addEventListener('contextmenu', (ev) => ev.preventDefault());
    e.addEventListener('keydown', (ev) => {
      if (ev.key === 'Enter' && !ev.repeat) {
        ev.preventDefault();
        this.#signReleased(e, index, null);
      } else if (ev.key === ' ') {
        ev.preventDefault();
      }
    });
    e.addEventListener('keyup', (ev) => {
      if (ev.key === ' ') {
        ev.preventDefault();
        this.#signReleased(e, index, null);
      }
    });
  }
}

// Importing the module registers the element, once.
if (!customElements.get(TAG)) customElements.define(TAG, ActiveX_Ctl);

export { ActiveX_Ctl };
