// The batch run of the page for many flats, away from the page: loads the batch module
// (WebAssembly), runs the command-line evaluator's batch over the chosen file, which the
// module reads a slice at a time, and sends back how far it is, then the counts and the
// table as a file. Started
// as the page's worker; where the browser starts none (a page opened as a file in
// Chromium), the page loads this script beside the module and runs the same on itself.
//
// The messages, page to worker:
//   {type: 'run', file: File, workbook}  evaluate the file, read as the command line reads
//                                        a file of its name (a sheet or JSON Lines); the
//                                        table as CSV, or with workbook true as .xlsx
// worker to page:
//   {type: 'ready'}                      the module is loaded; a run may come
//   {type: 'unavailable'}                the module cannot be loaded here
//   {type: 'progress', done: bytes}      that many bytes of the file are read (now and then)
//   {type: 'unreadable'}                 the file cannot be read
//   {type: 'failed'}                     the run broke off unexpectedly (then the page
//                                        starts a new worker)
//   {type: 'done', finished, failure, lines, refused, read, table}
//                                        the run's end: finished false with the German
//                                        failure, or the counts and the table (a Blob of
//                                        type text/csv: made here, the page takes it over
//                                        without touching its bytes; copying tens of
//                                        megabytes into a Blob on the page would hold it
//                                        up for half a second)
// Stopping a run is ending the worker; a new one takes the next run.
/* global createBatchModule */
// (The release names the editions' script by its hash: 'rent_index_editions.js' here.)
'use strict';

const workbookType = 'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet';

// The batch runner over a module created here. run(file, post) evaluates the file and gives
// post the run's messages; runs may be asked for while one is reading its file, each tells
// its own.
function batchRunner() {
  let tell = () => {};
  // The CSV table's parts as the run writes them, each a Blob of its own at once.
  let tableParts = [];
  // The chosen file's bytes, count of them from at, as the run asks for them.
  let readFile = () => new Uint8Array(0);
  const created = createBatchModule({
    onBatchProgress: (done) => tell({ type: 'progress', done }),
    onBatchTablePart: (bytes) => tableParts.push(new Blob([bytes])),
    onBatchReadFile: (at, count) => readFile(at, count),
  });
  // The editions of the release go to the module before any run; one it refuses refuses
  // every run, with the module's message.
  let editionRefusal = '';
  const ready = Promise.resolve(created.ready ?? created).then((module) => {
    for (const { file, text } of self.msrRentIndexEditions ?? []) {
      const bytes = new TextEncoder().encode(text);
      const refusal = withBytes(module, bytes, (pointer) => withText(module, file,
        (name) => module.UTF8ToString(module._msr_batch_add_edition(pointer, bytes.length, name))));
      editionRefusal ||= refusal;
    }
    return module;
  });

  function withText(module, text, use) {
    const size = module.lengthBytesUTF8(text) + 1;
    const pointer = module._malloc(size);
    try {
      module.stringToUTF8(text, pointer, size);
      return use(pointer);
    } finally {
      module._free(pointer);
    }
  }

  function withBytes(module, bytes, use) {
    const pointer = module._malloc(Math.max(bytes.length, 1));
    try {
      module.HEAPU8.set(bytes, pointer);
      return use(pointer);
    } finally {
      module._free(pointer);
    }
  }

  // Today as the browser's clock has it ("2026-12-08"): its edition counts for a row
  // without a "Stichtag" of its own.
  function today() {
    const now = new Date();
    const twoDigits = (number) => String(number).padStart(2, '0');
    return `${now.getFullYear()}-${twoDigits(now.getMonth() + 1)}-${twoDigits(now.getDate())}`;
  }

  // The run over the file, read in slices as the module asks for them; the table comes
  // out as a file of its own, which the page takes over as it is: a CSV table from the
  // parts the run handed out, a workbook (written with its sizes patched in at the end)
  // from the module's memory.
  function runOverFile(module, size, fileName, workbook) {
    if (editionRefusal) {
      return { type: 'done', finished: false, failure: editionRefusal, lines: 0, refused: 0, read: '' };
    }
    tableParts = [];
    const finished = withText(module, fileName, (name) => withText(module, today(), (day) =>
      module._msr_batch_run(size, name, workbook ? 1 : 0, day))) === 1;
    const start = module._msr_batch_table();
    const table = workbook
      ? new Blob([module.HEAPU8.subarray(start, start + module._msr_batch_table_size())], { type: workbookType })
      : new Blob(tableParts, { type: 'text/csv;charset=utf-8' });
    tableParts = [];
    return {
      type: 'done',
      finished,
      failure: module.UTF8ToString(module._msr_batch_failure()),
      lines: module._msr_batch_lines(),
      refused: module._msr_batch_refused(),
      read: module.UTF8ToString(module._msr_batch_read()),
      table,
    };
  }

  // In a worker the file is read a slice at a time, as the run goes; on the page (which
  // reads no file at once) it is read whole first.
  async function fileSlices(file) {
    if (typeof FileReaderSync === 'function') {
      const reader = new FileReaderSync();
      reader.readAsArrayBuffer(file.slice(0, 1)); // refused here when it cannot be read
      return (at, count) => new Uint8Array(reader.readAsArrayBuffer(file.slice(at, at + count)));
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    return (at, count) => bytes.subarray(at, at + count);
  }

  async function run(file, post, workbook = false) {
    let slices;
    try {
      slices = await fileSlices(file);
    } catch {
      post({ type: 'unreadable' });
      return;
    }
    const module = await ready;
    // A workbook is inflated by the module itself, part by part as its rows are read.
    // From here to the end at one go: the module's progress is this run's.
    tell = post;
    readFile = slices;
    post({ type: 'progress', done: 0 });
    try {
      post(runOverFile(module, file.size, file.name, workbook));
    } finally {
      readFile = () => new Uint8Array(0);
    }
  }

  return { ready, run };
}

// As the page's worker (the page itself has a document).
if (typeof document === 'undefined' && typeof importScripts === 'function') {
  importScripts('batch_module.js', 'rent_index_editions.js');
  const runner = batchRunner();
  runner.ready.then(() => postMessage({ type: 'ready' }),
    () => postMessage({ type: 'unavailable' }));
  self.addEventListener('message', ({ data }) => {
    if (data?.type !== 'run') return;
    runner.run(data.file, (message) => postMessage(message), data.workbook)
      .catch(() => postMessage({ type: 'failed' }));
  });
}
