// <zodiac-chart>: the zodiac chart control on a web page. The control compiled to WebAssembly
// owns all behaviour; this module renders its state (background picture, drawing layer, child
// controls) in an open shadow root and delivers the page's events to it. One module instance
// serves every element on the page, so they share one body table and one analysis window.
// Dependency-free; runs under `script-src 'self' 'wasm-unsafe-eval'` (no eval, no inline
// styles, text only through textContent) and finds its .wasm and artwork beside itself.
import { ALIGN, HAND_HOTSPOT, Kind, MOUSE_BUTTONS, PEN_DASH, PEN_DOT, POINTER_HAND, PT, PX,
  applyFont, art, cssColour, fontStack, place, sheet, svg } from './dom.js';
import { Status, finalizer, loadCore, loadedCore, newElementId } from './core.js';
import { refreshOverlay, whileOpening } from './overlay.js';

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
    this.#id = newElementId();
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
    whileOpening(label, () => this.#call(
      (core) => core.labelMouseUp(this.#id, index, button, shift, x, y), 'LabAnalyse_MouseUp'));
    refreshOverlay();
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
