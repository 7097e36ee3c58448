// Types of the <zodiac-chart> element (zodiac-chart.js). Importing the module defines the element.

/** Why an instant was refused, carried by the element's `error` event. */
export interface ZodiacChartErrorDetail {
  reason: string;
}

/** The events of a <zodiac-chart> besides those of every HTML element. */
export interface ZodiacChartEventMap extends Omit<HTMLElementEventMap, 'error'> {
  /** A chart was drawn: on start-up, and again after `at` changed. */
  load: Event;
  /** The instant in `at` was refused; `detail.reason` says why. */
  error: CustomEvent<ZodiacChartErrorDetail>;
}

/**
 * The zodiac chart control (programmatic identifier `ActiveX_Prj.ActiveX_Ctl`): the Sun, the Moon
 * and the planets on a zodiac wheel, with the daily analysis of a sign on a click of its label.
 */
export declare class ActiveX_Ctl extends HTMLElement {
  /** `"ActiveX_Prj.ActiveX_Ctl"`. */
  static readonly progId: string;
  /**
   * The instant shown, ISO 8601 (`2000-01-01T12:00Z`; without a zone, the visitor's local time);
   * null shows the clock's present instant. Reflects the `at` attribute; setting it redraws.
   */
  at: string | null;
  /** Draws the bodies on the wheel again: ticks, glyphs, tooltips, retrograde marks, aspects. */
  DrawThéme(): void;
  /** Draws the aspect lines between the bodies again. */
  ShowAspects_Pln(): void;
  /** DrawThéme under an ASCII name. */
  drawTheme(): void;
  /** ShowAspects_Pln under an ASCII name. */
  showAspects(): void;

  addEventListener<K extends keyof ZodiacChartEventMap>(
    type: K,
    listener: (this: ActiveX_Ctl, ev: ZodiacChartEventMap[K]) => unknown,
    options?: boolean | AddEventListenerOptions,
  ): void;
  addEventListener(
    type: string,
    listener: EventListenerOrEventListenerObject,
    options?: boolean | AddEventListenerOptions,
  ): void;
  removeEventListener<K extends keyof ZodiacChartEventMap>(
    type: K,
    listener: (this: ActiveX_Ctl, ev: ZodiacChartEventMap[K]) => unknown,
    options?: boolean | EventListenerOptions,
  ): void;
  removeEventListener(
    type: string,
    listener: EventListenerOrEventListenerObject,
    options?: boolean | EventListenerOptions,
  ): void;
}

declare global {
  interface HTMLElementTagNameMap {
    'zodiac-chart': ActiveX_Ctl;
  }
}
