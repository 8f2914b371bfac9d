// The README's pictures of the page for many flats, taken in headless Chromium: after a
// sheet of answers with a refused row has been evaluated, and on a laptop while a big
// sheet is being evaluated, with its progress bar. Given a folder, it also puts there the
// same views on a phone and a laptop, to be looked at.
// Run: node tests/web/batch_screenshot.mjs [FOLDER] (after scripts/web --build-only).
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launchChromium, openPage, repository, servePageFolder } from './browser.mjs';

const [lookFolder] = process.argv.slice(2);
const folder = mkdtempSync(join(tmpdir(), 'msr-batch-picture-'));
const sheet = join(folder, 'beratung-maerz.csv');
writeFileSync(sheet, [
  'Aktenzeichen;YearClass;Built1980Side;LivingArea;CityArea;GuestToilet;BalconyOrLoggia',
  'M-2031;4;1;75;3;ja;',
  'M-2032;2;;62;1;;x',
  'M-2033;6;;;5;;',
  'M-2034;7;;104;2;ja;ja',
  '',
].join('\r\n'));
// A year of a counselling office's flats, 40 MB: the template's rows over and over.
const bigSheet = join(folder, 'Wohnungen 2026.csv');
const [header, ...rows] = readFileSync(join(repository, 'packaging/Vorlage.csv'), 'utf8')
  .trimEnd().split('\n');
writeFileSync(bigSheet, `${header}\n${`${rows.join('\n')}\n`.repeat(110000)}`);

const views = {
  phone: { width: 375, height: 667, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
  laptop: { width: 1280, height: 800 },
};

async function choose(page, file) {
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#answers-file')]);
  await chooser.accept([file]);
}

// The page a third through the big sheet, and after it.
async function bigRun(page, during, after) {
  await choose(page, bigSheet);
  await page.waitForFunction(() => document.querySelector('progress').value >= 30);
  await page.screenshot({ path: during });
  await page.waitForFunction(() => /abgelehnt\./u.test(document.querySelector('[role=status]').textContent));
  if (after) await page.screenshot({ path: after, fullPage: true });
}

const server = await servePageFolder();
const browser = await launchChromium();
try {
  const page = await openPage(browser, `${server.url}batch.html`);
  await page.setViewport({ width: 900, height: 760 });
  await choose(page, sheet);
  await page.waitForFunction(() => /abgelehnt\./u.test(document.querySelector('[role=status]').textContent));
  await page.screenshot({ path: join(repository, 'docs/web-batch.png') });

  await page.reload();
  await page.waitForSelector('html[data-ready=true]');
  await page.setViewport(views.laptop);
  await bigRun(page, join(repository, 'docs/web-batch-progress.png'));
  await page.close();

  if (lookFolder) {
    for (const [name, view] of Object.entries(views)) {
      const look = await openPage(browser, `${server.url}batch.html`);
      await look.setViewport(view);
      await bigRun(look, join(lookFolder, `batch-${name}-during.png`), join(lookFolder, `batch-${name}-after.png`));
      await look.close();
    }
  }
} finally {
  await browser.close();
  server.close();
  rmSync(folder, { recursive: true, force: true });
}
