// Plays the browser build in headless Chromium as a script says, for
// web_tests.py: node browse.mjs PAGE_DIR REPLAYS_DIR OUT_DIR QUERY STEPS_JSON
// Serves PAGE_DIR at / and REPLAYS_DIR at /replays/. Steps, in order (an
// {"init": JS} step runs in the page before its own scripts):
//   {"until": JS, "limit": s}  polls JS in the page until it is true
//   {"down"|"up"|"press": KEY}  a key, as Playwright names it
//   {"shot": NAME}              the canvas as OUT_DIR/NAME.png
//   {"save": PATH, "as": NAME}  a file of the game's file system, to OUT_DIR/NAME
//   {"keep": JS, "as": NAME}    JS's value, as JSON, to OUT_DIR/NAME
//   {"run": JS}                 JS, for its effect
//   {"reload": true}            the page loaded again (its storage kept)
// OUT_DIR/lines.txt gets every line the page printed. Exit 0, or 1 with the
// step that failed.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {chromium} from 'playwright-core';

const [pageDir, replaysDir, outDir, query, stepsJson] = process.argv.slice(2);
const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};

function serve() {
  const server = http.createServer((request, response) => {
    const url = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = url.startsWith('/replays/')
        ? path.join(replaysDir, url.slice('/replays/'.length))
        : path.join(pageDir, url === '/' ? 'index.html' : url);
    fs.readFile(file, (error, bytes) => {
      response.writeHead(error ? 404 : 200,
                         {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
      response.end(error ? '' : bytes);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function until(page, condition, limitSeconds) {
  const end = Date.now() + limitSeconds * 1000;
  for (;;) {
    if (await page.evaluate(condition)) return;
    if (Date.now() > end) throw new Error(`not true within ${limitSeconds} s: ${condition}`);
    await new Promise(resolve => setTimeout(resolve, 50));
  }
}

async function run(page, step) {
  if (step.until) return until(page, step.until, step.limit || 120);
  if (step.down) return page.keyboard.down(step.down);
  if (step.up) return page.keyboard.up(step.up);
  if (step.press) return page.keyboard.press(step.press);
  if (step.shot) return page.locator('canvas').screenshot({path: path.join(outDir, step.shot + '.png')});
  if (step.save) {
    const text = await page.evaluate(file => {
      const bytes = Module.FS.readFile(file);
      let binary = '';
      for (let at = 0; at < bytes.length; at += 0x8000)
        binary += String.fromCharCode.apply(null, bytes.subarray(at, at + 0x8000));
      return btoa(binary);
    }, step.save);
    return fs.writeFileSync(path.join(outDir, step.as), Buffer.from(text, 'base64'));
  }
  if (step.run) return page.evaluate(step.run);
  if (step.reload) return page.reload();
  if (step.keep)
    return fs.writeFileSync(path.join(outDir, step.as), JSON.stringify(await page.evaluate(step.keep)));
  throw new Error('unknown step ' + JSON.stringify(step));
}

const server = await serve();
const browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--use-angle=swiftshader']});
const lines = [];
let code = 0;
try {
  const page = await browser.newPage({viewport: {width: 1100, height: 860}});
  page.on('console', message => lines.push(message.text()));
  page.on('pageerror', error => lines.push('page error: ' + error.message));
  for (const step of JSON.parse(stepsJson).filter(step => step.init))
    await page.addInitScript(step.init);
  await page.goto(`http://127.0.0.1:${server.address().port}/${query}`);
  for (const step of JSON.parse(stepsJson).filter(step => !step.init)) {
    try {
      await run(page, step);
    } catch (error) {
      lines.push(`step ${JSON.stringify(step)} failed: ${error.message}`);
      code = 1;
      break;
    }
  }
} finally {
  fs.writeFileSync(path.join(outDir, 'lines.txt'), lines.join('\n') + '\n');
  await browser.close();
  server.close();
}
process.exit(code);
