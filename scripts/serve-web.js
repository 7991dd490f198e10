// A static web server for the page: node serve-web.js DIRECTORY [PORT]. Serves the files of
// DIRECTORY on 127.0.0.1 (PORT 0 takes any free port) and prints the page's address.
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
  '': 'text/plain; charset=utf-8',  // LICENSE
};

const root = path.resolve(process.argv[2] || '.');
const port = Number(process.argv[3] || 8080);

const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  const file = path.join(root, path.normalize(name));
  if (!file.startsWith(root + path.sep)) {
    response.writeHead(403).end();
    return;
  }
  fs.readFile(file, (error, data) => {
    if (error) {
      response.writeHead(404).end();
      return;
    }
    const type = TYPES[path.extname(file)] || 'application/octet-stream';
    response.writeHead(200, {'Content-Type': type, 'Cache-Control': 'no-store'}).end(data);
  });
});
server.listen(port, '127.0.0.1', () => {
  console.log(`http://127.0.0.1:${server.address().port}/boulles.html`);
});
