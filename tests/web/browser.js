// Starts headless Chromium with software WebGL2 (SwiftShader through ANGLE)
// and no network traffic of its own, and serves a folder on loopback.
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require(path.join(__dirname, '../../scripts/web/driver/node_modules/puppeteer-core'));

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.data': 'application/octet-stream', '.png': 'image/png'};

// Serves `root` on 127.0.0.1 at a free port; resolves to {server, url}.
function serve(root) {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(root, name === '/' ? 'index.html' : name);
    if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
    resolve({server, url: `http://127.0.0.1:${server.address().port}/`})));
}

async function launch(width = 1280, height = 800) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'md-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--no-first-run', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--disable-quic',
           // Sound waits for the page's first activation, as with the
           // browser's default policy. Chromium 156 lets an audio context run
           // at once under "user-gesture-required".
           '--autoplay-policy=document-user-activation-required', `--window-size=${width},${height}`],
    defaultViewport: {width, height},
    // A frame of the test hook can take long in software WebGL.
    protocolTimeout: 600000,
  });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  };
  return {browser, close};
}

// Opens `url` and collects the page's console errors and uncaught errors.
async function open(browser, url) {
  const page = await browser.newPage();
  const problems = [];
  const log = [];
  page.on('console', (m) => {
    log.push(`${m.type()}: ${m.text()}`);
    if (m.type() === 'error') problems.push(`console: ${m.text()}`);
  });
  page.on('pageerror', (e) => problems.push(`page: ${e.message}`));
  await page.goto(url, {waitUntil: 'load'});
  return {page, problems, log};
}

// The value of `expression` in the page, read without a user gesture.
// page.evaluate and waitForFunction run as gestures: they give the page
// user activation, after which its audio context starts by itself with its
// next sound.
async function peek(page, expression) {
  const session = await page.createCDPSession();
  try {
    const {result, exceptionDetails} =
        await session.send('Runtime.evaluate', {expression, returnByValue: true});
    if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.text}`);
    return result.value;
  } finally {
    await session.detach();
  }
}

// Waits, without a user gesture, until `expression` is true in the page.
async function waitWithoutGesture(page, expression, timeoutMs) {
  const end = Date.now() + timeoutMs;
  while (!(await peek(page, `!!(${expression})`))) {
    if (Date.now() > end) throw new Error(`timed out waiting for ${expression}`);
    await new Promise((r) => setTimeout(r, 200));
  }
}

module.exports = {serve, launch, open, peek, waitWithoutGesture};
