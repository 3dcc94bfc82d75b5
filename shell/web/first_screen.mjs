// Writes the page with its first screen in it: the page is opened in a headless Chromium,
// served from the site as it is built, the program runs and builds its first windows, and
// their elements are written into the page's body, with first_screen.js to place them for
// the viewport before the page is first drawn. So the first screen is the program's own
// and cannot drift from the designs; the program replaces it as it starts.
//
//   node first_screen.mjs PUPPETEER_DIR CHROMIUM SITE_DIR PAGE RULE_JSON PLACE_JS OUTPUT
//
// PAGE is the page without its first screen; RULE_JSON what first_screen_numbers prints.
import { createRequire } from 'node:module';
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';

const [dir, executablePath, site, pagePath, rulePath, placePath, output] = process.argv.slice(2);
const puppeteer = createRequire(join(dir, 'package.json'))('puppeteer-core');
const page = readFileSync(pagePath, 'utf8');
const rule = JSON.parse(readFileSync(rulePath, 'utf8'));
const marker = '<!-- first screen -->';
if (!page.includes(marker)) throw new Error(`${pagePath} has no ${marker}`);

// The site, with the page without its first screen in place of index.html.
const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
                '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.woff2': 'font/woff2' };
const server = createServer((request, response) => {
  const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
  try {
    const body = path === '/' || path === '/index.html' ? page : readFileSync(join(site, path));
    response.writeHead(200, { 'Content-Type': types[extname(path)] || 'text/html' });
    response.end(body);
  } catch {
    response.writeHead(404);
    response.end();
  }
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));

const profile = mkdtempSync(join(tmpdir(), 'honderdtafels-first-screen-'));
const browser = await puppeteer.launch({ browser: 'chrome', executablePath, headless: true,
                                         userDataDir: profile, args: ['--no-sandbox'] });
try {
  const tab = await browser.newPage();
  await tab.goto(`http://127.0.0.1:${server.address().port}/`);
  await tab.waitForFunction(() => window.Module && Module.calledRun, { timeout: 30000 });
  const screen = await tab.evaluate(() => {
    // The elements as the program made them, marked as the build's: no handles, names the
    // page's scripts and tests do not mistake for the program's, and nothing live.
    const root = document.documentElement;
    const rootStyle = {};
    for (const name of root.style) {
      if (name !== '--scale') rootStyle[name] = root.style.getPropertyValue(name);
    }
    const windows = [];
    const parts = ['mdi', 'desk'].map((id) => document.getElementById(id)).filter(Boolean);
    const html = parts.map((part) => {
      const copy = part.cloneNode(true);
      copy.dataset.firstScreen = '';
      copy.inert = true;
      for (const element of [copy, ...copy.querySelectorAll('*')]) {
        element.removeAttribute('data-handle');
        for (const name of ['form', 'name']) {
          if (element.dataset[name] === undefined) continue;
          element.setAttribute(`data-first-${name}`, element.dataset[name]);
          element.removeAttribute(`data-${name}`);
        }
        if (element.matches('.window')) {
          if (!element.hidden) windows.push(element.dataset.firstForm);
          element.style.removeProperty('left');
          element.style.removeProperty('top');
        }
        if (element.matches('button, input')) element.disabled = true;
      }
      return copy.outerHTML;
    });
    return { html: html.join('\n'), rootStyle, windows };
  });
  const place = readFileSync(placePath, 'utf8');
  const placing = { ...rule, root: screen.rootStyle, windows: screen.windows };
  const body = `${screen.html}\n<script>\n${place}firstScreen.place(${JSON.stringify(placing)});\n</script>`;
  writeFileSync(output, page.replace(marker, body));
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}
