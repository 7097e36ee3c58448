// The module's imports from the page (declared in host_imports.h). Each forwards to the
// object the page passed to the module factory as `zcHost`, which owns the DOM side of the
// controls; no code is built from strings here or there.
mergeInto(LibraryManager.library, {
  zc_host_clock: function (element, out) {
    var v = Module['zcHost'].clockUtc(element);
    for (var k = 0; k < 6; k++) HEAP32[(out >> 2) + k] = v[k];
  },
  zc_host_date_text: function (element, unixMs, buf, size) {
    stringToUTF8(Module['zcHost'].dateText(element, unixMs), buf, size);
  },
  zc_host_message_box: function (element, text, icon, font) {
    Module['zcHost'].messageBox(element, UTF8ToString(text), UTF8ToString(icon),
      UTF8ToString(font));
  },
  zc_host_show_window: function (element) {
    return Module['zcHost'].showWindow(element) ? 1 : 0;
  },
  zc_host_hide_window: function (element) {
    Module['zcHost'].hideWindow(element);
  },
});
