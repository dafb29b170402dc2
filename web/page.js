'use strict';
// The page's half of the web back end: the canvas the show draws on, the
// keys it reads, the browser's audio it plays through, and the cover that
// starts it (the click that lets the browser play sound) and starts it again
// after it has quit. `window.quombrax` tells how the show is doing; the
// browser test reads it.
(function () {
  const sceneCount = 5;  // a fade opens each scene, in the show's fixed order
  const keptPresentTimes = 20000;
  const keptCosts = 20000;  // per scene

  const stage = document.getElementById('stage');
  const canvas = document.getElementById('screen');
  const cover = document.getElementById('cover');
  const fullscreenButton = document.getElementById('fullscreen');
  const context2d = canvas.getContext('2d');

  let audioContext = null;
  let running = false;
  let events = [];
  let picture = null;
  let processor = null;

  const status = {
    state: 'waiting',  // waiting, running, ended, failed
    frames: 0,
    presentTimes: new Float64Array(keptPresentTimes),
    grabFrame: 0,      // the frame whose canvas pixels to keep, 0 for none
    grabbed: null,     // those pixels, red, green, blue, alpha
    audioCallbacks: 0,
    audioSamples: 0,
    audibleSamples: 0,
    sceneRun: 0,       // scenes begun since the start, the first is 1
    sceneCosts: [],    // per scene: each frame's drawing time in ms
    exitStatus: null,
  };
  window.quombrax = status;

  function resetStatus() {
    status.frames = 0;
    status.grabbed = null;
    status.audioCallbacks = 0;
    status.audioSamples = 0;
    status.audibleSamples = 0;
    status.sceneRun = 0;
    status.sceneCosts = [];
    for (let i = 0; i < sceneCount; ++i) status.sceneCosts.push([]);
    status.exitStatus = null;
  }

  // The largest whole number of screen pixels per show pixel that fits.
  function fitCanvas() {
    const factor = Math.max(1, Math.floor(Math.min(stage.clientWidth / canvas.width,
                                                   stage.clientHeight / canvas.height)));
    canvas.style.width = canvas.width * factor + 'px';
    canvas.style.height = canvas.height * factor + 'px';
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(() => {});
    }
  }

  // SDL 1.2's key symbols: letters lower case, digits, Space, Escape and the
  // other keys that have a byte of their own.
  const namedKeys = {Escape: 27, ' ': 32, Enter: 13, Backspace: 8, Tab: 9, Delete: 127};
  function keySymbol(event) {
    if (event.code && event.code.startsWith('Digit')) return 48 + Number(event.code.slice(5));
    if (event.key.length === 1) {
      const code = event.key.toLowerCase().charCodeAt(0);
      if (code < 128) return code;
    }
    return namedKeys[event.key] || 0;
  }

  const keyDown = 1;
  const keyUp = 2;
  function onKey(kind, event) {
    if (event.altKey && event.key === 'Enter') {
      if (kind === keyDown) toggleFullscreen();
      event.preventDefault();
      return;
    }
    if (!running || event.ctrlKey || event.metaKey) return;
    const symbol = keySymbol(event);
    if (symbol === 0) return;
    if (kind === keyDown && event.repeat) return;  // a held key is pressed once
    events.push(kind | symbol << 8);
    event.preventDefault();
  }

  function openAudio(rate, samples, fill) {
    if (!audioContext) return false;
    processor = audioContext.createScriptProcessor(samples, 0, 1);
    processor.onaudioprocess = (event) => {
      const out = event.outputBuffer.getChannelData(0);
      const values = fill(out.length * 2);
      let audible = 0;
      for (let i = 0; i < out.length; ++i) {
        out[i] = values[i] / 32768;
        if (values[i] !== 0) audible += 1;
      }
      status.audioCallbacks += 1;
      status.audioSamples += out.length;
      status.audibleSamples += audible;
    };
    processor.connect(audioContext.destination);
    return true;
  }

  function closeAudio() {
    if (!processor) return;
    processor.onaudioprocess = null;
    processor.disconnect();
    processor = null;
  }

  const page = {
    openScreen(width, height) {
      canvas.width = width;
      canvas.height = height;
      picture = context2d.createImageData(width, height);
      fitCanvas();
      return true;
    },
    draw(rgba, width, height) {
      picture.data.set(rgba);
      context2d.putImageData(picture, 0, 0);
      status.frames += 1;
      if (status.frames <= keptPresentTimes) status.presentTimes[status.frames - 1] = performance.now();
      if (status.frames === status.grabFrame) {
        status.grabbed = Array.from(context2d.getImageData(0, 0, width, height).data);
      }
    },
    frameDrawn(sceneRun, milliseconds) {
      status.sceneRun = sceneRun;
      const costs = status.sceneCosts[(sceneRun - 1) % sceneCount];
      if (costs.length < keptCosts) costs.push(milliseconds);
    },
    nextEvent() {
      return events.length > 0 ? events.shift() : 0;
    },
    openAudio,
    closeAudio,
  };

  function ended(code) {
    running = false;
    closeAudio();
    status.exitStatus = code;
    status.state = 'ended';
    cover.textContent = 'The show has ended. Click to start it again';
    cover.hidden = false;
  }

  function start() {
    if (running) return;
    cover.hidden = true;
    // Made in the click, so the browser lets it play; kept for a new start.
    if (!audioContext) {
      try {
        audioContext = new AudioContext({sampleRate: 44100});
      } catch (error) {
        audioContext = null;
      }
    }
    if (audioContext) audioContext.resume();
    resetStatus();
    events = [];
    running = true;
    status.state = 'running';
    createQuombrax({page, onExit: ended}).catch((error) => {
      running = false;
      status.state = 'failed';
      cover.textContent = 'The show could not start: ' + error;
      cover.hidden = false;
    });
  }

  cover.addEventListener('click', start);
  fullscreenButton.addEventListener('click', toggleFullscreen);
  window.addEventListener('keydown', (event) => onKey(keyDown, event));
  window.addEventListener('keyup', (event) => onKey(keyUp, event));
  window.addEventListener('resize', fitCanvas);
  document.addEventListener('fullscreenchange', fitCanvas);
  resetStatus();
  fitCanvas();
})();
