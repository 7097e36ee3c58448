// The page overlay: the analysis window and the message boxes, modal dialogs in one shadow
// root of the page, shared by every element.
import { PX, applyFont, place, sheet, svg } from './dom.js';

const CLOSE_TEXT = 'إغلاق';
const OK_TEXT = 'موافق';

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



// The overlay's one stylesheet. Small screens, touch and the keyboard: the window scaled down to
// the viewport from its top left, its drag strip taking touch and pen drags, the close button
// (grown to at least 24 CSS pixels square as displayed) over the text box's corner, and focus
// rings 2 pixels wide.
const OVERLAY_CSS = `
:host { all: initial; }
dialog { box-sizing: content-box; max-width: none; max-height: none; color: #000; }
dialog::backdrop { background: transparent; }
.frm { position: fixed; inset: auto; margin: 0; padding: 0; overflow: hidden;
  border: 3px outset #F0F0F0; transform-origin: 0 0; }
.client { all: initial; display: block; position: relative; overflow: hidden; direction: rtl;
  unicode-bidi: isolate; }
.client > *, .pic > * { position: absolute; margin: 0; box-sizing: border-box; }
.strip { touch-action: none; }
.pic { z-index: 1; }
.txt { resize: none; padding: 2px 6px; border: 2px inset #F0F0F0; outline: none;
  line-height: 1.35; user-select: text; -webkit-user-select: text; }
.txt:focus-visible { border-color: #9cc3ff; outline: 2px solid #1A5FB4; outline-offset: -4px; }
.lab { white-space: pre-wrap; line-height: 1.25; unicode-bidi: plaintext; user-select: none;
  -webkit-user-select: none; }
.cmd-exit { display: grid; place-items: center; padding: 0; border: 2px outset #fff;
  color: #000; cursor: default; }
.cmd-exit:focus-visible { outline: 2px solid #000; outline-offset: -5px; }
.msgbox { margin: auto; padding: 0; border: 1px solid #7a7a7a; background: #F0F0F0;
  min-width: 260px; max-width: 420px; box-shadow: 0 4px 18px rgba(0,0,0,.35);
  font: 15px sans-serif; direction: rtl; }
.msg-body { display: flex; gap: 14px; align-items: center; padding: 18px 18px 12px;
  background: #fff; }
.msg-body svg { flex: none; }
.msg-text { margin: 0; white-space: pre-wrap; line-height: 1.5; }
.msg-buttons { display: flex; justify-content: flex-start; padding: 10px 18px; }
.msg-ok { min-width: 84px; padding: 4px 12px; font: inherit; }
.msg-ok:focus-visible { outline: 2px solid #1A5FB4; outline-offset: 2px; }
`;
const MIN_TARGET = 24; // CSS pixels: the smallest close button as displayed
// How much of the window's top right corner is kept on screen: the close button and the top
// of the strip below it (CSS pixels at the design size; wider when the close button is).
const KEEP_VISIBLE = { width: 26, height: 60 };
const FORECAST = 'توقعات';

let overlay = null;
// The overlay, created on first use; `core` is the loaded module's bridge.
export function pageOverlay(core) {
  overlay ??= new PageOverlay(core);
  return overlay;
}

class PageOverlay {
  #core;
  #host;
  #root;
  #frm = null; // the analysis window's dialog and text box, built on first use
  #opener = null; // the sign label that opened the window, for focus on close
  #drag = null;
  #messages = 0;

  constructor(core) {
    this.#core = core;
    this.#host = document.createElement('div');
    this.#host.style.setProperty('all', 'initial', 'important');
    this.#root = this.#host.attachShadow({ mode: 'open' });
    this.#root.adoptedStyleSheets = [sheet(OVERLAY_CSS)];
  }

  // Puts the overlay into the current document's body, where a page that replaced its body
  // (as single-page apps do) has not got it; true when it is in a document. Safe inside a
  // call from the module.
  inDocument() {
    if (!this.#host.isConnected) document.body?.append(this.#host);
    return this.#host.isConnected;
  }

  // The same before an event goes to the module: a window left open in a replaced body is
  // closed, for the control too, so the event can open it again.
  attach() {
    if (!this.#host.isConnected && this.#frm?.dialog.open) {
      this.#frm.dialog.close();
      if (this.#core.windowState()?.shown) this.#core.windowClose();
    }
    return this.inDocument();
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
      s.background = state.back;
    }
    dialog.style.borderWidth = `${state.frame / PX}px`;

    const parts = {};
    for (const c of state.controls) {
      let e;
      if (c.kind === 'textBox') {
        e = document.createElement('textarea');
        e.className = 'txt';
        e.readOnly = true;
        e.dir = 'rtl';
        e.style.overflowY = c.vscroll ? 'scroll' : 'auto';
      } else if (c.kind === 'pictureBox') {
        e = document.createElement('div');
        e.className = 'pic';
      } else if (c.kind === 'button') {
        e = document.createElement('button');
        e.className = 'cmd-exit';
        e.type = 'button';
        e.setAttribute('aria-label', CLOSE_TEXT);
        e.append(crossIcon(Math.round(c.height / PX / 2)));
        e.addEventListener('click', () => this.#core.windowClose());
      } else {
        e = document.createElement('div');
        e.className = 'lab';
        e.textContent = c.caption;
      }
      place(e.style, c);
      if (c.kind !== 'button') applyFont(e.style, c.font);
      e.style.color = c.fore;
      if (!c.transparent) e.style.background = c.back;
      e.style.textAlign = c.align;
      parts[c.name] = e;
    }
    // CmdExit lies inside Pic; windowed controls above the label.
    parts.Pic.append(parts.CmdExit);
    client.append(parts.Lab, parts.Pic, parts.TxtAnalyse);
    const strip = this.#addStrip(client, state);

    client.addEventListener('pointerdown', (e) => this.#press(e, client));
    client.addEventListener('contextmenu', (e) => {
      if (e.target === client || e.target === strip) e.preventDefault();
    });
    dialog.addEventListener('pointermove', (e) => this.#move(e));
    for (const end of ['pointerup', 'pointercancel', 'lostpointercapture'])
      dialog.addEventListener(end, (e) => this.#endMove(e));
    // Escape closes it as the close button does.
    dialog.addEventListener('cancel', (e) => {
      e.preventDefault();
      this.#core.windowClose();
    });
    // Closed by the browser itself: the control hides it too. The event comes a task after the
    // closing, so a window opened again in between (Escape then Enter, quickly) is left open.
    dialog.addEventListener('close', () => {
      if (!dialog.open && this.#core.windowState()?.shown) this.#core.windowClose();
    });
    this.#root.append(dialog);
    this.#frm = { dialog, text: parts.TxtAnalyse, placed: false, state, scale: 1,
      close: parts.CmdExit, closeDesign: state.controls.find((c) => c.kind === 'button') };
    addEventListener('resize', () => this.#fitToViewport());
  }

  // The uncovered background beside the text box, below the picture box: where a press moves
  // the window. Its own element, so that a touch or pen drag there moves the window instead
  // of the page.
  #addStrip(client, state) {
    const text = state.controls.find((c) => c.kind === 'textBox');
    const pic = state.controls.find((c) => c.kind === 'pictureBox');
    const lab = state.controls.find((c) => c.kind === 'label');
    const strip = document.createElement('div');
    strip.className = 'strip';
    strip.setAttribute('aria-hidden', 'true');
    place(strip.style, { left: text.left + text.width, top: pic.top + pic.height,
      width: state.width - text.left - text.width, height: lab.top - pic.top - pic.height });
    // A press here selects no text; the listener also makes the strip a touch target of its
    // own, which the browser's touch adjustment would otherwise hand to the text box beside it.
    strip.addEventListener('mousedown', (e) => e.preventDefault());
    client.prepend(strip);
    return strip;
  }

  // The window on the viewport: scaled down uniformly when the viewport is smaller than it,
  // never up; the close button at least MIN_TARGET pixels square as displayed (the text box's
  // first line left clear of it); then kept where its close button and strip can be reached.
  #fitToViewport() {
    const frm = this.#frm;
    if (!frm?.dialog.open) return;
    const { state } = frm;
    const frame = state.frame / PX;
    const [width, height] = [state.width / PX + 2 * frame, state.height / PX + 2 * frame];
    const view = document.documentElement;
    const scale = Math.min(1, view.clientWidth / width, innerHeight / height);
    frm.scale = scale;
    frm.dialog.style.transform = scale < 1 ? `scale(${scale})` : '';
    const design = frm.closeDesign;
    const size = Math.max(design.width / PX, Math.ceil(MIN_TARGET / scale));
    frm.closeSize = size;
    const s = frm.close.style;
    s.width = s.height = `${size}px`;
    s.left = `${(design.left + design.width) / PX - size}px`;
    frm.close.firstChild.setAttribute('width', Math.round(size / 2));
    frm.close.firstChild.setAttribute('height', Math.round(size / 2));
    const firstLine = 29.6; // the empty first line of the text, with border and padding
    frm.text.style.paddingTop = `${2 + Math.max(0, size - firstLine)}px`;
    this.#clamp(parseFloat(frm.dialog.style.left), parseFloat(frm.dialog.style.top));
  }

  // Moves the window to (left, top), or as near as keeps its close button and the top of its
  // strip on screen.
  #clamp(left, top) {
    const { dialog, state, scale } = this.#frm;
    const width = (state.width / PX + (2 * state.frame) / PX) * scale;
    const view = document.documentElement;
    const keepW = Math.max(KEEP_VISIBLE.width, this.#frm.closeSize + 8) * scale;
    const keepH = KEEP_VISIBLE.height * scale;
    const x = Math.max(keepW - width, Math.min(left, view.clientWidth - width));
    const y = Math.max(0, Math.min(top, innerHeight - keepH));
    dialog.style.left = `${x}px`;
    dialog.style.top = `${y}px`;
  }

  // After the release of sign label `opener` has been handled: when the control has shown
  // its window, it opens with the control's text, named by that label, which gets the focus
  // back when it closes.
  openIfShown(opener) {
    const state = this.#core.windowState();
    if (!state?.shown || !this.inDocument()) return;
    if (!this.#frm) this.#buildWindow(state);
    this.refresh(state);
    const { dialog, text } = this.#frm;
    this.#opener = opener;
    // The sign label's name: its caption (a label in the chart's SVG carries its tooltip too).
    const sign = opener.getAttribute('aria-label') ?? opener.textContent;
    dialog.setAttribute('aria-label', sign);
    text.setAttribute('aria-label', `${FORECAST} ${sign}`);
    if (dialog.open) return;
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
      this.#core.windowClose();
      return;
    }
    this.#fitToViewport();
    text.focus({ preventScroll: true });
  }

  // Puts the control's text into the text box.
  refresh(state = this.#core.windowState()) {
    if (!this.#frm || !state) return;
    const value = state.controls.find((c) => c.kind === 'textBox')?.caption ?? '';
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

  // A press on the client area goes to the window as a mouse press at that point; when the
  // control answers that it moves the window (a press on its own background), the pointer
  // moves it until it is released.
  #press(e, client) {
    // The close button, grown to a finger's size, is the button's wherever the model has it.
    if (this.#frm.close.contains(e.target)) return;
    const r = client.getBoundingClientRect();
    const scale = this.#frm.scale;
    const moves = this.#core.windowPress(((e.clientX - r.left) * PX) / scale,
      ((e.clientY - r.top) * PX) / scale, e.button);
    if (!moves) return;
    e.preventDefault();
    const { dialog } = this.#frm;
    dialog.setPointerCapture(e.pointerId);
    this.#drag = { pointer: e.pointerId, x: e.clientX, y: e.clientY,
      left: parseFloat(dialog.style.left), top: parseFloat(dialog.style.top) };
  }

  #move(e) {
    const d = this.#drag;
    if (!d || e.pointerId !== d.pointer) return;
    this.#clamp(d.left + e.clientX - d.x, d.top + e.clientY - d.y);
  }

  #endMove(e) {
    if (this.#drag && e.pointerId === this.#drag.pointer) this.#drag = null;
  }

  // A modal message box: the icon ("stop" or none), the text in the font stack `font` and an
  // OK button.
  messageBox(text, icon, font) {
    this.inDocument();
    const box = document.createElement('dialog');
    box.className = 'msgbox';
    box.style.fontFamily = font;
    box.setAttribute('role', 'alertdialog');
    box.setAttribute('part', 'message-box');
    const body = document.createElement('div');
    body.className = 'msg-body';
    body.dir = 'rtl';
    body.lang = 'ar';
    if (icon === 'stop') body.append(stopIcon());
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
