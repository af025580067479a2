#!/usr/bin/python3
"""Reads the named stream of a compound file with xlrd's own compound-document reader
and prints its size, its MD5 and any inconsistency the reader reported, as JSON.

Usage: read_compound.py FILE STREAM
"""
import hashlib
import io
import json
import sys

from xlrd import compdoc

with open(sys.argv[1], "rb") as f:
    data = f.read()
log = io.StringIO()
doc = compdoc.CompDoc(data, logfile=log, DEBUG=0)
stream = doc.get_named_stream(sys.argv[2])
json.dump({"size": len(stream) if stream is not None else -1,
           "md5": hashlib.md5(stream).hexdigest() if stream is not None else "",
           "warnings": log.getvalue()}, sys.stdout)
