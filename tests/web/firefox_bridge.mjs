// Firefox ESR for the page's tests, driven over WebDriver BiDi by the pinned puppeteer-core:
// one request a line on stdin ({"op": ..., "args": [...]}), one answer a line on stdout
// ({"value": ...} or {"error": "..."}). engines.py speaks the other end.
//
//   node firefox_bridge.mjs PUPPETEER_DIR FIREFOX WIDTH HEIGHT
import { createRequire } from 'node:module';
import { createInterface } from 'node:readline';
import { tmpdir } from 'node:os';
import { mkdtempSync } from 'node:fs';
import { join } from 'node:path';

const [dir, executablePath, width, height] = process.argv.slice(2);
const puppeteer = createRequire(join(dir, 'package.json'))('puppeteer-core');

const browser = await puppeteer.launch({
  browser: 'firefox', executablePath, headless: true,
  userDataDir: mkdtempSync(join(tmpdir(), 'honderdtafels-firefox-')),
  defaultViewport: { width: Number(width), height: Number(height) },
});
// A headless Firefox's first tab never has the keyboard's focus: Enter and Space on a
// button do nothing there. A tab opened afterwards has it.
const page = await browser.newPage();
const errors = [];
page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
page.on('pageerror', (error) => errors.push(String(error)));

async function middle(selector, dx = 0, dy = 0) {
  const box = await (await page.waitForSelector(selector, { timeout: 1000 })).boundingBox();
  return [box.x + box.width / 2 + dx, box.y + box.height / 2 + dy];
}

const ops = {
  get: (url) => page.goto(url, { waitUntil: 'load' }).then(() => null),
  // The script is the body of a function of arguments[], as Selenium runs it.
  js: (script, args) => page.evaluate(`(function () { ${script} }).apply(null, ${JSON.stringify(args)})`),
  resize: (width, height) => page.setViewport({ width, height }).then(() => null),
  click: async (selector, dx, dy) => page.mouse.click(...await middle(selector, dx, dy)),
  move: async (selector, dx, dy) => page.mouse.move(...await middle(selector, dx, dy)),
  type: (text) => page.keyboard.type(text),
  press: async (key, shift) => {
    if (shift) await page.keyboard.down('Shift');
    await page.keyboard.press(key);
    if (shift) await page.keyboard.up('Shift');
  },
  screenshot: (path) => page.screenshot({ path }).then(() => null),
  errors: () => errors,
  quit: () => browser.close(),
};

for await (const line of createInterface({ input: process.stdin })) {
  const { op, args } = JSON.parse(line);
  let answer;
  try {
    answer = { value: (await ops[op](...args)) ?? null };
  } catch (error) {
    answer = { error: String(error) };
  }
  process.stdout.write(JSON.stringify(answer) + '\n');
  if (op === 'quit') process.exit(0);
}
await browser.close(); // the tests ended without a quit
