/** Options of renderChart. */
export interface RenderChartOptions {
  /** The instant, ISO 8601 as the element's `at` attribute; the present instant when absent. */
  at?: string;
  /** Where the package's stylesheet and pictures are served; default "/". */
  base?: string;
}

/**
 * The chart as `<zodiac-chart at="…"><template shadowrootmode="open">…</template></zodiac-chart>`:
 * HTML to put in a page, shown before (and without) any script; the element's script takes it
 * over when it runs. Rejects an `at` that is no instant or that the time base refuses.
 */
export function renderChart(options?: RenderChartOptions): Promise<string>;
