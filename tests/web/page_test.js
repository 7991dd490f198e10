// The page in a browser engine of engines.js (Chromium unless --engine=firefox or webkit is given;
// only `play` runs in all three, the others use more of playwright's page than the adapters have):
//   node page_test.js play DIRECTORY         blue balls on black; keypad * held shows the axes,
//                                            a drag turns the view, + zooms, / hides the axes;
//                                            Esc ends the run with exit code 0
//   node page_test.js no-webgl DIRECTORY     a browser without WebGL: the box; OK ends with 1
//   node page_test.js first-frame DIRECTORY OUT.png   writes the first frame drawn
//   node page_test.js context-loss DIRECTORY the browser takes the WebGL context away: frames
//                                            go on, the page says so; given back, the balls
//                                            come back with every state
// DIRECTORY holds boulles.html; the page is served from it on a free port.
'use strict';
const {OpenEnginePage} = require('./engines');
const {spawn} = require('child_process');
const fs = require('fs');
const path = require('path');

const ENGINE_OPTION = '--engine=';
const engine = (process.argv.find((a) => a.startsWith(ENGINE_OPTION)) || ENGINE_OPTION + 'chromium')
  .slice(ENGINE_OPTION.length);
const [scenario, directory, output] =
  process.argv.slice(2).filter((a) => !a.startsWith(ENGINE_OPTION));
const SWIFTSHADER = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader'];

// --- the page ---

async function OpenPage(browserArguments, firstPixels, run) {
  const server = spawn(process.execPath,
                       [path.join(__dirname, '../../scripts/serve-web.js'), directory, '0']);
  let browser = null;
  try {
    browser = await OpenEnginePage(engine, browserArguments);
    const url = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(String(d).trim())));
    const page = browser.page;
    // (WebDriver classic reports no page errors.)
    if (page.on) {
      page.on('pageerror', (error) => {
        if (error.name !== 'ExitStatus')
          console.log('page error: ' + error.message);
      });
    }
    // Before the program starts: every frame it presents counts, and the test may ask for the
    // pixels of the next one, read back before the browser shows it. (Where the engine runs
    // it only after the page has loaded, the hook joins the program's Module all the same.)
    await page.addInitScript((wanted) => {
      window.wantPixels = wanted;
      window.Module = window.Module || {};
      Object.assign(window.Module, {
        onSwapBuffers: function(count) {
          window.framesDrawn = count;
          const wanted = window.wantPixels;
          if (!wanted)
            return;
          window.wantPixels = false;
          const canvas = window.Module.canvas;
          if (wanted === 'png') {
            window.pixels = canvas.toDataURL('image/png');
            return;
          }
          const gl = canvas.getContext('webgl');
          const pixels = new Uint8Array(canvas.width * canvas.height * 4);
          gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
          window.pixels = Array.from(pixels);
        },
      });
    }, firstPixels);
    await page.goto(url);
    await run(page);
  } finally {
    if (browser)
      await browser.close();
    server.kill();
  }
}

async function WaitFrames(page, count) {
  const from = await page.evaluate(() => window.framesDrawn || 0);
  await page.waitForFunction((until) => (window.framesDrawn || 0) >= until, from + count,
                             {timeout: 60000});
}

// Counts the next frame's pixels: black, pure blue (the balls, and the Y axis), and pixels
// with red or green in them (the X and Z axes); and how wide the red ones spread.
async function NextFrame(page) {
  await page.evaluate(() => { window.pixels = null; window.wantPixels = true; });
  await page.waitForFunction(() => window.pixels, null, {timeout: 60000});
  // As bytes in base64: a driver's array of numbers would be bigger by far.
  const rgba = Buffer.from(await page.evaluate(() => {
    let bytes = '';
    for (let i = 0; i < window.pixels.length; i += 8192)
      bytes += String.fromCharCode.apply(null, window.pixels.slice(i, i + 8192));
    return btoa(bytes);
  }), 'base64');
  const counts = {black: 0, blue: 0, red: 0, green: 0, redWidth: 0};
  let redLeft = Infinity, redRight = -Infinity;
  for (let i = 0; i < rgba.length; i += 4) {
    const [r, g, b] = [rgba[i], rgba[i + 1], rgba[i + 2]];
    if (r === 0 && g === 0 && b === 0) counts.black++;
    else if (r === 0 && g === 0) counts.blue++;
    if (r > 0) {
      counts.red++;
      redLeft = Math.min(redLeft, (i / 4) % 640);
      redRight = Math.max(redRight, (i / 4) % 640);
    }
    if (g > 0) counts.green++;
  }
  counts.redWidth = counts.red > 0 ? redRight - redLeft + 1 : 0;
  return counts;
}

async function HoldKey(page, key, frames) {
  await page.keyboard.down(key);
  await WaitFrames(page, frames);
  await page.keyboard.up(key);
  await WaitFrames(page, 1);
}

async function StatusLine(page) {
  return page.evaluate(() => document.getElementById('status').textContent);
}

// Resolves after the browser's next `count` animation frames.
async function AnimationFrames(page, count) {
  await page.evaluate((frames) => new Promise((resolve) => {
    const next = () => (frames-- > 0 ? requestAnimationFrame(next) : resolve());
    next();
  }), count);
}

async function ExitCode(page) {
  await page.waitForFunction(() => document.body.dataset.exitCode !== undefined, null,
                             {timeout: 30000});
  return page.evaluate(() => document.body.dataset.exitCode);
}

// --- scenarios ---

const failures = [];
function Check(condition, what, detail) {
  if (!condition)
    failures.push(what + ': ' + JSON.stringify(detail));
}

async function Play(page) {
  await WaitFrames(page, 2);
  const start = await NextFrame(page);
  Check(start.blue > 2000 && start.black > 0.9 * 640 * 480 && start.red + start.green === 0,
        'blue balls on black', start);

  await HoldKey(page, 'NumpadMultiply', 2);
  const shown = await NextFrame(page);
  Check(shown.green > 300, 'keypad * shows the axes (Z green, across the picture)', shown);

  // Turned by 90 degrees, X (red) lies across the picture and Z points at the eye.
  const box = await page.evaluate(() => {
    const rectangle = document.getElementById('canvas').getBoundingClientRect();
    return {x: rectangle.x, y: rectangle.y};
  });
  // The demo takes a drag from where it last saw the pointer: a tick must see it arrive first.
  await page.mouse.move(box.x + 200, box.y + 200);
  await WaitFrames(page, 1);
  await page.mouse.down();
  await WaitFrames(page, 1);
  await page.mouse.move(box.x + 290, box.y + 200, {steps: 5});
  await WaitFrames(page, 2);
  await page.mouse.up();
  await WaitFrames(page, 1);
  const turned = await NextFrame(page);
  Check(turned.red > 300 && turned.green < 20, 'a 90-pixel drag turns the view by 90 degrees', turned);

  // Nearer by 10 units a tick: the X axis, 2000 units across the picture, widens as
  // 1 / distance (balls, growing too, may hide parts of it but hardly its ends).
  await HoldKey(page, 'NumpadAdd', 25);
  const nearer = await NextFrame(page);
  Check(nearer.redWidth > 1.04 * turned.redWidth, 'keypad + held brings the camera nearer',
        {turned, nearer});

  await HoldKey(page, 'NumpadDivide', 2);
  const hidden = await NextFrame(page);
  Check(hidden.red + hidden.green === 0, 'keypad / hides the axes', hidden);

  await page.keyboard.press('Escape');
  Check(await ExitCode(page) === '0', 'Esc ends the run with exit code 0', await StatusLine(page));
  const last = await page.evaluate(() => window.framesDrawn);
  await AnimationFrames(page, 10);
  Check(await page.evaluate(() => window.framesDrawn) === last, 'no frame after the end', last);
  Check(/ended with exit code 0/.test(await StatusLine(page)), 'the page says so', await StatusLine(page));
}

async function NoWebGl(page) {
  const box = page.locator('dialog.message-box[open]');
  await box.waitFor({timeout: 30000});
  const caption = await box.locator('.caption').textContent();
  const text = await box.locator('.body p').textContent();
  Check(caption === 'Problème' && text === 'Mode graphique non supporté.', 'the box\'s texts',
        {caption, text});
  Check(await box.locator('.error-icon').count() === 1, 'the box shows the error icon', null);
  Check(await page.evaluate(() => document.body.dataset.exitCode) === undefined,
        'the box holds the program', null);
  await box.locator('button', {hasText: 'OK'}).click();
  Check(await ExitCode(page) === '1', 'OK ends the run with exit code 1', null);
}

// As after a GPU reset: the context is lost, and comes back only when the page asked for it.
async function ContextLoss(page) {
  await WaitFrames(page, 2);
  await page.evaluate(() => {
    window.loseContext = window.Module.canvas.getContext('webgl').getExtension('WEBGL_lose_context');
    window.loseContext.loseContext();
  });
  await WaitFrames(page, 3);
  await page.waitForFunction(() => /picture is lost.*Reload the page/.test(
      document.getElementById('status').textContent), null, {timeout: 60000});
  await page.evaluate(() => window.loseContext.restoreContext());
  await WaitFrames(page, 2);
  const back = await NextFrame(page);
  Check(back.blue > 2000 && back.black > 0.9 * 640 * 480, 'the balls come back', back);
  const state = await page.evaluate(() => {
    const gl = window.Module.canvas.getContext('webgl');
    return {depthTest: gl.getParameter(gl.DEPTH_TEST), status: document.getElementById('status').textContent};
  });
  Check(state.depthTest && !/lost/.test(state.status), 'every state is back, and the page says no more', state);
}

// The page asked for it before the program started.
async function FirstFrame(page) {
  await page.waitForFunction(() => window.pixels, null, {timeout: 60000});
  const data = await page.evaluate(() => window.pixels);
  fs.writeFileSync(output, Buffer.from(data.split(',')[1], 'base64'));
}

const SCENARIOS = {
  'play': [SWIFTSHADER, false, Play],
  'no-webgl': [['--disable-webgl'], false, NoWebGl],
  'first-frame': [SWIFTSHADER, 'png', FirstFrame],
  'context-loss': [SWIFTSHADER, false, ContextLoss],
};

(async () => {
  const [browserArguments, firstPixels, run] = SCENARIOS[scenario];
  await OpenPage(browserArguments, firstPixels, run);
  for (const failure of failures)
    console.log('FAIL: ' + failure);
  if (failures.length === 0)
    console.log(scenario + ': all checks passed');
  process.exit(failures.length === 0 ? 0 : 1);
})().catch((error) => {
  console.log('FAIL: ' + error.message);
  process.exit(1);
});
