#!/usr/bin/python3
"""The page from nginx over https, as a school serves it, and offline after one visit.

    https_test.py SITE_DIR OUTPUT_DIR

Makes a certificate authority and a certificate for honderdtafels.test and 127.0.0.1, and
serves SITE_DIR through scripts/serve-site (nginx with the rules a school's server gets)
over https. Checks every file of the site as served: its type, gzip compression when the
browser accepts it (the bytes, decompressed, are the file's), the plain file when it does
not, and the caching headers. Then headless Chromium, trusting the authority through its
NSS database as a school's managed browsers trust theirs, opens
https://honderdtafels.test/, plays the start-up and a round with typed answers, waits for
the service worker to keep every file, stops nginx and reloads: the page plays on offline.
"""

import gzip
import http.client
import os
import re
import signal
import socket
import ssl
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # the shared steps below come from the source tree
from browser import Failure, chromium, log, run, wait_until
from offline_test import first_visit, offline_session, site_files, worker_version
from page_test import Page, answer, check, problem

from selenium import webdriver

SITE = os.path.abspath(sys.argv[1])
OUT = os.path.abspath(sys.argv[2])
SERVE_SITE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                          "serve-site")
NAME = "honderdtafels.test"
TYPES = {".html": "text/html; charset=utf-8", ".css": "text/css; charset=utf-8",
         ".js": "application/javascript; charset=utf-8", ".wasm": "application/wasm",
         ".webmanifest": "application/manifest+json; charset=utf-8", ".woff2": "font/woff2",
         ".svg": "image/svg+xml; charset=utf-8", ".png": "image/png",
         ".txt": "text/plain; charset=utf-8"}
COMPRESSED_ALREADY = {".woff2", ".png"}
REVALIDATED = {"", "index.html", "service-worker.js", "manifest.webmanifest"}


def make_certificates(folder):
    """A certificate authority (ca.pem) and, signed by it, the server's certificate and key."""
    def openssl(*args):
        subprocess.run(["openssl", *args], cwd=folder, check=True, capture_output=True)
    key = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    openssl("req", "-x509", *key, "-keyout", "ca.key", "-out", "ca.pem", "-days", "2",
            "-subj", "/CN=Honderdtafels test authority",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("req", *key, "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=" + NAME)
    with open(os.path.join(folder, "server.ext"), "w", encoding="utf-8") as ext:
        ext.write("subjectAltName=DNS:%s,IP:127.0.0.1\nextendedKeyUsage=serverAuth\n" % NAME)
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-set_serial", "2", "-days", "2", "-extfile", "server.ext", "-out", "server.pem")
    return [os.path.join(folder, name) for name in ("ca.pem", "server.pem", "server.key")]


def trust_in_nss(home, ca):
    """Chromium on Linux trusts the authorities of $HOME/.pki/nssdb."""
    nssdb = "sql:" + os.path.join(home, ".pki", "nssdb")
    os.makedirs(os.path.join(home, ".pki", "nssdb"))
    subprocess.run(["certutil", "-N", "-d", nssdb, "--empty-password"], check=True)
    subprocess.run(["certutil", "-A", "-d", nssdb, "-t", "C,,", "-n", "honderdtafels-test",
                    "-i", ca], check=True)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def start_nginx(port, cert, key):
    server = subprocess.Popen([SERVE_SITE, SITE, "--port", str(port), "--https", cert, key])

    def listening():
        if server.poll() is not None:
            raise Failure("scripts/serve-site ended with status %d" % server.returncode)
        try:
            socket.create_connection(("127.0.0.1", port), 1).close()
            return True
        except OSError:
            return False
    wait_until("nginx does not listen on port %d" % port, listening, 10)
    return server


def stop_nginx(server):
    if server.poll() is None:
        server.send_signal(signal.SIGTERM)
    if server.wait(10) != 0:
        raise Failure("scripts/serve-site did not stop cleanly: status %d" % server.returncode)


def fetch(connection, name, accept_gzip):
    connection.request("GET", "/" + name, headers={"Accept-Encoding": "gzip"} if accept_gzip
                       else {})
    response = connection.getresponse()
    return response, response.read()


def check_file(connection, name, content):
    """One file as served, with and without gzip accepted."""
    extension = os.path.splitext(name)[1] if name else ".html"
    response, sent = fetch(connection, name, True)
    headers = {k.lower(): v for k, v in response.getheaders()}
    what = "/%s: %d %s" % (name, response.status, headers)
    if response.status != 200 or headers.get("content-type") != TYPES[extension]:
        raise Failure("%s: not %s" % (what, TYPES[extension]))
    if extension in COMPRESSED_ALREADY:
        if "content-encoding" in headers or sent != content:
            raise Failure("%s: not the file as it is" % what)
    elif headers.get("content-encoding") != "gzip" or gzip.decompress(sent) != content:
        raise Failure("%s: not the file, gzip-compressed" % what)
    cache = headers.get("cache-control", "")
    wanted = "no-cache" if name in REVALIDATED else r"max-age=[1-9]\d*"
    if not re.fullmatch(wanted, cache) or not ("etag" in headers and "last-modified" in headers):
        raise Failure("%s: not cached as %s, with an ETag and Last-Modified" % (what, wanted))
    response, body = fetch(connection, name, False)
    if response.getheader("Content-Encoding") or body != content:
        raise Failure("/%s without gzip accepted: not the file as it is" % name)
    return len(content), len(sent)


def check_headers(port, ca, files):
    """Every file of the site as served; a gzip copy beside each the worker keeps that
    compresses, so that nginx compresses none of them per request."""
    for name in files:
        if os.path.splitext(name)[1] not in COMPRESSED_ALREADY and \
                not os.path.exists(os.path.join(SITE, name + ".gz")):
            raise Failure("the build made no gzip copy of %s" % name)
    connection = http.client.HTTPSConnection(
        "127.0.0.1", port, context=ssl.create_default_context(cafile=ca))
    plain = sent = 0
    for name in [""] + sorted(site_files(SITE)):
        with open(os.path.join(SITE, name or "index.html"), "rb") as file:
            sizes = check_file(connection, name, file.read())
        plain, sent = plain + sizes[0], sent + sizes[1]
    connection.close()
    log("nginx serves every file with its type, caching headers and gzip: %d kB for %d kB"
        % (sent // 1000, plain // 1000))


def play_round(page, answers):
    page.control("cmdkombinnen").click()
    page.wait("no drill after the start button", lambda: page.window_shown("Tafels"))
    page.control("cmdstarter(3)").click()
    page.wait("no problem falls", lambda: problem(page) is not None)
    box = page.control("txtAntwoord")
    for _ in range(answers):
        answer(page, box)
    score = page.control("Lbltotaal").text.strip()
    check(page, "%d right answers scored %s" % (answers, score), score == str(answers))
    log("over https: a round of x 4 scores %d right answers" % answers)


def main():
    os.makedirs(OUT, exist_ok=True)
    work = tempfile.mkdtemp(prefix="honderdtafels-https-")
    ca, cert, key = make_certificates(work)
    os.environ["HOME"] = os.path.join(work, "home")  # Chromium's NSS database, below
    trust_in_nss(os.environ["HOME"], ca)
    version, files = worker_version(SITE)
    port = free_port()
    url = "https://%s:%d/" % (NAME, port)
    server = start_nginx(port, cert, key)
    options = webdriver.ChromeOptions()
    options.add_argument("--host-resolver-rules=MAP %s 127.0.0.1" % NAME)
    driver = chromium(options)
    page = Page(driver)

    def steps():
        check_headers(port, ca, files + ["service-worker.js"])
        first_visit(page, url, version, files)
        check(page, "not a secure page at %s" % driver.current_url,
              driver.execute_script("return isSecureContext") and
              driver.current_url.startswith("https://" + NAME))
        play_round(page, 3)
        stop_nginx(server)
        log("nginx is stopped")
        offline_session(page, url)

    def stop():
        if server.poll() is None:
            server.terminate()
            server.wait(10)

    return run(driver, steps, os.path.join(OUT, "fail-https.png"), stop,
               ignored=lambda message: "not-kept.txt" in message)


if __name__ == "__main__":
    sys.exit(main())
