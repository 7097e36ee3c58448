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
// A modal message box with the UTF-8 text and the style (16: stop icon, OK button). Returns
// at once: the page cannot block.
void zc_host_message_box(int element, const char* text, int style);
// Shows the analysis window over the page for the control `element`; returns 1 when shown,
// 0 when the page cannot show it.
int zc_host_show_window(int element);
// Hides the analysis window.
void zc_host_hide_window(int element);
// Lets the pointer that has just been pressed move the analysis window until it is released.
void zc_host_start_window_move(int element);
}
