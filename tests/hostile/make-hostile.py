#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""make-hostile.py DIR: writes the hostile files the tests open (each small on disk)."""
import os
import sys
import zlib

out = sys.argv[1]


def write(name, data):
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)


kvtml = (b'<?xml version="1.0" encoding="UTF-8"?>\n<kvtml version="2.0">\n<identifiers>'
         b'<identifier id="0"><locale>en</locale></identifier><identifier id="1"><locale>de</locale></identifier>'
         b'</identifiers>\n<entries><entry id="0"><translation id="0"><text>house</text></translation>'
         b'<translation id="1"><text>Haus</text></translation></entry></entries>\n')
# 50,000 nested word-type containers, and 100,000 elements nested inside a text.
write('deep-container.kvtml', kvtml + b'<wordtypes>' + b'<container>' * 50000 + b'</container>' * 50000 +
      b'</wordtypes></kvtml>\n')
write('deep-text.kvtml', kvtml.replace(b'<text>house</text>', b'<text>' + b'<b>' * 100000 + b'</b>' * 100000 +
                                       b'</text>') + b'</kvtml>\n')
# A 63 KB page that inflates to 62 MiB of one-letter words.
write('bomb.htx', zlib.compress(b'<html>' + b'a ' * (31 << 20), 9))
# A 1.5 KB page of 1 MB of words, included 300 times by a page of 128 bytes.
write('wideinc.htx', zlib.compress(b'wort ' * 200000, 9))
write('wide.htx', zlib.compress(b'<html>' + b'<include href="wideinc.htx">' * 300, 9))
# A recordings store that inflates to NUL bytes: two bytes make a pair of empty texts.
write('bomb_e_w.zek', zlib.compress(b'\0' * (255 << 20), 9))
# A sentence-building exercise of 300 parts, each 100000 pixels high; and 60 of them.
parts = '/'.join('part%d ' % i for i in range(300))
satz = '<satz teile="%s" coords=10,100,800,100000>' % parts
write('satz.htx', zlib.compress(('<html>' + satz).encode(), 9))
write('satz60.htx', zlib.compress(('<html>' + satz * 60).encode(), 9))
