// The page's icons in the usual sizes, drawn from the program's icon
// (packaging/mietspiegelrechner.svg) by headless Chromium into web/icon-N.png, and the date
// field's calendar button from web/calendar.svg into web/calendar.png (twice its size, for
// sharp screens; a browser paints a picture cheaper than it lays out an SVG document).
// Run after changing the icon: node tests/web/icons.mjs
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { launchChromium, repository } from './browser.mjs';

const icon = readFileSync(join(repository, 'packaging/mietspiegelrechner.svg'), 'utf8');
const browser = await launchChromium();
try {
  const page = await browser.newPage();
  for (const size of [180, 192, 512]) {
    await page.setViewport({ width: size, height: size });
    await page.setContent(`<body style="margin:0;background:#fff">${icon.replace('<svg ',
      `<svg style="display:block;width:${size}px;height:${size}px" `)}</body>`);
    await page.screenshot({ path: join(repository, `web/icon-${size}.png`), omitBackground: false });
  }
  const calendar = readFileSync(join(repository, 'web/calendar.svg'), 'utf8');
  await page.setViewport({ width: 16, height: 16, deviceScaleFactor: 2 });
  await page.setContent(`<body style="margin:0">${calendar.replace('<svg ', '<svg style="display:block" ')}</body>`);
  await page.screenshot({ path: join(repository, 'web/calendar.png'), omitBackground: true });
} finally {
  await browser.close();
}
