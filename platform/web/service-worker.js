// Keeps the page's files, so that the installed page starts without a network. Every file
// still comes from the server while there is one, so a new build shows at once, and renews the
// copy kept; without a network the copy is served.
'use strict';
const CACHE = 'boulles';
const FILES = ['boulles.html', 'boulles.js', 'boulles.svg', 'boulles.webmanifest',
               'boulles-192.png', 'boulles-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET')
    return;
  event.respondWith(fetch(event.request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      event.waitUntil(caches.open(CACHE).then((cache) => cache.put(event.request, copy)));
    }
    return response;
  }, () => caches.match(event.request, {ignoreSearch: true}).then((kept) => kept || Response.error())));
});
