// <zodiac-chart>: the zodiac chart control on a web page. The control compiled to WebAssembly
// owns all behaviour; this module renders its state (background picture, drawing layer, child
// controls) in an open shadow root and delivers the page's events to it. One module instance
// serves every element on the page, so they share one body table and one analysis window.
// Dependency-free; runs under `script-src 'self' 'wasm-unsafe-eval'` (no eval, no inline
// styles, text only through textContent) and finds its .wasm and artwork beside itself.
import { HAND_HOTSPOT, PT, PX, applyFont, art, place, sheet, svg } from './dom.js';
import { Status, inBrowser, loadCore, loadedCore, newElementId } from './core.js';
import { pageOverlay } from './overlay.js';

export { controlCount, timeStartup } from './core.js';

const TAG = 'zodiac-chart';


// The chart's design size in CSS pixels, from the control's surface (ui/surface.h), put in
// when the bundle is built.
const DESIGN_WIDTH = ZC_DESIGN_WIDTH;
const DESIGN_HEIGHT = ZC_DESIGN_HEIGHT;
const PANEL_MARGIN = 10; // the background panel's frame along the right edge (CSS pixels)
// The framed rows of the background's column, behind the sign labels (twips): each row is
// 30 twips above its label, at the column's left edge.
const SIGN_ROW = { left: 6090, above: 30, width: 1380, height: 270 };
const CHART_TITLE = 'خريطة الأبراج اليومية'; // the calligraphic title of the background

// The shadow root's one stylesheet. The chart fits the host's width: scaled down (never up)
// when the host is narrower than the design; fit="none" keeps the design size. Keyboard,
// touch and assistive technology: the glyphs focusable with their position shown on focus
// and on a tap, a visible focus ring, the sign labels' hit areas as large as their rows in
// the background's column, and the state of a chart with no sky.
const CHART_CSS = `
:host { all: initial; display: inline-block; position: relative; width: ${DESIGN_WIDTH}px;
  max-width: 100%; height: auto; overflow: hidden; contain: content; }
:host([hidden]) { display: none; }
:host([fit=none]) { max-width: none; }
.sizer { display: block; width: 100%; aspect-ratio: ${DESIGN_WIDTH} / ${DESIGN_HEIGHT}; }
.surface { all: initial; display: block; position: absolute; left: 0; top: 0; overflow: hidden;
  direction: rtl; unicode-bidi: isolate; line-height: normal; user-select: none;
  -webkit-user-select: none; transform-origin: 0 0; }
.surface > * { position: absolute; margin: 0; padding: 0; box-sizing: content-box; }
.background, .layer { left: 0; top: 0; pointer-events: none; }
.layer { direction: ltr; overflow: visible; }
/* Each label takes the direction of its own text: a date in a Latin format reads left to right. */
.label { white-space: nowrap; line-height: 1.2; unicode-bidi: plaintext; }
.label.autosize { width: max-content !important; height: auto !important; }
.sign { cursor: url("${art('hand')}") ${HAND_HOTSPOT}, pointer; }
.sign::before { content: ""; position: absolute; left: var(--row-left); top: var(--row-top);
  width: ${SIGN_ROW.width / PX}px; height: ${SIGN_ROW.height / PX}px; }
.sign:focus-visible, .glyph:focus-visible { outline: 2px solid #FFFFFF; outline-offset: 1px;
  box-shadow: 0 0 0 3px #000000; }
.glyph { display: block; }
.tip { z-index: 1000; padding: 2px 6px; border: 1px solid #000000;
  background: #FFFFE1; color: #000000; font: 12px sans-serif; line-height: 1.4;
  white-space: nowrap; pointer-events: none; unicode-bidi: plaintext; transform-origin: 100% 0; }
.offscreen { clip-path: inset(50%); width: 1px; height: 1px; overflow: hidden; white-space: nowrap; }
.no-sky .glyph, .no-sky .layer, .no-sky .date { display: none !important; }
.reason { color: #FFD9A0; font-weight: bold; white-space: nowrap; line-height: 1.2; }
[hidden] { display: none !important; }
`;
let chartSheet = null;

const PEN_DASHES = { dash: '18 6', dot: '3 3' };
// Enter or Space on a sign label: a release of the main button, no key held.
const KEY_RELEASE = { button: 0, shiftKey: false, ctrlKey: false, altKey: false };

// Outside a browser the class is defined on a stand-in base and never registered.
class ActiveX_Ctl extends (globalThis.HTMLElement ?? class {}) {
  // The programmatic identifier: library name, a dot, class name.
  static progId = 'ActiveX_Prj.ActiveX_Ctl';
  static name = 'ActiveX_Ctl'; // the class's own name once minified too
  static observedAttributes = ['at'];

  #id = 0; // the module's control for this element, 0 while there is none
  #run = 0; // counts starts and stops: a start that finds it moved on was overtaken
  #running = false; // started (or starting) and not stopped since
  #started = false;
  #surface;
  #background;
  #layer;
  #children = new Map(); // "Name:index" -> DOM element
  #size = null;
  #resizeObserver = new ResizeObserver((entries) => this.#resized(entries.at(-1)));
  #scale = 1; // the chart's scale on the page: 1, or less when the host is narrower
  #access = null; // the title, the aspect description and the glyph tip (#buildAccess)
  #root;
  #sizer;
  // A server-rendered chart (a declarative shadow root) stays on screen until this element's
  // own chart is drawn and its pictures decoded; then the one replaces the other in a frame.
  // attachShadow would empty that root at once, so it is kept as it came.
  #declared;

  constructor() {
    super();
    this.#declared = Boolean(this.shadowRoot);
    this.#root = this.shadowRoot ?? this.attachShadow({ mode: 'open' });
    chartSheet ??= sheet(CHART_CSS);
    if (!this.#declared) this.#root.adoptedStyleSheets = [chartSheet];
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
    this.#sizer = document.createElement('div');
    this.#sizer.className = 'sizer';
    this.#buildAccess();
    if (!this.#declared) this.#root.append(this.#sizer, this.#surface);
  }

  // Connected, it starts once; disconnected, it stops and frees its control, unless the page
  // connects it again in the same task (a move).
  connectedCallback() {
    this.#resizeObserver.observe(this);
    if (!this.#running) this.#start();
  }

  disconnectedCallback() {
    this.#resizeObserver.unobserve(this);
    queueMicrotask(() => {
      if (!this.isConnected) this.#stop();
    });
  }

  // A new, changed or removed `at` starts the control again on that instant (or the clock).
  attributeChangedCallback(name, old, value) {
    if (old === value || !this.#running) return;
    this.#stop();
    this.#start();
  }

  /** The instant shown (ISO 8601, as the `at` attribute), or null for the clock's. */
  get at() {
    return this.getAttribute('at');
  }

  set at(value) {
    if (value === null || value === undefined) this.removeAttribute('at');
    else this.setAttribute('at', value);
  }

  /** The public method DrawThéme: redraws the bodies on the wheel and the aspects. */
  DrawThéme() {
    this.#call((core) => core.drawTheme(this.#id), 'DrawThéme');
  }

  /** The public method ShowAspects_Pln: draws the aspect lines again. */
  ShowAspects_Pln() {
    this.#call((core) => core.showAspects(this.#id), 'ShowAspects_Pln');
  }

  /** DrawThéme under an ASCII name. */
  drawTheme() {
    this.DrawThéme();
  }

  /** ShowAspects_Pln under an ASCII name. */
  showAspects() {
    this.ShowAspects_Pln();
  }

  // A new control: UserControl_Initialize, then the first drawing; `load` once drawn, `error`
  // with the reason when the instant is refused.
  async #start() {
    this.#running = true;
    const run = ++this.#run;
    let core;
    try {
      core = await loadCore();
    } catch (e) {
      console.warn('<zodiac-chart>: the WebAssembly module did not load', e);
      return;
    }
    if (run !== this.#run || !this.isConnected) return; // stopped or removed meanwhile
    this.#id = newElementId();
    try {
      const created = core.create(this.#id, this.getAttribute('at') ?? '');
      if (created === Status.failed) {
        console.warn(`<zodiac-chart>: the control was not created: ${core.lastError()}`);
        return;
      }
      // Why the instant was refused: its text (no instant, a skipped day), or the time base.
      let refusal = created === Status.ok ? '' : core.lastError();
      const status = core.initialize(this.#id);
      if (status === Status.calendarGap) refusal ||= core.lastError();
      else if (status !== Status.ok)
        console.warn(`<zodiac-chart>: start-up stopped: ${core.lastError()}`);
      this.#started = true;
      this.#render(core); // a refused instant shows the error state (#present)
      // The page's first chart is marked for timing (once: marks are kept for the page's life).
      if (!performance.getEntriesByName('zodiac-chart:drawn').length)
        performance.mark('zodiac-chart:drawn');
      if (this.#declared) await this.#takeOver(core, run);
      if (run !== this.#run) return;
      if (refusal) this.#refused(refusal);
      // A chart is drawn unless start-up stopped (and a listener did not start it again).
      const drawn = status === Status.ok || status === Status.calendarGap;
      if (drawn && run === this.#run) this.dispatchEvent(new Event('load'));
    } catch (e) {
      console.warn('<zodiac-chart>: start-up failed', e);
    }
  }

  // The server-rendered chart replaced by this element's own, once its pictures are decoded,
  // in one animation frame; then drawn again in place (labels that measure themselves).
  async #takeOver(core, run) {
    const pictures = [...this.#surface.querySelectorAll('img[src]')];
    await Promise.all(pictures.map((i) => i.decode().catch(() => {})));
    // In the next frame, so the swap is painted at once; a hidden page paints no frames (and
    // runs none), so there it swaps now.
    if (!document.hidden) await new Promise((resolve) => requestAnimationFrame(resolve));
    if (run !== this.#run || !this.#declared) return;
    this.#declared = false;
    this.#root.adoptedStyleSheets = [chartSheet];
    this.#root.replaceChildren(this.#sizer, this.#surface);
    this.#render(core);
  }

  // The `error` event of a refused instant; the chart itself shows the reason (#present).
  #refused(reason) {
    this.dispatchEvent(new CustomEvent('error', { detail: { reason } }));
  }

  // The control freed; a start still waiting for the module will not create one.
  #stop() {
    this.#run++;
    this.#running = false;
    this.#started = false;
    if (this.#id) loadedCore?.destroy(this.#id);
    this.#id = 0;
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
    this.#fit(width);
    if (changed) this.#call((core) => core.resize(this.#id), 'UserControl_Resize');
  }

  // A mouse release (or the keyboard's, as the main button at the label's corner) goes to
  // the control; the window it shows then opens, named by this label.
  #signReleased(label, index, e) {
    const r = label.getBoundingClientRect();
    const x = e ? ((e.clientX - r.left) * PX) / this.#scale : 0;
    const y = e ? ((e.clientY - r.top) * PX) / this.#scale : 0;
    this.#call((core) => {
      const overlay = pageOverlay(core);
      overlay.attach();
      const status = core.labelMouseUp(this.#id, index, e ?? KEY_RELEASE, x, y);
      overlay.openIfShown(label);
      return status;
    }, 'LabAnalyse_MouseUp');
  }

  #render(core) {
    const state = core.controlState(this.#id);
    if (!state) return;
    const { surface } = state;
    const s = this.#surface.style;
    s.width = `${surface.width / PX}px`;
    s.height = `${surface.height / PX}px`;
    s.background = surface.back;
    this.#access.tip.style.fontFamily = surface.tooltipFont;
    if (!this.#background.src) {
      this.#background.src = art(surface.picture);
      this.#background.width = surface.pictureWidth / PX;
      this.#background.height = surface.pictureHeight / PX;
    }
    this.#drawLayer(state, surface);
    // Front to back in the model, and so in the DOM (the tab order runs through the sign
    // labels from Aries on); stacked by z-index.
    state.children.forEach((c, k) => this.#renderChild(c, state.children.length - k));
    this.#present(state, core.chartReading(this.#id));
  }

  // The drawing layer: one <line> per line, one <text> per printed text at its top left.
  #drawLayer(state, surface) {
    const layer = this.#layer;
    layer.setAttribute('width', surface.width / PX);
    layer.setAttribute('height', surface.height / PX);
    const items = [];
    for (const item of state.layer) {
      if (item.kind === 'line') {
        const line = svg('line', { x1: item.x1 / PX, y1: item.y1 / PX, x2: item.x2 / PX,
          y2: item.y2 / PX, stroke: item.colour, 'stroke-width': item.width });
        if (item.width > 1) line.setAttribute('stroke-linecap', 'round');
        if (item.pen in PEN_DASHES) line.setAttribute('stroke-dasharray', PEN_DASHES[item.pen]);
        items.push(line);
      } else {
        const t = svg('text', { x: item.x / PX, y: item.y / PX, fill: item.colour,
          'dominant-baseline': 'text-before-edge', 'font-family': state.font.family,
          'font-size': state.font.size * PT, 'font-weight': state.font.weight });
        t.textContent = item.text;
        items.push(t);
      }
    }
    layer.replaceChildren(...items);
  }

  #renderChild(c, z) {
    const key = c.role === 'date' ? 'date' : `${c.name}:${c.index}`;
    let e = this.#children.get(key);
    if (!e) {
      e = this.#createChild(c);
      e.style.zIndex = String(z);
      this.#children.set(key, e);
      this.#surface.append(e);
    }
    e.hidden = !c.visible;
    place(e.style, c, !c.autosize);
    if (c.kind === 'label') {
      if (e.textContent !== c.caption) e.textContent = c.caption;
    } else if (c.picture) {
      e.alt = c.tooltip;
    }
    if (c.tooltip) e.title = c.tooltip;
    else e.removeAttribute('title');
  }

  #createChild(c) {
    let e;
    if (c.kind === 'image' && c.picture) {
      e = document.createElement('img');
      e.className = 'glyph';
      e.setAttribute('part', c.role === 'glyph' ? 'glyph' : 'image');
      e.src = art(c.picture);
      e.draggable = false;
    } else if (c.kind === 'image') {
      // A picture-less image: only its tooltip shows.
      e = document.createElement('div');
    } else {
      e = document.createElement('div');
      e.className = c.autosize ? 'label autosize' : 'label';
      applyFont(e.style, c.font);
      e.style.color = c.fore;
      if (!c.transparent) e.style.background = c.back;
      e.style.textAlign = c.align;
      e.setAttribute('part', c.role === 'sign' ? 'sign-label' : 'label');
    }
    if (c.role === 'sign') this.#makeSignLabel(e, c.index);
    if (c.role === 'sign') this.#signRow(e, c);
    if (c.role === 'glyph') this.#makeGlyph(e);
    if (c.role === 'date') e.classList.add('date');
    if (c.pointer === 'hand') e.classList.add('sign');
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

  // The chart is a group named by its title and its date and described by the aspect lines
  // drawn; a glyph's position shows in a tip when it takes the keyboard focus or is tapped.
  #buildAccess() {
    const title = document.createElement('span');
    title.className = 'offscreen';
    title.id = 'chart-title';
    title.textContent = CHART_TITLE;
    const aspects = document.createElement('span');
    aspects.className = 'offscreen';
    aspects.id = 'chart-aspects';
    const tip = document.createElement('div');
    tip.className = 'tip';
    tip.setAttribute('aria-hidden', 'true');
    tip.setAttribute('part', 'glyph-tip');
    tip.hidden = true;
    const s = this.#surface;
    s.setAttribute('role', 'group');
    s.setAttribute('aria-labelledby', 'chart-title chart-date');
    s.setAttribute('aria-describedby', 'chart-aspects');
    s.append(title, aspects, tip);
    this.#access = { aspects, tip, reason: null };
  }

  // Scaled down uniformly to the host's width when it is narrower than the design, never up;
  // fit="none" keeps the design size.
  #fit(width) {
    const scale = this.getAttribute('fit') === 'none' ? 1 : Math.min(1, width / DESIGN_WIDTH);
    if (!(scale > 0) || scale === this.#scale) return;
    this.#scale = scale;
    this.#surface.style.transform = scale < 1 ? `scale(${scale})` : '';
  }

  // The row behind a sign label, as its hit area.
  #signRow(e, c) {
    e.style.setProperty('--row-left', `${(SIGN_ROW.left - c.left) / PX}px`);
    e.style.setProperty('--row-top', `${-SIGN_ROW.above / PX}px`);
  }

  #makeGlyph(e) {
    e.tabIndex = 0;
    // The title is the mouse's tooltip; its text is already the name, so nothing describes it.
    e.setAttribute('aria-description', '');
    e.addEventListener('focus', () => {
      if (e.matches(':focus-visible')) this.#showTip(e);
    });
    e.addEventListener('blur', () => {
      this.#access.tip.hidden = true;
    });
    e.addEventListener('pointerup', (ev) => {
      if (ev.pointerType !== 'mouse') this.#showTip(e);
    });
  }

  // The glyph's tooltip text in a tip below it (above it near the bottom), kept inside the
  // chart and as large on the page as at the design size.
  #showTip(glyph) {
    const { tip } = this.#access;
    tip.textContent = glyph.title;
    tip.hidden = false;
    const scale = this.#scale;
    tip.style.transform = scale < 1 ? `scale(${1 / scale})` : '';
    const [width, height] = [tip.offsetWidth / scale, tip.offsetHeight / scale];
    const left = Math.min(Math.max(0, glyph.offsetLeft + glyph.offsetWidth - width),
      DESIGN_WIDTH - width);
    const below = glyph.offsetTop + glyph.offsetHeight + 2;
    tip.style.left = `${left + width - tip.offsetWidth}px`;
    tip.style.top = `${below + height <= DESIGN_HEIGHT ? below : glyph.offsetTop - 2 - height}px`;
  }

  // What the chart shows, for assistive technology; a chart of an `at` that shows no sky
  // (the text was no instant, or the time base refused it) says why in its date's place,
  // hides its glyphs and drawing, and its sign labels give the handler's failure message.
  #present(state, reading) {
    if (!reading) return;
    const date = this.#children.get('date');
    for (const c of state.children.filter((k) => k.role === 'glyph')) {
      const e = this.#children.get(`${c.name}:${c.index}`);
      const name = reading.glyphNames[c.index];
      if (e.alt !== name) e.alt = name;
    }
    this.#access.aspects.textContent = reading.description;
    this.#surface.classList.toggle('no-sky', Boolean(reading.error));
    if (!reading.error) {
      this.#access.reason?.remove();
      this.#access.reason = null;
      date.id = 'chart-date';
      date.setAttribute('aria-hidden', 'true'); // read in the chart's name
      this.#keepInside(date);
      return;
    }
    date.removeAttribute('id');
    date.removeAttribute('aria-hidden');
    this.#access.aspects.textContent = '';
    if (this.#access.reason?.textContent === reading.error) return;
    this.#access.reason?.remove();
    const reason = document.createElement('div');
    reason.className = 'label reason';
    reason.id = 'chart-date';
    reason.setAttribute('role', 'alert');
    reason.setAttribute('part', 'reason');
    const c = state.children.find((k) => k.role === 'date');
    place(reason.style, c, false);
    applyFont(reason.style, c.font);
    reason.style.zIndex = date.style.zIndex;
    reason.textContent = reading.error;
    this.#surface.append(reason);
    this.#access.reason = reason;
    this.#keepInside(reason);
  }

  // A label that has grown past the panel's right edge (a long date, a Julian date with its
  // mark) moves left until it ends inside it; one that fits stays at its design place.
  #keepInside(label) {
    const over = label.offsetLeft + label.offsetWidth - (DESIGN_WIDTH - PANEL_MARGIN);
    if (over > 0) label.style.left = `${label.offsetLeft - over}px`;
  }
}

// Importing the module registers the element, once, where there are custom elements.
if (inBrowser && !customElements.get(TAG)) customElements.define(TAG, ActiveX_Ctl);

export { ActiveX_Ctl };
