// The page's service worker: keeps the page's files so that it opens and evaluates
// offline after the first visit. Online every file comes from the network first, so a
// new version shows at once; the build writes its version and its files in here, and a
// changed version replaces the old cache.
'use strict';

const version = '@VERSION@';
const files = [@FILES@];
const cacheName = `mietspiegel-${version}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName)
    .then((cache) => cache.addAll(['./', ...files]))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== cacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(fetch(request)
    .then((response) => {
      if (response.ok) {
        const copy = response.clone();
        event.waitUntil(caches.open(cacheName).then((cache) => cache.put(request, copy)));
      }
      return response;
    })
    .catch(() => caches.match(request, { ignoreSearch: true })
      .then((cached) => cached ?? Response.error())));
});
