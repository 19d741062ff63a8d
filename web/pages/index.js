'use strict';
// The index: every panel window with its size and a thumbnail, each a link to its own page. The
// token the page was opened with goes along on every link and request.
(() => {
  const token = new URLSearchParams(location.search).get('token');
  const query = token ? `?token=${encodeURIComponent(token)}` : '';
  const list = document.getElementById('windows');
  const problem = document.getElementById('problem');

  function card(w) {
    const item = document.createElement('li');
    const link = document.createElement('a');
    link.href = `/window/${w.number}${query}`;
    const img = document.createElement('img');
    img.alt = `${w.title}`;
    img.width = w.width;
    img.height = w.height;
    img.dataset.number = w.number;
    const title = document.createElement('div');
    title.className = 'title';
    title.textContent = w.title;
    const size = document.createElement('div');
    size.className = 'size';
    size.textContent = `${w.width} × ${w.height}`;
    link.append(img, title, size);
    if (!w.open) {
      const closed = document.createElement('div');
      closed.className = 'closed';
      closed.textContent = 'closed on the panel';
      link.append(closed);
    }
    item.append(link);
    return item;
  }

  function refreshThumbnails() {
    const stamp = Date.now();
    for (const img of list.querySelectorAll('img')) {
      img.src = `/thumbnail/${img.dataset.number}.png${query}${query ? '&' : '?'}t=${stamp}`;
    }
  }

  async function load() {
    try {
      const answer = await fetch(`/windows.json${query}`, {cache: 'no-store'});
      if (!answer.ok) throw new Error(answer.status === 403 ? 'This panel asks for its token: open the address the panel host printed.' : `The panel host answered ${answer.status}.`);
      const windows = await answer.json();
      list.replaceChildren(...windows.map(card));
      problem.hidden = true;
      refreshThumbnails();
    } catch (e) {
      problem.textContent = e instanceof TypeError ? 'The panel host is not running; trying again…' : e.message;
      problem.hidden = false;
      setTimeout(load, 2000);
    }
  }

  load();
  setInterval(() => { if (problem.hidden) refreshThumbnails(); }, 5000);
})();
