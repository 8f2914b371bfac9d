// The README's pictures of the web page, taken in headless Chromium: the result at a
// glance with a rent increase checked on a phone and on a laptop, the filled page, a
// refusal at its field, and the printed report (Chromium's PDF, its pages drawn by pdftoppm).
// Run: node tests/web/screenshots.mjs (after scripts/web --build-only).
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launchChromium, openPage, repository, servePageFolder } from './browser.mjs';

const docs = join(repository, 'docs');
const server = await servePageFolder();
const browser = await launchChromium();

async function choose(page, caption) {
  const [control] = await page.$$(`::-p-aria([name="${caption}"])`);
  await control.click();
}

try {
  // The result at a glance, with an own rent and a rent increase checked, as a shared link
  // opens it: on a phone the whole result box, on a laptop the report beside the result
  // after "Auswerten", and the result box scrolled to the increase check.
  const answers = { YearClass: 4, Built1980Side: 2, LivingArea: '75', GuestToilet: true, CityArea: 3 };
  for (const [name, viewport] of [['phone', { width: 375, height: 667, deviceScaleFactor: 2 }],
    ['laptop', { width: 1366, height: 768 }]]) {
    const glance = await openPage(browser, `${server.url}#${encodeURIComponent(JSON.stringify(answers))}`);
    await glance.setViewport(viewport);
    await (await glance.$('#rent')).type('450');
    await (await glance.$('#asked-rent')).type('520');
    await (await glance.$('#rent-before')).type('420');
    await (await glance.$('#received')).type('01.12.2026');
    await (await glance.$('#last-increase')).type('01.10.2025');
    if (name === 'phone') {
      await (await glance.$('#result')).screenshot({ path: join(docs, 'web-result-phone.png') });
      await glance.evaluate(() => window.scrollTo(0, 0));
      await glance.screenshot({ path: join(docs, 'web-page-phone.png') });
    } else {
      await (await glance.$('#evaluate')).click();
      await glance.waitForSelector('article[aria-label="Auswertung"] > p');
      await glance.$eval('#result', (result) => { result.scrollTop = 0; });
      await glance.screenshot({ path: join(docs, 'web-result-laptop.png') });
      await glance.$eval('#increase', (section) => section.scrollIntoView({ block: 'end' }));
      await glance.screenshot({ path: join(docs, 'web-increase-laptop.png') });
      // The printout's last page: what the tenant entered about the rent, with the check.
      const printed = join(mkdtempSync(join(tmpdir(), 'msr-pdf-')), 'angaben.pdf');
      await glance.pdf({ path: printed, preferCSSPageSize: true, printBackground: true });
      const pages = Number(/Pages:\s+(\d+)/u.exec(execFileSync('pdfinfo', [printed], { encoding: 'utf8' }))[1]);
      execFileSync('pdftoppm', ['-png', '-r', '60', '-singlefile', '-f', String(pages), '-l', String(pages), printed,
        join(docs, 'web-print-rent')]);
    }
    await glance.close();
  }

  const page = await openPage(browser, server.url);
  await page.setViewport({ width: 900, height: 1000 });
  await choose(page, 'Baujahr vor 1980');
  const size = (await page.$$('::-p-aria([name="Geben Sie die Größe der Wohnung an"])'))[0];
  await size.type('75');
  await choose(page, 'Gäste-WC');
  await choose(page, 'Varlstadt-West');
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.screenshot({ path: join(docs, 'web-page.png') });

  // A size the program refuses: its message, then the field marked with it.
  await size.click({ clickCount: 3 });
  await size.type('75,5');
  await (await page.$('#evaluate')).click();
  await page.waitForSelector('[role=alertdialog][open]');
  await page.screenshot({ path: join(docs, 'web-refusal.png') });
  await page.keyboard.press('Escape');
  await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 100)));
  await page.screenshot({ path: join(docs, 'web-refusal-field.png') });
  await size.click({ clickCount: 3 });
  await size.type('75');
  await (await page.$('#evaluate')).click();
  await page.waitForSelector('article[aria-label="Auswertung"] > p');
  // The report's end: the final calculation in the document's red (darker on screen).
  await page.$eval('article[aria-label="Auswertung"] > p:last-child',
    (last) => last.scrollIntoView({ block: 'end' }));
  await page.screenshot({ path: join(docs, 'web-report.png') });

  const folder = mkdtempSync(join(tmpdir(), 'msr-pdf-'));
  const pdf = join(folder, 'bericht.pdf');
  await page.pdf({ path: pdf, preferCSSPageSize: true, printBackground: true });
  execFileSync('pdftoppm', ['-png', '-r', '60', '-f', '1', '-l', '1', pdf, join(docs, 'web-print')]);
  console.log(`PDF: ${pdf}`);
} finally {
  await browser.close();
  server.close();
}
