// What the page's script provides to the module: the calls a control's platform makes into
// the web page, implemented in host_library.js. `element` is the number the page gave the
// control when it created it; 0 stands for the page itself (the shared analysis window).
#pragma once

extern "C" {
// The present instant from the browser's clock, as a UTC reading: writes year, month (1..12),
// day, hour, minute and second into out[0..5].
void zc_host_clock(int element, int* out);
// The date and time `unix_ms` (milliseconds since 1970 UTC; NaN for the present instant) as
// text in the visitor's locale format, date then time, written as UTF-8 into buf (at most
// size bytes, NUL included).
void zc_host_date_text(int element, double unix_ms, char* buf, int size);
// A modal message box with the UTF-8 text, an OK button and the named icon ("stop", or ""
// for none), its text in the CSS font stack `font`. Returns at once: the page cannot block.
void zc_host_message_box(int element, const char* text, const char* icon, const char* font);
// Whether the page can show the analysis window for the control `element` now: 1 yes, 0 no.
// The page opens it, named by the sign label released, when the call into the module that
// showed it returns.
int zc_host_show_window(int element);
// Hides the analysis window.
void zc_host_hide_window(int element);
}
