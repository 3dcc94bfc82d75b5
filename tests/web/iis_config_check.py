#!/usr/bin/python3
"""IIS serves the site with the types and caching headers nginx serves it with.

    iis_config_check.py WEB_CONFIG NGINX_RULES IIS_COMPRESSION_SCRIPT

No IIS runs here, so its configuration is held against nginx's rules, which the server test
serves: every type, with the charset nginx adds; the time every file may be kept; the files
asked for again on every visit. Each type also comes after a <remove> of its extension,
without which IIS refuses a type it knows already and answers every request with an error.
Every type nginx compresses is compressed by IIS too, once the school has run the script
that adds types to IIS's list (iis-compression.cmd), whether IIS holds a response's whole
type against the list or the type without its charset.
"""

import re
import sys
import xml.etree.ElementTree as ElementTree

UNITS = {"s": 1, "m": 60, "h": 3600, "d": 86400}


def nginx_rules(path):
    """(types by extension, seconds a file may be kept, files asked for again)."""
    with open(path, encoding="utf-8") as rules:
        text = re.sub(r"#.*", "", rules.read())
    charset_types = set(re.search(r"charset_types([^;]*);", text).group(1).split()) | {"text/html"}
    types = {}
    for line in re.search(r"types\s*{([^}]*)}", text).group(1).split(";"):
        if line.strip():
            kind, *extensions = line.split()
            with_charset = kind + "; charset=utf-8" if kind in charset_types else kind
            types.update((extension, with_charset) for extension in extensions)
    number, unit = re.search(r"^\s*expires\s+(\d+)([smhd]);", text, re.M).groups()
    fresh = re.search(r"location\s+~\s+/\(([^)]*)\)\$\s*{\s*expires\s+epoch;\s*}", text).group(1)
    return types, int(number) * UNITS[unit], {name.replace("\\.", ".") for name in fresh.split("|")}


# The types IIS's own list compresses from the start.
IIS_COMPRESSED = {"text/*", "message/*", "application/javascript", "application/atom+xml",
                  "application/xaml+xml"}


def compressed_types(script):
    """The types the script adds to IIS's list: those of its `for %%t in (...)` loop."""
    with open(script, encoding="utf-8") as text:
        listed = re.search(r"^for %%t in \((.*)\) do", text.read(), re.M).group(1)
    return set(re.findall(r'"([^"]+)"', listed))


def iis_compresses(content_type, listed):
    """Whether an entry of IIS's list takes the type: the same, or a wildcard over it."""
    return any(entry == content_type or (entry.endswith("/*") and content_type.startswith(entry[:-1]))
               for entry in listed)


def nginx_compressed(path):
    with open(path, encoding="utf-8") as rules:
        text = re.sub(r"#.*", "", rules.read())
    return re.search(r"gzip_types([^;]*);", text).group(1).split()


def iis_span(text):
    """IIS's time span, [d.]hh:mm:ss, in seconds."""
    days, hours, minutes, seconds = re.fullmatch(r"(?:(\d+)\.)?(\d+):(\d+):(\d+)", text).groups()
    return ((int(days or 0) * 24 + int(hours)) * 60 + int(minutes)) * 60 + int(seconds)


def web_config(path):
    """The same three, and the extensions whose type is not removed before it is added."""
    root = ElementTree.parse(path).getroot()
    content = root.find("system.webServer/staticContent")
    types, removed, unremoved = {}, set(), []
    for element in content:
        extension = element.get("fileExtension", "").lstrip(".")
        if element.tag == "remove":
            removed.add(extension)
        elif element.tag == "mimeMap":
            types[extension] = element.get("mimeType")
            if extension not in removed:
                unremoved.append(extension)
    cache = content.find("clientCache")
    kept = iis_span(cache.get("cacheControlMaxAge")) \
        if cache.get("cacheControlMode") == "UseMaxAge" else None
    fresh = {location.get("path") for location in root.findall("location")
             if location.find("system.webServer/staticContent/clientCache[@cacheControlMode="
                              "'DisableCache']") is not None}
    return types, kept, fresh, unremoved


def main(config, rules, compression_script):
    nginx_types, nginx_kept, nginx_fresh = nginx_rules(rules)
    types, kept, fresh, unremoved = web_config(config)
    faults = []
    listed = IIS_COMPRESSED | compressed_types(compression_script)
    sent = {kind.split(";")[0]: kind for kind in types.values()}
    for kind in nginx_compressed(rules):
        for content_type in {kind, sent.get(kind, kind)}:
            if not iis_compresses(content_type, listed):
                faults.append("IIS leaves %s uncompressed, which nginx compresses" % content_type)
    if types != nginx_types:
        faults.append("types: IIS %s, nginx %s" % (
            sorted(set(types.items()) - set(nginx_types.items())),
            sorted(set(nginx_types.items()) - set(types.items()))))
    if kept != nginx_kept:
        faults.append("files kept for %s s by IIS, %d s by nginx" % (kept, nginx_kept))
    if fresh != nginx_fresh:
        faults.append("asked for again: by IIS %s, by nginx %s" % (sorted(fresh), sorted(nginx_fresh)))
    if unremoved:
        faults.append("types added without a <remove> first: %s" % unremoved)
    for fault in faults:
        print("FAIL:", fault)
    if not faults:
        print("web.config: the %d types, %d s of keeping and the %d files asked for again of "
              "nginx's rules; IIS compresses the %d types nginx compresses"
              % (len(types), kept, len(fresh), len(nginx_compressed(rules))))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
