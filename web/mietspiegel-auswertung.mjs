#!/usr/bin/env node
// mietspiegel-auswertung under Node: the command-line evaluator's WebAssembly build, with
// its options, outputs, refusals and exit codes. Everything is decided in the module, which
// reads and writes the standard streams itself; this file hands in the arguments and what
// only Node knows: the locale's decimal separator and the state of the standard streams.
// (It never touches process.stdin or process.stdout: Node would make a pipe non-blocking.)
import { fstatSync, readFileSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { isatty } from 'node:tty';

// Required, not imported: Node would first scan the whole module for its exports.
const createCommandLineModule = createRequire(import.meta.url)('./command_line_module.cjs');

// The locale as the native evaluator takes it: LC_ALL, then LC_NUMERIC, then LANG.
function localeName() {
  for (const name of ['LC_ALL', 'LC_NUMERIC', 'LANG']) {
    const value = process.env[name];
    if (value) return value;
  }
  return 'C';
}

function decimalSeparatorOf(locale) {
  const tag = locale.replace(/[.@].*$/, '').replace('_', '-');
  if (tag === 'C' || tag === 'POSIX' || tag === '') return '.';
  try {
    const parts = new Intl.NumberFormat(tag).formatToParts(1.5);
    return parts.find((part) => part.type === 'decimal')?.value ?? '.';
  } catch {
    return '.';
  }
}

// Node opens /dev/null for reading and writing in place of a standard stream that was
// closed when it started; a shell's redirection to /dev/null opens it one way only. (A
// parent that hands over /dev/null opened both ways, as Python's DEVNULL does, looks the
// same and is taken for a closed stream.)
function wasClosed(descriptor) {
  try {
    const flags = /^flags:\s*([0-7]+)/m.exec(readFileSync(`/proc/self/fdinfo/${descriptor}`, 'latin1'));
    const readWrite = flags !== null && (parseInt(flags[1], 8) & 3) === 2;
    return readWrite && fstatSync(descriptor).rdev === statSync('/dev/null').rdev;
  } catch {
    return false;
  }
}

function standardInputBytes() {
  try {
    const input = fstatSync(0);
    return input.isFile() ? input.size : 0;
  } catch {
    return 0;
  }
}

const module = await createCommandLineModule({
  wasmBinary: readFileSync(new URL('command_line_module.wasm', import.meta.url)),
});

function withStrings(strings, use) {
  const pointers = strings.map((text) => {
    const size = module.lengthBytesUTF8(text) + 1;
    const pointer = module._malloc(size);
    module.stringToUTF8(text, pointer, size);
    return pointer;
  });
  try {
    return use(pointers);
  } finally {
    pointers.forEach((pointer) => module._free(pointer));
  }
}

const args = process.argv.slice(2);
const closedStreams = [0, 1, 2].reduce((mask, fd) => mask | (wasClosed(fd) ? 1 << fd : 0), 0);
const progressOnError = isatty(2) && !isatty(1);
const strings = [...args, decimalSeparatorOf(localeName()), process.env.XDG_DATA_DIRS ?? ''];
process.exitCode = withStrings(strings, (pointers) => {
  const argv = module._malloc(4 * Math.max(args.length, 1));
  args.forEach((_, i) => module.HEAP32.set([pointers[i]], argv / 4 + i));
  try {
    return module._msr_run(args.length, argv, pointers[args.length], closedStreams,
      progressOnError ? 1 : 0, standardInputBytes(), pointers[args.length + 1], process.umask());
  } finally {
    module._free(argv);
  }
});
