// The page in a browser engine of engines.js (Chromium unless --engine=firefox or webkit is given;
// only `play` runs in all three, the others use more of playwright's page than the adapters have):
//   node page_test.js play DIRECTORY         blue balls on black; keypad * held shows the axes,
//                                            a drag turns the view, + zooms, / hides the axes;
//                                            Esc ends the run with exit code 0
//   node page_test.js no-webgl DIRECTORY     a browser without WebGL: the box; OK ends with 1
//   node page_test.js from-disk DIRECTORY    the page opened as a file draws the balls
//   node page_test.js screens DIRECTORY      320x240, 1920x1080, a pixel ratio of 2: fits, sharp
//   node page_test.js freeze DIRECTORY       a page frozen while keypad + is held releases it
//   node page_test.js first-frame DIRECTORY OUT.png   writes the first frame drawn
//   node page_test.js context-loss DIRECTORY the browser takes the WebGL context away: frames
//                                            go on, the page says so; given back, the balls
//                                            come back with every state
//   node page_test.js keys-wheel DIRECTORY   the main-row keys, typed * and /, and the wheel
//   node page_test.js touch DIRECTORY        a finger drags, two pinch, a button shows the axes
//   node page_test.js phone DIRECTORY        a 390x844 phone: at its width, upright and sideways
//   node page_test.js drags DIRECTORY        fast drags there and back return the view exactly;
//                                            Esc after a burst of keys still ends the run
//   node page_test.js accessible[-no-webgl] DIRECTORY   axe-core on the page, on the box
//   node page_test.js install DIRECTORY      installable; offline, it starts from its worker
//   node page_test.js fullscreen DIRECTORY   the control enters and leaves fullscreen
// DIRECTORY holds boulles.html and the build machine's pixel-census; the page is served from it
// on a free port, in a 640x800 window unless the scenario asks for another.
'use strict';
const {OpenEnginePage} = require('./engines');
const {execFileSync, spawn} = require('child_process');
const fs = require('fs');
const path = require('path');

const ENGINE_OPTION = '--engine=';
const engine = (process.argv.find((a) => a.startsWith(ENGINE_OPTION)) || ENGINE_OPTION + 'chromium')
  .slice(ENGINE_OPTION.length);
const [scenario, directory, output] =
  process.argv.slice(2).filter((a) => !a.startsWith(ENGINE_OPTION));
const SWIFTSHADER = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader'];
const HANG_MS = 120000;

// --- the page ---

async function OpenPage({run, browserArguments = SWIFTSHADER, firstPixels = false, fromDisk = false,
                         pageOptions = {}}) {
  const server = spawn(process.execPath,
                       [path.join(__dirname, '../../scripts/serve-web.js'), directory, '0']);
  let browser = null;
  try {
    browser = await OpenEnginePage(engine, browserArguments,
                                   {viewport: {width: 640, height: 800}, ...pageOptions});
    const served = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(String(d).trim())));
    const url = fromDisk ? 'file://' + path.resolve(directory, 'boulles.html') : served;
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
          window.pixels = {rgba: pixels, width: canvas.width, height: canvas.height};
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

// --- pictures ---

// The census of the next frame (tests/support/pixel_census.h, by DIRECTORY/pixel-census), with
// its width and height. Its pixels are read back in the page before the browser shows them, and
// carried out as a PPM in one text: a driver takes most of a minute to carry a million numbers.
async function NextFrame(page) {
  await page.evaluate(() => { window.pixels = null; window.wantPixels = true; });
  await page.waitForFunction(() => Boolean(window.pixels), null, {timeout: 60000});
  const {ppm, width, height} = await page.evaluate(() => {
    const {rgba, width, height} = window.pixels;
    let text = `P6\n${width} ${height}\n255\n`;
    for (let y = height - 1; y >= 0; y--)  // WebGL's rows run from the bottom up
      text += String.fromCharCode(...rgba.subarray(4 * width * y, 4 * width * (y + 1)).filter((_, i) => i % 4 < 3));
    return {ppm: btoa(text), width, height};
  });
  const census = execFileSync(path.join(directory, 'pixel-census'), {input: Buffer.from(ppm, 'base64')});
  const counts = String(census).trim().split('\n').map((line) => line.split('='));
  return {width, height, ...Object.fromEntries(counts.map(([name, value]) => [name, Number(value)]))};
}

// --- input and the program's end ---

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

// The exit code, once boulles.html's Module.onExit has put it on the page; only a hang takes
// longer than the deadline.
async function ExitCode(page) {
  await page.waitForFunction(() => document.body.dataset.exitCode !== undefined, null,
                             {timeout: HANG_MS});
  return page.evaluate(() => document.body.dataset.exitCode);
}

// --- scenarios ---

const failures = [];
function Check(condition, what, detail) {
  if (!condition)
    failures.push(what + ': ' + JSON.stringify(detail));
}

async function BallsDrawn(page) {
  await WaitFrames(page, 2);
  const start = await NextFrame(page);
  Check(start.blue > 2000 && start.pixels - start.nonBlack > 0.9 * 640 * 480 && start.redOrGreen === 0,
        'blue balls on black', start);
}

async function Play(page) {
  await BallsDrawn(page);

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
  Check(hidden.redOrGreen === 0, 'keypad / hides the axes', hidden);

  await page.keyboard.press('Escape');
  Check(await ExitCode(page) === '0', 'Esc ends the run with exit code 0', await StatusLine(page));
  const last = await page.evaluate(() => window.framesDrawn);
  await AnimationFrames(page, 10);
  Check(await page.evaluate(() => window.framesDrawn) === last, 'no frame after the end', last);
  Check(/terminée avec le code de sortie 0/.test(await StatusLine(page)), 'the page says so', await StatusLine(page));
  if (engine === 'chromium') {
    Check(await page.evaluate(() => new Promise((resolve) => Object.assign(new Image(), {
      onload: () => resolve(true), onerror: () => resolve(false),
      src: document.querySelector('link[rel=icon]').href}))), 'the page\'s icon is there', null);
  }
}

// --- window sizes and the page's life ---

// Nothing scrolls, the canvas is whole and 4:3, its drawing buffer has its device pixels, and
// the picture is centred on it: the Z axis (keypad *) crosses the middle, as the viewport follows.
async function CheckScreen(page, name) {
  await WaitFrames(page, 3);
  const at = await page.evaluate(() => {
    const {canvas} = window.Module, root = document.documentElement;
    return {box: canvas.getBoundingClientRect().toJSON(), width: canvas.width, height: canvas.height,
            ratio: devicePixelRatio, scroll: [root.scrollWidth - innerWidth, root.scrollHeight - innerHeight]};
  });
  Check(Math.max(...at.scroll) <= 0 && at.box.left >= 0 && at.box.top >= 0 &&
        Math.abs(at.box.width / at.box.height - 4 / 3) < 0.01, name + ': in view, 4:3', at);
  Check(Math.abs(at.width - at.box.width * at.ratio) <= 1 &&
        Math.abs(at.height - at.box.height * at.ratio) <= 1, name + ': buffer of device pixels', at);
  const frame = await NextFrame(page);
  Check(frame.blue > 0.005 * frame.width * frame.height && Math.abs(frame.greenHeight - 0.5) < 0.01,
        name + ': the picture fills the canvas', frame);
  return at;
}

async function Screens(page) {
  await WaitFrames(page, 2);
  await HoldKey(page, 'NumpadMultiply', 2);
  await CheckScreen(page, '320x240');
  await page.setViewportSize({width: 1920, height: 1080});
  Check((await CheckScreen(page, '1920x1080')).box.width > 1200, 'a large window, a large canvas', 0);
  // Another screen's ratio, which changes no CSS size.
  const session = await page.context().newCDPSession(page);
  await session.send('Emulation.setDeviceMetricsOverride',
                     {width: 640, height: 800, deviceScaleFactor: 2, mobile: false});
  const sharp = await CheckScreen(page, 'ratio-2');
  Check(sharp.width === 1280 && sharp.height === 960, 'ratio 2: 1280x960 pixels', sharp);
}

// Neither a key's release nor the loss of focus reaches a frozen page; the browser announces the
// freeze, and the test does as it would (Page.setWebLifecycleState does not freeze a visible page).
async function Freeze(page) {
  await WaitFrames(page, 2);
  await HoldKey(page, 'NumpadMultiply', 2);
  await page.keyboard.down('NumpadAdd');
  const held = await NextFrame(page);
  await WaitFrames(page, 10);
  const nearer = await NextFrame(page);
  Check(nearer.greenWidth > 1.02 * held.greenWidth, 'keypad + held zooms', {held, nearer});
  await page.evaluate(() => document.dispatchEvent(new Event('freeze')));
  const resumed = await NextFrame(page);
  await WaitFrames(page, 20);
  const later = await NextFrame(page);
  Check(later.greenWidth < 1.02 * resumed.greenWidth, 'the freeze released keypad +', {resumed, later});
}

// --- keys, wheel, fingers and phones ---

// Without a keypad: Z (green) lies across the picture at the start, and widens as the camera
// comes nearer. The page is made taller than the window (it fits by itself), so that it could
// scroll; the canvas keeps its 640x480.
async function KeysAndWheel(page) {
  await page.evaluate(() => { document.documentElement.style.height = '300%'; });
  await WaitFrames(page, 2);
  await page.keyboard.press('*');
  await WaitFrames(page, 1);
  const shown = await NextFrame(page);
  Check(shown.green > 300, 'a typed * shows the axes', shown);

  await HoldKey(page, 'Equal', 25);
  const nearer = await NextFrame(page);
  Check(nearer.greenWidth > 1.04 * shown.greenWidth, 'the main-row = / + key held brings the camera nearer',
        {shown, nearer});

  // Towards the user: farther, where an unheld wheel would scroll the page down.
  const box = await page.locator('#canvas').boundingBox();
  await page.mouse.move(box.x + 320, box.y + 300);
  for (let notch = 0; notch < 10; notch++)
    await page.mouse.wheel(0, 100);
  await WaitFrames(page, 2);
  const wheeled = await NextFrame(page);
  Check(wheeled.greenWidth < nearer.greenWidth / 1.04, 'the wheel turned towards the user moves the camera away',
        {nearer, wheeled});
  Check(await page.evaluate(() => window.scrollY) === 0, 'the wheel over the canvas scrolls nothing',
        await page.evaluate(() => window.scrollY));

  await page.keyboard.press('/');
  await WaitFrames(page, 1);
  const hidden = await NextFrame(page);
  Check(hidden.redOrGreen === 0, 'a typed / hides the axes', hidden);
}

// Fingers through the DevTools protocol, at [x, y] points of the canvas; one call per change,
// the points being every finger still down.
async function Fingers(page, type, points) {
  if (!page.touchSession)
    page.touchSession = await page.context().newCDPSession(page);
  const box = await page.locator('#canvas').boundingBox();
  const touchPoints = points.map(([x, y], id) => ({x: box.x + x, y: box.y + y, id}));
  await page.touchSession.send('Input.dispatchTouchEvent', {type, touchPoints});
}

async function Touch(page) {
  await WaitFrames(page, 2);
  await page.locator('button', {hasText: 'afficher'}).tap();
  await WaitFrames(page, 1);

  // Turned by 90 degrees as in play: X (red) across the picture, Z at the eye.
  await Fingers(page, 'touchStart', [[200, 200]]);
  await WaitFrames(page, 2);
  for (let x = 218; x <= 290; x += 18)
    await Fingers(page, 'touchMove', [[x, 200]]);
  await WaitFrames(page, 2);
  await Fingers(page, 'touchEnd', []);
  await WaitFrames(page, 1);
  const turned = await NextFrame(page);
  Check(turned.red > 300 && turned.green < 20, 'a 90-pixel one-finger drag turns the view by 90 degrees',
        turned);

  const box = await page.locator('#canvas').boundingBox();
  await page.mouse.move(box.x + 100, box.y + 100);
  await page.mouse.move(box.x + 190, box.y + 100, {steps: 5});
  await WaitFrames(page, 2);
  const hovered = await NextFrame(page);
  Check(hovered.red > 300 && hovered.green < 20, 'no button stays down once the finger lifted', hovered);

  // One finger still, the other spreading: zoom, and no turn by the moving finger.
  await Fingers(page, 'touchStart', [[250, 240]]);
  await WaitFrames(page, 2);
  await Fingers(page, 'touchStart', [[250, 240], [330, 240]]);
  await WaitFrames(page, 1);
  for (let x = 370; x <= 530; x += 40)
    await Fingers(page, 'touchMove', [[250, 240], [x, 240]]);
  await WaitFrames(page, 2);
  await Fingers(page, 'touchMove', [[250, 240]]);
  await WaitFrames(page, 2);
  await Fingers(page, 'touchEnd', []);
  await WaitFrames(page, 1);
  const pinched = await NextFrame(page);
  Check(pinched.redWidth > 1.04 * turned.redWidth && pinched.green < 20,
        'two fingers spreading bring the camera nearer and turn nothing', {turned, pinched});
}

// A phone lays the page out at its own width, in CSS pixels.
async function Phone(page) {
  await WaitFrames(page, 1);
  const width = await page.evaluate(() => document.documentElement.clientWidth);
  Check(width === 390, 'the page laid out at the phone\'s width', width);
}

// --- WebGL missing or lost ---

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
  await page.waitForFunction(() => /image est perdue.*Rechargez la page/.test(
      document.getElementById('status').textContent), null, {timeout: 60000});
  await page.evaluate(() => window.loseContext.restoreContext());
  await WaitFrames(page, 2);
  const back = await NextFrame(page);
  Check(back.blue > 2000 && back.pixels - back.nonBlack > 0.9 * 640 * 480, 'the balls come back', back);
  const state = await page.evaluate(() => {
    const gl = window.Module.canvas.getContext('webgl');
    return {depthTest: gl.getParameter(gl.DEPTH_TEST), status: document.getElementById('status').textContent};
  });
  Check(state.depthTest && !/perdue/.test(state.status), 'every state is back, and the page says no more', state);
}

// --- the page as an app ---

// Every rule of axe-core on the page as it is now.
async function CheckAccessibility(page, name) {
  await page.addScriptTag({path: require.resolve('axe-core/axe.min.js')});
  const violations = await page.evaluate(async () => (await window.axe.run()).violations.map(
    (violation) => ({id: violation.id, nodes: violation.nodes.map((node) => node.target.join(' '))})));
  Check(violations.length === 0, name + ': no accessibility violation', violations);
}

// A desktop is told of the keys; the page as it plays is accessible.
async function Accessible(page) {
  await BallsDrawn(page);
  Check(/Échap quitte/.test(await StatusLine(page)), 'with a mouse, the instructions name Esc',
        await StatusLine(page));
  await CheckAccessibility(page, 'playing');
}

async function AccessibleNoWebGl(page) {
  const box = page.getByRole('alertdialog', {name: 'Problème'});
  await box.waitFor({timeout: 30000});
  Check(await box.getByRole('img', {name: 'Erreur'}).count() === 1, 'the box\'s icon says what it is', null);
  await CheckAccessibility(page, 'no WebGL');
}

// Upright, the picture, the controls and the line below it stay together; on its side, the
// picture takes the height and the controls go beside it. A phone is told of its fingers alone.
async function PhoneLayout(page) {
  await Phone(page);
  const layout = () => page.evaluate(() => {
    const box = (id) => document.getElementById(id).getBoundingClientRect().toJSON();
    return {canvas: box('canvas'), controls: box('controls'), width: innerWidth, height: innerHeight};
  });
  const upright = await layout();
  const band = upright.controls.top - upright.canvas.bottom;
  Check(band >= 0 && band < 0.1 * upright.height, '390x844: no empty band under the picture', upright);
  await page.setViewportSize({width: 844, height: 390});
  await WaitFrames(page, 2);
  const sideways = await layout();
  Check(sideways.canvas.height >= 0.9 * sideways.height && sideways.controls.left >= sideways.canvas.right &&
        sideways.controls.right <= sideways.width, '844x390: the picture as high as the screen, the controls beside',
        sideways);
  const status = await StatusLine(page);
  Check(!/Échap|molette|clavier|\*/.test(status), 'a phone is told of no key, wheel or keyboard', status);
}

// Served, Chromium would install the page; its worker keeps the files, so that without a
// network the page starts again and plays.
async function Install(page) {
  await BallsDrawn(page);
  const session = await page.context().newCDPSession(page);
  const {installabilityErrors} = await session.send('Page.getInstallabilityErrors');
  Check(installabilityErrors.length === 0, 'nothing keeps Chromium from installing the page', installabilityErrors);
  await page.waitForFunction(() => navigator.serviceWorker.controller, null, {timeout: 60000});
  await page.context().setOffline(true);
  await page.reload();
  await BallsDrawn(page);
  Check(await page.evaluate(() => fetch('not-kept').then(() => 'served', () => 'offline')) === 'offline',
        'offline, what the worker does not keep is not there', null);
}

// Headless Chromium gives the page its fullscreen but leaves its window as it was: the test
// sizes the window as a browser does when a page goes fullscreen and back.
async function Fullscreen(page) {
  await WaitFrames(page, 2);
  const session = await page.context().newCDPSession(page);
  const {windowId} = await session.send('Browser.getWindowForTarget');
  const button = page.locator('#fullscreen');
  const canvas = () => page.evaluate(() => {
    const {canvas} = window.Module;
    return {box: canvas.getBoundingClientRect().toJSON(), buffer: [canvas.width, canvas.height]};
  });
  // Clicks the control; once the page is (or is no longer) fullscreen, sizes the window, and
  // returns the canvas once its drawing buffer has changed.
  const toggle = async (windowState, from) => {
    await button.click();
    await page.waitForFunction((full) => Boolean(document.fullscreenElement) === full,
                               windowState === 'fullscreen', {timeout: 30000});
    await session.send('Browser.setWindowBounds', {windowId, bounds: {windowState}});
    await page.waitForFunction(([width, height]) => window.Module.canvas.width !== width ||
                               window.Module.canvas.height !== height, from.buffer, {timeout: 60000});
    await WaitFrames(page, 2);
    return {...await canvas(), label: await button.textContent()};
  };
  const before = {...await canvas(), label: await button.textContent()};
  const full = await toggle('fullscreen', before);
  const frame = await NextFrame(page);
  Check(full.box.width > before.box.width && full.buffer[0] === Math.round(full.box.width) &&
        frame.width === full.buffer[0] && frame.blue > 2000 && full.label === 'Quitter le plein écran',
        'fullscreen: the picture at the new size', {before, full, frame});
  const after = await toggle('normal', full);
  Check(JSON.stringify(after) === JSON.stringify(before), 'out of fullscreen, the page as it was', {before, after});

  await page.addInitScript(() => Object.defineProperty(Document.prototype, 'fullscreenEnabled', {get: () => false}));
  await page.reload();
  await WaitFrames(page, 1);
  Check(await button.isHidden(), 'no fullscreen control where the browser offers none', null);
}

// The page asked for it before the program started.
async function FirstFrame(page) {
  await page.waitForFunction(() => window.pixels, null, {timeout: 60000});
  const data = await page.evaluate(() => window.pixels);
  fs.writeFileSync(output, Buffer.from(data.split(',')[1], 'base64'));
}

// --- drags that add up, and a burst that loses nothing ---

// Keeps the next frame's pixels in the page as window[name].
async function KeepFrame(page, name) {
  await page.evaluate(() => { window.pixels = null; window.wantPixels = true; });
  await page.waitForFunction(() => Boolean(window.pixels), null, {timeout: 60000});
  await page.evaluate((kept) => { window[kept] = window.pixels.rgba; }, name);
}

// Pixels of the red or green axis in one frame that are black in the other: 0 for the same
// view, whatever the balls hide.
async function AxisPixelsMoved(page, a, b) {
  return page.evaluate(([one, other]) => {
    const [x, y] = [window[one], window[other]];
    let moved = 0;
    for (let i = 0; i < x.length; i += 4) {
      const axisX = x[i] + x[i + 1] > 0, blackX = x[i] + x[i + 1] + x[i + 2] === 0;
      const axisY = y[i] + y[i + 1] > 0, blackY = y[i] + y[i + 1] + y[i + 2] === 0;
      moved += (axisX && blackY) || (axisY && blackX) ? 1 : 0;
    }
    return moved;
  }, [a, b]);
}

// Ten fast drags of 500 pixels right (steps of 25) and ten left (steps of 125), each end
// seen by a frame, bring the view back to the pixel; Esc right after 5,000 key events, more
// than the program's queue holds, still ends the run with 0.
async function Drags(page) {
  await BallsDrawn(page);
  await HoldKey(page, 'NumpadMultiply', 2);
  const box = await page.locator('#canvas').boundingBox();
  const y = box.y + 240;
  await page.mouse.move(box.x + 70, y);
  await WaitFrames(page, 2);
  await KeepFrame(page, 'before');
  for (let drag = 0; drag < 20; ++drag) {
    const [from, to, steps] = drag < 10 ? [70, 570, 20] : [570, 70, 4];
    await page.mouse.move(box.x + from, y);
    await WaitFrames(page, 2);
    await page.mouse.down();
    await page.mouse.move(box.x + to, y, {steps});
    await WaitFrames(page, 2);
    await page.mouse.up();
  }
  await page.mouse.move(box.x + 70, y);
  await WaitFrames(page, 4);
  await KeepFrame(page, 'after');
  const moved = await AxisPixelsMoved(page, 'before', 'after');
  Check(moved === 0, 'ten drags each way bring the view back exactly', {moved});

  await page.evaluate(() => {
    for (let i = 0; i < 5000; ++i)
      window.dispatchEvent(new KeyboardEvent(i % 2 ? 'keyup' : 'keydown', {key: 'a', keyCode: 65}));
    window.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape', keyCode: 27}));
  });
  Check(await ExitCode(page) === '0', 'Esc right after a burst of 5,000 key events ends with 0', {});
}

// --- the scenarios by name ---

// Each runs `run` on the page, with SwiftShader unless `browserArguments` say otherwise;
// `firstPixels` is what the program's first frame leaves for the test ('png': the picture),
// `fromDisk` opens the page as a file, and `pageOptions` are playwright's.
const SCENARIOS = {
  'play': {run: Play},
  'no-webgl': {run: NoWebGl, browserArguments: ['--disable-webgl']},
  'from-disk': {run: BallsDrawn, fromDisk: true},
  'screens': {run: Screens, pageOptions: {viewport: {width: 320, height: 240}}},
  'freeze': {run: Freeze},
  'first-frame': {run: FirstFrame, firstPixels: 'png'},
  'context-loss': {run: ContextLoss},
  'keys-wheel': {run: KeysAndWheel},
  'touch': {run: Touch, pageOptions: {hasTouch: true}},
  'drags': {run: Drags},
  'phone': {run: PhoneLayout, pageOptions: {
    viewport: {width: 390, height: 844}, deviceScaleFactor: 3, isMobile: true, hasTouch: true}},
  'accessible': {run: Accessible},
  'accessible-no-webgl': {run: AccessibleNoWebGl, browserArguments: ['--disable-webgl']},
  'install': {run: Install, pageOptions: {persistent: true}},
  'fullscreen': {run: Fullscreen, pageOptions: {viewport: null},
                 browserArguments: [...SWIFTSHADER, '--window-size=640,800', '--screen-info={1280x1024}']},

};

(async () => {
  await OpenPage(SCENARIOS[scenario]);
  for (const failure of failures)
    console.log('FAIL: ' + failure);
  if (failures.length === 0)
    console.log(scenario + ': all checks passed');
  process.exit(failures.length === 0 ? 0 : 1);
})().catch((error) => {
  console.log('FAIL: ' + error.message);
  process.exit(1);
});
