#!/usr/bin/python3
"""The page from nginx over https, as a school serves it, and offline after one visit.

    https_test.py SITE_DIR OUTPUT_DIR

Serves a copy of SITE_DIR in a folder of mode 700, as `mktemp -d` makes it and as root's
home folder is, through scripts/serve-site over https, with a certificate authority made
for the test that Chromium trusts through its NSS database. Checks every file as served:
its type, gzip (decompressed, the file's bytes) only when accepted, its caching headers.
Then plays the start-up and a round at https://honderdtafels.test/, waits for the service
worker to keep every file, stops nginx and reloads: the page plays on offline.
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
from offline_test import first_visit, offline_session, site_files, worker_version

from selenium import webdriver

SITE = os.path.join(tempfile.mkdtemp(prefix="honderdtafels-https-site-"), "site")  # mode 700
OUT = os.path.abspath(sys.argv[2])
SERVE_SITE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../scripts/serve-site")
NAME = "honderdtafels.test"
TYPES = {"html": "text/html; charset=utf-8", "css": "text/css; charset=utf-8",
         "js": "application/javascript; charset=utf-8", "wasm": "application/wasm",
         "webmanifest": "application/manifest+json; charset=utf-8", "woff2": "font/woff2",
         "svg": "image/svg+xml; charset=utf-8", "png": "image/png",
         "txt": "text/plain; charset=utf-8"}
COMPRESSED_ALREADY = {"woff2", "png"}
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
    """What nginx was asked for, by path, from the log that scripts/serve-site writes."""
    with open(log, encoding="utf-8") as lines:
        return collections.Counter(line.split()[0].split("?")[0] for line in lines)


def start_nginx(cert, key, asked):
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    server = subprocess.Popen([SERVE_SITE, SITE, "--port", str(port), "--https", cert, key,
                               "--log", asked])

    def listening():
        if server.poll() is not None:
            raise Failure("scripts/serve-site ended with status %d" % server.returncode)
        with socket.socket() as client:
            return client.connect_ex(("127.0.0.1", port)) == 0
    wait_until("nginx does not listen on port %d" % port, listening, 10)
    return server, port


def contents(path):
    with open(path, "rb") as file:
        return file.read()


def check_file(connection, name):
    """One file as served: with gzip accepted (the build's copy, if it made one), and without."""
    kind = name.rsplit(".", 1)[-1] if name else "html"
    path = os.path.join(SITE, name or "index.html")
    content = contents(path)
    copy = contents(path + ".gz") if os.path.exists(path + ".gz") else None
    for accepted in ({"Accept-Encoding": "gzip"}, {}):
        connection.request("GET", "/" + name, headers=accepted)
        response = connection.getresponse()
        body, headers = response.read(), {k.lower(): v for k, v in response.getheaders()}
        if accepted and kind not in COMPRESSED_ALREADY:
            gzipped = headers.get("content-encoding") == "gzip" and copy in (None, body)
            body = gzip.decompress(body) if gzipped else None
        wanted = "no-cache" if name in REVALIDATED else r"max-age=[1-9]\d*"
        if response.status != 200 or headers.get("content-type") != TYPES[kind] or \
                body != content or not re.fullmatch(wanted, headers.get("cache-control", "")) \
                or "etag" not in headers or "last-modified" not in headers:
            raise Failure("/%s, %s: %d %s; wanted %s, %s, the file's bytes" % (
                name, accepted, response.status, headers, TYPES[kind], wanted))


def check_headers(port, ca, files):
    missing = [f for f in files if f.rsplit(".", 1)[-1] not in COMPRESSED_ALREADY and
               not os.path.exists(os.path.join(SITE, f + ".gz"))]
    if missing:
        raise Failure("the build made no gzip copy of %s" % missing)
    connection = http.client.HTTPSConnection(
        "127.0.0.1", port, context=ssl.create_default_context(cafile=ca))
    for name in [""] + sorted(site_files(SITE)):
        check_file(connection, name)
    log("nginx serves every file with its type, caching headers and gzip")


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
    work = tempfile.mkdtemp(prefix="honderdtafels-https-")
    ca, cert, key = certificates(work)
    os.environ["HOME"] = work  # Chromium trusts the authorities of $HOME/.pki/nssdb
    os.makedirs(os.path.join(work, ".pki", "nssdb"))
    subprocess.run(["certutil", "-A", "-d", "sql:" + os.path.join(work, ".pki", "nssdb"),
                    "-t", "C,,", "-n", "honderdtafels-test", "-i", ca], check=True)
    version, files = worker_version(SITE)
    asked = os.path.join(work, "requests.log")
    server, port = start_nginx(cert, key, asked)
    options = webdriver.ChromeOptions()
    options.add_argument("--host-resolver-rules=MAP %s 127.0.0.1" % NAME)
    driver = chromium(options)
    page = Page(driver)
    url = "https://%s:%d/" % (NAME, port)

    def steps():
        check_headers(port, ca, list(files) + ["service-worker.js"])
        before = requests(asked)
        first_visit(page, url, version, files, lambda: requests(asked) - before)
        play_round(page, 3)
        server.terminate()
        status = server.wait(10)
        check(page, "nginx did not stop cleanly: status %d" % status, status == 0)
        log("nginx is stopped")
        offline_session(page, url)

    def stop():
        server.terminate()
        server.wait(10)

    return run(driver, steps, os.path.join(OUT, "fail-https.png"), stop,
               ignored=lambda message: "not-kept.txt" in message)


if __name__ == "__main__":
    sys.exit(main())
