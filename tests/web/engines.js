// The three browser engines the page is tested in, all from Debian's packages: Chromium through
// playwright-core, Firefox ESR through puppeteer-core (WebDriver BiDi), WebKitGTK's MiniBrowser
// through selenium-webdriver and WebKitWebDriver. Chromium gives playwright's own page; the
// others give an adapter with the few operations of it that every engine can do:
//   addInitScript(fn, arg)  goto(url)  evaluate(fn, arg)  waitForFunction(fn, arg, {timeout})
//   keyboard.down/up/press(key)  mouse.move(x, y, {steps})  mouse.down()  mouse.up()
// with playwright's key names and viewport coordinates.
'use strict';
const {spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const CHROMIUM = '/usr/bin/chromium';
const FIREFOX = '/usr/bin/firefox-esr';
const WEBKIT_DRIVER = '/usr/bin/WebKitWebDriver';
// Starting a browser on a loaded machine may take a minute; only a hang takes this long.
const LAUNCH_TIMEOUT = 180000;

// --- a private X server ---

// Firefox has no WebGL when headless without a display, and MiniBrowser has no headless mode.
// Xvfb picks a free display number itself and writes it to descriptor 3 (within 2 minutes,
// or it hangs).
function StartXvfb() {
  const xvfb = spawn('Xvfb',
                     ['-displayfd', '3', '-screen', '0', '1024x768x24', '-nolisten', 'tcp', '-noreset'],
                     {stdio: ['ignore', 'ignore', 'ignore', 'pipe']});
  // Ends the server and waits until it has gone.
  const stop = () => new Promise((resolve) => {
    if (xvfb.exitCode !== null || xvfb.signalCode !== null)
      return resolve();
    xvfb.once('exit', resolve);
    xvfb.kill();
  });
  return new Promise((resolve, reject) => {
    let written = '';
    const hang = setTimeout(() => {
      xvfb.kill();
      reject(new Error('Xvfb gave no display number in 2 minutes'));
    }, 120000).unref();
    xvfb.on('error', reject);
    xvfb.on('exit', (code) => reject(new Error('Xvfb ended before it was ready: ' + code)));
    xvfb.stdio[3].on('data', (data) => {
      written += data;
      if (written.endsWith('\n')) {
        clearTimeout(hang);
        resolve({display: ':' + written.trim(), stop});
      }
    });
  });
}

// Runs `open` with the display's environment; stops the server if it fails.
async function WithXvfb(open) {
  const xvfb = await StartXvfb();
  try {
    const opened = await open({...process.env, DISPLAY: xvfb.display});
    return {page: opened.page, close: async () => {
      try {
        await opened.close();
      } finally {
        await xvfb.stop();
      }
    }};
  } catch (error) {
    await xvfb.stop();
    throw error;
  }
}

// --- Chromium ---

// A page in a private context, or with `persistent` in a profile of its own in a temporary
// folder, as installing needs (Chromium installs nothing from a private window).
async function OpenChromium(chromiumArguments, {persistent, ...pageOptions}) {
  const {chromium} = require('playwright-core');
  const launchOptions = {executablePath: CHROMIUM, args: chromiumArguments, timeout: LAUNCH_TIMEOUT};
  if (persistent) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'boulles-profile-'));
    const forget = () => fs.rmSync(profile, {recursive: true, force: true});
    try {
      const context = await chromium.launchPersistentContext(profile, {...launchOptions, ...pageOptions});
      return {page: context.pages()[0], close: () => context.close().finally(forget)};
    } catch (error) {
      forget();
      throw error;
    }
  }
  const browser = await chromium.launch(launchOptions);
  try {
    return {page: await browser.newPage(pageOptions), close: () => browser.close()};
  } catch (error) {
    await browser.close();
    throw error;
  }
}

// --- Firefox ---

// Puppeteer's page differs from playwright's in the order of waitForFunction's arguments and
// the name of the init script.
function FirefoxPage(page) {
  return {
    addInitScript: (fn, arg) => page.evaluateOnNewDocument(fn, arg),
    goto: (url) => page.goto(url),
    evaluate: (fn, arg) => page.evaluate(fn, arg),
    waitForFunction: (fn, arg, options) => page.waitForFunction(fn, options, arg),
    on: (event, listener) => page.on(event, listener),
    keyboard: page.keyboard,
    mouse: page.mouse,
  };
}

function OpenFirefox() {
  return WithXvfb(async (env) => {
    const puppeteer = require('puppeteer-core');
    const browser = await puppeteer.launch({browser: 'firefox', executablePath: FIREFOX,
                                            headless: false, env, timeout: LAUNCH_TIMEOUT});
    try {
      return {page: FirefoxPage(await browser.newPage()), close: () => browser.close()};
    } catch (error) {
      await browser.close();
      throw error;
    }
  });
}

// --- WebKitGTK ---

// WebDriver's code points for playwright's key names.
const WEBDRIVER_KEYS = {
  Escape: '\uE00C',
  NumpadMultiply: '\uE024',
  NumpadAdd: '\uE025',
  NumpadSubtract: '\uE027',
  NumpadDivide: '\uE029',
};

function WebDriverKey(key) {
  if (key.length === 1)
    return key;
  if (!(key in WEBDRIVER_KEYS))
    throw new Error('no WebDriver key for ' + key);
  return WEBDRIVER_KEYS[key];
}

// Classic WebDriver runs no script before a page's own: the init scripts run as soon as the
// page has loaded, which suits hooks that the page looks up each time it calls them.
function WebKitPage(driver) {
  const {Origin} = require('selenium-webdriver');
  const initScripts = [];
  let pointer = {x: 0, y: 0};
  const page = {
    addInitScript: async (fn, arg) => { initScripts.push([fn, arg]); },
    goto: async (url) => {
      await driver.get(url);
      for (const [fn, arg] of initScripts)
        await page.evaluate(fn, arg);
    },
    // The driver awaits a promise that the function returns.
    evaluate: (fn, arg) => driver.executeScript('return (' + fn + ')(arguments[0]);', arg),
    waitForFunction: (fn, arg, {timeout}) =>
      driver.wait(() => page.evaluate(fn, arg), timeout, 'waiting for ' + fn),
    keyboard: {
      down: (key) => driver.actions().keyDown(WebDriverKey(key)).perform(),
      up: (key) => driver.actions().keyUp(WebDriverKey(key)).perform(),
      press: (key) => {
        const code = WebDriverKey(key);
        return driver.actions().keyDown(code).keyUp(code).perform();
      },
    },
    mouse: {
      // In `steps` moves from where the pointer is, as playwright does.
      move: async (x, y, {steps = 1} = {}) => {
        const actions = driver.actions();
        for (let step = 1; step <= steps; step++) {
          actions.move({origin: Origin.VIEWPORT,
                        x: Math.round(pointer.x + (x - pointer.x) * step / steps),
                        y: Math.round(pointer.y + (y - pointer.y) * step / steps)});
        }
        await actions.perform();
        pointer = {x, y};
      },
      down: () => driver.actions().press().perform(),
      up: () => driver.actions().release().perform(),
    },
  };
  return page;
}

// MiniBrowser comes with the library, in the folder of the machine's architecture.
function MiniBrowser() {
  const found = fs.readdirSync('/usr/lib')
    .map((name) => `/usr/lib/${name}/webkit2gtk-4.1/MiniBrowser`)
    .find((file) => fs.existsSync(file));
  if (!found)
    throw new Error('no /usr/lib/*/webkit2gtk-4.1/MiniBrowser: is webkit2gtk-driver installed?');
  return found;
}

function OpenWebKit() {
  return WithXvfb(async (env) => {
    const {Builder} = require('selenium-webdriver');
    const remote = require('selenium-webdriver/remote');
    const portprober = require('selenium-webdriver/net/portprober');
    const port = await portprober.findFreePort();
    const service = new remote.DriverService(WEBKIT_DRIVER,
                                             {port, loopback: true, env, args: ['--port=' + port]});
    try {
      const driver = await new Builder()
        .usingServer(await service.start(LAUNCH_TIMEOUT))
        .withCapabilities({
          browserName: 'MiniBrowser',
          'webkitgtk:browserOptions': {binary: MiniBrowser(), args: ['--automation']},
        })
        .build();
      return {page: WebKitPage(driver), close: async () => {
        try {
          await driver.quit();
        } finally {
          await service.kill();
        }
      }};
    } catch (error) {
      await service.kill();
      throw error;
    }
  });
}

// --- choosing one ---

// Opens a page in `engine`; `chromiumArguments` are Chromium's command line and `pageOptions`
// playwright's for its page (the others need none). Returns {page, close}.
function OpenEnginePage(engine, chromiumArguments, pageOptions) {
  switch (engine) {
  case 'chromium': return OpenChromium(chromiumArguments, pageOptions);
  case 'firefox': return OpenFirefox();
  case 'webkit': return OpenWebKit();
  }
  throw new Error('unknown engine ' + engine + ' (chromium, firefox, webkit)');
}

module.exports = {OpenEnginePage};
