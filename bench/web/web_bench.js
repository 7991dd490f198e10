// The page against the floor in Debian's headless Chromium (SwiftShader): frames per second and
// main-thread time per frame (Chromium's TaskDuration over the frames drawn), in rounds that
// alternate the two; then the gzip sizes of the page's files. Prints figures; judges nothing.
//   node bench/web/web_bench.js [PAGE_DIRECTORY] [SECONDS] [ROUNDS]
// PAGE_DIRECTORY is build-web/bin; playwright-core comes from NODE_PATH, as for the tests
// (build-web/tests/web/npm/node_modules once they have run).
'use strict';
const {chromium} = require('playwright-core');
const {spawn, execFileSync} = require('child_process');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const directory = path.resolve(process.argv[2] || 'build-web/bin');
const seconds = Number(process.argv[3] || 10);
const rounds = Number(process.argv[4] || 3);
const WARM_UP_MS = 2000;

// The start-up balls as ball-trace prints them: position x y z in fields 4-6, blue in 12,
// radius in 13, each a float's bits in hex.
function StartUpBalls() {
  const trace = execFileSync(process.execPath, [path.join(directory, 'ball-trace.js'), '0']);
  const float = (hex) => Buffer.from(hex, 'hex').readFloatBE(0);
  return String(trace).trim().split('\n').map((line) => {
    const f = line.split(' ').map((field, i) => (i === 0 ? 0 : float(field)));
    return [f[4], f[5], f[6], f[13], f[12]];
  });
}

async function Measure(browser, url, setUp) {
  // A 640x480 canvas for the page as for the floor.
  const page = await browser.newPage({viewport: {width: 640, height: 800}});
  await setUp(page);
  await page.goto(url);
  await page.waitForTimeout(WARM_UP_MS);
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable');
  const sample = async () => {
    const {metrics} = await cdp.send('Performance.getMetrics');
    const busy = metrics.find((m) => m.name === 'TaskDuration').value;
    return {busy, frames: await page.evaluate(() => window.framesDrawn), at: Date.now()};
  };
  const from = await sample();
  await page.waitForTimeout(seconds * 1000);
  const to = await sample();
  await page.close();
  const frames = to.frames - from.frames;
  return {fps: frames / ((to.at - from.at) / 1000), msPerFrame: ((to.busy - from.busy) * 1000) / frames};
}

function Line(name, r) {
  return `${name}: ${r.fps.toFixed(1)} frames/s, main thread ${r.msPerFrame.toFixed(3)} ms/frame`;
}

(async () => {
  const balls = StartUpBalls();
  const server = spawn(process.execPath, [path.join(__dirname, '../../scripts/serve-web.js'), directory, '0']);
  let browser = null;
  try {
    browser = await chromium.launch({executablePath: '/usr/bin/chromium',
                                     args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader']});
    const url = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(String(d).trim())));
    const floorUrl = url.replace('boulles.html', 'floor.html');
    const totals = {page: [], floor: []};
    for (let round = 1; round <= rounds; ++round) {
      const page = await Measure(browser, url, (p) => p.addInitScript(() => {
        window.Module = {onSwapBuffers: (count) => { window.framesDrawn = count; }};
      }));
      const floor = await Measure(browser, floorUrl, async (p) => {
        await p.route('**/floor.html', (route) => route.fulfill({path: path.join(__dirname, 'floor.html')}));
        await p.addInitScript((b) => { window.BALLS = b; }, balls);
      });
      console.log(`round ${round}  ${Line('page', page)}  |  ${Line('floor', floor)}`);
      totals.page.push(page);
      totals.floor.push(floor);
    }
    const median = (list, key) => list.map((r) => r[key]).sort((a, b) => a - b)[Math.floor(list.length / 2)];
    const page = {fps: median(totals.page, 'fps'), msPerFrame: median(totals.page, 'msPerFrame')};
    const floor = {fps: median(totals.floor, 'fps'), msPerFrame: median(totals.floor, 'msPerFrame')};
    console.log(`median  ${Line('page', page)}  |  ${Line('floor', floor)}`);
    console.log(`page / floor: ${(page.fps / floor.fps).toFixed(2)} of the floor's frame rate; ` +
                `main thread ${(page.msPerFrame / floor.msPerFrame).toFixed(2)} times the floor's`);
  } finally {
    if (browser)
      await browser.close();
    server.kill();
  }
  let total = 0;
  for (const name of ['boulles.html', 'boulles.js', 'boulles.svg']) {
    const bytes = fs.readFileSync(path.join(directory, name));
    const gzipped = zlib.gzipSync(bytes, {level: 9}).length;
    total += gzipped;
    console.log(`${name}: ${bytes.length} bytes, ${gzipped} gzipped`);
  }
  console.log(`the page's files: ${total} bytes gzipped`);
})();
