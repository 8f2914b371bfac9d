// The batch page's behaviour: hands the chosen file to the command-line evaluator's batch
// run (WebAssembly) in a worker, shows how far it is and how many lines it answered and
// refused, and saves the table it wrote, byte for byte. The run decides every row, figure
// and message; this script only carries files and bytes and shows counts, so the page stays
// responsive however big the file. Where the browser starts no worker (a page opened as a
// file in Chromium), the run goes on the page itself, as batch_worker.js describes. A
// classic script, so that the page runs from any static host and opened as a file.
/* global batchRunner */
'use strict';

const chooser = document.getElementById('answers-file');
const statusLine = document.getElementById('batch-status');
const resultSection = document.getElementById('batch-result');
const saveButton = document.getElementById('save');
const saveWorkbookButton = document.getElementById('save-workbook');
const progressBox = document.getElementById('batch-progress');
const progressBar = document.getElementById('batch-progress-bar');
const progressText = document.getElementById('batch-progress-text');
const cancelButton = document.getElementById('cancel');

// The table of the last run: its bytes as a file and the name it is saved under; the
// same table as a workbook, once asked for; the file it came from.
let saved = null;
let savedWorkbook = null;
let evaluated = null;
// The run going on: its file and what stops it, or null.
let running = null;
// What runs the batch: {post(message), stop()}, a worker or the page itself.
let runner = null;

// Made once as the page opens: the first German number costs a browser tens of
// milliseconds for its locale's data, which a run's first moment need not pay.
const numbers = new Intl.NumberFormat('de-DE');
const figure = (number) => numbers.format(number);

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
  for (const table of [saved, savedWorkbook]) if (table) URL.revokeObjectURL(table.url);
  saved = null;
  savedWorkbook = null;
  evaluated = null;
  resultSection.hidden = true;
}

// "wohnungen.csv" gives "wohnungen-Auswertung.csv": the table never takes the answers'
// place in the folder they came from.
function tableName(fileName, kind = 'csv') {
  const stem = fileName.replace(/\.[^.]*$/u, '') || 'Mietspiegel';
  return `${stem}-Auswertung.${kind}`;
}

function showProgress(percent) {
  if (progressBar.value === percent && !progressBox.hidden) return;
  progressBar.value = percent;
  progressText.textContent = `${percent} % ausgewertet`;
}

// The bar and "Abbrechen" while a run goes on; after a finished run the full bar stays.
function showRunning(on) {
  cancelButton.hidden = !on;
  if (on) {
    showProgress(0);
    progressBox.hidden = false;
  }
}

function hideProgress() {
  if (document.activeElement === cancelButton) chooser.focus();
  showRunning(false);
  progressBox.hidden = true;
}

// Bytes read of the file's size, in whole per cent: a file read as another encoding may
// count more or fewer, so the bar never goes past the end before the run does.
function percentOf(done, size) {
  if (size <= 0) return 0;
  return Math.min(99, Math.floor((done * 100) / size));
}

function finished(reply) {
  const { file, workbook } = running;
  running = null;
  if (!reply.finished) {
    hideProgress();
    show(`${file.name}: ${reply.failure}`, true);
    return;
  }
  if (document.activeElement === cancelButton) chooser.focus();
  showRunning(false);
  showProgress(100);
  if (workbook) {
    savedWorkbook = { url: URL.createObjectURL(reply.table), name: tableName(file.name, 'xlsx') };
    saveFile(savedWorkbook);
    return;
  }
  evaluated = file;
  saved = { url: URL.createObjectURL(reply.table), name: tableName(file.name) };
  show(`${file.name} – ${summary(reply.lines, reply.refused, reply.read)}`);
  resultSection.hidden = false;
}

// What the runner says; messages of a run that was stopped are not heard.
function hear(from, message) {
  if (from !== runner) return;
  switch (message.type) {
    case 'ready':
      document.documentElement.dataset.ready = 'true';
      break;
    case 'unavailable':
      show('Der Rechner konnte nicht geladen werden.', true);
      break;
    case 'progress':
      if (running) showProgress(percentOf(message.done, running.file.size));
      break;
    case 'unreadable':
      if (!running) break;
      hideProgress();
      show(`Die Datei „${running.file.name}“ kann nicht gelesen werden.`, true);
      running = null;
      break;
    case 'done':
      if (running) finished(message);
      break;
    default:
      broke(from);
  }
}

// The run broke off (the worker ended unexpectedly): a new runner takes the next run.
function broke(from) {
  if (from !== runner) return;
  if (running) {
    hideProgress();
    show(`${running.file.name}: Die Auswertung ist unerwartet abgebrochen.`, true);
    running = null;
  }
  runner.stop();
  runner = startRunner();
}

// The runner on the page itself, for a browser that starts no worker here: the module and
// the worker's script are loaded once as the page's own scripts. The page waits while it
// runs.
let onPage = null;
function loadOnPage() {
  const load = (src) => new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = src;
    script.addEventListener('load', resolve);
    script.addEventListener('error', reject);
    document.head.append(script);
  });
  return load('batch_module.js').then(() => load('rent_index_editions.js'))
    .then(() => load('batch_worker.js')).then(() => batchRunner());
}

// A run on the page cannot be stopped midway; once another handle took its place, nothing
// it says is heard any more.
function startOnPage() {
  onPage ??= loadOnPage();
  const handle = { stop: () => {} };
  onPage.then((runnerOnPage) => runnerOnPage.ready).then(() => hear(handle, { type: 'ready' }),
    () => hear(handle, { type: 'unavailable' }));
  handle.post = (message) => {
    if (message.type !== 'run') return;
    onPage.then((runnerOnPage) => runnerOnPage.run(message.file, (reply) => hear(handle, reply),
      message.workbook))
      .catch(() => hear(handle, { type: 'failed' }));
  };
  return handle;
}

// A worker for the runs to come; the page itself where the browser refuses one.
function startRunner() {
  let worker;
  try {
    worker = new Worker('batch_worker.js');
  } catch {
    return startOnPage();
  }
  const handle = {
    post: (message) => worker.postMessage(message),
    stop: () => worker.terminate(),
  };
  let ready = false;
  worker.addEventListener('message', ({ data }) => {
    if (data?.type === 'ready') ready = true;
    hear(handle, data);
  });
  // A worker that cannot start at all leaves the runs to the page.
  worker.addEventListener('error', (event) => {
    event.preventDefault();
    if (ready || handle !== runner) {
      broke(handle);
      return;
    }
    worker.terminate();
    runner = startOnPage();
    if (running) runner.post({ type: 'run', file: running.file, workbook: running.workbook });
  });
  return handle;
}

// Stops the run going on at once: its worker ends, a fresh one takes the next run, and
// nothing of the stopped run is kept.
function stopRun() {
  if (!running) return false;
  running = null;
  runner.stop();
  runner = startRunner();
  return true;
}

function evaluate(file) {
  stopRun();
  forget();
  show(`${file.name} wird ausgewertet …`);
  showRunning(true);
  // On a phone the chooser fills the screen: the bar and "Abbrechen" come up from below it.
  progressBox.scrollIntoView({ block: 'nearest' });
  start(file, false);
}

// In a task of its own, after the page has shown the run: handing a file of the disk to
// the worker may wait for the browser to look at it.
function start(file, workbook) {
  running = { file, workbook };
  setTimeout(() => {
    if (running?.file === file) runner.post({ type: 'run', file, workbook });
  });
}

function cancel() {
  const file = running?.file;
  if (!stopRun()) return;
  hideProgress();
  show(`${file.name}: Auswertung abgebrochen.`);
}

function saveFile(table) {
  const link = document.createElement('a');
  link.href = table.url;
  link.download = table.name;
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
  evaluate(file);
});
saveButton.addEventListener('click', () => {
  if (saved) saveFile(saved);
});
// The workbook is written when first asked for: a second run over the same file.
saveWorkbookButton.addEventListener('click', () => {
  if (savedWorkbook) {
    saveFile(savedWorkbook);
  } else if (evaluated && !running) {
    showRunning(true);
    start(evaluated, true);
  }
});
cancelButton.addEventListener('click', cancel);

runner = startRunner();
