// The page's start-up and frame times in headless Chromium (software WebGL2):
//   node bench/web-frames.js [seconds=20] [width=1280] [height=800]
// Prints the time from navigation to the scene being ready (data loaded,
// start-up and first capture done), from the click to the first frame, and
// the median and 95th percentile of the frame intervals over `seconds` of the
// day with the adaptive quality on, with the render scale it settled at.
'use strict';
const path = require('path');
const {serve, launch, open} = require(path.join(__dirname, '../tests/web/browser.js'));

(async () => {
  const seconds = Number(process.argv[2] || 20);
  const width = Number(process.argv[3] || 1280), height = Number(process.argv[4] || 800);
  const {server, url} = await serve(path.join(__dirname, '../build-web'));
  const {browser, close} = await launch(width, height);
  const {page, problems} = await open(browser, url);
  await page.waitForFunction('Module.mdReadyAt', {timeout: 300000});
  const ready = await page.evaluate('Module.mdReadyAt');
  await page.evaluate(`window.mdTimes = []; (function tick(t) { mdTimes.push([t, Module._md_frames()]);
                       requestAnimationFrame(tick); })(performance.now())`);
  const clickAt = Date.now();
  await page.mouse.click(width / 2, height / 2);
  await page.waitForFunction('Module._md_frames() >= 1', {timeout: 300000});
  const first = Date.now();
  await new Promise((r) => setTimeout(r, seconds * 1000));
  const times = await page.evaluate('mdTimes');
  // The interval between consecutive drawn frames.
  const drawn = [];
  for (let i = 1; i < times.length; ++i)
    if (times[i][1] !== times[i - 1][1]) drawn.push(times[i][0]);
  const gaps = drawn.slice(1).map((t, i) => t - drawn[i]).sort((a, b) => a - b);
  const at = (q) => gaps[Math.min(gaps.length - 1, Math.floor(q * gaps.length))];
  console.log(`scene ready ${ready.toFixed(0)} ms after navigation; first frame ${(first - clickAt).toFixed(0)} ms after the click`);
  console.log(`${gaps.length + 1} frames in ${seconds} s: median ${at(0.5).toFixed(1)} ms, p95 ${at(0.95).toFixed(1)} ms, ` +
              `render scale ${(await page.evaluate('Module._md_render_scale()')).toFixed(2)}, clock ${(await page.evaluate('Module._md_clock()')).toFixed(0)}`);
  if (problems.length) console.log('problems:', problems);
  await close();
  server.close();
})().catch((e) => { console.error(e); process.exit(1); });
