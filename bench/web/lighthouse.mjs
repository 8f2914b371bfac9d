// Lighthouse's four scores for the page, on its desktop and mobile presets, in Debian's
// Chromium; the page is served over http from 127.0.0.1 as any static host serves it.
// Run: node bench/web/lighthouse.mjs (after scripts/web --build-only, and cd bench/web &&
// npm ci for Lighthouse; the tests do not need it). Prints the metrics behind the
// performance score and every audit that is not passed. LIGHTHOUSE_RUNS=3 measures each
// preset three times (the score varies from run to run with the machine's load);
// LIGHTHOUSE_PRESET=Mobil (or Desktop) measures that preset alone.
import { createRequire } from 'node:module';
import { launchChromium, openPage, servePageFolder } from '../../tests/web/browser.mjs';

const require = createRequire(new URL('./package.json', import.meta.url));
const { default: lighthouse } = await import(require.resolve('lighthouse'));
const { default: desktopConfig } = await import(require.resolve('lighthouse/core/config/desktop-config.js'));

const metrics = ['first-contentful-paint', 'largest-contentful-paint', 'speed-index',
  'total-blocking-time', 'cumulative-layout-shift'];
const runs = Number(process.env.LIGHTHOUSE_RUNS ?? 1);

const server = await servePageFolder();
// One visit first, which fetches every file (the service worker keeps them all), so that
// the host serves each compressed as it keeps it, not compressing it while measured.
{
  const browser = await launchChromium();
  const page = await openPage(browser, server.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await browser.close();
}
let failed = false;
try {
  const presets = [['Desktop', desktopConfig], ['Mobil', undefined]]
    .filter(([preset]) => (process.env.LIGHTHOUSE_PRESET ?? preset) === preset);
  for (const [preset, config] of presets.flatMap((entry) => Array(runs).fill(entry))) {
    const browser = await launchChromium();
    try {
      const port = Number(new URL(browser.wsEndpoint()).port);
      const { lhr } = await lighthouse(server.url, { port, logLevel: 'error', output: 'json' }, config);
      const scores = Object.values(lhr.categories).map((category) =>
        `${category.title} ${Math.round(category.score * 100)}`);
      console.log(`${preset}: ${scores.join(', ')}`);
      console.log(`  ${metrics.map((id) => `${id} ${lhr.audits[id].displayValue}`).join(', ')}`);
      if (process.env.LIGHTHOUSE_DETAILS)
        for (const id of (process.env.LIGHTHOUSE_DETAILS ?? '').split(','))
          console.log(id, JSON.stringify(lhr.audits[id]?.details?.items?.slice(0, 8))?.slice(0, 2000));
      for (const category of Object.values(lhr.categories)) {
        if (category.score < 1) failed = true;
        for (const { id } of category.auditRefs) {
          const audit = lhr.audits[id];
          if (audit.score !== null && audit.score < 1 && audit.scoreDisplayMode !== 'informative')
            console.log(`  ${category.title}: ${id} (${audit.score}) ${audit.displayValue ?? ''}`);
        }
      }
    } finally {
      await browser.close();
    }
  }
} finally {
  server.close();
}
process.exitCode = failed ? 1 : 0;
