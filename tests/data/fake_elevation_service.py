#!/usr/bin/env python3
"""Fake elevation service (srtm3 answers round(lat*100), gtopo30 round(lat*10); a first path
element scripts the answer), HTTP proxy and SOCKS 5 proxy on 127.0.0.1; prints their ports
and logs every request to argv[1]. Hostile modes: "endless" sends a body without end (until
the client hangs up, 256 MiB at most), "long<N>" pads the answer with line ends to N bytes,
"absurd" answers 1E308 for every point."""
import socket, socketserver, struct, sys, threading, time
from urllib.parse import parse_qs, urlsplit

LOCK = threading.Lock()


def log(line):
    with LOCK, open(sys.argv[1], 'a', encoding='utf-8') as f:
        f.write(line + '\n')


def read_head(sock):
    data = b''
    while b'\r\n\r\n' not in data and (chunk := sock.recv(4096)):
        data += chunk
    return data.decode('latin-1')


def reply(sock, status, body='', extra=''):
    sock.sendall(('HTTP/1.0 %s\r\nContent-Length: %d\r\n%s\r\n%s' % (status, len(body), extra, body)).encode())


def relay(a, b):
    def pump(src, dst):
        try:
            while chunk := src.recv(65536):
                dst.sendall(chunk)
            dst.shutdown(socket.SHUT_WR)
        except OSError:
            pass
    t = threading.Thread(target=pump, args=(b, a))
    t.start()
    pump(a, b)
    t.join()


class Service(socketserver.BaseRequestHandler):
    def handle(self):
        lines = read_head(self.request).split('\r\n')
        _, target, version = (lines[0].split(' ') + ['', ''])[:3]
        h = {k.strip().lower(): v.strip() for k, _, v in (l.partition(':') for l in lines[1:])}
        log('service %s ua=%s accept=%s %s' % (version, h.get('user-agent'), h.get('accept'), target))
        parts = urlsplit(target)
        steps = parts.path.strip('/').split('/')
        mode, data_set = (steps[0] if len(steps) > 1 else ''), steps[-1]
        if mode.startswith('status'):
            return reply(self.request, mode[6:] + ' Scripted', 'error page')
        if mode.startswith('delay'):
            time.sleep(int(mode[5:]) / 1000)
        if mode.startswith('redirect') and int(mode[8:]) > 0:
            to = '/redirect%d/%s?%s' % (int(mode[8:]) - 1, data_set, parts.query)
            return reply(self.request, '302 Found', '', 'Location: %s\r\n' % to)
        if mode == 'endless':
            return endless(self.request)
        if mode in ('ftp', 'close'):
            return mode == 'ftp' and reply(self.request, '302 Found', '', 'Location: ftp://127.0.0.1/x\r\n')
        q = parse_qs(parts.query)
        lats = q['lats'][0].split(',') if 'lats' in q else q['lat']
        answer = [str(round(float(v) * (10 if data_set == 'gtopo30' else 100))) for v in lats]
        if mode == 'nodata' and data_set == 'srtm3':
            answer = ['-32768'] * len(answer)
        if mode == 'garbage':
            answer[min(1, len(answer) - 1)] = 'n/a'
        if mode == 'absurd':
            answer = ['1E308'] * len(answer)
        body = '\n'.join(answer[:-1] if mode == 'short' else answer)
        if mode.startswith('long'):
            body += '\n' * (int(mode[4:]) - len(body))
        reply(self.request, '200 OK', body)


def endless(sock):
    sock.sendall(b'HTTP/1.0 200 OK\r\n\r\n')
    chunk = b'100\n' * 16384
    try:
        for _ in range(256 * 1024 * 1024 // len(chunk)):
            sock.sendall(chunk)
    except OSError:
        pass


class HttpProxy(socketserver.BaseRequestHandler):
    def handle(self):
        first, rest = read_head(self.request).split('\r\n', 1)
        method, url, version = first.split(' ')
        log('http-proxy %s' % url)
        u = urlsplit(url)
        upstream = socket.create_connection((u.hostname, u.port))
        upstream.sendall(('%s %s?%s %s\r\n%s' % (method, u.path, u.query, version, rest)).encode('latin-1'))
        relay(self.request, upstream)


class Socks5(socketserver.BaseRequestHandler):
    def handle(self):
        s = self.request
        s.recv(s.recv(2)[1])
        s.sendall(b'\x05\x00')
        kind = s.recv(4)[3]
        host = socket.inet_ntoa(s.recv(4)) if kind == 1 else s.recv(s.recv(1)[0]).decode()
        port = struct.unpack('>H', s.recv(2))[0]
        log('socks5 %s:%d' % (host, port))
        upstream = socket.create_connection((host, port))
        s.sendall(b'\x05\x00\x00\x01\x00\x00\x00\x00\x00\x00')
        relay(s, upstream)


socketserver.ThreadingTCPServer.daemon_threads = True
servers = [socketserver.ThreadingTCPServer(('127.0.0.1', 0), h) for h in (Service, HttpProxy, Socks5)]
for srv in servers:
    threading.Thread(target=srv.serve_forever, daemon=True).start()
print(' '.join(str(srv.server_address[1]) for srv in servers), flush=True)
threading.Event().wait()
