// Text handed to the WebAssembly module: copied into its memory as NUL-terminated UTF-8 for
// the one call f(pointer), and freed after it whatever f does.
export function withUtf8(m, text, f) {
  const size = m.lengthBytesUTF8(text) + 1;
  const p = m._malloc(size);
  try {
    m.stringToUTF8(text, p, size);
    return f(p);
  } finally {
    m._free(p);
  }
}
