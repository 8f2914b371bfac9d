// The README's picture of the page for many flats, taken in headless Chromium after a
// sheet of answers with a refused row has been evaluated.
// Run: node tests/web/batch_screenshot.mjs (after scripts/web --build-only).
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launchChromium, openPage, repository, servePageFolder } from './browser.mjs';

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

const server = await servePageFolder();
const browser = await launchChromium();
try {
  const page = await openPage(browser, `${server.url}batch.html`);
  await page.setViewport({ width: 900, height: 760 });
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#answers-file')]);
  await chooser.accept([sheet]);
  await page.waitForFunction(() => /abgelehnt\./u.test(document.querySelector('[role=status]').textContent));
  await page.screenshot({ path: join(repository, 'docs/web-batch.png') });
} finally {
  await browser.close();
  server.close();
  rmSync(folder, { recursive: true, force: true });
}
