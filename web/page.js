// The page's behaviour: collects the answers, hands them to the WebAssembly core, and
// shows what comes back. The core decides every refusal, every paragraph and every
// figure; this script only shows them. A classic script, like the core's, so that the
// page runs from any static host and opened as a file under its
// Content-Security-Policy (a browser loads no module script from file://).
/* global createEvaluationModule */
'use strict';

const form = document.getElementById('questionnaire');
const reportSection = document.getElementById('report-section');
const report = document.getElementById('report');
const result = document.getElementById('result');
const resultStatus = document.getElementById('result-status');
const resultFigures = document.getElementById('result-figures');
const spanPicture = document.getElementById('span-picture');
const rentField = document.getElementById('rent');
const rentComparison = document.getElementById('rent-comparison');
const rentMeaning = document.getElementById('rent-meaning');
const askedRentField = document.getElementById('asked-rent');
const rentBeforeField = document.getElementById('rent-before');
const receivedField = document.getElementById('received');
const lastIncreaseField = document.getElementById('last-increase');
const increaseSection = document.getElementById('increase');
const increaseFindings = document.getElementById('increase-findings');
const increaseConclusion = document.getElementById('increase-conclusion');
const announcement = document.getElementById('announcement');
const toResult = document.getElementById('to-result');
const messageDialog = document.getElementById('message');
const confirmDialog = document.getElementById('confirm-reset');
const informationDialog = document.getElementById('information');
const evaluateButton = document.getElementById('evaluate');

// The core. Served, its code is compiled while it streams in, off the main thread, and a
// small script joins it to the page. Opened as a file (no fetch there), or should
// streaming fail, a script carrying the code embedded compiles it instead. Either starts
// once the page's first frame is on the screen: on a slow phone the core's bytes would
// otherwise share the line with the page's own, and its start the processor with the
// page's first layout.
const served = location.protocol.startsWith('http') && 'compileStreaming' in WebAssembly;

// Once the browser reports the page's first paint with content on the screen; where it
// reports none, after the next frame (a frame's callbacks run before it is drawn, and a
// task they queue runs once it is). A page out of sight paints nothing: it starts the core
// at once, and any page within five seconds.
function afterFirstPaint() {
  return new Promise((resolve) => {
    const start = () => setTimeout(resolve);
    setTimeout(resolve, 5000);
    if (document.hidden) {
      start();
      return;
    }
    document.addEventListener('visibilitychange', () => document.hidden && start());
    if (globalThis.PerformanceObserver?.supportedEntryTypes?.includes('paint')) {
      new PerformanceObserver((entries, observer) => {
        if (!entries.getEntriesByName('first-contentful-paint').length) return;
        observer.disconnect();
        start();
      }).observe({ type: 'paint', buffered: true });
    } else {
      requestAnimationFrame(start);
    }
  });
}

function loadScript(source) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = source;
    script.addEventListener('load', resolve);
    script.addEventListener('error', reject);
    document.head.append(script);
  });
}

function streamedCore(code) {
  return new Promise((resolve, reject) => {
    createEvaluationModule({
      instantiateWasm(imports, receiveInstance) {
        WebAssembly.instantiate(code, imports).then((instance) => receiveInstance(instance, code), reject);
        return {};
      },
    }).then(resolve, reject);
  });
}

// Emscripten would first try to fetch the embedded bytes from their own data: address,
// which the page's Content-Security-Policy forbids (connect-src); without fetch it takes
// the bytes it carries straight away.
function embeddedCore() {
  const fetchOfPage = window.fetch;
  window.fetch = undefined;
  try {
    return createEvaluationModule();
  } finally {
    window.fetch = fetchOfPage;
  }
}

async function streamedOrEmbeddedCore() {
  if (!served) throw new Error('opened as a file');
  const code = WebAssembly.compileStreaming(fetch('evaluation_module.wasm'));
  code.catch(() => {});
  // The script that joins it is asked for in a task of its own.
  await nextTask();
  const [compiled] = await Promise.all([code, loadScript('evaluation_code.js')]);
  return streamedCore(compiled);
}

// Settled once the core has taken up what the page held at its start.
let coreIsReady;
const coreReady = new Promise((resolve) => { coreIsReady = resolve; });

const core = afterFirstPaint()
  .then(streamedOrEmbeddedCore)
  .catch(() => loadScript('evaluation_module.js').then(embeddedCore));
let module = null;

// The editions of the rent index that this release ships besides the core's own, as data
// of the release (never from an address): handed to the core, which reads and checks
// each one, before the first evaluation.
const releaseEditions = afterFirstPaint().then(() => loadScript('rent_index_editions.js'));
async function addReleaseEditions() {
  try {
    await releaseEditions;
  } catch {
    return; // a release without editions of its own
  }
  for (const { file, text } of globalThis.msrRentIndexEditions ?? []) {
    const bytes = new TextEncoder().encode(text);
    const added = callCore('_msr_add_edition', bytes, bytes.length, file);
    if (added.error) showMessage(added.error, null);
  }
}

// The answers as the command-line evaluator reads them: a JSON object keyed by the input
// names, with every chosen button's number, every ticked box, and the size as typed
// (absent while the field is empty, which is the dialog's "Quadratmeter"). The core reads
// it and decides.
function answers() {
  const given = {};
  for (const input of form.querySelectorAll('input[type=radio]:checked'))
    given[input.name] = Number(input.value);
  for (const input of form.querySelectorAll('input[type=checkbox]:checked'))
    given[input.name] = true;
  const livingArea = form.elements.LivingArea.value;
  if (livingArea !== '') given.LivingArea = livingArea;
  return given;
}

// Calls the core with texts (as UTF-8), bytes as they are and numbers; the reply is JSON.
function callCore(name, ...values) {
  const pointers = [];
  const passed = values.map((value) => {
    if (typeof value === 'number') return value;
    let pointer;
    if (value instanceof Uint8Array) {
      pointer = module._malloc(value.length + 1);
      module.HEAPU8.set(value, pointer);
    } else {
      const size = module.lengthBytesUTF8(value) + 1;
      pointer = module._malloc(size);
      module.stringToUTF8(value, pointer, size);
    }
    pointers.push(pointer);
    return pointer;
  });
  try {
    return JSON.parse(module.UTF8ToString(module[name](...passed)));
  } finally {
    pointers.forEach((pointer) => module._free(pointer));
  }
}

// A letter-spaced title ("M i e t s p i e g e l") is shown as printed and read as the
// one word it is.
function textBlock(tag, text) {
  const element = document.createElement(tag);
  if (text === '') {
    element.append(document.createElement('br'));
  } else if (/^(\S )+\S$/u.test(text) && text.length > 6) {
    const shown = document.createElement('span');
    shown.setAttribute('aria-hidden', 'true');
    shown.textContent = text;
    const word = text.replaceAll(' ', '');
    const spoken = document.createElement('span');
    spoken.className = 'visually-hidden';
    spoken.textContent = word[0] + word.slice(1).toLowerCase();
    element.append(shown, spoken);
  } else {
    element.textContent = text;
  }
  return element;
}

// --- messages --------------------------------------------------------------------

let focusAfterMessage = null;

function showMessage(text, returnFocusTo) {
  document.getElementById('message-text').textContent = text;
  focusAfterMessage = returnFocusTo;
  messageDialog.showModal();
  document.getElementById('message-ok').focus();
}

document.getElementById('message-ok').addEventListener('click', () => messageDialog.close());
messageDialog.addEventListener('close', () => focusAfterMessage?.focus());

// --- the field to correct -------------------------------------------------------------

// Marks the field (an input, or the first of a group of buttons: then all of the group)
// with the message shown right below it and attached for screen readers; no message takes
// the mark away.
function markField(field, message) {
  const controls = field.type === 'radio' ? [...document.getElementsByName(field.name)] : [field];
  const id = `${field.id || field.name}-message`;
  let note = document.getElementById(id);
  if (message && !note) {
    note = document.createElement('p');
    note.className = 'field-message';
    note.id = id;
    const hint = document.getElementById(field.getAttribute('aria-describedby')?.split(' ')
      .find((ref) => document.getElementById(ref)?.classList.contains('hint')) ?? '');
    const after = field.type === 'radio' ? field.closest('fieldset') : (hint ?? field);
    after.after(note);
  }
  if (message) note.textContent = message;
  else note?.remove();
  for (const control of controls) {
    const described = (control.getAttribute('aria-describedby') ?? '').split(' ')
      .filter((ref) => ref && ref !== id);
    if (message) {
      control.setAttribute('aria-invalid', 'true');
      described.push(id);
    } else {
      control.removeAttribute('aria-invalid');
    }
    if (described.length) control.setAttribute('aria-describedby', described.join(' '));
    else control.removeAttribute('aria-describedby');
  }
}

// The fields a refusal of "Auswerten" can belong to, by the core's input names.
const refusableFields = {
  LivingArea: () => form.elements.LivingArea,
  Built1980Side: () => form.querySelector('input[name=Built1980Side]'),
};

// --- the three answers the evaluation needs ---------------------------------------------

const requiredGroups = { YearClass: 'baujahr', LivingArea: 'wohnungsgroesse', CityArea: 'gebiet' };

function groupName(input) {
  return document.getElementById(requiredGroups[input]).querySelector('legend').textContent;
}

function listed(names) {
  return names.length < 2 ? names.join('') : `${names.slice(0, -1).join(', ')} und ${names.at(-1)}`;
}

// Marks the groups the refused evaluation missed, visibly and for screen readers; a mark
// goes as soon as its group is answered.
function markMissing(missing, { add }) {
  for (const [input, id] of Object.entries(requiredGroups)) {
    const group = document.getElementById(id);
    const isMissing = missing.includes(input);
    if (isMissing && !add && !group.classList.contains('missing')) continue;
    group.classList.toggle('missing', isMissing);
    let note = group.querySelector('.missing-note');
    if (isMissing && !note) {
      note = document.createElement('p');
      note.className = 'missing-note';
      note.id = `${id}-missing`;
      note.textContent = 'Diese Angabe fehlt noch.';
      group.querySelector('legend').after(note);
    }
    if (!isMissing) note?.remove();
    for (const control of group.querySelectorAll(`[name=${input}]`)) {
      const described = (control.getAttribute('aria-describedby') ?? '').split(' ')
        .filter((ref) => ref && ref !== `${id}-missing`);
      if (isMissing) {
        control.setAttribute('aria-invalid', 'true');
        described.unshift(note.id);
      } else {
        control.removeAttribute('aria-invalid');
      }
      if (described.length) control.setAttribute('aria-describedby', described.join(' '));
      else control.removeAttribute('aria-describedby');
    }
  }
}

function firstControlOf(input) {
  const controls = [...form.querySelectorAll(`[name=${input}]`)];
  return controls.find((control) => control.checked) ?? controls[0];
}

// --- the result at a glance ----------------------------------------------------------

const svg = 'http://www.w3.org/2000/svg';

function svgElement(name, attributes, text) {
  const element = document.createElementNS(svg, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, value);
  if (text !== undefined) element.textContent = text;
  return element;
}

// The picture's width and the rows of its labels: the mean's above the bar, the bounds'
// below the own rent's marker, the own rent's last.
const picture = { width: 320, edge: 2, gap: 6, meanRow: 11, boundsRow: 62, ownRow: 76 };

// Labels of one row, from left to right, each wanted at its place, moved as little as it
// takes to stand apart and inside the picture: pushed right past the one before, then
// back left from the edge.
function placeLabels(labels) {
  let least = picture.edge;
  for (const label of labels) {
    label.left = Math.max(label.wanted, least);
    least = label.left + label.width + picture.gap;
  }
  let most = picture.width - picture.edge;
  for (const label of [...labels].reverse()) {
    label.left = Math.max(Math.min(label.left, most - label.width), picture.edge);
    most = label.left - picture.gap;
  }
}

// A row's labels, from left to right, laid out: drawn first to be measured, then placed. A label wants to stand
// centred on its point ("middle"), beginning at it ("start") or ending there ("end").
function layOutRow(texts, row) {
  const labels = texts.map(({ text, at, anchor, className }) => {
    const element = svgElement('text', { x: 0, y: row, ...(className ? { class: className } : {}) }, text);
    spanPicture.append(element);
    // Unmeasured while the result box is not laid out: as wide as its widest characters.
    const width = element.getComputedTextLength() || text.length * 0.7 * 12;
    const wanted = anchor === 'start' ? at : anchor === 'end' ? at - width : at - width / 2;
    return { element, width, wanted };
  });
  placeLabels(labels);
  for (const { element, left } of labels) element.setAttribute('x', left.toFixed(1));
}

// The span as a bar from the lower to the upper bound, the mean as a stroke across it
// and the own rent, when given, as a marker: placed by the core's numbers, labelled with
// the figures as printed. Drawn while the picture is shown, so that its labels measure.
function drawSpan(figures, numbers, rent, rentNumber) {
  const low = numbers.totalLow;
  const high = numbers.totalHigh;
  const mean = numbers.totalMean;
  const own = rent && rentNumber;
  const least = Math.min(low, own || low);
  const most = Math.max(high, own || high);
  const margin = (most - least) * 0.08 || 1;
  const x = (amount) => 12 + ((amount - least + margin) / (most - least + 2 * margin)) * 296;
  const title = document.getElementById('span-picture-title');
  title.textContent = `Spanne im Monat von ${figures.totalLow} bis ${figures.totalHigh} Euro, ` +
    `Mittelwert ${figures.totalMean} Euro${rent ? `, Ihre Miete ${rent} Euro` : ''}`;
  spanPicture.replaceChildren(title,
    svgElement('line', { x1: 12, y1: 30, x2: 308, y2: 30, class: 'track' }),
    svgElement('rect', { x: x(low), y: 21, width: Math.max(x(high) - x(low), 2), height: 18, class: 'span' }),
    svgElement('line', { x1: x(mean), y1: 16, x2: x(mean), y2: 44, class: 'mean' }));
  if (rent) spanPicture.append(svgElement('path', { d: `M${x(own)} 40 l-6 10 h12 z`, class: 'own' }));
  layOutRow([{ text: `Mittelwert ${figures.totalMean}`, at: x(mean), anchor: 'middle' }], picture.meanRow);
  layOutRow([{ text: figures.totalLow, at: x(low), anchor: 'start' },
    { text: figures.totalHigh, at: x(high), anchor: 'end' }], picture.boundsRow);
  if (rent) {
    layOutRow([{ text: `Ihre Miete ${rent}`, at: x(own), anchor: 'middle', className: 'own-label' }],
      picture.ownRow);
  }
}

function showGlance() {
  const glance = callCore('_msr_glance', JSON.stringify(answers()), rentField.value.trim(), today());
  if (glance.figures === undefined) {
    resultStatus.textContent = glance.missing
      ? `Für ein Ergebnis fehlt noch: ${listed(glance.missing.map(groupName))}.`
      : glance.error;
    resultFigures.hidden = true;
    rentComparison.textContent = '';
    rentMeaning.textContent = '';
    summarize(null);
    return glance;
  }
  const { figures } = glance;
  resultStatus.textContent = `Mittelwert ${figures.totalMean} Euro im Monat, ` +
    `Spanne ${figures.totalLow} bis ${figures.totalHigh} Euro.`;
  for (const cell of resultFigures.querySelectorAll('[data-figure]'))
    cell.textContent = `${figures[cell.dataset.figure]} €`;
  for (const cell of resultFigures.querySelectorAll('[data-label]'))
    cell.textContent = glance.labels[cell.dataset.label];
  resultFigures.querySelector('.per-size').textContent = ` für ${figures.livingArea} m²`;
  resultFigures.hidden = false;
  drawSpan(figures, glance.numbers, glance.comparison?.rent, glance.comparison?.rentNumber);
  rentComparison.textContent = glance.comparison?.sentence ?? '';
  rentMeaning.textContent = glance.comparison?.meaning ?? '';
  summarize(figures);
  return glance;
}

// The result's figures and the own rent's finding, announced once typing pauses: a
// screen reader hears the result of "590", not of "5", "59" and "590".
let announceTimer = null;
function announceLater() {
  clearTimeout(announceTimer);
  announceTimer = setTimeout(() => {
    const refusals = [...document.querySelectorAll('#result .field-message')]
      .map((note) => note.textContent);
    announcement.textContent = [resultStatus.textContent, rentComparison.textContent,
      increaseConclusion.hidden ? '' : increaseConclusion.textContent, ...refusals]
      .filter(Boolean).join(' ');
  }, 1000);
}

// --- a rent increase checked ---------------------------------------------------------

const increaseFields = {
  currentRent: rentField,
  askedRent: askedRentField,
  rentBefore: rentBeforeField,
  received: receivedField,
  lastIncrease: lastIncreaseField,
  cap: increaseSection.querySelector('input[name=cap]'),
};

// The own rent against the span and a requested increase against the cap, the span and
// the deadlines, as the core checks them; a refusal is shown at its field.
function showRentChecks(glance) {
  const cap = Number(increaseSection.querySelector('input[name=cap]:checked').value);
  const check = callCore('_msr_rent_increase', JSON.stringify(answers()), rentField.value,
    askedRentField.value, rentBeforeField.value, receivedField.value, cap, lastIncreaseField.value,
    today());
  increaseFindings.replaceChildren(...(check.findings ?? []).map((finding) => {
    const item = document.createElement('li');
    item.textContent = finding;
    return item;
  }));
  showConclusion(check);
  increaseSection.dataset.exceedsCap = String(check.exceedsCap ?? false);
  for (const [name, field] of Object.entries(increaseFields)) {
    const refused = check.refusal?.field === name ? check.refusal.message : null;
    markField(field, name === 'currentRent' ? (glance?.rentRefusal ?? refused) : refused);
  }
  showRentPrintout(check);
}

// The one sentence that leads the check: the most the tenant would owe. A letter asking
// more than the cap or the span allow, or coming too early, is marked by a word, not by
// colour alone.
function showConclusion(check) {
  increaseConclusion.hidden = !check.conclusion;
  if (!check.conclusion) {
    increaseConclusion.replaceChildren();
    return;
  }
  const parts = [];
  if (check.breach) parts.push(textBlock('span', `${check.breach}: `));
  parts[0]?.classList.add('breach');
  parts.push(document.createTextNode(check.conclusion));
  const disclaimer = textBlock('span', document.getElementById('disclaimer').textContent);
  disclaimer.className = 'conclusion-disclaimer';
  increaseConclusion.replaceChildren(...parts, ' ', disclaimer);
}

// --- the rent taken along ------------------------------------------------------------

// The page printed after the report: the edition and its notice, the own rent and where
// it stands, the letter's answers with the check's conclusion, findings and refusals, as
// the result box shows them. Printed only when the tenant gave a rent or a letter's.
function showRentPrintout(check) {
  const printout = document.getElementById('rent-printout-text');
  const blocks = [];
  const add = (tag, text, className) => {
    if (!text) return;
    const block = textBlock(tag, text);
    if (className) block.className = className;
    blocks.push(block);
  };
  const answer = (field) =>
    field.value.trim() && `${document.querySelector(`label[for=${field.id}]`).textContent}: ${field.value.trim()}`;
  const refusalOf = (field) => document.getElementById(`${field.id}-message`)?.textContent;
  add('p', document.getElementById('edition').textContent);
  const outOfDate = document.getElementById('out-of-date');
  if (!outOfDate.hidden) add('p', outOfDate.textContent);
  if (rentField.value.trim()) {
    add('h3', 'Ihre Miete');
    for (const text of [answer(rentField), refusalOf(rentField), rentComparison.textContent,
      rentMeaning.textContent]) add('p', text);
  }
  if (askedRentField.value.trim()) {
    add('h3', document.getElementById('increase-title').textContent);
    for (const field of [askedRentField, rentBeforeField, receivedField, lastIncreaseField])
      add('p', answer(field));
    add('p', `Kappungsgrenze: ${increaseSection.querySelector('input[name=cap]:checked').value} %`);
    for (const field of [askedRentField, rentBeforeField, receivedField, lastIncreaseField])
      add('p', refusalOf(field));
    if (check.conclusion) add('p', `${check.breach ? `${check.breach}: ` : ''}${check.conclusion}`, 'conclusion');
    const findings = document.createElement('ul');
    findings.append(...[...increaseFindings.children].map((item) => textBlock('li', item.textContent)));
    if (findings.children.length) blocks.push(findings);
    if (check.conclusion) add('p', document.getElementById('disclaimer').textContent, 'disclaimer');
  }
  const given = blocks.length > (outOfDate.hidden ? 1 : 2);
  if (given) add('p', `Rat und Hilfe: ${result.querySelector('.association-contact').textContent}`);
  printout.replaceChildren(...(given ? blocks : []));
  linkTelephone(printout);
  document.body.classList.toggle('has-rent-printout', given);
}

function rentChanged() {
  // Typed before the core is there: evaluated once it is (it reads the fields then).
  if (!module) return;
  showRentChecks(showGlance());
  announceLater();
}

for (const field of [rentField, askedRentField, rentBeforeField, receivedField, lastIncreaseField])
  field.addEventListener('input', rentChanged);
increaseSection.addEventListener('change', rentChanged);

// --- the result in reach ------------------------------------------------------------

// On a narrow screen the result follows the questionnaire; while it is out of view a
// button at the bottom edge shows the mean and leads to it.
function summarize(figures) {
  toResult.textContent = figures
    ? `Mittelwert ${figures.totalMean} € im Monat – zum Ergebnis`
    : 'Zum Ergebnis';
}

toResult.addEventListener('click', () => {
  result.scrollIntoView({ block: 'start' });
  result.focus({ preventScroll: true });
});

new IntersectionObserver(([entry]) => {
  toResult.hidden = entry.isIntersecting;
}).observe(result);

// --- the report ------------------------------------------------------------------

// A heading of the report is a heading paragraph that a paragraph of text follows
// directly: the section titles and "Schlussberechnung", not the association's lines.
function isSectionTitle(paragraph, next) {
  return (paragraph.kind === 'heading' || paragraph.kind === 'warning') && paragraph.text !== '' &&
    next !== undefined && next.kind !== 'heading' && next.text !== '';
}

function showParagraph(paragraph, index, paragraphs) {
  const heading = isSectionTitle(paragraph, paragraphs[index + 1]);
  const letterSpaced = /^(\S )+\S$/u.test(paragraph.text);
  const block = textBlock(heading ? (letterSpaced ? 'h2' : 'h3') : 'p', paragraph.text);
  block.className = `paragraph ${paragraph.kind}`;
  block.style.fontFamily = `"${paragraph.face}", "Liberation Sans", Arimo, sans-serif`;
  block.style.fontSize = `${paragraph.points}pt`;
  block.style.fontWeight = paragraph.bold ? 'bold' : 'normal';
  block.style.fontStyle = paragraph.italic ? 'italic' : 'normal';
  const lines = [paragraph.underline && 'underline', paragraph.strikeout && 'line-through'];
  block.style.textDecoration = lines.filter(Boolean).join(' ') || 'none';
  // The document's colour, kept as it is; the style sheet draws it on screen (see there).
  block.dataset.color = paragraph.color;
  if (paragraph.color !== 'auto') block.style.setProperty('--document-color', paragraph.color);
  return block;
}

// The report stands only for the answers it was made of: any change takes it away, so
// neither the screen nor the printer shows one that no longer fits.
function dropReport() {
  report.replaceChildren();
  reportSection.hidden = true;
  document.body.classList.remove('has-report');
}

function showReport(document_) {
  report.replaceChildren(...document_.paragraphs.map(showParagraph));
  reportSection.hidden = false;
  document.body.classList.add('has-report');
  // Beside the questionnaire on a wide screen the result is in view already: the report
  // comes into view. On a narrow one the result does, with the report right below it.
  const shown = getComputedStyle(result).position === 'sticky' ? report : result;
  const box = shown.getBoundingClientRect();
  if (shown === report) reportSection.scrollIntoView({ block: 'start' });
  else if (box.top < 0 || box.bottom > innerHeight) result.scrollIntoView({ block: 'start' });
  shown.focus({ preventScroll: true });
}

form.addEventListener('submit', (event) => {
  event.preventDefault();
  if (!module) {
    coreReady.then(() => form.requestSubmit());
    return;
  }
  const given = JSON.stringify(answers());
  const evaluated = callCore('_msr_evaluate', given, today());
  if (evaluated.error === undefined) {
    showReport(evaluated);
    return;
  }
  const missing = evaluated.missing ?? [];
  markMissing(missing, { add: true });
  const field = refusableFields[evaluated.input]?.();
  if (field) markField(field, evaluated.error);
  showMessage(evaluated.error, field ?? (missing.length ? firstControlOf(missing[0]) : evaluateButton));
});

// The artwork of the printed pages' header and footer, held decoded once the page is
// ready: a print lays out its pages at once and leaves out a picture still on its way, as
// it is when the service worker serves it. Pictures fetched before the service worker took
// the page over count for nothing then, so they are fetched again through it.
let printArtwork = null;
function holdPrintArtwork() {
  printArtwork ??= Promise.all(['artwork-header.svg', 'artwork-footer.svg'].map((source) => {
    const image = new Image();
    image.src = source;
    return image.decode().then(() => image, () => null);
  }));
  return printArtwork;
}
navigator.serviceWorker?.addEventListener('controllerchange', () => {
  printArtwork = null;
  holdPrintArtwork();
});

document.getElementById('print').addEventListener('click', async () => {
  await holdPrintArtwork();
  window.print();
});

// --- answers kept in the address --------------------------------------------------------

// The answers stand in the address's fragment, which never reaches a server: a reload, a
// bookmark or a shared link gives them back.
function keepInAddress() {
  const given = JSON.stringify(answers());
  const address = given === '{}' ? location.pathname + location.search : `#${encodeURIComponent(given)}`;
  history.replaceState(null, '', address);
}

function setAnswers(all) {
  clearInputs(form);
  for (const [name, value] of Object.entries(all)) {
    const controls = form.elements[name];
    if (name === 'LivingArea') controls.value = value === 'Quadratmeter' ? '' : value;
    else if (typeof value === 'boolean') controls.checked = value;
    else if (value !== 0) [...controls].find((control) => control.value === String(value)).checked = true;
  }
}

// Takes a whole set of answers, the bytes of a file or of an address, as the command line
// reads them; or refuses them and changes nothing. The reply of the core's reader.
function loadAnswers(bytes) {
  const read = callCore('_msr_read_answers', bytes, bytes.length);
  if (read.error === undefined) {
    setAnswers(read.answers);
    keptWithAnswers = read.kept;
    answersChanged();
  }
  return read;
}

// What loaded answers held beside the questionnaire's (the counsellor's "Aktenzeichen", a
// "Stichtag"): saved again with them, as the command-line evaluator keeps them, but never
// put in the address. The reset forgets them.
let keptWithAnswers = {};

// The page's own word for an address it cannot read: a link cut short (inside a "%xx"
// escape, or before its closing brace) or garbled.
const brokenLinkMessage = 'Der Link ist unvollständig oder beschädigt. Die Angaben darin ' +
  'wurden nicht übernommen; Ihre Angaben bleiben, wie sie sind.';

function restoreFromAddress() {
  if (location.hash.length <= 1 || !module) return; // the core takes it up once there
  let read;
  try {
    read = loadAnswers(new TextEncoder().encode(decodeURIComponent(location.hash.slice(1))));
  } catch (error) {
    if (!(error instanceof URIError)) throw error;
    read = { error: brokenLinkMessage };
  }
  if (read.error === undefined) return;
  showMessage(read.notJson ? brokenLinkMessage : read.error, evaluateButton);
  // The address shows the answers that stand, so that a reload brings no message back.
  keepInAddress();
}

window.addEventListener('hashchange', restoreFromAddress);

// --- answers saved and loaded as a file ---------------------------------------------------

document.getElementById('save').addEventListener('click', () => {
  // One line, as the command-line evaluator's batch reads it.
  const file = new Blob([`${JSON.stringify({ ...keptWithAnswers, ...answers() })}\n`], { type: 'application/json' });
  const link = document.createElement('a');
  link.href = URL.createObjectURL(file);
  link.download = 'mietspiegel-antworten.json';
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 0);
});

const loadButton = document.getElementById('load');
const loadFile = document.getElementById('load-file');
loadButton.addEventListener('click', () => loadFile.click());
loadFile.addEventListener('change', async () => {
  const [file] = loadFile.files;
  loadFile.value = '';
  if (!file) return;
  // One byte beyond the longest text the core reads is enough for it to refuse a larger one.
  // The bytes as they are: the core refuses what is no UTF-8, as the command line does.
  const bytes = new Uint8Array(await file.slice(0, (1 << 20) + 1).arrayBuffer());
  await coreReady;
  const read = loadAnswers(bytes);
  if (read.error === undefined) loadButton.focus();
  else showMessage(read.error, loadButton);
});

// --- every change of an answer ------------------------------------------------------------

// Answered before the core is there: the page evaluates them once it is, and they count
// over the answers of its address.
let answeredBeforeReady = false;

function answersChanged() {
  if (!module) {
    answeredBeforeReady = true;
    return;
  }
  dropReport();
  keepInAddress();
  const glance = showGlance();
  markMissing(glance.missing ?? [], { add: false });
  showRentChecks(glance);
  announceLater();
}

// A side belongs to "1978 bis 1994": choosing one chooses that class, choosing another
// class takes the side back. Choosing "1978 bis 1994" itself leaves the side alone.
form.addEventListener('change', (event) => {
  const input = event.target;
  if (input.name === 'Built1980Side' || input.name === 'YearClass')
    markField(refusableFields.Built1980Side(), null);
  if (input.name === 'Built1980Side') {
    form.querySelector('input[name=YearClass][value="4"]').checked = true;
  } else if (input.name === 'YearClass' && input.value !== '4') {
    for (const side of form.querySelectorAll('input[name=Built1980Side]')) side.checked = false;
  }
  answersChanged();
});
form.addEventListener('input', (event) => {
  if (event.target.type !== 'text') return;
  // A corrected field loses its mark; "Auswerten" sets it again if still refused.
  markField(event.target, null);
  answersChanged();
});

// --- clearing --------------------------------------------------------------------

function clearInputs(container) {
  for (const input of container.querySelectorAll('input[type=radio], input[type=checkbox]'))
    input.checked = false;
  for (const input of container.querySelectorAll('input[type=text]')) input.value = '';
}

for (const button of form.querySelectorAll('button.clear')) {
  const fieldset = document.getElementById(button.dataset.clears);
  button.addEventListener('click', () => {
    clearInputs(fieldset);
    answersChanged();
  });
}

const resetButton = document.getElementById('reset');
resetButton.addEventListener('click', () => {
  confirmDialog.showModal();
  document.getElementById('confirm-yes').focus();
});
document.getElementById('confirm-yes').addEventListener('click', () => {
  clearInputs(form);
  keptWithAnswers = {};
  for (const field of [rentField, askedRentField, rentBeforeField, receivedField, lastIncreaseField])
    field.value = '';
  increaseSection.querySelector('input[name=cap][value="20"]').checked = true;
  for (const field of Object.values(refusableFields)) markField(field(), null);
  answersChanged();
  confirmDialog.close();
});
document.getElementById('confirm-no').addEventListener('click', () => confirmDialog.close());
confirmDialog.addEventListener('close', () => resetButton.focus());

// --- the information text ------------------------------------------------------------

const informationButton = document.getElementById('info-open');
informationButton.addEventListener('click', () => {
  const text = document.getElementById('information-text');
  informationDialog.showModal();
  text.scrollTop = 0;
  document.getElementById('information-ok').focus();
});
document.getElementById('information-ok').addEventListener('click', () =>
  informationDialog.close());
informationDialog.addEventListener('close', () => informationButton.focus());

// The information text and the reset's question, as the desktop program words them.
function showProgramTexts() {
  const texts = callCore('_msr_program_texts', today());
  const blocks = [];
  let list = null;
  for (const { text, bullet } of texts.information) {
    if (bullet) {
      if (!list) blocks.push(list = document.createElement('ul'));
      list.append(textBlock('li', text));
    } else {
      list = null;
      blocks.push(textBlock('p', text));
    }
  }
  document.getElementById('information-text').replaceChildren(...blocks);
  linkTelephone(document.getElementById('information-text'));
  document.getElementById('confirm-text').textContent = texts.resetQuestion;
  document.getElementById('confirm-yes').textContent = texts.yes;
  document.getElementById('confirm-no').textContent = texts.no;
}

// --- the edition ------------------------------------------------------------------

// Today as the browser's clock has it, in the form of a date field ("2026-12-08").
function today() {
  const now = new Date();
  const twoDigits = (number) => String(number).padStart(2, '0');
  return `${now.getFullYear()}-${twoDigits(now.getMonth() + 1)}-${twoDigits(now.getDate())}`;
}

// The association's telephone number, as the edition gives it, and a link that dials it
// ("0 53 21 / 4 72 81-0" as tel:+495321472810) wherever a text names it.
let telephone = '';
function linkTelephone(container) {
  if (!telephone) return;
  const digits = telephone.replace(/\D/gu, '');
  const address = `tel:${digits.startsWith('0') && !digits.startsWith('00') ? `+49${digits.slice(1)}` : digits}`;
  const walker = document.createTreeWalker(container, NodeFilter.SHOW_TEXT);
  const named = [];
  for (let node = walker.nextNode(); node; node = walker.nextNode())
    if (node.textContent.includes(telephone) && !node.parentElement.closest('a')) named.push(node);
  for (const node of named) {
    const at = node.textContent.indexOf(telephone);
    const link = document.createElement('a');
    link.href = address;
    link.textContent = telephone;
    node.splitText(at + telephone.length);
    node.splitText(at).replaceWith(link);
  }
}

// The first screen's word that the rent index has expired leads to the notice by the
// result; the address's fragment holds the answers, so the link does not change it.
document.getElementById('to-out-of-date').addEventListener('click', (event) => {
  event.preventDefault();
  const notice = document.getElementById('out-of-date');
  notice.scrollIntoView({ block: 'center' });
  notice.focus({ preventScroll: true });
});

// The edition's line in the result box and on every printed page, the notice once its
// term has ended, and the association to ask.
function showEdition() {
  const edition = callCore('_msr_edition', today());
  document.getElementById('edition').textContent = edition.line;
  document.documentElement.style.setProperty('--edition', JSON.stringify(edition.line));
  const outOfDate = document.getElementById('out-of-date');
  outOfDate.textContent = edition.outOfDate ?? '';
  outOfDate.hidden = edition.outOfDate === undefined;
  const introOutOfDate = document.getElementById('intro-out-of-date');
  introOutOfDate.querySelector('span').textContent = edition.outOfDateHeadline ?? '';
  introOutOfDate.hidden = outOfDate.hidden;
  telephone = edition.telephone;
  for (const contact of result.querySelectorAll('.association-contact')) {
    contact.textContent = edition.association;
    linkTelephone(contact);
  }
  document.getElementById('disclaimer').textContent = edition.disclaimer;
}

// --- offline -------------------------------------------------------------------------

// The service worker fetches every file of the page into its cache, the batch page's
// too: it is registered once the page is ready, so that on a first visit it does not
// compete with the page's own start.
function keepForOffline() {
  if ('serviceWorker' in navigator && location.protocol.startsWith('http'))
    navigator.serviceWorker.register('sw.js').catch(() => {});
}

// Evaluations nobody sees let the browser compile the core's code before the first
// "Auswerten": the browser compiles a function when it is first called, so the paths are
// taken one task at a time (the three answers, every feature, the rent checks), none of
// them long. They wait for the first sign of a user (a key, a touch, a focus), so that
// they do not add to the page's start on a slow phone.
const nextTask = () => new Promise((resolve) => setTimeout(resolve));
async function compileAhead() {
  // Every input set, so that every path of the evaluation is compiled.
  const everything = '{"YearClass":4,"Built1980Side":1,"LivingArea":"45","IsApartment":true,' +
    '"GuestToilet":true,"TubAndShower":true,"FloorCovering":2,"HeatingKind":3,' +
    '"CaptiveRooms":true,"NoKitchenHotWater":true,"BalconyOrLoggia":true,"Terrace":true,' +
    '"SoundproofWindows":true,"BarrierFree":1,"HeatingRenewed":true,"BathRenewed":true,' +
    '"Insulation":2,"NoiseImpairment":true,"CityArea":1}';
  await nextTask();
  callCore('_msr_evaluate', '{"YearClass":1,"LivingArea":"60","CityArea":7}', today());
  await nextTask();
  callCore('_msr_evaluate', everything, today());
  await nextTask();
  callCore('_msr_glance', everything, '450', today());
  callCore('_msr_rent_increase', everything, '450', '500', '400', '2026-12-10', 20, '2025-03-01',
    today());
}

// Ready once the core is: tests and benchmarks wait for this. The steps run as tasks of
// their own, so that the page answers input between them while it starts.
core.then(async (ready) => {
  module = ready;
  // The core's start (its instance and the runtime's own set-up) is a task of its own.
  await nextTask();
  await addReleaseEditions();
  showEdition();
  await nextTask();
  if (answeredBeforeReady) keepInAddress();
  else if (location.hash.length > 1) restoreFromAddress();
  const glance = showGlance();
  await nextTask();
  showRentChecks(glance);
  coreIsReady();
  delete result.dataset.waiting;
  // The rent increase check works with the core: it is laid out once the core is there,
  // in a task of its own (its date field alone costs the browser as much as a dialog).
  await nextTask();
  increaseSection.hidden = false;
  await nextTask();
  showProgramTexts();
  const signs = ['keydown', 'pointerdown', 'focusin'];
  const firstSign = () => {
    for (const sign of signs) removeEventListener(sign, firstSign, true);
    compileAhead();
  };
  for (const sign of signs) addEventListener(sign, firstSign, true);
  await holdPrintArtwork();
  document.documentElement.dataset.ready = 'true';
  await nextTask();
  keepForOffline();
});
