'use strict';
// One panel window, live: the server sends the window's size, then its changed rectangles as PNG
// pictures (the whole window first); clicks, presses held down and keys go back as short texts.
// The page reconnects by itself when the server goes away and comes back.
(() => {
  const token = new URLSearchParams(location.search).get('token');
  const number = Number(location.pathname.split('/').pop());
  const canvas = document.getElementById('panel');
  const ctx = canvas.getContext('2d', {alpha: false});
  const status = document.getElementById('status');
  let socket = null;
  let retry = 250;
  let frames = 0;
  let drawing = Promise.resolve();
  let pressed = false;
  const held = new Set();

  // Keys as the panel knows them: Windows virtual-key codes.
  const named = {
    Tab: 9, Enter: 13, NumpadEnter: 13, Space: 32, Escape: 27, Backspace: 8,
    ShiftLeft: 16, ShiftRight: 16, ControlLeft: 17, ControlRight: 17, AltLeft: 18, AltRight: 18,
    ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, PageUp: 33, PageDown: 34,
    Home: 36, End: 35, Insert: 45, Delete: 46,
  };
  function virtualKey(code) {
    let m;
    if ((m = /^Key([A-Z])$/.exec(code))) return m[1].charCodeAt(0);
    if ((m = /^Digit([0-9])$/.exec(code))) return m[1].charCodeAt(0);
    if ((m = /^F([0-9]{1,2})$/.exec(code)) && m[1] >= 1 && m[1] <= 12) return 111 + Number(m[1]);
    return named[code];
  }

  function fit() {
    const scale = Math.min(window.innerWidth / canvas.width, window.innerHeight / canvas.height);
    canvas.style.width = `${Math.max(1, Math.floor(canvas.width * scale))}px`;
    canvas.style.height = `${Math.max(1, Math.floor(canvas.height * scale))}px`;
  }

  function show(state, text) {
    document.body.dataset.state = state;
    status.textContent = text;
    status.hidden = state === 'connected';
  }

  function send(text) {
    if (socket && socket.readyState === WebSocket.OPEN) socket.send(text);
  }

  function greet(message) {
    if (message.type !== 'hello') return;
    document.title = message.title;
    if (canvas.width !== message.width || canvas.height !== message.height) {
      canvas.width = message.width;
      canvas.height = message.height;
    }
    fit();
  }

  // "PF", count, window width and height, then per rectangle x, y, w, h, byte count and PNG.
  async function draw(buffer) {
    const v = new DataView(buffer);
    if (buffer.byteLength < 8 || v.getUint8(0) !== 0x50 || v.getUint8(1) !== 0x46) return;
    const count = v.getUint16(2, true);
    const parts = [];
    let at = 8;
    for (let i = 0; i < count && at + 12 <= buffer.byteLength; i++) {
      const x = v.getUint16(at, true), y = v.getUint16(at + 2, true), size = v.getUint32(at + 8, true);
      at += 12;
      if (at + size > buffer.byteLength) break;
      parts.push({x, y, blob: new Blob([new Uint8Array(buffer, at, size)], {type: 'image/png'})});
      at += size;
    }
    const pictures = await Promise.all(parts.map((p) => createImageBitmap(p.blob)));
    pictures.forEach((picture, i) => {
      ctx.drawImage(picture, parts[i].x, parts[i].y);
      picture.close();
    });
    frames += 1;
    canvas.dataset.frames = String(frames);
    if (document.body.dataset.state !== 'connected') show('connected', '');
  }

  function connect() {
    const scheme = location.protocol === 'https:' ? 'wss:' : 'ws:';
    const query = token ? `?token=${encodeURIComponent(token)}` : '';
    const s = new WebSocket(`${scheme}//${location.host}/ws/${number}${query}`);
    s.binaryType = 'arraybuffer';
    socket = s;
    s.onopen = () => { retry = 250; };
    s.onmessage = (e) => {
      if (typeof e.data === 'string') {
        try { greet(JSON.parse(e.data)); } catch (_) { /* not ours */ }
      } else {
        // Pictures are drawn in the order they came, each decoded off the main thread.
        const data = e.data;
        drawing = drawing.then(() => draw(data)).catch(() => {});
      }
    };
    s.onclose = () => {
      if (socket !== s) return;
      socket = null;
      pressed = false;
      show('disconnected', 'Disconnected from the panel: reconnecting…');
      setTimeout(connect, retry);
      retry = Math.min(retry * 2, 3000);
    };
  }

  function pixelOf(e) {
    const r = canvas.getBoundingClientRect();
    return [Math.floor((e.clientX - r.left) * canvas.width / r.width),
            Math.floor((e.clientY - r.top) * canvas.height / r.height)];
  }

  canvas.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    e.preventDefault();
    const [x, y] = pixelOf(e);
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
    canvas.setPointerCapture(e.pointerId);
    send(`press ${x} ${y}`);
    pressed = true;
  });
  const letGo = () => {
    if (!pressed) return;
    pressed = false;
    send('release');
  };
  canvas.addEventListener('pointerup', letGo);
  canvas.addEventListener('pointercancel', letGo);
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());

  document.addEventListener('keydown', (e) => {
    const vk = virtualKey(e.code);
    if (vk === undefined) return;
    e.preventDefault();
    if (e.repeat || held.has(vk)) return;
    held.add(vk);
    send(`keydown ${vk}`);
  });
  document.addEventListener('keyup', (e) => {
    const vk = virtualKey(e.code);
    if (vk === undefined || !held.delete(vk)) return;
    e.preventDefault();
    send(`keyup ${vk}`);
  });
  // Keys held when the page loses the keyboard would stay down on the panel.
  window.addEventListener('blur', () => {
    for (const vk of held) send(`keyup ${vk}`);
    held.clear();
    letGo();
  });

  window.addEventListener('resize', fit);
  setInterval(() => send('ping'), 20000);
  fit();
  connect();
})();
