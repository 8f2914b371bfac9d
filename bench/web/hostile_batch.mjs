// The hostile and unusual workbooks of bench/cli/hostile_workbooks through the batch page
// in headless Chromium, as a user hands them in: for each file the time from the chooser
// to the status line's last word, the page's renderer at its largest (resident memory,
// sampled every 50 ms, the worker's module inside it) and what the page said.
// Run: KEEP=/tmp/hostile bench/cli/hostile_workbooks && node bench/web/hostile_batch.mjs /tmp/hostile
// (after scripts/web --build-only; the npm packages come from tests/web: cd tests/web && npm ci).
import { execFileSync } from 'node:child_process';
import { readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { performance } from 'node:perf_hooks';
import { launchChromium, openPage, servePageFolder } from '../../tests/web/browser.mjs';

const folder = process.argv[2];
if (!folder) throw new Error('Aufruf: node bench/web/hostile_batch.mjs ORDNER');

// The largest resident set among the browser's processes, in MB.
function largestRendererMegabytes(browserPid) {
  const out = execFileSync('ps', ['-o', 'pid=,ppid=,rss=', '-e']).toString();
  const processes = out.trim().split('\n').map((line) => line.trim().split(/\s+/).map(Number));
  const children = new Set([browserPid]);
  for (let grown = true; grown;) {
    grown = false;
    for (const [pid, ppid] of processes)
      if (children.has(ppid) && !children.has(pid)) { children.add(pid); grown = true; }
  }
  return Math.max(...processes.filter(([pid]) => children.has(pid) && pid !== browserPid)
    .map(([, , rss]) => rss)) / 1024;
}

const server = await servePageFolder();
const browser = await launchChromium();
const browserPid = browser.process().pid;
try {
  console.log(`${'Datei'.padEnd(28)} ${'Bytes'.padStart(9)} ${'s'.padStart(6)} ${'MB'.padStart(6)}  Meldung`);
  for (const name of readdirSync(folder).sort()) {
    const file = join(folder, name);
    const page = await openPage(browser, `${server.url}batch.html`);
    await page.waitForSelector('html[data-ready=true]');
    const baseline = largestRendererMegabytes(browserPid);
    let largest = baseline;
    const sampler = setInterval(() => { largest = Math.max(largest, largestRendererMegabytes(browserPid)); }, 50);
    const start = performance.now();
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#answers-file')]);
    await chooser.accept([file]);
    await page.waitForFunction(() => {
      const status = document.getElementById('batch-status');
      return /abgelehnt\.|\.$/u.test(status.textContent) && !/wird gelesen|gelesen …/u.test(status.textContent);
    }, { timeout: 600000 });
    const seconds = (performance.now() - start) / 1000;
    clearInterval(sampler);
    const said = await page.$eval('#batch-status', (status) => status.textContent);
    console.log(`${name.padEnd(28)} ${String(statSync(file).size).padStart(9)} ${seconds.toFixed(2).padStart(6)} `
      + `${largest.toFixed(0).padStart(6)}  ${said.slice(0, 90)} (vorher ${baseline.toFixed(0)} MB)`);
    await page.close();
  }
} finally {
  await browser.close();
  server.close();
}
