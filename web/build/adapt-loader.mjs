// Adapts emscripten's minimal loader (-sMINIMAL_RUNTIME) to the element: node adapt-loader.mjs
// IN OUT. Two changes, each to exactly one place, or the build stops:
// - the module is instantiated by the factory argument's instantiateWasm(imports), which
//   resolves to { instance, module } (the element compiles the .wasm while it streams, from
//   beside its own script), instead of from bytes given in advance;
// - the module's exported functions (_zc_create, _malloc, ...) are set on the module object
//   the factory resolves to, as the full loader did.
import { readFileSync, writeFileSync } from 'node:fs';

const [input, output] = process.argv.slice(2);
let loader = readFileSync(input, 'utf8');

function replaceOnce(text, from, to) {
  const at = text.indexOf(from);
  if (at < 0 || text.indexOf(from, at + 1) >= 0)
    throw new Error(`${input}: expected "${from}" exactly once (another emscripten version?)`);
  return text.slice(0, at) + to + text.slice(at + from.length);
}

const declared = /var (_[\w$]+(?:,_[\w$]+)*);WebAssembly\.instantiate\(/.exec(loader);
if (!declared) throw new Error(`${input}: no list of exported functions before the instantiation`);
const exported = declared[1].split(',');
loader = replaceOnce(loader, 'WebAssembly.instantiate(Module["wasm"],imports)',
  'Module["instantiateWasm"](imports)');
loader = replaceOnce(loader, 'initRuntime(asm);',
  `initRuntime(asm);Object.assign(Module,{${exported.join(',')}});`);
writeFileSync(output, loader);
