// The web page in a real browser: headless Chromium loads it from a server
// on 127.0.0.1, starts the show with a click, goes through the five scenes
// with Space, quits with q, starts it again and quits with Escape. A frame
// of the canvas in each run is compared pixel for pixel with the capture
// back end's frame of the same number. Screenshots of each state go to the
// output folder; the frame pacing and each scene's drawing time are
// printed, not judged.
//   node browser_test.mjs --site DIR --capture-frame PROGRAM --out DIR [--chromium PATH]
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const options = {chromium: '/usr/bin/chromium'};
for (let i = 2; i + 1 < process.argv.length; i += 2) {
  options[process.argv[i].replace(/^--/, '').replace(/-(.)/g, (_, c) => c.toUpperCase())] =
      process.argv[i + 1];
}
for (const needed of ['site', 'captureFrame', 'out']) {
  if (!options[needed]) {
    console.error('usage: node browser_test.mjs --site DIR --capture-frame PROGRAM --out DIR');
    process.exit(2);
  }
}

const comparedFrame = 600;  // in scene one (its frames are 33 to 1033), after the pacing
// In scene two, reached by the show itself: its pattern and everything after
// draw on the C library's random numbers.
const comparedFrameAgain = 1100;
const cornerColour = 0x4080F0;
const side = 256;
const pacedFrom = 60;       // 500 intervals, 10 s, well inside scene one
const pacedTo = 560;
const wasmBudget = 1000000;  // bytes: the page's program stays within 1 MB

let passed = 0;
let failed = 0;
function check(name, ok, detail = '') {
  if (ok) {
    passed += 1;
    console.log(`ok: ${name}`);
  } else {
    failed += 1;
    console.log(`FAILED: ${name}${detail ? ' (' + detail + ')' : ''}`);
  }
  return ok;
}

const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.gz': 'application/gzip',
};
function serve(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function waitFor(page, predicate, argument, timeout = 20000) {
  try {
    await page.waitForFunction(predicate, {timeout, polling: 50}, argument);
    return true;
  } catch {
    return false;
  }
}

// Held long enough for the show's key poll to see it: a press and release
// met by one poll are lost, as with SDL.
async function pressKey(page, key) {
  await page.keyboard.down(key);
  await sleep(150);
  await page.keyboard.up(key);
}

// The canvas's own pixels as 0x00RRGGBB values.
async function canvasPixels(page) {
  const rgba = await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    return Array.from(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data);
  });
  return fromRgba(rgba);
}

function fromRgba(rgba) {
  const pixels = new Uint32Array(rgba.length / 4);
  for (let i = 0; i < pixels.length; ++i) {
    pixels[i] = rgba[4 * i] << 16 | rgba[4 * i + 1] << 8 | rgba[4 * i + 2];
  }
  return pixels;
}

const litShare = (pixels) => pixels.filter((p) => p !== 0).length / pixels.length;
const hex = (value) => '0x' + value.toString(16).padStart(6, '0');

function readP6(file) {
  const bytes = fs.readFileSync(file);
  const header = bytes.subarray(0, 64).toString('latin1').match(/^P6\s+(\d+)\s+(\d+)\s+(\d+)\s/);
  if (!header) throw new Error(`${file} is not a P6 picture`);
  const [width, height] = [Number(header[1]), Number(header[2])];
  const body = bytes.subarray(header[0].length);
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; ++i) {
    pixels[i] = body[3 * i] << 16 | body[3 * i + 1] << 8 | body[3 * i + 2];
  }
  return {width, height, pixels};
}

// What the screenshot shows of the canvas, read back through the page: the
// scale is a whole number and every show pixel is a sharp square of one colour.
async function shownCanvas(page, screenshot) {
  return page.evaluate(async (png) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const sheet = document.createElement('canvas');
    sheet.width = image.width;
    sheet.height = image.height;
    const context = sheet.getContext('2d');
    context.drawImage(image, 0, 0);
    const rect = document.getElementById('screen').getBoundingClientRect();
    const scale = rect.width / 256;
    const at = (x, y) => {
      const d = context.getImageData(Math.round(rect.left) + x, Math.round(rect.top) + y, 1, 1).data;
      return d[0] << 16 | d[1] << 8 | d[2];
    };
    let blurred = 0;
    if (Number.isInteger(scale)) {
      for (let y = 0; y < 256; y += 7) {
        for (let x = 0; x < 256; x += 5) {
          const colour = at(x * scale, y * scale);
          for (let dy = 0; dy < scale; ++dy) {
            for (let dx = 0; dx < scale; ++dx) blurred += at(x * scale + dx, y * scale + dy) !== colour;
          }
        }
      }
    }
    return {scale, corner: at(0, 0), blurred, width: rect.width, height: rect.height};
  }, screenshot.toString('base64'));
}

// The frame the page kept, against the capture back end's frame of the same number.
async function compareWithCapture(page, frame) {
  const expectedFile = path.join(options.out, `capture-frame-${frame}.ppm`);
  const run = spawnSync(options.captureFrame, [String(frame), expectedFile], {stdio: 'inherit'});
  if (!check(`the capture back end gives its frame ${frame}`, run.status === 0, `status ${run.status}`)) return;
  const expected = readP6(expectedFile);
  const grabbed = fromRgba(await page.evaluate(() => window.quombrax.grabbed));
  let differing = 0;
  let first = -1;
  for (let i = 0; i < expected.pixels.length; ++i) {
    if (grabbed[i] !== expected.pixels[i]) {
      differing += 1;
      if (first < 0) first = i;
    }
  }
  check(`canvas frame ${frame} is the capture back end's frame, pixel for pixel`,
        expected.width === side && expected.height === side && grabbed.length === side * side &&
            differing === 0,
        first < 0 ? '' : `${differing} pixels differ, first at (${first % side}, ${Math.floor(first / side)}): ` +
            `${hex(grabbed[first])} instead of ${hex(expected.pixels[first])}`);
}

async function screenshot(page, name) {
  const file = path.join(options.out, `web-${name}.png`);
  const picture = await page.screenshot({path: file});
  console.log(`screenshot: ${file}`);
  return picture;
}

function paceReport(times) {
  const intervals = [];
  for (let i = pacedFrom; i < pacedTo; ++i) intervals.push(times[i] - times[i - 1]);
  const mean = (times[pacedTo - 1] - times[pacedFrom - 1]) / intervals.length;
  console.log(`pacing: frames ${pacedFrom}-${pacedTo}: mean interval ${mean.toFixed(3)} ms, ` +
              `shortest ${Math.min(...intervals).toFixed(2)} ms, longest ${Math.max(...intervals).toFixed(2)} ms`);
}

function costReport(costs) {
  costs.forEach((drawing, i) => {
    if (drawing.length === 0) return;
    const sorted = Float64Array.from(drawing).sort();
    const mean = sorted.reduce((sum, value) => sum + value, 0) / sorted.length;
    console.log(`drawing (page): scene ${i + 1}: ${sorted.length} frames, mean ${mean.toFixed(3)} ms, ` +
                `median ${sorted[sorted.length >> 1].toFixed(3)} ms, longest ${sorted[sorted.length - 1].toFixed(3)} ms`);
  });
}

async function main() {
  fs.mkdirSync(options.out, {recursive: true});
  const wasmSize = fs.statSync(path.join(options.site, 'quombrax.wasm')).size;
  console.log(`size: quombrax.wasm ${wasmSize} bytes`);
  check('quombrax.wasm is within 1 MB', wasmSize <= wasmBudget, `${wasmSize} bytes`);
  const server = await serve(options.site);
  const address = `http://127.0.0.1:${server.address().port}/`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quombrax-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: options.chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${profile}`],
    defaultViewport: {width: 800, height: 600},
  });
  try {
    const page = await browser.newPage();
    const pageErrors = [];
    page.on('pageerror', (error) => pageErrors.push(String(error)));
    page.on('console', (message) => {
      if (message.type() === 'error') pageErrors.push(message.text());
    });
    const loaded = await page.goto(address, {waitUntil: 'load'});
    check('the page loads from the local server', loaded && loaded.ok(), loaded && loaded.status());

    // The cover, before anything plays.
    await screenshot(page, 'cover');
    const layout = await page.evaluate(() => ({
      cover: document.getElementById('cover').textContent,
      coverShown: !document.getElementById('cover').hidden,
      scrolls: document.documentElement.scrollWidth > document.documentElement.clientWidth ||
               document.documentElement.scrollHeight > document.documentElement.clientHeight,
      header: document.querySelector('header').innerText.trim(),
      headerLines: document.querySelector('header').getClientRects().length &&
                   Math.round(document.querySelector('header').getBoundingClientRect().height /
                              parseFloat(getComputedStyle(document.querySelector('header')).lineHeight)),
      texts: Array.from(document.body.children).filter((e) => e.innerText && e.innerText.trim())
                 .map((e) => e.tagName),
      source: document.getElementById('source').href,
    }));
    check('the page opens on a "Click to start" cover', layout.coverShown && layout.cover === 'Click to start',
          JSON.stringify(layout.cover));
    check('the page has no scroll bars', !layout.scrolls);
    check('the title is one line with a link to the source',
          layout.headerLines === 1 && /source$/.test(layout.header), layout.header);
    const source = await fetch(layout.source);
    check('the source link leads to the source', source.ok, `${layout.source}: ${source.status}`);

    // Start: a real click, the gesture that lets the browser play sound.
    await page.evaluate((frame) => { window.quombrax.grabFrame = frame; }, comparedFrame);
    await page.click('#cover');
    check('the show runs after the click', await waitFor(page, () => window.quombrax.frames > 40),
          await page.evaluate(() => window.quombrax.state));
    // Ten seconds of paced frames in scene one, with nothing else asked of the page.
    if (await waitFor(page, (to) => window.quombrax.frames > to, pacedTo, 30000)) {
      paceReport(await page.evaluate(() => Array.from(window.quombrax.presentTimes)));
    }
    check(`frame ${comparedFrame} is kept`, await waitFor(page, () => window.quombrax.grabbed !== null));

    // Scene one: the roll with its corner brackets.
    const sceneOneShot = await screenshot(page, 'scene-1');
    const sceneOne = await canvasPixels(page);
    const corners = [0, side - 1, (side - 1) * side, side * side - 1].map((i) => sceneOne[i]);
    check('scene one: the corner brackets\' colour at the four corners',
          corners.every((c) => c === cornerColour), corners.map(hex).join(' '));
    // The roll's picture has black between and around its letters, and the
    // share lit changes as it turns (a quarter to a half of the screen over
    // scene one on the capture back end): ask for a fifth, and for 64 rows
    // lit across more than half their width.
    let wideRows = 0;
    for (let y = 0; y < side; ++y) {
      wideRows += sceneOne.subarray(y * side, (y + 1) * side).filter((p) => p !== 0).length > side / 2;
    }
    check('scene one: the roll is lit', wideRows >= 64 && litShare(sceneOne) > 0.2,
          `${wideRows} rows more than half lit, ${litShare(sceneOne).toFixed(3)} of the screen`);
    const shown = await shownCanvas(page, sceneOneShot);
    check('the canvas is scaled by a whole number with sharp pixels',
          Number.isInteger(shown.scale) && shown.scale >= 1 && shown.blurred === 0,
          JSON.stringify(shown));
    check('the screenshot shows the corner colour at the canvas corner', shown.corner === cornerColour,
          hex(shown.corner));

    await compareWithCapture(page, comparedFrame);

    // The sound: the audio callback runs and plays music.
    check('the audio callback delivers sound that is not silence',
          await waitFor(page, () => window.quombrax.audibleSamples > 0, null, 15000),
          JSON.stringify(await page.evaluate(() => ({
            callbacks: window.quombrax.audioCallbacks, samples: window.quombrax.audioSamples}))));


    // Space: scene two, then through the other scenes.
    await pressKey(page, ' ');
    check('Space brings scene two', await waitFor(page, () => window.quombrax.sceneRun === 2, null, 5000));
    await sleep(3000);
    await screenshot(page, 'scene-2');
    const sceneTwo = await canvasPixels(page);
    check('scene two: the colour pattern fills the screen', litShare(sceneTwo) > 0.9 &&
          sceneTwo[0] !== cornerColour, litShare(sceneTwo).toFixed(3));
    for (let scene = 3; scene <= 5; ++scene) {
      // Scene four has three parts, each ended by its own Space.
      let reached = false;
      for (let press = 0; press < 4 && !reached; ++press) {
        await pressKey(page, ' ');
        reached = await waitFor(page, (s) => window.quombrax.sceneRun === s, scene, 1500);
      }
      check(`Space brings scene ${scene}`, reached);
      await sleep(3000);
      await screenshot(page, `scene-${scene}`);
    }
    costReport(await page.evaluate(() => window.quombrax.sceneCosts));

    // Alt+Enter and the button: fullscreen and back.
    await page.keyboard.down('Alt');
    await page.keyboard.press('Enter');
    await page.keyboard.up('Alt');
    check('Alt+Enter makes the page fullscreen',
          await waitFor(page, () => document.fullscreenElement !== null, null, 3000));
    await screenshot(page, 'fullscreen');
    await page.click('#fullscreen');
    check('the fullscreen button leaves fullscreen',
          await waitFor(page, () => document.fullscreenElement === null, null, 3000));

    // q ends the show; the page says so and offers to start again.
    await pressKey(page, 'q');
    check('q ends the show', await waitFor(page, () => window.quombrax.state === 'ended', null, 5000));
    const end = await page.evaluate(() => ({
      status: window.quombrax.exitStatus,
      cover: document.getElementById('cover').hidden ? '' : document.getElementById('cover').textContent,
    }));
    check('the page says the show has ended and offers to start again',
          end.status === 0 && /ended/.test(end.cover) && /start it again/.test(end.cover), JSON.stringify(end));
    await screenshot(page, 'ended');
    await page.evaluate((frame) => { window.quombrax.grabFrame = frame; }, comparedFrameAgain);
    await page.click('#cover');
    check('a click starts the show again',
          await waitFor(page, () => window.quombrax.state === 'running' && window.quombrax.frames > 40));
    await screenshot(page, 'started-again');
    // A new start is the show from its beginning, frame for frame.
    check(`frame ${comparedFrameAgain} is kept`,
          await waitFor(page, () => window.quombrax.grabbed !== null, null, 40000));
    await compareWithCapture(page, comparedFrameAgain);
    await pressKey(page, 'Escape');
    check('Escape ends the show too', await waitFor(page, () => window.quombrax.state === 'ended', null, 5000));
    check('the page raised no error', pageErrors.length === 0, pageErrors.join('; '));
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
}

try {
  await main();
} catch (error) {
  check('the browser test ran to its end', false, String(error && error.stack || error));
}
console.log(`web: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed > 0 ? 0 : 1);
