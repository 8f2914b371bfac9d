// The page in Debian's headless Chromium, used as a person uses it: by the captions of
// its controls, with the mouse and with the keyboard alone. Its report and its refusals
// are held against the native command-line evaluator.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { createRequire } from 'node:module';
import { extname, join } from 'node:path';
import { launchChromium, openPage, pageFolder, repository, servePageFolder } from './browser.mjs';
import { asPageSays, runNative } from './native.mjs';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

let server;
let browser;

before(async () => {
  server = await servePageFolder();
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  server?.close();
});

// The answers of the full answer set, as the captions a person reads.
const allFeatures = {
  json: {
    YearClass: 4, Built1980Side: 1, LivingArea: '45', IsApartment: true, GuestToilet: true,
    TubAndShower: true, FloorCovering: 2, HeatingKind: 3, CaptiveRooms: true,
    NoKitchenHotWater: true, BalconyOrLoggia: true, Terrace: true, SoundproofWindows: true,
    BarrierFree: 1, HeatingRenewed: true, BathRenewed: true, Insulation: 2,
    NoiseImpairment: true, CityArea: 1,
  },
  size: '45',
  captions: [
    'Baujahr vor 1980', 'Appartement vorhanden', 'Gäste-WC',
    'Badezimmer mit Badewanne und separater Dusche', 'einfache PVC-Bodenbeläge',
    'Einzelöfen (Gas, Kohle, Öl)',
    'Einen oder mehrere gefangene Räume (Räume, die nur direkt über vorgelagerte Wohnräume zu erreichen sind)',
    'Kein fließend Warmwasser in der Küche (Es befindet sich in der Küche kein fließendes warmes Wasser, wenn bei sogenannten Handventil-Boilern bzw. fest installierten Wasserkochern zunächst eine gewisse Menge Wasser (beispielsweise 5 l oder mehr) vorgekocht werden muss, um das Wasser nach dem Erwärmen zu entnehmen. Befindet sich in der Küche dagegen ein sog. Durchlauferhitzer, so ist fließendes warmes Wasser vorhanden.)',
    'Balkon oder Loggia', 'Terrasse oder Dachterrasse',
    'Schallschutzfenster, die das zur Schallreduktion vorgeschriebene bzw. zur Lärmreduktion erforderliche Maß erfüllen (mindestens Schallschutzklasse 4 der VDI-Richtlinie 2719).',
    'Barrierefreie Erreichbarkeit der Wohnung (Die Wohnung ist barrierefrei, d. h. ohne Schwellen und Stufen erreichbar).',
    'Erstmaliger/nachträglicher Einbau einer Heizungsanlage oder Erneuerung/Austausch der gesamten Heizungsanlage (Heizungskessel, Rohrleitungen und Heizkörper) 1995 oder später in Gebäuden mit Baujahr vor 1980.',
    'Erstmaliger Dusch- oder Badeinbau oder Baderneuerung/-modernisierung (Neuverfliesung und Erneuerung aller Sanitärteile) seit 2000.',
    'Nachträgliche Dämmung der Außenwände und des Daches in den Jahren 1995 bis 2001 (bei Gebäuden mit Baujahr vor 1980).',
    'Beeinträchtigung des Gebäudes durch Lärm bei Lage an einer viel befahrenen Straße (Durchgangsverkehr, Einfallstraße, Verbindungsstraße zwischen Stadtteilen) und/oder an einer viel befahrenen Eisenbahnlinie mit einer durchschnittlichen Lärmbelastung von mehr als 65 dB(A).',
    'Innenstadt-Mitte',
  ],
};

// The control whose accessible name is the caption, as a screen reader names it.
async function control(page, name, role) {
  const found = await page.$$(`::-p-aria([name="${name}"][role="${role}"])`);
  assert.equal(found.length, 1, `genau ein Bedienelement "${name}" (${role})`);
  return found[0];
}

async function choose(page, caption) {
  for (const role of ['radio', 'checkbox']) {
    const found = await page.$$(`::-p-aria([name="${caption}"][role="${role}"])`);
    if (found.length === 1) {
      // Brought to the middle first, as a user scrolls to it: at the bottom edge of a narrow
      // window the bar to the result stands over it.
      await found[0].evaluate((control) => control.scrollIntoView({ block: 'center' }));
      await found[0].click();
      return;
    }
  }
  assert.fail(`kein Knopf und kein Kästchen "${caption}"`);
}

async function typeSize(page, text) {
  const field = await control(page, 'Geben Sie die Größe der Wohnung an', 'combobox');
  await field.click({ clickCount: 3 });
  await page.keyboard.press('Backspace');
  await field.type(text);
}

// As a paste puts it there, control characters included.
async function pasteSize(page, text) {
  const field = await control(page, 'Geben Sie die Größe der Wohnung an', 'combobox');
  await field.evaluate((f, t) => {
    f.value = t;
    f.dispatchEvent(new Event('input', { bubbles: true }));
  }, text);
}

async function press(page, caption) {
  await (await control(page, caption, 'button')).click();
}

// The report's paragraphs as they are shown (a screen reader's spelling of a title aside).
function reportParagraphs(page) {
  return page.$$eval('article[aria-label="Auswertung"] > *', (blocks) =>
    blocks.map((block) => {
      const style = getComputedStyle(block);
      const shown = block.cloneNode(true);
      shown.querySelectorAll('.visually-hidden').forEach((spoken) => spoken.remove());
      return {
        text: shown.textContent,
        face: block.style.fontFamily.split(',')[0].replaceAll('"', ''),
        points: Math.round(parseFloat(style.fontSize) * 0.75),
        bold: Number(style.fontWeight) >= 700,
        italic: style.fontStyle === 'italic',
        underline: style.textDecorationLine.includes('underline'),
        strikeout: style.textDecorationLine.includes('line-through'),
        color: block.dataset.color,
      };
    }));
}

function nativeParagraphs(answers, locale = 'de_DE.UTF-8') {
  const run = runNative(['--format', 'json'], JSON.stringify(answers), locale);
  assert.equal(run.status, 0, run.err);
  return JSON.parse(run.out).paragraphs.map(({ kind, ...attributes }) => attributes);
}

async function dialogState(page) {
  return page.evaluate(() => {
    const dialog = document.querySelector('[role=alertdialog][open]');
    return dialog && {
      text: dialog.querySelector('p').textContent,
      focusInside: dialog.contains(document.activeElement),
    };
  });
}

// The caption of the focused control, or its text.
function focusedName(page) {
  return page.evaluate(() => {
    const element = document.activeElement;
    return element.labels?.[0]?.textContent.replace(/\s+/g, ' ').trim() ?? element.textContent.trim();
  });
}

// The question groups whose answers are marked missing, visibly and for screen readers.
function invalidGroups(page) {
  return page.$$eval('fieldset', (groups) => groups
    .filter((group) => group.querySelector('[aria-invalid=true]') &&
      getComputedStyle(group).borderColor === 'rgb(176, 0, 0)')
    .map((group) => group.querySelector('legend').textContent));
}

const sizeCaption = 'Geben Sie die Größe der Wohnung an';
const rentCaption = 'Jetzige Nettokaltmiete (Euro im Monat)';

// A field's mark: aria-invalid, the text of the message attached to it (not its hint), and
// whether that message is in view.
async function fieldMark(page, name, role) {
  return (await control(page, name, role)).evaluate((field) => {
    const note = (field.getAttribute('aria-describedby') ?? '').split(' ')
      .map((id) => document.getElementById(id)).find((element) => element?.classList.contains('field-message'));
    const box = note?.getBoundingClientRect();
    return { invalid: field.getAttribute('aria-invalid'), message: note?.textContent ?? null,
      inView: box ? box.top >= 0 && box.bottom <= innerHeight : false };
  });
}

async function axeViolations(page) {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document));
  return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`);
}

describe('Auswerten', () => {
  test('shows the native evaluator\'s report, paragraph by paragraph, with its attributes', async () => {
    const page = await openPage(browser, server.url);
    await choose(page, 'Baujahr vor 1980');
    await typeSize(page, allFeatures.size);
    for (const caption of allFeatures.captions.slice(1)) await choose(page, caption);
    await press(page, 'Auswerten');
    await page.waitForSelector('article[aria-label="Auswertung"] > p');
    assert.deepEqual(await reportParagraphs(page), nativeParagraphs(allFeatures.json));
    await page.close();
  });

  test('writes German figures whatever the browser\'s language', async () => {
    const answers = { YearClass: 4, Built1980Side: 2, LivingArea: '75', CityArea: 3 };
    for (const [language, locale] of [['de-DE', 'de_DE.UTF-8'], ['en-US', 'de_DE.UTF-8']]) {
      const page = await openPage(browser, server.url, language);
      await choose(page, 'Baujahr nach 1980');
      await typeSize(page, '75');
      await choose(page, 'Varlstadt-West');
      await press(page, 'Auswerten');
      await page.waitForSelector('article[aria-label="Auswertung"] > p');
      assert.deepEqual(await reportParagraphs(page), nativeParagraphs(answers, locale), language);
      await page.close();
    }
  });

  test('works opened as a file and served, under its own Content-Security-Policy', async () => {
    for (const address of [`file://${join(pageFolder, 'index.html')}`, server.url]) {
      const page = await openPage(browser, address);
      const policy = await page.$eval('meta[http-equiv="Content-Security-Policy"]', (m) => m.content);
      assert.match(policy, /default-src 'self'; script-src 'self' 'wasm-unsafe-eval'/);
      await choose(page, 'bis 1929');
      await typeSize(page, '60');
      await choose(page, 'Lindmoor');
      await press(page, 'Auswerten');
      await page.waitForSelector('article[aria-label="Auswertung"] > p');
      assert.deepEqual(await reportParagraphs(page),
        nativeParagraphs({ YearClass: 1, LivingArea: '60', CityArea: 7 }));
      assert.deepEqual(await page.evaluate(() => window.policyViolations), [], address);
      // Served, the core's code streams in and is compiled on the way; as a file the script
      // carrying it embedded does the work.
      const loaded = await page.evaluate(() => [...document.scripts].map((script) => script.src)
        .concat(performance.getEntriesByType('resource').map((entry) => entry.name).filter((name) => name.endsWith('.wasm')))
        .map((name) => name.split('/').at(-1).replace(/\.[0-9a-f]+\./, '.'))
        .filter((name) => name.startsWith('evaluation_')).sort());
      assert.deepEqual(loaded, address.startsWith('file:') ? ['evaluation_module.js']
        : ['evaluation_code.js', 'evaluation_module.wasm'], address);
      // Asked for once the page's first paint is on the screen, not beside the page's own files.
      const [painted, asked] = await page.evaluate(() => [
        performance.getEntriesByName('first-contentful-paint')[0].startTime,
        Math.min(...performance.getEntriesByType('resource')
          .filter((entry) => /\/evaluation_/.test(entry.name)).map((entry) => entry.startTime))]);
      if (!address.startsWith('file:')) assert.ok(asked >= painted, `${asked} ms, gemalt ${painted} ms`);
      await page.close();
    }
  });
});

describe('refusals', () => {
  const cases = [
    { name: 'nothing answered', answers: {}, fill: [], focus: 'bis 1929',
      invalid: ['Baujahr', 'Wohnungsgröße und Räume', 'Gebietseinteilung'] },
    { name: 'no area', answers: { YearClass: 2, LivingArea: '70' }, fill: ['1930 bis 1969'], size: '70',
      focus: 'Innenstadt-Mitte', invalid: ['Gebietseinteilung'] },
    { name: '1978 bis 1994 without a side', answers: { YearClass: 4, LivingArea: '70', CityArea: 2 },
      fill: ['1978 bis 1994', 'Innenstadt-Nord'], size: '70', focus: 'Baujahr vor 1980',
      field: ['Baujahr vor 1980', 'radio'] },
    { name: 'an apartment above 50', answers: { YearClass: 2, LivingArea: '51', IsApartment: true, CityArea: 2 },
      fill: ['1930 bis 1969', 'Appartement vorhanden', 'Innenstadt-Nord'], size: '51', focus: sizeCaption,
      field: [sizeCaption, 'combobox'] },
    { name: 'a size with a decimal comma', answers: { YearClass: 2, LivingArea: '55,5', CityArea: 2 },
      fill: ['1930 bis 1969', 'Innenstadt-Nord'], size: '55,5', focus: sizeCaption, field: [sizeCaption, 'combobox'] },
    // Pasted, not typed: what a form field holds, the core's reader reads as the CLI does.
    ...['75\x1eCityArea\x1f7', '75\x1eYearClass\x1f7', '75\0', '75","CityArea":7,"x":"'].map((pasted) => ({
      name: `pasted ${JSON.stringify(pasted)}`, fill: ['bis 1929', 'Innenstadt-Mitte'], paste: pasted,
      answers: { YearClass: 1, LivingArea: pasted, CityArea: 1 }, focus: sizeCaption,
      field: [sizeCaption, 'combobox'],
    })),
  ];
  for (const refusal of cases) {
    test(`${refusal.name}: the program's message, focused, closed by Escape, at its field`, async () => {
      const expected = runNative([], JSON.stringify(refusal.answers));
      assert.equal(expected.status, 1);
      const page = await openPage(browser, server.url);
      for (const caption of refusal.fill) await choose(page, caption);
      if (refusal.size) await typeSize(page, refusal.size);
      if (refusal.paste) await pasteSize(page, refusal.paste);
      await press(page, 'Auswerten');
      await page.waitForSelector('[role=alertdialog][open]');
      assert.deepEqual(await dialogState(page), { text: expected.err.trim(), focusInside: true });
      assert.equal(await page.$('article[aria-label="Auswertung"] > p'), null);
      assert.deepEqual(await invalidGroups(page), refusal.invalid ?? []);
      await page.keyboard.press('Escape');
      assert.equal(await dialogState(page), null);
      await page.evaluate(() => new Promise((resolve) => setTimeout(resolve))); // the close event
      assert.equal(await focusedName(page), refusal.focus ?? 'Auswerten');
      if (refusal.field) {
        // The message stands at the field, in view, marked and attached for screen readers.
        const mark = await fieldMark(page, ...refusal.field);
        assert.deepEqual(mark, { invalid: 'true', message: expected.err.trim(), inView: true });
      }
      await page.close();
    });
  }
});

describe('questionnaire', () => {
  test('has the nine groups in the main window\'s order', async () => {
    const page = await openPage(browser, server.url);
    const legends = await page.$$eval('form > fieldset > legend', (all) => all.map((l) => l.textContent));
    assert.deepEqual(legends, ['Baujahr', 'Wohnungsgröße und Räume', 'Bad-Ausstattung',
      'Bodenbeläge', 'Beheizungsart', 'Weitere Zu- und Abschläge', 'Modernisierungsmaßnahmen',
      'Wohnumfeld', 'Gebietseinteilung']);
    for (const group of ['Bodenbeläge', 'Beheizungsart', 'Weitere Zu- und Abschläge', 'Modernisierungsmaßnahmen'])
      await control(page, `Eingaben löschen: ${group}`, 'button');
    await page.close();
  });

  test('offers the sizes 1 to 150 and shows "Quadratmeter" while the field is empty', async () => {
    const page = await openPage(browser, server.url);
    const field = await control(page, 'Geben Sie die Größe der Wohnung an', 'combobox');
    assert.equal(await field.evaluate((f) => f.placeholder), 'Quadratmeter');
    const sizes = await field.evaluate((f) => [...f.list.options].map((o) => o.value));
    assert.deepEqual(sizes, Array.from({ length: 150 }, (_, i) => String(i + 1)));
    // Phones show digits; the hint that whole square metres are wanted is shown and read.
    assert.deepEqual(await field.evaluate((f) => [f.inputMode,
      document.getElementById(f.getAttribute('aria-describedby')).checkVisibility()]), ['numeric', true]);
    await page.close();
  });

  test('couples the construction year and its side as the dialog does', async () => {
    const page = await openPage(browser, server.url);
    // Every class's button stands in one column and has the same size, "1978 bis 1994" too.
    const buttons = await page.$$eval('input[name=YearClass]', (all) => all.map((b) => {
      const box = b.getBoundingClientRect();
      return `${Math.round(box.left)} ${Math.round(box.width)}x${Math.round(box.height)}`;
    }));
    assert.equal(new Set(buttons).size, 1, buttons.join(', '));
    const checked = () => page.$$eval('form input:checked', (all) => all.map((i) => i.parentElement.textContent.trim()));
    await choose(page, 'Baujahr vor 1980');
    assert.deepEqual(await checked(), ['1978 bis 1994', 'Baujahr vor 1980']);
    await choose(page, 'bis 1929');
    assert.deepEqual(await checked(), ['bis 1929']);
    await choose(page, '1978 bis 1994');
    assert.deepEqual(await checked(), ['1978 bis 1994']);
    await choose(page, 'Baujahr nach 1980');
    await choose(page, '1978 bis 1994');
    assert.deepEqual(await checked(), ['1978 bis 1994', 'Baujahr nach 1980']);
    await page.close();
  });

  test('"Eingaben löschen" empties its own group only', async () => {
    const page = await openPage(browser, server.url);
    await choose(page, 'einfache PVC-Bodenbeläge');
    await choose(page, 'Nachtstromspeicher');
    await press(page, 'Eingaben löschen: Bodenbeläge');
    const checked = await page.$$eval('form input:checked', (all) => all.map((i) => i.name));
    assert.deepEqual(checked, ['HeatingKind']);
    await page.close();
  });

  test('"Werte zurücksetzen" asks first; "Nein" keeps, "Ja" empties everything', async () => {
    const page = await openPage(browser, server.url);
    await choose(page, 'bis 1929');
    await choose(page, 'Gäste-WC');
    await typeSize(page, '45');
    await press(page, 'Werte zurücksetzen');
    const question = await dialogState(page);
    assert.equal(question.text, 'Wollen Sie wirklich alle Daten zurücksetzen? Ihre bisherigen Eingaben gehen dann verloren.');
    assert.ok(question.focusInside);
    await press(page, 'Nein');
    assert.equal((await page.$$('form input:checked')).length, 2);
    await (await control(page, rentCaption, 'textbox')).type('450');
    await (await control(page, 'Verlangte Nettokaltmiete (Euro im Monat)', 'textbox')).type('500');
    await (await control(page, 'Nettokaltmiete vor drei Jahren (Euro im Monat)', 'textbox')).type('400');
    await (await control(page, 'Letzte Mieterhöhung wirksam seit', 'textbox')).type('01.03.2025');
    await choose(page, '15 %');
    await press(page, 'Werte zurücksetzen');
    await press(page, 'Ja');
    // Only the cap's default stays checked.
    assert.deepEqual(await page.$$eval('input:checked', (all) => all.map((i) => i.labels[0].textContent.trim())),
      ['Kappungsgrenze 20 %']);
    const field = await control(page, 'Geben Sie die Größe der Wohnung an', 'combobox');
    assert.equal(await field.evaluate((f) => f.value), '');
    assert.deepEqual(await page.$$eval('#result input[type=text], #result input[type=date]',
      (all) => all.map((input) => input.value)), ['', '', '', '', '']);
    assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Werte zurücksetzen');
    await page.close();
  });

  test('opens the noise map in a new tab and shows the information text', async () => {
    const page = await openPage(browser, server.url);
    const link = await control(page, 'www.umgebungslaerm.nrw.de', 'link');
    assert.deepEqual(await link.evaluate((a) => [a.href, a.target]),
      ['https://www.umgebungslaerm.nrw.de/', '_blank']);
    await press(page, 'Info');
    const text = await page.$eval('#information-text', (t) => t.innerText);
    assert.match(text, /^M i e t s p i e g e l\n/);
    assert.match(text, /Stand: 1\. Januar 2015/);
    await page.keyboard.press('Escape');
    assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Info');
    await page.close();
  });
});

// The page opened with the answers in its address, as a shared link opens it.
async function openWithAnswers(someBrowser, answers, viewport) {
  const page = await openPage(someBrowser, `${server.url}#${encodeURIComponent(JSON.stringify(answers))}`);
  if (viewport) await page.setViewport(viewport);
  return page;
}

async function evaluated(page) {
  await press(page, 'Auswerten');
  await page.waitForSelector('article[aria-label="Auswertung"] > p');
  return reportParagraphs(page);
}

// The page as Chromium prints it: its pages' text, one string a page.
async function printedPages(page) {
  const folder = mkdtempSync(join(tmpdir(), 'msr-print-'));
  const file = join(folder, 'seite.pdf');
  await page.pdf({ path: file, preferCSSPageSize: true });
  if (process.env.KEEP_PDF) execFileSync('cp', [file, process.env.KEEP_PDF]);
  const text = execFileSync('pdftotext', ['-layout', file, '-'], { encoding: 'utf8' });
  return text.split('\f').slice(0, -1);
}

function desktopPageCount(answers) {
  const file = join(mkdtempSync(join(tmpdir(), 'msr-desktop-')), 'bericht.pdf');
  const run = runNative(['--pdf', file], JSON.stringify(answers));
  assert.equal(run.status, 0, run.err);
  return Number(/Pages:\s+(\d+)/.exec(execFileSync('pdfinfo', [file], { encoding: 'utf8' }))[1]);
}

function glance(page) {
  return page.$eval('aside[aria-labelledby=result-title]', (result) => ({
    status: result.querySelector('.result-status').textContent,
    cells: [...result.querySelectorAll('td')].map((cell) => cell.textContent),
    rows: [...result.querySelectorAll('tbody th')].map((cell) => cell.textContent),
    picture: result.querySelector('svg[role=img]')?.getAttribute('aria-labelledby') &&
      result.querySelector('svg[role=img] title').textContent,
    comparison: result.querySelector('.rent-comparison').textContent,
  }));
}

const west75 = { YearClass: 4, Built1980Side: 2, LivingArea: '75', CityArea: 3 };

describe('nothing stale', () => {
  test('a changed answer and the reset leave no report and print none', async () => {
    const page = await openWithAnswers(browser, west75);
    assert.ok((await printedPages(page)).every((text) => !text.includes('Schlussberechnung')), 'vorher');
    await evaluated(page);
    assert.ok((await printedPages(page)).some((text) => text.includes('Schlussberechnung')));
    await choose(page, 'Gäste-WC');
    assert.equal(await page.$('article[aria-label="Auswertung"] > *'), null);
    const printed = await printedPages(page);
    assert.ok(printed.every((text) => !text.includes('Schlussberechnung')), 'nach einer Änderung');
    assert.match(printed[0], /keine Auswertung Ihrer aktuellen Angaben/);
    await evaluated(page);
    await press(page, 'Werte zurücksetzen');
    await press(page, 'Ja');
    assert.equal(await page.$('article[aria-label="Auswertung"] > *'), null);
    assert.ok((await printedPages(page)).every((text) => !text.includes('Schlussberechnung')), 'zurückgesetzt');
    await page.close();
  });
});

describe('the result at a glance', () => {
  test('names what is missing, then shows the printed figures live and follows every answer', async () => {
    const page = await openPage(browser, server.url);
    assert.equal((await glance(page)).status,
      'Für ein Ergebnis fehlt noch: Baujahr, Wohnungsgröße und Räume und Gebietseinteilung.');
    await choose(page, 'Baujahr nach 1980');
    await typeSize(page, '75');
    assert.equal((await glance(page)).status, 'Für ein Ergebnis fehlt noch: Gebietseinteilung.');
    for (const [caption, answers] of [['Varlstadt-West', west75],
      ['Gäste-WC', { ...west75, GuestToilet: true }]]) {
      await choose(page, caption);
      const [heading, row] = runNative(['--format', 'csv'], JSON.stringify(answers)).out.split('\n')
        .slice(0, 2).map((line) => line.split(';').map((field) => field.replace(/^"(.*)"$/, '$1')));
      const [, , low, mean, high, , totalLow, totalMean, totalHigh] = row; // Nr, Aktenzeichen first
      const shown = await glance(page);
      assert.deepEqual(shown.cells, [low, totalLow, mean, totalMean, high, totalHigh].map((f) => `${f} €`));
      // Each row is labelled as the sheet's columns of its figures begin.
      assert.deepEqual([shown.rows, shown.rows], [heading.slice(2, 5), heading.slice(6, 9)]
        .map((columns) => columns.map((column) => column.split(' ')[0])));
      assert.equal(shown.status, `Mittelwert ${totalMean} Euro im Monat, Spanne ${totalLow} bis ${totalHigh} Euro.`);
      assert.equal(shown.picture, `Spanne im Monat von ${totalLow} bis ${totalHigh} Euro, Mittelwert ${totalMean} Euro`);
    }
    await (await control(page, rentCaption, 'textbox')).type('500');
    assert.equal((await glance(page)).comparison, 'Ihre Nettokaltmiete von 500,00 Euro liegt oberhalb ' +
      'der Spanne von 368,25 bis 492,00 Euro, 80,75 Euro (19,3 %) über dem Mittelwert von 419,25 Euro. ' +
      'Das sind 6,67 Euro je Quadratmeter, bei einer Spanne von 4,91 bis 6,56 Euro je Quadratmeter.');
    await page.close();
  });

  test('"Auswerten" brings the result on a phone, the report beside it on a laptop into view', async () => {
    for (const [viewport, name] of [[{ width: 375, height: 667 }, 'Ihr Ergebnis'],
      [{ width: 1366, height: 768 }, 'Auswertung'], [{ width: 1920, height: 1080 }, 'Auswertung']]) {
      const page = await openWithAnswers(browser, west75, viewport);
      await evaluated(page);
      const focused = await page.evaluate(() => {
        const element = document.activeElement;
        const box = element.getBoundingClientRect();
        return { name: element.getAttribute('aria-label') ?? element.querySelector('h2')?.textContent,
          inView: box.top >= -1 && box.top < innerHeight / 2 };
      });
      assert.deepEqual(focused, { name, inView: true }, JSON.stringify(viewport));
      await page.close();
    }
  });

  test('on a phone the mean and a way to the result stay in reach while answering', async () => {
    const page = await openWithAnswers(browser, west75, { width: 375, height: 667 });
    const link = await control(page, 'Mittelwert 405,75 € im Monat – zum Ergebnis', 'button');
    const inView = (selector) => page.$eval(selector, (element) => {
      const box = element.getBoundingClientRect();
      return box.height > 0 && box.top >= 0 && box.bottom <= innerHeight;
    });
    assert.ok(await inView('#to-result'), 'unten sichtbar');
    await choose(page, 'Gäste-WC');
    assert.ok(await inView('#to-result'), 'beim Antworten');
    await link.click();
    await page.waitForFunction(() => document.getElementById('to-result').hidden);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'result');
    await page.close();
  });
});

describe('the first screen on a phone', () => {
  test('says what the page does and that its rent index has expired, and leads to the notice', async () => {
    const page = await openWithAnswers(browser, west75, { width: 375, height: 667 });
    const firstScreen = await page.evaluate(() => [...document.querySelectorAll('main p')]
      .filter((paragraph) => paragraph.checkVisibility() && paragraph.getBoundingClientRect().bottom <= innerHeight)
      .map((paragraph) => paragraph.textContent.replace(/\s+/gu, ' ').trim()));
    assert.match(firstScreen[0], /^Neun kurze Fragen zu Ihrer Wohnung, in etwa fünf Minuten beantwortet: /u);
    assert.equal(firstScreen[1], 'Dieser Mietspiegel ist veraltet: Seine Laufzeit endete am 31.12.2016. Was das heißt');
    const address = page.url();
    await (await control(page, 'Was das heißt', 'link')).click();
    assert.equal(await page.evaluate(() => document.activeElement.id), 'out-of-date');
    assert.equal(page.url(), address, 'the answers stay in the address');
    await page.close();
  });

  test('no control reached by the keyboard goes under the bar at the bottom edge', async () => {
    const page = await openWithAnswers(browser, west75, { width: 375, height: 667 });
    const covered = [];
    for (let step = 0; step < 80; step += 1) {
      await page.keyboard.press('Tab');
      // The bar goes once the result is in view, as the browser reports it a frame later.
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
      const under = await page.evaluate(() => {
        const bar = document.getElementById('to-result');
        const focused = document.activeElement;
        return !bar.hidden && focused !== bar &&
          focused.getBoundingClientRect().bottom > bar.getBoundingClientRect().top + 1 &&
          `${focused.tagName} ${focused.name || focused.id || focused.textContent}`;
      });
      if (under) covered.push(under);
    }
    assert.deepEqual(covered, []);
    await page.close();
  });

  test('the association\'s number is a tap-to-call link wherever it stands', async () => {
    const page = await openWithAnswers(browser, west75);
    const links = await page.$$eval('a[href^="tel:"]', (all) => all.map((link) =>
      `${link.closest('[id]').id} ${link.getAttribute('href')} ${link.textContent}`));
    assert.deepEqual(links, ['result tel:+495321472810 0 53 21 / 4 72 81-0', 'increase tel:+495321472810 0 53 21 / 4 72 81-0',
      'information-text tel:+495321472810 0 53 21 / 4 72 81-0']);
    await page.close();
  });
});

describe('answers kept', () => {
  test('reload, the address in a new browser context and a saved file give back the same report', async () => {
    const page = await openPage(browser, server.url);
    await choose(page, 'Baujahr vor 1980');
    await typeSize(page, allFeatures.size);
    for (const caption of allFeatures.captions.slice(1)) await choose(page, caption);
    const report = await evaluated(page);
    await page.reload();
    await page.waitForSelector('html[data-ready=true]');
    assert.deepEqual(await evaluated(page), report, 'neu geladen');

    const stranger = await browser.createBrowserContext();
    const shared = await openPage(stranger, page.url());
    assert.deepEqual(await evaluated(shared), report, 'Adresse in einem neuen Browser');

    const downloads = mkdtempSync(join(tmpdir(), 'msr-download-'));
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await press(page, 'Antworten speichern');
    for (let wait = 0; wait < 50 && !readdirSync(downloads).includes('mietspiegel-antworten.json'); ++wait)
      await new Promise((resolve) => setTimeout(resolve, 100));
    const saved = join(downloads, 'mietspiegel-antworten.json');
    const batch = runNative(['--batch', '--format', 'json'], readFileSync(saved));
    assert.equal(batch.status, 0, batch.err);
    assert.equal(JSON.parse(batch.out).paragraphs.length, report.length);

    const fresh = await openPage(stranger, server.url);
    const [chooser] = await Promise.all([fresh.waitForFileChooser(), press(fresh, 'Antworten laden')]);
    await chooser.accept([saved]);
    await fresh.waitForFunction(() => document.querySelectorAll('form input:checked').length > 0);
    assert.deepEqual(await evaluated(fresh), report, 'gespeicherte Datei');

    // A file the command line refuses is refused with its message; nothing is half-loaded.
    const bad = join(downloads, 'falsch.json');
    writeFileSync(bad, '{"YearClass":2,"Balkon":true}\n');
    const [again] = await Promise.all([fresh.waitForFileChooser(), press(fresh, 'Antworten laden')]);
    await again.accept([bad]);
    await fresh.waitForSelector('[role=alertdialog][open]');
    assert.equal((await dialogState(fresh)).text,
      asPageSays(runNative([], readFileSync(bad)).err.trim()));
    await fresh.keyboard.press('Escape');
    assert.deepEqual(await evaluated(fresh), report, 'nach der abgelehnten Datei');
    await stranger.close();
    await page.close();
  });

  // A print leaves out a picture still on its way: the first print once the service worker
  // serves the page lacked the header's and footer's artwork that the second one has.
  test('the first print carries the artwork on every page, served by the service worker and offline', async () => {
    const ownServer = await servePageFolder();
    const context = await browser.createBrowserContext();
    const page = await openPage(context, `${ownServer.url}#${encodeURIComponent(JSON.stringify(west75))}`);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller);
    const artworkWords = async () => (await printedPages(page)).map((text) => text.match(/KWL/gu)?.length ?? 0);
    await evaluated(page);
    assert.deepEqual(await artworkWords(), await artworkWords(), 'online');
    ownServer.close();
    await page.setOfflineMode(true);
    await page.goto(`${ownServer.url}#${encodeURIComponent(JSON.stringify(west75))}`);
    await page.waitForSelector('html[data-ready=true]');
    await evaluated(page);
    assert.deepEqual(await artworkWords(), await artworkWords(), 'offline');
    await context.close();
  });

  test('a loaded file\'s Aktenzeichen and Stichtag are saved again, and the reset forgets them', async () => {
    const page = await openPage(browser, server.url);
    const folder = mkdtempSync(join(tmpdir(), 'msr-kept-'));
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    const loaded = join(folder, 'fall.json');
    writeFileSync(loaded, `${JSON.stringify({ Aktenzeichen: '0815/26', Stichtag: '01.03.2016', ...west75 })}\n`);
    const saved = async () => {
      rmSync(join(folder, 'mietspiegel-antworten.json'), { force: true });
      await press(page, 'Antworten speichern');
      for (let wait = 0; wait < 50 && !readdirSync(folder).includes('mietspiegel-antworten.json'); ++wait)
        await new Promise((resolve) => setTimeout(resolve, 100));
      return JSON.parse(readFileSync(join(folder, 'mietspiegel-antworten.json'), 'utf8'));
    };
    const [chooser] = await Promise.all([page.waitForFileChooser(), press(page, 'Antworten laden')]);
    await chooser.accept([loaded]);
    await page.waitForFunction(() => document.querySelectorAll('form input:checked').length > 0);
    await choose(page, 'Gäste-WC');
    const kept = await saved();
    assert.deepEqual([kept.Aktenzeichen, kept.Stichtag, kept.GuestToilet], ['0815/26', '2016-03-01', true]);
    assert.doesNotMatch(page.url(), /Aktenzeichen|0815/u, 'never in the address');
    await press(page, 'Werte zurücksetzen');
    await press(page, 'Ja');
    assert.deepEqual(await saved(), {});
    await page.close();
  });

  test('opens and evaluates offline after its first visit', async () => {
    const ownServer = await servePageFolder();
    const context = await browser.createBrowserContext();
    const page = await openPage(context, ownServer.url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    ownServer.close();
    await page.setOfflineMode(true);
    await page.goto(`${ownServer.url}#${encodeURIComponent(JSON.stringify(west75))}`);
    await page.waitForSelector('html[data-ready=true]');
    assert.deepEqual(await evaluated(page), nativeParagraphs(west75));
    await context.close();
  });
});

describe('a new release behind a caching host', () => {
  // Release B: the page, its script and its core each changed a little, written by the
  // build's own release step, so that the test sees which release each file came from.
  function releaseB() {
    const source = mkdtempSync(join(tmpdir(), 'msr-source-'));
    const folder = mkdtempSync(join(tmpdir(), 'msr-release-'));
    cpSync(join(repository, 'web'), source, { recursive: true });
    cpSync(pageFolder, folder, { recursive: true });
    const edit = (file, change) => writeFileSync(join(source, file), change(readFileSync(join(source, file), 'utf8')));
    edit('index.html', (page) => page.replace('<html lang="de">', '<html lang="de" data-page="B">'));
    edit('page.js', (script) => `${script}\ndocument.documentElement.dataset.script = 'B';\n`);
    const built = (pattern) => join(pageFolder, readdirSync(pageFolder).find((name) => pattern.test(name)));
    const module = join(source, 'evaluation_module.js');
    writeFileSync(module, `${readFileSync(built(/^evaluation_module\.[0-9a-f]+\.js$/), 'utf8')}\n// B\n`);
    const code = join(source, 'evaluation_code.wasm');
    cpSync(built(/^evaluation_module\.[0-9a-f]+\.wasm$/), code);
    writeFileSync(join(source, 'evaluation_code.js'),
      `${readFileSync(built(/^evaluation_code\.[0-9a-f]+\.js$/), 'utf8')}\n// B\n`);
    const files = ['batch_module.js', 'icon.svg', 'Vorlage.csv', 'page.css', 'artwork-header.svg',
      'artwork-footer.svg', 'manifest.webmanifest', 'icon-180.png', 'icon-192.png', 'icon-512.png',
      'batch.html', 'batch.js', 'batch.css'];
    execFileSync('cmake', [`-DSOURCE=${source}`, `-DMODULE=${module}`, `-DCODE=${code}`, `-DFOLDER=${folder}`,
      `-DFILES=${files.join(';')}`, '-P', join(source, 'release.cmake')]);
    return folder;
  }

  // A host that serves whichever release is deployed, with the given caching header and a
  // date of last change long ago (so that even no header lets a browser keep the file).
  function cachingHost(cacheControl) {
    const host = { folder: pageFolder };
    const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.svg': 'image/svg+xml',
      '.wasm': 'application/wasm' };
    const server = createServer((request, response) => {
      const path = new URL(request.url, 'http://x').pathname;
      const file = join(host.folder, path.endsWith('/') ? `${path}index.html` : path);
      try {
        if (!statSync(file).isFile()) throw new Error('no file');
        const headers = { 'content-type': types[extname(file)] ?? 'application/octet-stream',
          'last-modified': 'Thu, 01 Jan 2026 00:00:00 GMT' };
        if (cacheControl) headers['cache-control'] = cacheControl;
        response.writeHead(200, headers);
        response.end(readFileSync(file));
      } catch {
        response.writeHead(404);
        response.end();
      }
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
      host.url = `http://127.0.0.1:${server.address().port}/`;
      host.close = () => server.close();
      resolve(host);
    }));
  }

  // Which release the page, its script and its core came from.
  function releases(page) {
    return page.evaluate(() => {
      const core = [...document.scripts].map((script) => script.src).find((src) => /evaluation_(code|module)/.test(src));
      return { page: document.documentElement.dataset.page ?? 'A',
        script: document.documentElement.dataset.script ?? 'A', core: core.split('/').at(-1) };
    });
  }

  const folderB = releaseB();
  const coreOf = (folder) => readdirSync(folder).find((name) => /^evaluation_code\.[0-9a-f]+\.js$/.test(name));
  for (const cacheControl of [null, 'max-age=600', 'no-cache']) {
    test(`${cacheControl ?? 'no header'}: never two releases at once, the new one within two reloads, offline too`, async () => {
      const host = await cachingHost(cacheControl);
      const context = await browser.createBrowserContext();
      const page = await openPage(context, host.url);
      await page.evaluate(() => navigator.serviceWorker.ready);
      await page.reload();
      await page.waitForSelector('html[data-ready=true]');
      assert.deepEqual(await releases(page), { page: 'A', script: 'A', core: coreOf(pageFolder) });
      host.folder = folderB; // the host's folder replaced by the new release
      const seen = [];
      for (let reload = 0; reload < 2; ++reload) {
        await page.reload();
        await page.waitForSelector('html[data-ready=true]');
        seen.push(await releases(page));
        const [{ page: index, script, core }] = seen.slice(-1);
        assert.ok(index === script && core === coreOf(index === 'A' ? pageFolder : folderB), JSON.stringify(seen));
      }
      assert.equal(seen.at(-1).page, 'B', JSON.stringify(seen));
      await page.waitForFunction(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        return registration?.active && !registration.installing && !registration.waiting;
      });
      host.close();
      await page.setOfflineMode(true);
      await page.goto(`${host.url}#${encodeURIComponent(JSON.stringify(west75))}`);
      await page.waitForSelector('html[data-ready=true]');
      assert.deepEqual(await releases(page), { page: 'B', script: 'B', core: coreOf(folderB) });
      assert.deepEqual(await evaluated(page), nativeParagraphs(west75));
      await context.close();
    });
  }
});

describe('printed like the desktop', () => {
  const answerSets = {
    'the three answers': { YearClass: 1, LivingArea: '60', CityArea: 7 },
    'west, 75': west75,
    'every feature': allFeatures.json,
    'a large flat with some features': { YearClass: 6, LivingArea: '140', GuestToilet: true, FloorCovering: 3,
      HeatingKind: 1, BalconyOrLoggia: true, BarrierFree: 2, NoiseImpairment: true, CityArea: 5 },
  };
  for (const [name, answers] of Object.entries(answerSets)) {
    test(`${name}: as many pages as the desktop's PDF, no heading last on a page`, async () => {
      const page = await openWithAnswers(browser, answers);
      const report = await evaluated(page);
      const printed = await printedPages(page);
      assert.equal(printed.length, desktopPageCount(answers));
      for (const [number, text] of printed.entries())
        assert.match(text, new RegExp(editionLine), `Seite ${number + 1} nennt den Mietspiegel`);
      assert.ok(report.length > 0);
      const titles = new Set(await page.$$eval('article[aria-label="Auswertung"] h3', (all) =>
        all.map((heading) => heading.textContent)));
      for (const [number, text] of printed.slice(0, -1).entries()) {
        const lines = text.split('\n').map((line) => line.trim()).filter((line) =>
          line && !line.startsWith('Auswertung Seite') && !line.startsWith('Mietspiegelrechner -'));
        assert.ok(!titles.has(lines.at(-1)), `Seite ${number + 1} endet mit "${lines.at(-1)}"`);
      }
      await page.close();
    });
  }
});

const editionLine = 'Mietspiegel Stand 1. Januar 2015, Laufzeit bis 31.12.2016';

// The page opened on the given day, as the browser's clock has it.
async function openOnDay(day, address = server.url) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument((time) => {
    const Original = Date;
    // eslint-disable-next-line no-global-assign
    Date = class extends Original {
      constructor(...values) { super(...(values.length ? values : [time])); }
      static now() { return time; }
    };
  }, new Date(`${day}T12:00:00`).getTime());
  await page.goto(address);
  await page.waitForSelector('html[data-ready=true]');
  return page;
}

function formAnswers(page) {
  return page.$eval('#questionnaire', (form) => [...new FormData(form)].filter(([, value]) => value !== '')
    .map(([key, value]) => `${key}=${value}`));
}

// A release of the page that ships the invented second edition, made as the association
// makes one (scripts/web-release): chosen by today for the result, by a letter's day for
// the rent increase check.
describe('a release with a second edition', () => {
  const testEdition = join(repository, 'tests/editions/testausgabe-2017.json');
  let release;
  before(async () => {
    const folder = mkdtempSync(join(tmpdir(), 'msr-release-'));
    execFileSync(join(repository, 'scripts/web-release'), [folder, testEdition],
      { env: { ...process.env, WEB_BUILD_DIR: pageFolder }, stdio: 'pipe' });
    release = await servePageFolder(folder);
  });
  after(() => release?.close());

  const flat = { YearClass: 1, LivingArea: '45', CityArea: 3, GuestToilet: true };
  const testLine = 'Mietspiegel Stand 1. Januar 2017 (erfunden, nur für Tests), Laufzeit bis 31.12.2018';

  test('the result counts by the edition in force today, the report as the evaluator gives it', async () => {
    const page = await openOnDay('2017-06-01', `${release.url}#${encodeURIComponent(JSON.stringify(flat))}`);
    assert.equal(await page.$eval('#edition', (line) => line.textContent), testLine);
    assert.equal(await page.$eval('#out-of-date', (notice) => notice.checkVisibility()), false);
    const native = runNative(['--format', 'json', '--rent-index', testEdition, '--date', '2017-06-01'],
      JSON.stringify(flat));
    assert.equal(native.status, 0, native.err);
    assert.deepEqual(await evaluated(page),
      JSON.parse(native.out).paragraphs.map(({ kind, ...attributes }) => attributes));
    assert.match(await page.$eval('#result', (box) => box.innerText), /268,65/);
    await page.close();

    const later = await openOnDay('2026-12-10', release.url);
    assert.equal(await later.$eval('#edition', (line) => line.textContent), testLine);
    assert.match(await later.$eval('#out-of-date', (notice) => notice.textContent),
      /^Dieser Mietspiegel ist veraltet: Seine Laufzeit endete am 31\.12\.2018\./);
    await later.close();
  });

  for (const [received, span] of [
    ['2016-03-01', /^Obergrenze \(§ 558 BGB\) nach Mietspiegel Varlstadt 2015 \(Stand 1\. Januar 2015\), gültig am 01\.03\.2016: Die verlangten 500,00 Euro liegen oberhalb der Spanne von 187,65 bis 260,10 Euro\./],
    ['2017-06-01', /^Obergrenze \(§ 558 BGB\) nach Testausgabe 2017 \(Stand 1\. Januar 2017 \(erfunden, nur für Tests\)\), gültig am 01\.06\.2017: Die verlangten 500,00 Euro liegen oberhalb der Spanne von 231,75 bis 304,20 Euro\./],
    ['2014-12-01', /^Obergrenze \(§ 558 BGB\): Am 01\.12\.2014 galt keiner der Mietspiegel dieses Rechners\. .* Kappungsgrenze und Fristen gelten unabhängig davon\.$/],
  ]) {
    test(`a letter received on ${received} is held against the edition of that day`, async () => {
      const page = await openOnDay('2026-12-10', `${release.url}#${encodeURIComponent(JSON.stringify(flat))}`);
      await (await control(page, rentCaption, 'textbox')).type('450');
      await (await control(page, 'Verlangte Nettokaltmiete (Euro im Monat)', 'textbox')).type('500');
      const [field] = await page.$$('::-p-aria([name="Zugang des Erhöhungsschreibens"])');
      await field.evaluate((date, day) => {
        date.value = day;
        date.dispatchEvent(new Event('input', { bubbles: true }));
      }, received);
      const [cap, spanFinding, deadlines] = await page.$$eval('#increase li', (all) => all.map((item) => item.textContent));
      assert.match(cap, /^Kappungsgrenze \(§ 558 Abs\. 3 BGB\): .* auf höchstens 540,00 Euro/);
      assert.match(spanFinding, span);
      assert.match(deadlines, /^Fristen \(§ 558b BGB\): /);
      await page.close();
    });
  }
});

describe('links and files that never break the page', () => {
  const brokenLinks = ['%', '%7B%22YearClass%22%3', '%7B%22YearClass%22%3A4', '%E4%F6%FC',
    '%7B%22YearClass%22%3A2%2C%22LivingArea%22%3A%2270'];
  for (const fragment of brokenLinks) {
    test(`#${fragment}: "Der Link ist unvollständig", answers kept, the page works on`, async () => {
      // Followed while answers stand, and opened as the first address.
      const page = await openWithAnswers(browser, west75);
      const before = await formAnswers(page);
      await page.evaluate((hash) => { location.hash = hash; }, fragment);
      await page.waitForSelector('[role=alertdialog][open]');
      assert.match((await dialogState(page)).text, /^Der Link ist unvollständig/);
      await page.keyboard.press('Escape');
      assert.deepEqual(await formAnswers(page), before);
      assert.deepEqual(await evaluated(page), nativeParagraphs(west75));

      const fresh = await openPage(browser, `${server.url}#${fragment}`);
      assert.match((await dialogState(fresh)).text, /^Der Link ist unvollständig/);
      await fresh.keyboard.press('Escape');
      assert.deepEqual(await formAnswers(fresh), []);
      assert.equal(await fresh.evaluate(() => location.hash), '', 'der Link zeigt die geltenden Angaben');
      await press(fresh, 'Info');
      assert.match(await fresh.$eval('#information-text', (text) => text.innerText), /Stand: 1\. Januar 2015/);
      await fresh.keyboard.press('Escape');
      await press(fresh, 'Werte zurücksetzen');
      assert.deepEqual(await fresh.$$eval('#confirm-reset button', (all) => all.map((b) => b.textContent)),
        ['Ja', 'Nein']);
      await page.close();
      await fresh.close();
    });
  }

  // The bytes of a file, handed to the core as they are.
  const files = {
    'a NUL after the object': Buffer.from('{"YearClass":2}\0'),
    'Latin-1 bytes': Buffer.from([...Buffer.from('{"LivingArea":"7'), 0xe4, ...Buffer.from('"}')]),
    'overlong UTF-8': Buffer.from([...Buffer.from('{"LivingArea":"'), 0xc0, 0xaf, ...Buffer.from('"}')]),
    'UTF-16 with its mark': Buffer.from('\ufeff{"YearClass":2}', 'utf16le'),
    'a surrogate in UTF-8': Buffer.from([...Buffer.from('{"LivingArea":"'), 0xed, 0xa0, 0x80, ...Buffer.from('"}')]),
    'an unknown key': Buffer.from('{"YearClass":2,"Balkon":true}\n'),
    'UTF-8 with its mark, read': Buffer.from('\ufeff{"YearClass":2,"LivingArea":"70","CityArea":2}'),
  };
  for (const [name, bytes] of Object.entries(files)) {
    test(`"Antworten laden" with ${name}: as the command line takes or refuses it`, async () => {
      const native = runNative([], bytes);
      const file = join(mkdtempSync(join(tmpdir(), 'msr-load-')), 'antworten.json');
      writeFileSync(file, bytes);
      const page = await openWithAnswers(browser, west75);
      const before = await formAnswers(page);
      const [chooser] = await Promise.all([page.waitForFileChooser(), press(page, 'Antworten laden')]);
      await chooser.accept([file]);
      if (native.status === 0) {
        await page.waitForFunction(() => document.querySelector('input[name=YearClass][value="2"]').checked);
        assert.deepEqual(await evaluated(page), nativeParagraphs(JSON.parse(bytes.toString().slice(1))));
      } else {
        await page.waitForSelector('[role=alertdialog][open]');
        assert.equal((await dialogState(page)).text, asPageSays(native.err.split('\n')[0]));
        await page.keyboard.press('Escape');
        assert.deepEqual(await formAnswers(page), before, 'nichts halb geladen');
        assert.equal(await focusedName(page), 'Antworten laden');
      }
      await page.close();
    });
  }
});

describe('the field to correct', () => {
  const rows = [
    { caption: rentCaption, wrong: 'abc', right: '450',
      message: 'Bitte geben Sie Ihre Nettokaltmiete in Euro an, zum Beispiel 450 oder 450,50.' },
    { caption: 'Verlangte Nettokaltmiete (Euro im Monat)', wrong: 'viel', right: '480',
      message: 'Bitte geben Sie die verlangte Nettokaltmiete in Euro an, zum Beispiel 480 oder 480,50.' },
    { caption: 'Nettokaltmiete vor drei Jahren (Euro im Monat)', wrong: '0', right: '',
      message: 'Bitte geben Sie die Nettokaltmiete vor drei Jahren in Euro an, zum Beispiel 400 oder 400,50, oder lassen Sie das Feld leer.' },
  ];
  for (const row of rows) {
    test(`"${row.caption}": "${row.wrong}" marked at the field, "${row.right}" takes the mark away`, async () => {
      const page = await openWithAnswers(browser, west75, { width: 375, height: 667 });
      const field = await control(page, row.caption, 'textbox');
      await field.type(row.wrong);
      assert.deepEqual(await fieldMark(page, row.caption, 'textbox'),
        { invalid: 'true', message: row.message, inView: true });
      await field.click({ clickCount: 3 });
      await page.keyboard.press('Backspace');
      if (row.right) await field.type(row.right);
      assert.deepEqual(await fieldMark(page, row.caption, 'textbox'), { invalid: null, message: null, inView: false });
      await page.close();
    });
  }

  test('a corrected size loses its mark', async () => {
    const page = await openWithAnswers(browser, { ...west75, LivingArea: '75,5' });
    await press(page, 'Auswerten');
    await page.keyboard.press('Escape');
    assert.equal((await fieldMark(page, sizeCaption, 'combobox')).invalid, 'true');
    await typeSize(page, '75');
    assert.deepEqual(await fieldMark(page, sizeCaption, 'combobox'), { invalid: null, message: null, inView: false });
    await page.close();
  });

  test('the live result is announced once typing pauses, politely', async () => {
    const page = await openWithAnswers(browser, west75);
    await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 1500)));
    const region = await page.$('[aria-live=polite]');
    await region.evaluate((live) => {
      window.announced = [];
      new MutationObserver(() => window.announced.push(live.textContent))
        .observe(live, { childList: true, characterData: true, subtree: true });
    });
    await (await control(page, rentCaption, 'textbox')).type('590', { delay: 150 });
    await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 1500)));
    const announced = await page.evaluate(() => window.announced);
    assert.equal(announced.length, 1, announced.join(' | '));
    assert.match(announced[0], /Ihre Nettokaltmiete von 590,00 Euro liegt oberhalb/);
    // The figures' own lines are no live regions of their own.
    assert.deepEqual(await page.$$eval('#result [role=status], #result [aria-live]', (all) => all.length), 0);
    await page.close();
  });
});

describe('the edition and a rent increase', () => {
  test('the result names the edition, and past its term says it is out of date', async () => {
    for (const [day, outOfDate] of [['2016-12-31', false], ['2017-01-01', true], ['2026-12-10', true]]) {
      const page = await openOnDay(day);
      const shown = await page.$eval('aside[aria-labelledby=result-title]', (result) => ({
        edition: result.querySelector('#edition').textContent,
        notice: result.querySelector('#out-of-date').checkVisibility()
          ? result.querySelector('#out-of-date').textContent : null,
      }));
      assert.equal(shown.edition, editionLine, day);
      if (outOfDate) assert.match(shown.notice, /^Dieser Mietspiegel ist veraltet: .*KWL Hausgilde Varlstadt/, day);
      else assert.equal(shown.notice, null, day);
      await page.close();
    }
  });

  test('checks a rent increase with the association to ask; none of it in the link', async () => {
    const page = await openWithAnswers(browser, west75);
    const address = page.url();
    await (await control(page, rentCaption, 'textbox')).type('450');
    await (await control(page, 'Verlangte Nettokaltmiete (Euro im Monat)', 'textbox')).type('500');
    await (await control(page, 'Nettokaltmiete vor drei Jahren (Euro im Monat)', 'textbox')).type('400');
    // A date field, by its caption whatever role the browser gives it.
    const [received] = await page.$$('::-p-aria([name="Zugang des Erhöhungsschreibens"])');
    await received.evaluate((field) => {
      field.value = '2026-12-01';
      field.dispatchEvent(new Event('input', { bubbles: true }));
    });
    const findings = () => page.$$eval('#increase li', (all) => all.map((item) => item.textContent));
    const [cap, span, deadlines] = await findings();
    assert.match(cap, /^Kappungsgrenze \(§ 558 Abs\. 3 BGB\): .* von 400,00 Euro auf höchstens 480,00 Euro\. Die verlangten 500,00 Euro liegen darüber/);
    // The letter of 01.12.2026 meets the newest edition, long past its term, and says so.
    assert.match(span, /^Obergrenze \(§ 558 BGB\) nach Mietspiegel Varlstadt 2015 \(Stand 1\. Januar 2015\), der neuesten Ausgabe am 01\.12\.2026, deren Laufzeit schon am 31\.12\.2016 endete; .*: Die verlangten 500,00 Euro liegen oberhalb der Spanne von 354,75 bis 478,50 Euro/);
    assert.match(deadlines, /^Fristen \(§ 558b BGB\): .* bis zum 28\.02\.2027 .* ab dem 01\.03\.2027\. .* bis zum 31\.05\.2027 auf Zustimmung klagen \(§ 558b Abs\. 2 BGB\)\.$/);
    await choose(page, '15 %');
    assert.match((await findings())[0], /auf höchstens 460,00 Euro/);
    // The association's contact stands beside the own rent's meaning and beside the
    // disclaimer of the increase check.
    const beside = await page.$$eval('#rent-meaning, #disclaimer', (all) => all.map((element) =>
      [element.textContent, element.nextElementSibling.textContent]));
    const contact = 'Rat und Hilfe: KWL Hausgilde Varlstadt e. V. - Mieterschutzverein -, Lindengasse 7, ' +
      '38100 Varlstadt, Tel.: 0 53 21 / 4 72 81-0';
    assert.deepEqual(beside.map(([, next]) => next), [contact, contact]);
    assert.match(beside[0][0], /^Für Sie heißt das: /);
    assert.equal(beside[1][0], 'Hinweise ohne Gewähr, keine Rechtsberatung');
    assert.equal(page.url(), address);
    assert.deepEqual(await evaluated(page), nativeParagraphs(west75));
    await page.close();
  });
});

describe('keyboard and screen readers', () => {
  // Tab until the control of that name has the focus.
  async function tabTo(page, name) {
    for (let step = 0; step < 80; ++step) {
      await page.keyboard.press('Tab');
      const focused = await page.evaluate(() => {
        const element = document.activeElement;
        return element.labels?.[0]?.textContent.replace(/\s+/g, ' ').trim() ?? element.textContent.trim();
      });
      if (focused === name) return;
    }
    assert.fail(`"${name}" ist mit der Tabulatortaste nicht zu erreichen`);
  }

  test('the page can be filled and evaluated with the keyboard alone', async () => {
    const page = await openPage(browser, server.url);
    await tabTo(page, 'bis 1929');
    await page.keyboard.press('ArrowDown'); // 1930 bis 1969
    await tabTo(page, 'Geben Sie die Größe der Wohnung an');
    await page.keyboard.type('80');
    await tabTo(page, 'Innenstadt-Mitte');
    await page.keyboard.press('ArrowDown'); // Innenstadt-Nord
    await tabTo(page, 'Auswerten');
    await page.keyboard.press('Enter');
    await page.waitForSelector('article[aria-label="Auswertung"] > p');
    assert.deepEqual(await reportParagraphs(page),
      nativeParagraphs({ YearClass: 2, LivingArea: '80', CityArea: 2 }));
    await page.close();
  });

  test('axe-core finds nothing: empty, refused, evaluated, information', async () => {
    const page = await openPage(browser, server.url);
    assert.deepEqual(await axeViolations(page), [], 'leer');
    await press(page, 'Auswerten');
    assert.deepEqual(await axeViolations(page), [], 'Meldung');
    await page.keyboard.press('Escape');
    assert.deepEqual(await axeViolations(page), [], 'fehlende Angaben markiert');
    await choose(page, 'Baujahr vor 1980');
    await typeSize(page, '45');
    for (const caption of allFeatures.captions.slice(1)) await choose(page, caption);
    await press(page, 'Auswerten');
    await page.waitForSelector('article[aria-label="Auswertung"] > p');
    await (await control(page, rentCaption, 'textbox')).type('410');
    await (await control(page, 'Verlangte Nettokaltmiete (Euro im Monat)', 'textbox')).type('viel');
    assert.deepEqual(await axeViolations(page), [], 'Auswertung');
    const headings = await page.$$eval('article[aria-label="Auswertung"] :is(h2, h3)', (all) =>
      all.map((h) => `${h.tagName} ${h.textContent}`));
    assert.deepEqual(headings, ['H2 M I E T S P I E G E L R E C H N E RMietspiegelrechner', 'H3 Baualtersklasse',
      'H3 Zu- und Abschläge', ...[1, 2, 3, 4, 5, 6, 7, 8].map((n) => `H3 ${n}. ${['Wohnungsgröße', 'Bad-Ausstattung',
        'Bodenbeläge', 'Beheizungsart', 'Weitere Zu- und Abschläge', 'Modernisierungsmaßnahmen', 'Wohnumfeld',
        'Gebietseinteilung'][n - 1]}`), 'H3 Schlussberechnung']);
    const title = await page.$$(`::-p-aria([name="Mietspiegelrechner"][role="heading"])`);
    assert.equal(title.length, 1, 'der gesperrte Titel als ein Wort');
    await press(page, 'Info');
    assert.deepEqual(await axeViolations(page), [], 'Information');
    await page.close();
  });
});

describe('a rent increase letter checked to the end', () => {
  test('what is typed before the core is there is evaluated once it is, without an error', async () => {
    // A context of its own: no service worker of an earlier visit hands out the core.
    const context = await (browser.createBrowserContext?.() ?? browser.createIncognitoBrowserContext());
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    const client = await page.createCDPSession();
    await client.send('Emulation.setCPUThrottlingRate', { rate: 8 });
    // The core's code held back until the tenant has typed, as on a slow line.
    let typed;
    const typing = new Promise((resolve) => { typed = resolve; });
    await page.setRequestInterception(true);
    page.on('request', (request) => {
      if (/evaluation_(code|module)\.js|\.wasm$/u.test(request.url())) typing.then(() => request.continue());
      else request.continue();
    });
    await page.goto(server.url, { waitUntil: 'domcontentloaded' });
    await page.waitForSelector('#wohnungsgroesse input');
    assert.equal(await page.$eval('html', (html) => html.dataset.ready ?? 'no'), 'no', 'the core came too soon to test');
    await page.type('#wohnungsgroesse input[type=text]', '75');
    typed();
    await page.waitForSelector('html[data-ready=true]', { timeout: 60000 });
    assert.deepEqual(errors, []);
    assert.equal(await page.$eval('#wohnungsgroesse input[type=text]', (field) => field.value), '75');
    assert.equal(await page.$eval('#result-status', (status) => status.textContent),
      'Für ein Ergebnis fehlt noch: Baujahr und Gebietseinteilung.');
    assert.match(page.url(), /LivingArea%22%3A%2275%22/u);
    await context.close();
  });

  // Own rents from nothing to 100.000 € against a span of a few hundred Euro: the marker
  // runs to either edge and squeezes the span, but no label covers another or is cut.
  test('the span picture\'s labels stand apart and inside it for any own rent', async () => {
    // Beyond 1 € to 50 € per m² a rent is questioned at its field and drawn no marker.
    const rents = ['0', '1', '45', '75', '354,75', '400', '478,50', '479', '900', '2.250', '3.750', '5.000',
      '12.345,67', '99.999,99', '100.000'];
    let marked = 0;
    for (const answers of [west75, allFeatures.json]) {
      const page = await openWithAnswers(browser, answers);
      const errors = [];
      page.on('pageerror', (error) => errors.push(error.message));
      const field = await control(page, rentCaption, 'textbox');
      for (const rent of rents) {
        await field.evaluate((input, typed) => {
          input.value = typed;
          input.dispatchEvent(new Event('input', { bubbles: true }));
        }, rent);
        const labels = await page.$$eval('#span-picture text', (all) => all.map((text) => {
          const box = text.getBBox();
          return { text: text.textContent, left: box.x, right: box.x + box.width, top: box.y, bottom: box.y + box.height };
        }));
        const [, , width, height] = (await page.$eval('#span-picture', (svg) => svg.getAttribute('viewBox'))).split(' ').map(Number);
        const questioned = await field.evaluate((input) => input.getAttribute('aria-invalid') === 'true');
        assert.equal(labels.length, questioned ? 3 : 4, `${rent}: ${labels.map((label) => label.text)}`);
        marked += questioned ? 0 : 1;
        assert.deepEqual(errors, [], rent);
        for (const [index, label] of labels.entries()) {
          assert.ok(label.left >= 0 && label.right <= width && label.top >= 0 && label.bottom <= height,
            `${rent}: "${label.text}" ragt aus dem Bild (${label.left}–${label.right}, ${label.top}–${label.bottom})`);
          for (const other of labels.slice(index + 1)) {
            const apart = label.right <= other.left || other.right <= label.left ||
              label.bottom <= other.top || other.bottom <= label.top;
            assert.ok(apart, `${rent}: "${label.text}" überdeckt "${other.text}"`);
          }
        }
        if (process.env.SPAN_SHOTS)
          await (await page.$('#span-picture')).screenshot({ path: join(process.env.SPAN_SHOTS, `${labels[1].text}-${rent}.png`) });
      }
      await page.close();
    }
    assert.ok(marked >= 14, `nur ${marked} Mieten mit Marke`);
  });

  test('prints a page of its own after the report with the rent, the check and its deadlines', async () => {
    const page = await openWithAnswers(browser, west75);
    await evaluated(page);
    const printedAlone = await printedPages(page);
    await (await control(page, rentCaption, 'textbox')).type('480');
    await (await control(page, 'Verlangte Nettokaltmiete (Euro im Monat)', 'textbox')).type('560');
    await (await control(page, 'Zugang des Erhöhungsschreibens', 'textbox')).type('01.12.2026');
    await (await control(page, 'Letzte Mieterhöhung wirksam seit', 'textbox')).type('01.03.2025');
    // The rent's fields change no answer: the report stands and gains one page.
    const printed = await printedPages(page);
    assert.equal(printed.length, printedAlone.length + 1, printed.at(-1));
    const last = printed.at(-1).replace(/\s+/gu, ' ');
    for (const expected of ['Ihre Angaben zur Miete', editionLine, 'Jetzige Nettokaltmiete (Euro im Monat): 480',
      'Verlangte Nettokaltmiete (Euro im Monat): 560', 'Letzte Mieterhöhung wirksam seit: 01.03.2025',
      'Zu hoch verlangt: Ergebnis: Nach diesen Regeln schulden Sie höchstens', 'Kappungsgrenze (§ 558 Abs. 3 BGB)',
      'Sperrfristen (§ 558 Abs. 1 BGB)', 'Fristen (§ 558b BGB)', 'Hinweise ohne Gewähr', 'Rat und Hilfe:'])
      assert.ok(last.includes(expected), `"${expected}" fehlt auf der letzten Seite: ${last}`);
    assert.match(last, /Auswertung Seite \d+/u);
    await page.close();
  });

  test('a letter within a year of the last increase is void, said first', async () => {
    const page = await openWithAnswers(browser, west75);
    await (await control(page, rentCaption, 'textbox')).type('480');
    await (await control(page, 'Verlangte Nettokaltmiete (Euro im Monat)', 'textbox')).type('500');
    await (await control(page, 'Zugang des Erhöhungsschreibens', 'textbox')).type('01.12.2026');
    const last = await control(page, 'Letzte Mieterhöhung wirksam seit', 'textbox');
    await last.type('01.03.2026');
    assert.match(await page.$eval('#increase-conclusion', (element) => element.textContent),
      /^Zu früh verlangt: Ergebnis: Das Schreiben kam früher als ein Jahr nach der letzten Mieterhöhung und ist deshalb unwirksam \(§ 558 Abs\. 1 BGB\)/u);
    await last.evaluate((field) => { field.value = ''; });
    await last.type('31.04.2025');
    const mark = await fieldMark(page, 'Letzte Mieterhöhung wirksam seit', 'textbox');
    assert.deepEqual([mark.invalid, mark.message], ['true',
      'Den 31.04.2025 gibt es im Kalender nicht; bitte prüfen Sie den Tag, seit dem Ihre jetzige Miete gilt.']);
    await page.close();
  });

  test('leads with the most owed, marks a breach by a word and refuses a day the calendar lacks at its field', async () => {
    const page = await openWithAnswers(browser, west75);
    await (await control(page, rentCaption, 'textbox')).type('500');
    await (await control(page, 'Verlangte Nettokaltmiete (Euro im Monat)', 'textbox')).type('650');
    const conclusion = await page.$eval('#increase-conclusion', (element) => element.textContent);
    assert.match(conclusion, /^Zu hoch verlangt: Ergebnis: Nach diesen Regeln schulden Sie höchstens 478,50 Euro im Monat, nicht die verlangten 650,00 Euro: .*Hinweise ohne Gewähr/);
    const received = await control(page, 'Zugang des Erhöhungsschreibens', 'textbox');
    await received.type('29.02.2027');
    const refusal = await received.evaluate((field) => [field.getAttribute('aria-invalid'),
      document.getElementById(field.getAttribute('aria-describedby').split(' ').at(-1)).textContent]);
    assert.deepEqual(refusal, ['true', 'Den 29.02.2027 gibt es im Kalender nicht; bitte prüfen Sie den Tag, an dem das Erhöhungsschreiben bei Ihnen eingegangen ist.']);
    await received.evaluate((field) => { field.value = ''; });
    await received.type('01.12.2026');
    assert.equal(await received.evaluate((field) => field.getAttribute('aria-invalid')), null);
    assert.match((await page.$$eval('#increase li', (all) => all.map((item) => item.textContent))).at(-1),
      /^Fristen \(§ 558b BGB\): Ist das Schreiben am 01\.12\.2026 .* bis zum 28\.02\.2027 .* bis zum 31\.05\.2027 auf Zustimmung klagen \(§ 558b Abs\. 2 BGB\)\.$/);
    await page.close();
  });
});
