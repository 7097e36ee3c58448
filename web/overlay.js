// The page overlay: the analysis window and the message boxes, modal dialogs in one shadow
// root of the page, shared by every element.
import { FONT_STACKS, PX, applyFont, cssColour, place, sheet, svg } from './dom.js';

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
      s.background = cssColour(state.back);
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
        e.title = CLOSE_TEXT;
        e.append(crossIcon(Math.round(c.height / PX / 2)));
        e.addEventListener('click', () => this.#core.windowClose());
      } else {
        e = document.createElement('div');
        e.className = 'lab';
        e.textContent = c.caption;
      }
      place(e.style, c);
      if (c.kind !== 'button') applyFont(e.style, c.font);
      e.style.color = cssColour(c.fore);
      if (!c.transparent) e.style.background = cssColour(c.back);
      e.style.textAlign = c.align;
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
      this.#core.windowClose();
    });
    // Closed by the browser itself: the control hides it too.
    dialog.addEventListener('close', () => {
      if (this.#core.windowState()?.shown) this.#core.windowClose();
    });
    this.#root.append(dialog);
    this.#frm = { dialog, text: parts.TxtAnalyse, placed: false };
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
    dialog.setAttribute('aria-label', opener.textContent);
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
    const r = client.getBoundingClientRect();
    const moves = this.#core.windowPress((e.clientX - r.left) * PX, (e.clientY - r.top) * PX,
      e.button);
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
    const style = this.#frm.dialog.style;
    style.left = `${d.left + e.clientX - d.x}px`;
    style.top = `${d.top + e.clientY - d.y}px`;
  }

  #endMove(e) {
    if (this.#drag && e.pointerId === this.#drag.pointer) this.#drag = null;
  }

  // A modal message box: the icon ("stop" or none), the text and an OK button.
  messageBox(text, icon) {
    this.inDocument();
    const box = document.createElement('dialog');
    box.className = 'msgbox';
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
