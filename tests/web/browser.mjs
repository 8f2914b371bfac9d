// Debian's Chromium, headless, driven by puppeteer-core (which downloads no browser), and
// a small static server for the built page folder.
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

export const repository = new URL('../../', import.meta.url).pathname;
export const pageFolder = process.env.WEB_BUILD_DIR
  ? normalize(process.env.WEB_BUILD_DIR)
  : join(repository, 'build/web');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.wasm': 'application/wasm',
};

// A file compressed once for as long as it stays the same, as a static host keeps it.
const compressed = new Map();
function gzipped(file) {
  const { mtimeMs, size } = statSync(file);
  const kept = compressed.get(file);
  if (kept?.mtimeMs === mtimeMs && kept.size === size) return kept.bytes;
  const bytes = gzipSync(readFileSync(file));
  compressed.set(file, { mtimeMs, size, bytes });
  return bytes;
}

// Serves the folder (the built page's, or a release's) as any static host would; resolves
// to the page's address.
export function servePageFolder(folder = pageFolder) {
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = join(folder, path.endsWith('/') ? `${path}index.html` : path);
    try {
      if (!file.startsWith(folder) || !statSync(file).isFile()) throw new Error('no file');
      const type = types[extname(file)] ?? 'application/octet-stream';
      // Compressed when the browser takes it, as any web host serves text (Lighthouse measures it).
      if (/\bgzip\b/.test(request.headers['accept-encoding'] ?? '') ) {
        response.writeHead(200, { 'content-type': type, 'content-encoding': 'gzip', vary: 'accept-encoding' });
        response.end(gzipped(file));
      } else {
        response.writeHead(200, { 'content-type': type });
        response.end(readFileSync(file));
      }
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () =>
      resolve({ url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() }));
  });
}

export async function launchChromium({ language = 'de-DE' } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'msr-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--lang=${language}`, '--font-render-hinting=none'],
    env: { ...process.env, LANGUAGE: language.replace('-', '_') },
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A page in the given browser language, opened at the address, ready to be used.
export async function openPage(browser, url, language = 'de-DE') {
  const page = await browser.newPage();
  await page.setExtraHTTPHeaders({ 'accept-language': language });
  await page.evaluateOnNewDocument((lang) => {
    Object.defineProperty(navigator, 'language', { get: () => lang });
    Object.defineProperty(navigator, 'languages', { get: () => [lang] });
    // What the page's Content-Security-Policy blocked, for the tests to see.
    window.policyViolations = [];
    document.addEventListener('securitypolicyviolation', (event) =>
      window.policyViolations.push(`${event.violatedDirective} ${event.blockedURI}`));
  }, language);
  await page.setViewport({ width: 1000, height: 900 });
  await page.goto(url);
  await page.waitForSelector('html[data-ready=true]');
  return page;
}
