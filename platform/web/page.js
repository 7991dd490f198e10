// The page's side of the browser backend: its events reach the core through the exported
// handlers of window.cpp; the program waits for them, names the page, sizes the canvas and shows
// its message box through the functions below. The page itself (boulles.html) gives
// Module.canvas and lays it out.

mergeInto(LibraryManager.library, {
  $Page: {
    wake: null,      // ends the current wait early, when an event has posted a message
    justResumed: false,  // the program has run only since the browser last had its turn
    boxOpen: false,  // while the message box is up, the window gets no input

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

    // DOM keyCode values are Windows' virtual-key codes (keypad * + - / are 106, 107, 109,
    // 111); auto-repeat comes as further key-downs, as on Windows.
    onKey: function(event, down) {
      if (!Page.takesInput() || event.keyCode <= 0 || event.keyCode > 0xFE)
        return;
      _WebKeyChanged(event.keyCode, down);
      Page.wakeProgram();
    },

    onButton: function(event, down) {
      var virtualKey = Page.BUTTONS[event.button];
      if (!Page.takesInput() || virtualKey === undefined)
        return;
      _WebCursorMoved(Math.floor(event.screenX), Math.floor(event.screenY));
      _WebButtonChanged(virtualKey, down);
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
        if (!ABORT)
          _WebCursorMoved(Math.floor(event.screenX), Math.floor(event.screenY));
      });
      canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
      // As on X11: what was held when the focus went is released, since its release may
      // never reach the page; nor does it reach a page that is hidden, frozen or left.
      var releaseAll = function() {
        if (!ABORT)
          _WebFocusLost();
      };
      window.addEventListener('blur', releaseAll);
      window.addEventListener('pagehide', releaseAll);
      document.addEventListener('freeze', releaseAll);
      document.addEventListener('visibilitychange', function() {
        if (document.visibilityState === 'hidden')
          releaseAll();
      });
      Page.watchSize(canvas);
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

  WebListen__deps: ['$Page', 'WebKeyChanged', 'WebButtonChanged', 'WebCursorMoved', 'WebFocusLost',
                    'WebCanvasSized'],
  WebListen: function() {
    Page.listen(Module['canvas']);
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

  // A modal box in the page: caption, error icon, text and OK. Returns when it is dismissed
  // (OK, Enter, or Esc as an OK-only box on Windows takes it).
  WebMessageBox__deps: ['$Page'],
  WebMessageBox: function(text, caption) {
    return Page.sleep(function(wakeUp) {
      var box = document.createElement('dialog');
      box.className = 'message-box';
      box.setAttribute('role', 'alertdialog');
      var title = document.createElement('div');
      title.className = 'caption';
      title.textContent = UTF8ToString(caption);
      var body = document.createElement('div');
      body.className = 'body';
      var icon = document.createElement('span');
      icon.className = 'error-icon';
      icon.setAttribute('aria-label', 'error');
      icon.textContent = '\u2715';
      var message = document.createElement('p');
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
