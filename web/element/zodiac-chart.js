// <zodiac-chart>: the zodiac chart control on a web page. The control compiled to WebAssembly
// owns all behaviour and writes the chart as one SVG, the same markup a server renders
// (control/chart_markup.cpp); this module keeps that SVG in an open shadow root, updating its
// nodes in place on every redraw, and delivers the page's events to the control. One module
// instance serves every element on the page, so they share one body table and one analysis
// window. Dependency-free; runs under `script-src 'self' 'wasm-unsafe-eval'` (no eval, no
// inline styles) and finds its .wasm and artwork beside itself.
import { BASE, PX, morph, sheet } from './dom.js';
import { Status, inBrowser, loadCore, loadedCore, newElementId } from './core.js';
import { pageOverlay } from './overlay.js';
// The one stylesheet of every chart's shadow root: a server-rendered chart links the same file.
import CHART_CSS from './zodiac-chart.css';

export { controlCount, timeStartup } from './core.js';

const TAG = 'zodiac-chart';
let chartSheet = null;

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
  #root;
  #chart; // the chart's <svg>, once there is one
  #tip = null; // a glyph's position shown on focus or tap, made on first use
  #size = null;
  #resizeObserver = new ResizeObserver((entries) => this.#resized(entries.at(-1)));
  // A server-rendered chart (a declarative shadow root, with its stylesheet linked) stays on
  // screen until this element's own chart is written; then its nodes are brought to that
  // chart in place, in one task, and it adopts the stylesheet as a one-tag element does.
  // attachShadow would empty that root at once, so it is kept.
  #declared;

  constructor() {
    super();
    this.#declared = Boolean(this.shadowRoot);
    this.#root = this.shadowRoot ?? this.attachShadow({ mode: 'open' });
    if (!this.#declared) this.#adoptSheet();
    this.#chart = this.#root.querySelector('svg.chart');
    this.#listen();
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
      this.#render(core); // a refused instant shows why, in the date's place
      // The page's first chart is marked for timing (once: marks are kept for the page's life).
      if (!performance.getEntriesByName('zodiac-chart:drawn').length)
        performance.mark('zodiac-chart:drawn');
      if (refusal) this.#refused(refusal);
      // A chart is drawn unless start-up stopped (and a listener did not start it again).
      const drawn = status === Status.ok || status === Status.calendarGap;
      if (drawn && run === this.#run) this.dispatchEvent(new Event('load'));
    } catch (e) {
      console.warn('<zodiac-chart>: start-up failed', e);
    }
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
    if (changed) this.#call((core) => core.resize(this.#id), 'UserControl_Resize');
  }

  // The page's events, delegated from the shadow root: a release on a sign label (or its row)
  // or Enter or Space on it goes to the control; a glyph shows its position on keyboard focus
  // and on a tap. Only on this element's own chart: a server-rendered one has no buttons.
  #listen() {
    const sign = (e) => (this.#started ? e.target.closest?.('[data-sign]') : null);
    const glyph = (e) => (this.#started ? e.target.closest?.('.glyph[tabindex]') : null);
    const root = this.#root;
    root.addEventListener('mouseup', (e) => {
      const s = sign(e);
      if (s) this.#signReleased(Number(s.dataset.sign), e);
    });
    root.addEventListener('contextmenu', (e) => {
      if (sign(e)) e.preventDefault();
    });
    root.addEventListener('keydown', (e) => {
      const s = sign(e);
      if (!s) return;
      if (e.key === 'Enter' && !e.repeat) {
        e.preventDefault();
        this.#signReleased(Number(s.dataset.sign), null);
      } else if (e.key === ' ') {
        e.preventDefault();
      }
    });
    root.addEventListener('keyup', (e) => {
      const s = sign(e);
      if (s && e.key === ' ') {
        e.preventDefault();
        this.#signReleased(Number(s.dataset.sign), null);
      }
    });
    root.addEventListener('focusin', (e) => {
      const g = glyph(e);
      if (g?.matches(':focus-visible')) this.#showTip(g);
    });
    root.addEventListener('focusout', (e) => {
      if (glyph(e) && this.#tip) this.#tip.hidden = true;
    });
    root.addEventListener('pointerup', (e) => {
      const g = glyph(e);
      if (g && e.pointerType !== 'mouse') this.#showTip(g);
    });
  }

  // A mouse release (or the keyboard's, as the main button at the label's corner) goes to
  // the control at its place in the label (twips); the window it shows then opens, named by
  // this label, which has the focus back when it closes.
  #signReleased(index, e) {
    const sign = this.#chart.querySelector(`[data-sign="${index}"]`);
    const label = sign?.querySelector('text');
    if (!label) return;
    let [x, y] = [0, 0];
    if (e) {
      const r = this.#chart.getBoundingClientRect();
      const scale = r.width / this.#chart.viewBox.baseVal.width || 1;
      x = ((e.clientX - r.left) / scale) * PX - Number(sign.dataset.left);
      y = ((e.clientY - r.top) / scale) * PX - Number(sign.dataset.top);
    }
    this.#call((core) => {
      const overlay = pageOverlay(core);
      overlay.attach();
      const status = core.labelMouseUp(this.#id, index, e ?? KEY_RELEASE, x, y);
      overlay.openIfShown(label);
      return status;
    }, 'LabAnalyse_MouseUp');
  }

  // The control's chart, as the module writes it, made this element's: the first time put in
  // the shadow root (or over the server-rendered chart, node by node), then updated in place,
  // so a focused label or glyph keeps its focus.
  #render(core) {
    const markup = core.chartSvg(this.#id, BASE);
    const next = markup && new DOMParser().parseFromString(markup, 'image/svg+xml').documentElement;
    if (next?.localName !== 'svg') return;
    if (this.#chart) morph(this.#chart, next);
    else this.#root.prepend((this.#chart = document.importNode(next, true)));
    if (this.#declared) {
      // The same rules adopted in place of the linked copy (audit tools, reading a shadow
      // root's linked sheets, copy them into <style> elements that the strict CSP refuses).
      this.#adoptSheet();
      this.#root.querySelector('link[rel=stylesheet]')?.remove();
      this.#declared = false;
    }
    this.#keepInside(this.#chart.querySelector('#chart-date'));
  }

  #adoptSheet() {
    chartSheet ??= sheet(CHART_CSS, BASE);
    this.#root.adoptedStyleSheets = [chartSheet];
  }

  // The glyph's tooltip text in a tip below it (above it near the bottom), kept inside the
  // chart and as large on the page as at the design size.
  #showTip(glyph) {
    if (!this.#tip) {
      this.#tip = document.createElement('div');
      this.#tip.className = 'tip';
      this.#tip.setAttribute('aria-hidden', 'true');
      this.#tip.setAttribute('part', 'glyph-tip');
      this.#root.append(this.#tip);
    }
    const tip = this.#tip;
    tip.style.fontFamily = this.#chart.dataset.tipFont ?? '';
    tip.textContent = glyph.querySelector('title')?.textContent ?? '';
    tip.hidden = false;
    const host = this.getBoundingClientRect();
    const g = glyph.getBoundingClientRect();
    const [width, height] = [tip.offsetWidth, tip.offsetHeight];
    const left = Math.max(0, Math.min(g.right - host.left - width, host.width - width));
    const below = g.bottom - host.top + 2;
    tip.style.left = `${left}px`;
    tip.style.top = `${below + height <= host.height ? below : g.top - host.top - 2 - height}px`;
  }

  // A label that has grown past the panel's right edge (a long date, a Julian date with its
  // mark; the writer only estimates its width) moves left until it ends inside it; one that
  // fits stays at its design place.
  #keepInside(label) {
    let box;
    try {
      box = label?.getBBox();
    } catch {
      return; // not rendered (a hidden element): nothing to measure
    }
    const limit = Number(this.#chart.dataset.panelRight);
    const over = box ? box.x + box.width - limit : 0;
    if (over > 0 && box.width > 0) label.setAttribute('x', String(Number(label.getAttribute('x')) - over));
  }
}

// Importing the module registers the element, once, where there are custom elements.
if (inBrowser && !customElements.get(TAG)) customElements.define(TAG, ActiveX_Ctl);

export { ActiveX_Ctl };
