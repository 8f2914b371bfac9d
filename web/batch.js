// The batch page's behaviour: hands the chosen file's bytes to the command-line evaluator's
// batch run (WebAssembly), shows how many lines it answered and refused, and saves the
// table it wrote, byte for byte. The run decides every row, figure and message; this
// script only carries bytes and shows counts. A classic script, deferred after the
// module's, so that the page runs from any static host and opened as a file.
/* global createBatchModule */
'use strict';

const chooser = document.getElementById('answers-file');
const statusLine = document.getElementById('batch-status');
const resultSection = document.getElementById('batch-result');
const saveButton = document.getElementById('save');

// Compiled at once from the bytes the script carries; the factory gives the module or its
// promise.
const created = createBatchModule();
const ready = Promise.resolve(created.ready ?? created);

// The table of the last run: its bytes as a file and the name it is saved under.
let saved = null;

const figure = (number) => number.toLocaleString('de-DE');

// In the command-line evaluator's words: "3 Zeilen gelesen: 2 ausgewertet, 1 abgelehnt.",
// or "3 Zeilen als Windows-1252 gelesen: …" for a sheet not saved as UTF-8.
const summary = (lines, refused, read) =>
  `${figure(lines)} ${lines === 1 ? 'Zeile' : 'Zeilen'} ${read}: `
  + `${figure(lines - refused)} ausgewertet, ${figure(refused)} abgelehnt.`;

function show(text, failed = false) {
  statusLine.textContent = text;
  statusLine.classList.toggle('batch-failure', failed);
}

function forget() {
  if (saved) URL.revokeObjectURL(saved.url);
  saved = null;
  resultSection.hidden = true;
}

// "wohnungen.csv" gives "wohnungen-Auswertung.csv": the table never takes the answers'
// place in the folder they came from.
function tableName(fileName) {
  const stem = fileName.replace(/\.[^.]*$/u, '') || 'Mietspiegel';
  return `${stem}-Auswertung.csv`;
}

// Runs the batch over the file's bytes in the module's memory, read as the command line
// reads a file of that name; the table's bytes and the counts.
function runBatch(module, bytes, fileName) {
  const nameSize = module.lengthBytesUTF8(fileName) + 1;
  const name = module._malloc(nameSize);
  const pointer = module._malloc(Math.max(bytes.length, 1));
  try {
    module.stringToUTF8(fileName, name, nameSize);
    module.HEAPU8.set(bytes, pointer);
    const finished = module._msr_batch_run(pointer, bytes.length, name) === 1;
    const table = module.HEAPU8.slice(module._msr_batch_table(),
      module._msr_batch_table() + module._msr_batch_table_size());
    return {
      finished,
      failure: module.UTF8ToString(module._msr_batch_failure()),
      lines: module._msr_batch_lines(),
      refused: module._msr_batch_refused(),
      read: module.UTF8ToString(module._msr_batch_read()),
      table,
    };
  } finally {
    module._free(pointer);
    module._free(name);
  }
}

async function evaluate(file) {
  forget();
  show(`${file.name} wird ausgewertet …`);
  let bytes;
  try {
    bytes = new Uint8Array(await file.arrayBuffer());
  } catch {
    show(`Die Datei „${file.name}“ kann nicht gelesen werden.`, true);
    return;
  }
  const module = await ready;
  const run = runBatch(module, bytes, file.name);
  if (!run.finished) {
    show(`${file.name}: ${run.failure}`, true);
    return;
  }
  const blob = new Blob([run.table], { type: 'text/csv;charset=utf-8' });
  saved = { url: URL.createObjectURL(blob), name: tableName(file.name) };
  show(`${file.name} – ${summary(run.lines, run.refused, run.read)}`);
  resultSection.hidden = false;
}

function save() {
  if (!saved) return;
  const link = document.createElement('a');
  link.href = saved.url;
  link.download = saved.name;
  document.body.append(link);
  link.click();
  link.remove();
}

// The same file, corrected and chosen again, is a new choice: the chooser forgets the old
// one as it opens (the counts shown still name it).
chooser.addEventListener('click', () => {
  chooser.value = '';
});
chooser.addEventListener('change', () => {
  const [file] = chooser.files;
  if (!file) return;
  evaluate(file).catch(() => show('Unerwarteter Fehler.', true));
});
saveButton.addEventListener('click', save);

ready.then(() => {
  document.documentElement.dataset.ready = 'true';
}, () => show('Der Rechner konnte nicht geladen werden.', true));
