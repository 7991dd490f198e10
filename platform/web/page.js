// The page's side of the browser backend: its events reach the core through the exported
// handlers of window.cpp; the program waits for them, names the page, sizes the canvas and shows
// its message box through the functions below. The page itself (boulles.html) gives
// Module.canvas and lays it out.

mergeInto(LibraryManager.library, {
  $Page: {
    wake: null,      // ends the current wait early, when an event has posted a message
    justResumed: false,  // the program has run only since the browser last had its turn
    boxOpen: false,  // while the message box is up, the window gets no input
    buttons: 0,      // the mouse buttons held, as the latest pointer event said (DOM's bits)

    // DOM button numbers to virtual keys: left, middle, right.
    BUTTONS: [0x01, 0x04, 0x02],

    // The window takes input unless the message box is up or the program has ended.
    takesInput: function() {
      return !Page.boxOpen && !ABORT;
    },

    // Called after a handler posted a message, so that the program fetches it at once.
    wakeProgram: function() {
      if (Page.wake)
        Page.wake();
    },

    // The page's input in page order: what the program's queue has no room for waits here
    // until the program makes room, when its next turn delivers it (WebDeliverWaiting).
    waiting: [],

    send: function(deliver) {
      if (ABORT)
        return;
      if (Page.waiting.length === 0 && _WebHasRoom())
        deliver();
      else
        Page.waiting.push(deliver);
    },

    deliverWaiting: function() {
      while (Page.waiting.length > 0 && !ABORT && _WebHasRoom())
        Page.waiting.shift()();
    },

    // DOM keyCode values are Windows' virtual-key codes (keypad * + - / are 106, 107, 109,
    // 111), but for the ; = - keys in Firefox; auto-repeat comes as further key-downs, as on
    // Windows. A key-down carries the character it types, which the page then keeps from the
    // browser (Firefox's quick find takes '/').
    onKey: function(event, down) {
      if (!Page.takesInput() || event.keyCode <= 0 || event.keyCode > 0xFE)
        return;
      var typed = down ? Page.typedCharacter(event) : 0;
      var virtualKey = Page.virtualKey(event);
      Page.send(function() { _WebKeyChanged(virtualKey, down, typed); });
      if (typed)
        event.preventDefault();
      Page.wakeProgram();
    },

    // Firefox's codes of the main keyboard's ; = - keys, and Windows'. Elsewhere 173 is the
    // mute key, which names no character.
    FIREFOX_KEYS: {59: 0xBA, 61: 0xBB, 173: 0xBD},

    virtualKey: function(event) {
      var windowsKey = Page.FIREFOX_KEYS[event.keyCode];
      return windowsKey && event.key.length === 1 ? windowsKey : event.keyCode;
    },

    // The code point a key-down types, or 0: one character, not a shortcut. Ctrl with Alt is
    // AltGr on Windows, which types.
    typedCharacter: function(event) {
      if (event.key.length !== 1 || event.ctrlKey !== event.altKey || event.metaKey)
        return 0;
      return event.key.charCodeAt(0);
    },

    onButton: function(event, down) {
      var virtualKey = Page.BUTTONS[event.button];
      if (!Page.takesInput() || virtualKey === undefined || event.pointerType === 'touch')
        return;
      var x = Math.floor(event.screenX), y = Math.floor(event.screenY);
      Page.buttons = event.buttons;
      Page.send(function() { _WebButtonChanged(virtualKey, down, x, y); });
    },

    moveCursor: function(screenX, screenY) {
      var x = Math.floor(screenX), y = Math.floor(screenY);
      Page.send(function() { _WebCursorMoved(x, y); });
    },

    // Keys and buttons go to the page while it has the focus; a drag that leaves the canvas
    // goes on, as the pointer is captured while a button is down.
    listen: function(canvas) {
      window.addEventListener('keydown', function(event) { Page.onKey(event, 1); });
      window.addEventListener('keyup', function(event) { Page.onKey(event, 0); });
      canvas.addEventListener('pointerdown', function(event) {
        canvas.setPointerCapture(event.pointerId);
        Page.onButton(event, 1);
      });
      window.addEventListener('pointerup', function(event) { Page.onButton(event, 0); });
      window.addEventListener('pointermove', function(event) {
        if (event.pointerType === 'touch')
          return;
        Page.buttons = event.buttons;
        Page.moveCursor(event.screenX, event.screenY);
      });
      canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
      // As on X11: what was held when the focus went is released, since its release may
      // never reach the page; nor does it reach a page that is hidden, frozen or left. Nor can
      // the page tell, once it has them back, what is held then.
      var releaseAll = function() {
        Page.send(_WebReleaseAll);
      };
      var regained = function() {
        var buttons = Page.buttons | (Page.fingers.length === 1 ? 1 : 0);
        Page.send(function() { _WebRegained(buttons); });
      };
      window.addEventListener('blur', releaseAll);
      window.addEventListener('pagehide', releaseAll);
      document.addEventListener('freeze', releaseAll);
      window.addEventListener('focus', regained);
      window.addEventListener('pageshow', regained);
      document.addEventListener('resume', regained);
      document.addEventListener('visibilitychange', function() {
        if (document.visibilityState === 'hidden')
          releaseAll();
        else
          regained();
      });
      Page.watchSize(canvas);
      Page.listenWheel(canvas);
      Page.listenTouch(canvas);
      Page.listenControls();
    },

    // The drawing buffer: the canvas's CSS size in device pixels. (devicePixelContentBoxSize
    // would be exact, but stays in CSS pixels when the ratio is emulated.)
    bufferSize: function(canvas) {
      var rect = canvas.getBoundingClientRect();
      return [Math.round(rect.width * devicePixelRatio), Math.round(rect.height * devicePixelRatio)];
    },

    reportSize: function(canvas) {
      if (ABORT)
        return;
      var size = Page.bufferSize(canvas);
      _WebCanvasSized(size[0], size[1]);
      Page.wakeProgram();
    },

    // The program learns the canvas's size now and whenever the layout or the device pixel
    // ratio (zoom, another screen) changes it; it resizes the drawing buffer itself, in its
    // own turn, so that the new size and the picture drawn for it are shown together.
    watchSize: function(canvas) {
      Page.reportSize(canvas);
      new ResizeObserver(function() { Page.reportSize(canvas); }).observe(canvas);
      var watchRatio = function() {
        var query = matchMedia('(resolution: ' + devicePixelRatio + 'dppx)');
        query.addEventListener('change', function() {
          Page.reportSize(canvas);
          watchRatio();
        }, {once: true});
      };
      watchRatio();
    },

    // --- the wheel ---

    wheelRest: 0,  // the part of a WHEEL_DELTA unit not yet sent
    WHEEL_DELTA: 120,
    // What one usual notch scrolls, by deltaMode: pixels (Chromium's step), lines, pages.
    NOTCH: [100, 3, 1],

    // The wheel over the canvas zooms instead of scrolling the page. (Firefox reports pixels
    // unless deltaMode is read before deltaY.)
    listenWheel: function(canvas) {
      canvas.addEventListener('wheel', function(event) {
        event.preventDefault();
        var notch = Page.NOTCH[event.deltaMode] || 1;
        Page.turnWheel(-event.deltaY / notch * Page.WHEEL_DELTA, event.screenX, event.screenY);
      }, {passive: false});
    },

    // Sends whole WHEEL_DELTA units, keeping the rest for the next turn.
    turnWheel: function(units, screenX, screenY) {
      if (!Page.takesInput())
        return;
      Page.wheelRest += units;
      var whole = Math.trunc(Page.wheelRest);
      if (whole === 0)
        return;
      Page.wheelRest -= whole;
      var x = Math.floor(screenX), y = Math.floor(screenY);
      Page.send(function() { _WebWheelTurned(whole, x, y); });
      Page.wakeProgram();
    },

    // --- touch ---

    // The fingers on the canvas, {id, x, y} with their pointer ids and screen positions, in the
    // order they landed. One finger drags as the left button does; two pinch to zoom and turn
    // nothing; the finger left after a pinch drags again from where it is.
    fingers: [],
    spread: 0,  // the distance between the first two fingers, as last seen
    UNITS_PER_PIXEL: 8,  // of WHEEL_DELTA, as the fingers spread (a notch per 15 pixels)

    listenTouch: function(canvas) {
      canvas.addEventListener('pointerdown', function(event) {
        if (event.pointerType === 'touch' && Page.takesInput())
          Page.fingerDown(event);
      });
      canvas.addEventListener('pointermove', function(event) {
        var finger = Page.finger(event);
        if (finger)
          Page.fingerMoved(finger, event);
      });
      var lift = function(event) {
        var finger = Page.finger(event);
        if (!finger)
          return;
        Page.fingers.splice(Page.fingers.indexOf(finger), 1);
        Page.fingersChanged();
      };
      window.addEventListener('pointerup', lift);
      window.addEventListener('pointercancel', lift);
    },

    finger: function(event) {
      return Page.fingers.find(function(finger) { return finger.id === event.pointerId; });
    },

    fingerDown: function(event) {
      Page.fingers.push({id: event.pointerId, x: event.screenX, y: event.screenY});
      Page.fingersChanged();
    },

    fingerMoved: function(finger, event) {
      finger.x = event.screenX;
      finger.y = event.screenY;
      if (Page.fingers.length === 1) {
        Page.moveCursor(finger.x, finger.y);
        return;
      }
      var spread = Page.fingerSpread();
      Page.turnWheel((spread - Page.spread) * Page.UNITS_PER_PIXEL, finger.x, finger.y);
      Page.spread = spread;
    },

    // A finger landed or lifted: the button is down exactly while one finger is on the
    // canvas, pressed once the cursor is under it.
    fingersChanged: function() {
      if (ABORT)
        return;
      var x = Math.floor(Page.fingers.length > 0 ? Page.fingers[0].x : 0);
      var y = Math.floor(Page.fingers.length > 0 ? Page.fingers[0].y : 0);
      var one = Page.fingers.length === 1;
      Page.send(function() {
        _WebButtonChanged(Page.BUTTONS[0], 0, x, y);
        if (one)
          _WebTouchStarted(x, y);
      });
      Page.spread = Page.fingerSpread();
      Page.wakeProgram();
    },

    fingerSpread: function() {
      var fingers = Page.fingers;
      if (fingers.length < 2)
        return 0;
      return Math.hypot(fingers[0].x - fingers[1].x, fingers[0].y - fingers[1].y);
    },

    // --- the page's own controls ---

    // Buttons with data-types="c" type the character c, for those without a keyboard.
    listenControls: function() {
      document.querySelectorAll('button[data-types]').forEach(function(button) {
        button.addEventListener('click', function() {
          if (!Page.takesInput())
            return;
          var typed = button.dataset.types.charCodeAt(0);
          Page.send(function() { _WebCharTyped(typed); });
          Page.wakeProgram();
        });
      });
    },

    // Returns to the browser until `start` calls its wake-up.
    sleep: function(start) {
      return Asyncify.handleSleep(function(wakeUp) {
        Page.justResumed = false;
        start(function(value) {
          Page.justResumed = true;
          wakeUp(value);
        });
      });
    },

    // A zero-delay return to the browser that timers' 4 ms clamp does not slow down.
    yieldToBrowser: function(resume) {
      var channel = new MessageChannel();
      channel.port1.onmessage = resume;
      channel.port2.postMessage(0);
    },
  },

  WebListen__deps: ['$Page', 'WebKeyChanged', 'WebButtonChanged', 'WebCursorMoved', 'WebReleaseAll',
                    'WebRegained', 'WebCanvasSized', 'WebWheelTurned', 'WebTouchStarted',
                    'WebCharTyped', 'WebHasRoom'],
  WebListen: function() {
    Page.listen(Module['canvas']);
  },

  WebDeliverWaiting__deps: ['$Page'],
  WebDeliverWaiting: function() {
    Page.deliverWaiting();
  },

  // Gives the browser its turn (it delivers events and shows the last frame drawn) and returns
  // after `milliseconds`, or at once for 0, or when a handler posts a message; -1 waits for
  // that alone. A wait of 0 right after another wait ended is no wait: the browser has just
  // had its turn, and a frame drawn now, inside its animation frame, is shown at once.
  WebWait__deps: ['$Page'],
  WebWait: function(milliseconds) {
    // (A rewind calls this again to take its result: that call must reach handleSleep.)
    if (milliseconds === 0 && Page.justResumed && Asyncify.state === Asyncify.State.Normal) {
      Page.justResumed = false;
      return;
    }
    return Page.sleep(function(wakeUp) {
      var timer = null;
      var done = function() {
        if (timer !== null)
          clearTimeout(timer);
        Page.wake = null;
        wakeUp();
      };
      if (milliseconds === 0) {
        Page.yieldToBrowser(done);
        return;
      }
      Page.wake = done;
      if (milliseconds > 0)
        timer = setTimeout(done, milliseconds);
    });
  },

  // Returns once the browser has taken the frame drawn so far to the screen, at its next
  // animation frame: frames drawn in between would never be seen and only keep the GPU busy.
  WebWaitForPresentation__deps: ['$Page'],
  WebWaitForPresentation: function() {
    return Page.sleep(function(wakeUp) {
      requestAnimationFrame(function() { wakeUp(); });
    });
  },

  WebSetTitle: function(text) {
    document.title = UTF8ToString(text);
  },

  // Clears the drawing buffer, as any change of its size does.
  WebSizeCanvas: function(width, height) {
    Module['canvas'].width = width;
    Module['canvas'].height = height;
  },

  // A modal box in the page: caption, error icon, text and OK, named by its caption and described
  // by its text. Returns when it is dismissed (OK, Enter, or Esc as an OK-only box on Windows
  // takes it).
  WebMessageBox__deps: ['$Page'],
  WebMessageBox: function(text, caption) {
    return Page.sleep(function(wakeUp) {
      var box = document.createElement('dialog');
      box.className = 'message-box';
      box.setAttribute('role', 'alertdialog');
      box.setAttribute('aria-labelledby', 'message-box-caption');
      box.setAttribute('aria-describedby', 'message-box-text');
      var title = document.createElement('div');
      title.className = 'caption';
      title.id = 'message-box-caption';
      title.textContent = UTF8ToString(caption);
      var body = document.createElement('div');
      body.className = 'body';
      var icon = document.createElement('span');
      icon.className = 'error-icon';
      icon.setAttribute('role', 'img');
      icon.setAttribute('aria-label', 'Erreur');
      icon.textContent = '\u2715';
      var message = document.createElement('p');
      message.id = 'message-box-text';
      message.textContent = UTF8ToString(text);
      var ok = document.createElement('button');
      ok.textContent = 'OK';
      ok.autofocus = true;
      ok.addEventListener('click', function() { box.close(); });
      body.append(icon, message);
      box.append(title, body, ok);
      box.addEventListener('close', function() {
        box.remove();
        Page.boxOpen = false;
        wakeUp(1);  // IDOK
      });
      document.body.append(box);
      Page.boxOpen = true;
      box.showModal();
    });
  },
});
