// The page's behaviour: collects the answers, hands them to the WebAssembly core, and
// shows what comes back. The core decides every refusal, every paragraph and every
// figure; this script only shows them. A classic script, deferred after the core's, so
// that the page runs from any static host and opened as a file under its
// Content-Security-Policy (a browser loads no module script from file://).
/* global createEvaluationModule */
'use strict';

const form = document.getElementById('questionnaire');
const reportSection = document.getElementById('report-section');
const report = document.getElementById('report');
const messageDialog = document.getElementById('message');
const confirmDialog = document.getElementById('confirm-reset');
const informationDialog = document.getElementById('information');

// Compiled at once from the bytes the script carries: the factory gives the module with
// its promise of readiness (a build compiling in the background gives the promise).
const created = createEvaluationModule();
const core = created.ready ?? created;

// The answers as the command-line evaluator reads them: a JSON object keyed by the input
// names, with every chosen button's number, every ticked box, and the size as typed
// (absent while the field is empty, which is the dialog's "Quadratmeter"). The core reads
// it and decides.
function answers() {
  const result = {};
  for (const input of form.querySelectorAll('input[type=radio]:checked'))
    result[input.name] = Number(input.value);
  for (const input of form.querySelectorAll('input[type=checkbox]:checked'))
    result[input.name] = true;
  const livingArea = form.elements.LivingArea.value;
  if (livingArea !== '') result.LivingArea = livingArea;
  return result;
}

// The decimal separator of the browser's language, as the desktop takes its locale's.
function decimalSeparator() {
  const parts = new Intl.NumberFormat(navigator.language).formatToParts(1.5);
  return parts.find((part) => part.type === 'decimal')?.value ?? '.';
}

function callCore(module, name, ...texts) {
  const pointers = texts.map((text) => {
    const size = module.lengthBytesUTF8(text) + 1;
    const pointer = module._malloc(size);
    module.stringToUTF8(text, pointer, size);
    return pointer;
  });
  try {
    return JSON.parse(module.UTF8ToString(module[name](...pointers)));
  } finally {
    pointers.forEach((pointer) => module._free(pointer));
  }
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

// --- the report ------------------------------------------------------------------

function showParagraph(paragraph) {
  const block = document.createElement('p');
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
  if (paragraph.text === '') block.append(document.createElement('br'));
  else block.textContent = paragraph.text;
  return block;
}

function showReport(document_) {
  report.replaceChildren(...document_.paragraphs.map(showParagraph));
  reportSection.hidden = false;
  report.focus();
}

form.addEventListener('submit', async (event) => {
  event.preventDefault();
  const evaluateButton = document.getElementById('evaluate');
  const module = await core;
  const result = callCore(module, '_msr_evaluate', JSON.stringify(answers()),
    decimalSeparator());
  if (result.error !== undefined) {
    showMessage(result.error, evaluateButton);
    return;
  }
  showReport(result);
});

document.getElementById('print').addEventListener('click', () => window.print());

// --- the construction-year dialog's coupling ---------------------------------------

// A side belongs to "1978 bis 1994": choosing one chooses that class, choosing another
// class takes the side back. Choosing "1978 bis 1994" itself leaves the side alone.
form.addEventListener('change', (event) => {
  const input = event.target;
  if (input.name === 'Built1980Side') {
    form.querySelector('input[name=YearClass][value="4"]').checked = true;
  } else if (input.name === 'YearClass' && input.value !== '4') {
    for (const side of form.querySelectorAll('input[name=Built1980Side]')) side.checked = false;
  }
});

// --- clearing --------------------------------------------------------------------

function clearInputs(container) {
  for (const input of container.querySelectorAll('input[type=radio], input[type=checkbox]'))
    input.checked = false;
  for (const input of container.querySelectorAll('input[type=text]')) input.value = '';
}

for (const button of form.querySelectorAll('button.clear')) {
  const fieldset = document.getElementById(button.dataset.clears);
  button.setAttribute('aria-describedby', `${fieldset.id}-legend`);
  fieldset.querySelector('legend').id = `${fieldset.id}-legend`;
  button.addEventListener('click', () => clearInputs(fieldset));
}

const resetButton = document.getElementById('reset');
resetButton.addEventListener('click', () => {
  confirmDialog.showModal();
  document.getElementById('confirm-yes').focus();
});
document.getElementById('confirm-yes').addEventListener('click', () => {
  clearInputs(form);
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

// --- the list of the size field --------------------------------------------------------

const sizes = document.getElementById('LivingAreaList');
for (let squareMetres = 1; squareMetres <= 150; ++squareMetres)
  sizes.append(new Option(String(squareMetres)));

// The information text and the reset's question, as the desktop program words them.
function showProgramTexts(module) {
  const texts = callCore(module, '_msr_program_texts');
  // An empty paragraph keeps its line, as in the dialog.
  const block = (tag, text) => {
    const element = document.createElement(tag);
    if (text === '') element.append(document.createElement('br'));
    else element.textContent = text;
    return element;
  };
  const blocks = [];
  let list = null;
  for (const { text, bullet } of texts.information) {
    if (bullet) {
      if (!list) blocks.push(list = document.createElement('ul'));
      list.append(block('li', text));
    } else {
      list = null;
      blocks.push(block('p', text));
    }
  }
  document.getElementById('information-text').replaceChildren(...blocks);
  document.getElementById('confirm-text').textContent = texts.resetQuestion;
  document.getElementById('confirm-yes').textContent = texts.yes;
  document.getElementById('confirm-no').textContent = texts.no;
}

// Ready once the core is: tests and benchmarks wait for this. One evaluation nobody sees
// lets the browser compile the core's code before the first "Auswerten".
core.then((module) => {
  showProgramTexts(module);
  callCore(module, '_msr_evaluate', '{"YearClass":1,"LivingArea":"60","CityArea":1}', ',');
  document.documentElement.dataset.ready = 'true';
});
