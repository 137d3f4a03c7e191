#!/usr/bin/env python3
"""Stand-in for the elevation web service, an HTTP proxy and a SOCKS 5 proxy, on 127.0.0.1.

Prints "<service port> <http proxy port> <socks port>" and serves until killed. Every request
is appended to the log file named by the first argument, one line each:
  service <HTTP version> ua=<User-Agent> accept=<Accept> <path>
  http-proxy <absolute URL>
  socks5 <host>:<port>
A path's first element may script the answer: nodata, garbage, short, blank, statusNNN,
delayMS, redirectN, ftp, close; then comes the data set and the query.
srtm3 answers round(lat * 100) a point, gtopo30 round(lat * 10).
"""
import socket
import socketserver
import struct
import sys
import threading
import time
from urllib.parse import parse_qs, urlsplit

LOG = sys.argv[1]
LOCK = threading.Lock()


def log(line):
    with LOCK, open(LOG, 'a', encoding='utf-8') as f:
        f.write(line + '\n')


def read_head(sock):
    data = b''
    while b'\r\n\r\n' not in data:
        chunk = sock.recv(4096)
        if not chunk:
            break
        data += chunk
    return data.decode('latin-1')


def reply(sock, status, body='', extra=''):
    payload = body.encode()
    sock.sendall(('HTTP/1.0 %s\r\nContent-Type: text/plain\r\nContent-Length: %d\r\n%s\r\n'
                  % (status, len(payload), extra)).encode() + payload)


def relay(a, b):
    def pump(src, dst):
        try:
            while True:
                chunk = src.recv(65536)
                if not chunk:
                    break
                dst.sendall(chunk)
        except OSError:
            pass
        finally:
            try:
                dst.shutdown(socket.SHUT_WR)
            except OSError:
                pass
    t = threading.Thread(target=pump, args=(b, a))
    t.start()
    pump(a, b)
    t.join()


def values(data_set, query):
    q = parse_qs(query)
    lats = q['lats'][0].split(',') if 'lats' in q else q.get('lat', [''])[0:1]
    factor = 10 if data_set == 'gtopo30' else 100
    return [str(round(float(v) * factor)) for v in lats]


class Service(socketserver.BaseRequestHandler):
    def handle(self):
        head = read_head(self.request)
        lines = head.split('\r\n')
        method, target, version = (lines[0].split(' ') + ['', '', ''])[:3]
        headers = {}
        for line in lines[1:]:
            if ':' in line:
                k, v = line.split(':', 1)
                headers[k.strip().lower()] = v.strip()
        log('service %s ua=%s accept=%s %s' % (version, headers.get('user-agent', ''),
                                               headers.get('accept', ''), target))
        parts = urlsplit(target)
        steps = parts.path.strip('/').split('/')
        mode = steps[0] if len(steps) > 1 else ''
        data_set = steps[-1]
        if mode.startswith('status'):
            return reply(self.request, mode[6:] + ' Scripted', 'error page')
        if mode.startswith('delay'):
            time.sleep(int(mode[5:]) / 1000)
        if mode.startswith('redirect') and int(mode[8:]) > 0:
            rest = '/redirect%d/%s?%s' % (int(mode[8:]) - 1, data_set, parts.query)
            return reply(self.request, '302 Found', '', 'Location: %s\r\n' % rest)
        if mode == 'ftp':
            return reply(self.request, '302 Found', '', 'Location: ftp://127.0.0.1/x\r\n')
        if mode == 'close':
            return
        answer = values(data_set, parts.query)
        if mode == 'nodata' and data_set == 'srtm3':
            answer = ['-32768'] * len(answer)
        if mode == 'garbage':
            answer[min(1, len(answer) - 1)] = 'n/a'
        if mode == 'short':
            answer = answer[:-1]
        body = '\n'.join(answer)
        if mode == 'blank':
            body = '\r\n \n' + body.replace('\n', '\r\n') + '\n\n\t'
        reply(self.request, '200 OK', body)


class HttpProxy(socketserver.BaseRequestHandler):
    def handle(self):
        head = read_head(self.request)
        first, rest = head.split('\r\n', 1)
        method, url, version = first.split(' ')
        log('http-proxy %s' % url)
        parts = urlsplit(url)
        upstream = socket.create_connection((parts.hostname, parts.port or 80))
        path = parts.path + ('?' + parts.query if parts.query else '')
        upstream.sendall(('%s %s %s\r\n%s' % (method, path, version, rest)).encode('latin-1'))
        relay(self.request, upstream)


class Socks5(socketserver.BaseRequestHandler):
    def handle(self):
        s = self.request
        _, count = s.recv(2)
        s.recv(count)
        s.sendall(b'\x05\x00')
        _, _, _, kind = s.recv(4)
        if kind == 1:
            host = socket.inet_ntoa(s.recv(4))
        elif kind == 3:
            host = s.recv(s.recv(1)[0]).decode()
        else:
            host = socket.inet_ntop(socket.AF_INET6, s.recv(16))
        port = struct.unpack('>H', s.recv(2))[0]
        log('socks5 %s:%d' % (host, port))
        upstream = socket.create_connection((host, port))
        s.sendall(b'\x05\x00\x00\x01\x00\x00\x00\x00\x00\x00')
        relay(s, upstream)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


servers = [Server(('127.0.0.1', 0), h) for h in (Service, HttpProxy, Socks5)]
for srv in servers:
    threading.Thread(target=srv.serve_forever, daemon=True).start()
print(' '.join(str(srv.server_address[1]) for srv in servers), flush=True)
threading.Event().wait()
