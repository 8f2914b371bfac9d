// The page's service worker: keeps the page's files so that it opens and evaluates
// offline after the first visit. The build writes its version and its files in here; the
// page's script, style sheet and core carry their content's hash in their names, so a
// release never mixes with another. Its files are fetched past the browser's HTTP cache
// (a host may tell it to keep the old ones for minutes), and online the page itself is
// asked of the host first, so a new release shows at the next visit.
'use strict';

const version = '@VERSION@';
const files = [@FILES@];
const cacheName = `mietspiegel-${version}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName)
    .then((cache) => cache.addAll(['./', ...files].map((file) => new Request(file, { cache: 'reload' }))))
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
  // The page, which names the files of its release, is revalidated with the host however
  // long the host lets it be cached.
  const asked = request.mode === 'navigate' ? fetch(request.url, { cache: 'no-cache' }) : fetch(request);
  event.respondWith(asked
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
