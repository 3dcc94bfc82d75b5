#!/usr/bin/python3
"""The page from a school's web server over https, and offline after one visit.

    server_test.py SITE_DIR OUTPUT_DIR SERVER

SERVER is nginx or apache. Serves a copy of SITE_DIR, in a folder of mode 700 as `mktemp -d`
makes it and as root's home folder is, through scripts/serve-site --server SERVER: at
/honderdtafels/, through the very lines a school adds to that server (packaging/web/), over
https with a certificate authority made for the test that Chromium trusts through its NSS
database. Checks every file as served: its type, its caching headers, and brotli, gzip or
neither as the request accepts (decompressed, the file's bytes); once more with the
server's brotli module not loaded, where the school's lines still serve every file. Then
plays the start-up and a round at https://honderdtafels.test/honderdtafels/, asking the
server once for each file, waits for the service worker to keep every file, stops the
server and reloads: the page plays on offline.
"""

import collections
import gzip
import http.client
import os
import re
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # the shared steps below come from the source tree
from browser import Failure, SeleniumPage as Page, answer, check, chromium, log, problem, run, wait_until
from offline_test import FILE_COPIES, first_visit, offline_session, site_files, worker_version

import brotli
from selenium import webdriver

SITE = os.path.join(tempfile.mkdtemp(prefix="honderdtafels-server-site-"), "site")  # mode 700
OUT = os.path.abspath(sys.argv[2])
SERVER = sys.argv[3]
# nginx sends the build's compressed copies (index.html.br, index.html.gz) as they are; Apache
# compresses each file as it sends it.
SENDS_COPIES = {"nginx": True, "apache": False}[SERVER]
PATH = "/honderdtafels/"
SERVE_SITE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../scripts/serve-site")
NAME = "honderdtafels.test"
TYPES = {"html": "text/html; charset=utf-8", "css": "text/css; charset=utf-8",
         "js": "application/javascript; charset=utf-8", "wasm": "application/wasm",
         "webmanifest": "application/manifest+json; charset=utf-8", "woff2": "font/woff2",
         "svg": "image/svg+xml; charset=utf-8", "png": "image/png",
         "txt": "text/plain; charset=utf-8"}
COMPRESSED_ALREADY = {"woff2", "png"}
ENCODINGS = {"br": (".br", brotli.decompress), "gzip": (".gz", gzip.decompress)}
REVALIDATED = {"", "index.html", "service-worker.js", "manifest.webmanifest"}


def certificates(folder):
    """An authority's certificate, and the server's certificate and key signed by it."""
    ca, cert, key = (os.path.join(folder, n) for n in ("ca.pem", "server.pem", "server.key"))
    new = ["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
           "-nodes", "-days", "2"]
    subprocess.run(new + ["-keyout", ca + ".key", "-out", ca, "-subj", "/CN=Test authority"],
                   check=True, capture_output=True)
    subprocess.run(new + ["-CA", ca, "-CAkey", ca + ".key", "-keyout", key, "-out", cert,
                          "-subj", "/CN=" + NAME, "-addext", "basicConstraints=CA:FALSE",
                          "-addext", "subjectAltName=DNS:%s,IP:127.0.0.1" % NAME],
                   check=True, capture_output=True)
    return ca, cert, key


def requests(log):
    """What the server was asked for, by path under PATH ("/index.html"), from the log that
    scripts/serve-site writes: the request line, the status, the bytes sent."""
    with open(log, encoding="utf-8") as lines:
        paths = (line.split()[1].split("?")[0] for line in lines)
        return collections.Counter("/" + p[len(PATH):] if p.startswith(PATH) else p for p in paths)


def start_server(cert, key, *flags):
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    server = subprocess.Popen([SERVE_SITE, SITE, "--server", SERVER, "--port", str(port),
                               "--https", cert, key] + list(flags))

    def listening():
        if server.poll() is not None:
            raise Failure("scripts/serve-site ended with status %d" % server.returncode)
        with socket.socket() as client:
            return client.connect_ex(("127.0.0.1", port)) == 0
    wait_until("%s does not listen on port %d" % (SERVER, port), listening, 10)
    return server, port


def stop_server(server):
    server.terminate()
    return server.wait(20)


def contents(path):
    with open(path, "rb") as file:
        return file.read()


def check_file(connection, name, brotli_served):
    """One file as served, with brotli, gzip or neither accepted: compressed as accepted
    where it compresses (with brotli only where the server has it), the file's bytes."""
    kind = name.rsplit(".", 1)[-1] if name else "html"
    path = os.path.join(SITE, name or "index.html")
    content = contents(path)
    for accepted in ("br", "gzip", None):
        connection.request("GET", PATH + name,
                           headers={"Accept-Encoding": accepted} if accepted else {})
        response = connection.getresponse()
        body, headers = response.read(), {k.lower(): v for k, v in response.getheaders()}
        wanted_encoding = accepted if accepted and kind not in COMPRESSED_ALREADY and \
            (accepted != "br" or brotli_served) else None
        encoding = headers.get("content-encoding")
        if encoding == wanted_encoding and encoding:
            suffix, decompress = ENCODINGS[encoding]
            copy_sent = body == contents(path + suffix)
            body = decompress(body) if copy_sent or not SENDS_COPIES else None
        wanted_cache = "no-cache" if name in REVALIDATED else r"max-age=[1-9]\d*"
        if response.status != 200 or headers.get("content-type") != TYPES[kind] or \
                encoding != wanted_encoding or body != content or \
                not re.fullmatch(wanted_cache, headers.get("cache-control", "")) or \
                "etag" not in headers or "last-modified" not in headers:
            raise Failure("%s%s, %s accepted: %d %s; wanted %s, %s, %s, the file's bytes%s" % (
                PATH, name, accepted, response.status, headers, TYPES[kind], wanted_cache,
                wanted_encoding, " (the build's copy)" if SENDS_COPIES else ""))


def check_headers(port, ca, brotli_served):
    """Every file a page over https asks for (not the copies for a file share), as served."""
    files = sorted(site_files(SITE) - FILE_COPIES)
    missing = [f + suffix for f in files for suffix, _ in ENCODINGS.values()
               if f.rsplit(".", 1)[-1] not in COMPRESSED_ALREADY and
               not os.path.exists(os.path.join(SITE, f + suffix))]
    if missing:
        raise Failure("the build made no compressed copy %s" % missing)
    connection = http.client.HTTPSConnection(
        "127.0.0.1", port, context=ssl.create_default_context(cafile=ca))
    for name in [""] + files:
        check_file(connection, name, brotli_served)
    log("%s serves every file with its type, caching headers and %s" % (
        SERVER, "brotli or gzip" if brotli_served else "gzip, without its brotli module"))


def play_round(page, answers):
    page.control("cmdkombinnen").click()
    page.wait("no drill after the start button", lambda: page.window_shown("Tafels"))
    page.control("cmdstarter(3)").click()
    page.wait("no problem falls", lambda: problem(page) is not None)
    for _ in range(answers):
        answer(page, page.control("txtAntwoord"))
    log("over https: a round of x 4 counts %d right answers" % answers)


def main():
    os.makedirs(OUT, exist_ok=True)
    shutil.copytree(sys.argv[1], SITE)
    work = tempfile.mkdtemp(prefix="honderdtafels-server-")
    ca, cert, key = certificates(work)
    os.environ["HOME"] = work  # Chromium trusts the authorities of $HOME/.pki/nssdb
    os.makedirs(os.path.join(work, ".pki", "nssdb"))
    subprocess.run(["certutil", "-A", "-d", "sql:" + os.path.join(work, ".pki", "nssdb"),
                    "-t", "C,,", "-n", "honderdtafels-test", "-i", ca], check=True)
    version, files = worker_version(SITE)
    asked = os.path.join(work, "requests.log")
    server, port = start_server(cert, key, "--log", asked)
    options = webdriver.ChromeOptions()
    options.add_argument("--host-resolver-rules=MAP %s 127.0.0.1" % NAME)
    driver = chromium(options)
    page = Page(driver)
    url = "https://%s:%d%s" % (NAME, port, PATH)

    def steps():
        without, other_port = start_server(cert, key, "--no-brotli")
        try:
            check_headers(other_port, ca, False)
        finally:
            stop_server(without)
        check_headers(port, ca, True)
        before = requests(asked)
        first_visit(page, url, version, files, lambda: requests(asked) - before)
        play_round(page, 3)
        status = stop_server(server)
        check(page, "%s did not stop cleanly: status %d" % (SERVER, status), status == 0)
        log("%s is stopped" % SERVER)
        offline_session(page, url)

    return run(driver, steps, os.path.join(OUT, "fail-%s.png" % SERVER),
               lambda: stop_server(server), ignored=lambda message: "not-kept.txt" in message)


if __name__ == "__main__":
    sys.exit(main())
