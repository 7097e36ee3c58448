// <zodiac-chart>: the zodiac chart control on a web page. The control compiled to WebAssembly
// owns all behaviour; this module renders its state (background picture, drawing layer, child
// controls) in an open shadow root and delivers the page's events to it. One module instance
// serves every element on the page, so they share one body table and one analysis window.
// Dependency-free; runs under `script-src 'self' 'wasm-unsafe-eval'` (no eval, no inline
// styles, text only through textContent) and finds its .wasm and artwork beside itself.
import { HAND_HOTSPOT, PT, PX, applyFont, art, cssColour, fontStack, place, sheet, svg }
  from './dom.js';
import { Status, loadCore, loadedCore, newElementId } from './core.js';
import { pageOverlay } from './overlay.js';

export { timeStartup } from './core.js';

const TAG = 'zodiac-chart';


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

const PEN_DASHES = { dash: '18 6', dot: '3 3' };
// Enter or Space on a sign label: a release of the main button, no key held.
const KEY_RELEASE = { button: 0, shiftKey: false, ctrlKey: false, altKey: false };

class ActiveX_Ctl extends HTMLElement {
  // The programmatic identifier: library name, a dot, class name.
  static progId = 'ActiveX_Prj.ActiveX_Ctl';
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
      if (created === Status.badInstant || created === Status.calendarGap)
        this.#refused(core.lastError());
      const status = core.initialize(this.#id);
      if (status !== Status.ok) console.warn(`<zodiac-chart>: start-up stopped: ${core.lastError()}`);
      this.#started = true;
      this.#render(core);
      // The page's first chart is marked for timing (once: marks are kept for the page's life).
      if (!performance.getEntriesByName('zodiac-chart:drawn').length)
        performance.mark('zodiac-chart:drawn');
      if (status === Status.ok) this.dispatchEvent(new Event('load'));
    } catch (e) {
      console.warn('<zodiac-chart>: start-up failed', e);
    }
  }

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
    if (changed) this.#call((core) => core.resize(this.#id), 'UserControl_Resize');
  }

  // A mouse release (or the keyboard's, as the main button at the label's corner) goes to
  // the control; the window it shows then opens, named by this label.
  #signReleased(label, index, e) {
    const r = label.getBoundingClientRect();
    const x = e ? (e.clientX - r.left) * PX : 0;
    const y = e ? (e.clientY - r.top) * PX : 0;
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
      if (item.kind === 'line') {
        const line = svg('line', { x1: item.x1 / PX, y1: item.y1 / PX, x2: item.x2 / PX,
          y2: item.y2 / PX, stroke: cssColour(item.colour), 'stroke-width': item.width });
        if (item.width > 1) line.setAttribute('stroke-linecap', 'round');
        if (item.pen in PEN_DASHES) line.setAttribute('stroke-dasharray', PEN_DASHES[item.pen]);
        items.push(line);
      } else {
        const t = svg('text', { x: item.x / PX, y: item.y / PX, fill: cssColour(item.colour),
          'dominant-baseline': 'text-before-edge', 'font-family': fontStack(state.font.name),
          'font-size': state.font.size * PT, 'font-weight': state.font.weight });
        t.textContent = item.text;
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
      e.setAttribute('part', c.name === 'ImgPln' ? 'glyph' : 'image');
      e.src = art(c.picture);
      e.draggable = false;
    } else if (c.kind === 'image') {
      // A picture-less image: only its tooltip shows.
      e = document.createElement('div');
    } else {
      e = document.createElement('div');
      e.className = c.autosize ? 'label autosize' : 'label';
      applyFont(e.style, c.font);
      e.style.color = cssColour(c.fore);
      if (!c.transparent) e.style.background = cssColour(c.back);
      e.style.textAlign = c.align;
      e.setAttribute('part', c.name === 'LabAnalyse' ? 'sign-label' : 'label');
    }
    if (c.name === 'LabAnalyse') this.#makeSignLabel(e, c.index);
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
}

// Importing the module registers the element, once.
if (!customElements.get(TAG)) customElements.define(TAG, ActiveX_Ctl);

export { ActiveX_Ctl };
