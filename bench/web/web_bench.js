// The page against the floor in Debian's headless Chromium (SwiftShader): frames per second and
// main-thread time per frame (Chromium's TaskDuration over the frames drawn), and the main
// thread's CPU time per frame (its ThreadTime, which a busy machine inflates less), in rounds
// that alternate the two, each round's ratios and their medians, the machine's load (a busy machine
// slows both, so only the ratios mean much there); then the gzip sizes of the page's files.
// Prints figures; judges nothing.
//   node bench/web/web_bench.js [PAGE_DIRECTORY] [SECONDS] [ROUNDS]
// PAGE_DIRECTORY is build-web/bin; playwright-core comes from NODE_PATH, as for the tests
// (build-web/tests/web/npm/node_modules once they have run).
'use strict';
const {chromium} = require('playwright-core');
const {spawn, execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

const directory = path.resolve(process.argv[2] || 'build-web/bin');
const seconds = Number(process.argv[3] || 10);
const rounds = Number(process.argv[4] || 3);
// Compiling (wasm, shaders) must be over before measuring, however long it takes.
const WARM_UP_FRAMES = 20;
const WARM_UP_MS = 1000;

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
  await page.waitForFunction((frames) => window.framesDrawn >= frames, WARM_UP_FRAMES,
                             {timeout: 0, polling: 100});
  await page.waitForTimeout(WARM_UP_MS);
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable');
  const sample = async () => {
    const {metrics} = await cdp.send('Performance.getMetrics');
    const metric = (name) => metrics.find((m) => m.name === name).value;
    return {busy: metric('TaskDuration'), cpu: metric('ThreadTime'),
            frames: await page.evaluate(() => window.framesDrawn), at: Date.now()};
  };
  const from = await sample();
  await page.waitForTimeout(seconds * 1000);
  const to = await sample();
  await page.close();
  const frames = to.frames - from.frames;
  return {fps: frames / ((to.at - from.at) / 1000), msPerFrame: ((to.busy - from.busy) * 1000) / frames,
          cpuMsPerFrame: ((to.cpu - from.cpu) * 1000) / frames};
}

function Line(name, r) {
  return `${name}: ${r.fps.toFixed(1)} frames/s, main thread ${r.msPerFrame.toFixed(3)} ms/frame ` +
         `(CPU ${r.cpuMsPerFrame.toFixed(3)})`;
}

const KEYS = ['fps', 'msPerFrame', 'cpuMsPerFrame'];

function Ratios(page, floor) {
  return Object.fromEntries(KEYS.map((key) => [key, page[key] / floor[key]]));
}

function RatioLine(r) {
  return `${r.fps.toFixed(2)} of the floor's frame rate; main thread ${r.msPerFrame.toFixed(2)} ` +
         `times the floor's (CPU ${r.cpuMsPerFrame.toFixed(2)})`;
}

const Load = () => os.loadavg()[0].toFixed(1);

(async () => {
  const balls = StartUpBalls();
  const server = spawn(process.execPath, [path.join(__dirname, '../../scripts/serve-web.js'), directory, '0']);
  let browser = null;
  try {
    browser = await chromium.launch({executablePath: '/usr/bin/chromium',
                                     args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader']});
    const url = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(String(d).trim())));
    const floorUrl = url.replace('boulles.html', 'floor.html');
    const totals = {page: [], floor: [], ratios: []};
    console.log(`load average ${Load()} on ${os.cpus().length} cores`);
    for (let round = 1; round <= rounds; ++round) {
      const page = await Measure(browser, url, (p) => p.addInitScript(() => {
        window.Module = {onSwapBuffers: (count) => { window.framesDrawn = count; }};
      }));
      const floor = await Measure(browser, floorUrl, async (p) => {
        await p.route('**/floor.html', (route) => route.fulfill({path: path.join(__dirname, 'floor.html')}));
        await p.addInitScript((b) => { window.BALLS = b; }, balls);
      });
      const ratios = Ratios(page, floor);
      console.log(`round ${round}  ${Line('page', page)}  |  ${Line('floor', floor)}  |  ` +
                  `${RatioLine(ratios)} (load ${Load()})`);
      totals.page.push(page);
      totals.floor.push(floor);
      totals.ratios.push(ratios);
    }
    const median = (list, key) => list.map((r) => r[key]).sort((a, b) => a - b)[Math.floor(list.length / 2)];
    const medians = (list) => Object.fromEntries(KEYS.map((key) => [key, median(list, key)]));
    const page = medians(totals.page);
    const floor = medians(totals.floor);
    console.log(`median  ${Line('page', page)}  |  ${Line('floor', floor)}`);
    console.log(`page / floor, of the medians: ${RatioLine(Ratios(page, floor))}`);
    console.log(`page / floor, median of the rounds' ratios: ${RatioLine(medians(totals.ratios))}`);
  } finally {
    if (browser)
      await browser.close();
    server.kill();
  }
  let total = 0;
  for (const name of ['boulles.html', 'boulles.js', 'boulles.svg', 'boulles.webmanifest', 'service-worker.js']) {
    const bytes = fs.readFileSync(path.join(directory, name));
    const gzipped = zlib.gzipSync(bytes, {level: 9}).length;
    total += gzipped;
    console.log(`${name}: ${bytes.length} bytes, ${gzipped} gzipped`);
  }
  console.log(`the page's files: ${total} bytes gzipped`);
})();
